// The heap blocks alive in this test program, to see that a search frees
// every tree node it made.
#include "tests/common/counting_new.hpp"
#include "tests/m26/support.hpp"

namespace morvelak::test {
long live_blocks() { return live; }
}  // namespace morvelak::test
