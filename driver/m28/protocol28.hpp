// How m28 plugs into the shared start-up and command loop.
#pragma once

#include "driver/protocol.hpp"

namespace morvelak::m28 {

// Its features, time in centiseconds, the full-move history with take-back
// by full moves, no key window, the older evaluation set-up with its
// material scale, its computer move.
const BuildPolicy& policy();

}  // namespace morvelak::m28
