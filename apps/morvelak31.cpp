// morvelak31, the newest build: iterative deepening with aspiration windows,
// principal variation, position keys and the pawn-structure evaluation.
#include "driver/m31/protocol31.hpp"
#include "driver/startup.hpp"

int main(int argc, char** argv) { return morvelak::run_engine(morvelak::m31::policy(), argc, argv); }
