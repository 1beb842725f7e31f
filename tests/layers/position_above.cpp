// Includes engine/eval/phase.hpp: it compiles only where that
// header's library is linked (tests/layers/CMakeLists.txt).
#include "engine/eval/phase.hpp"
