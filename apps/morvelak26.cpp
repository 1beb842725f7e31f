// morvelak26, the tree-node build: one search per move at a depth set by the
// clock, the root ordered by the replies the previous search expected, the
// attack-map generator and the older evaluation.
#include "driver/m26/protocol26.hpp"
#include "driver/startup.hpp"

int main(int argc, char** argv) { return morvelak::run_engine(morvelak::m26::policy(), argc, argv); }
