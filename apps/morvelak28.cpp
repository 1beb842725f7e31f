// morvelak28, the hash-table build: one search per move to a depth the clock
// decides, root moves ordered by a table of the positions the previous
// search met on its main lines, and the older positional evaluation.
#include "driver/m28/protocol28.hpp"
#include "driver/startup.hpp"

int main(int argc, char** argv) { return morvelak::run_engine(morvelak::m28::policy(), argc, argv); }
