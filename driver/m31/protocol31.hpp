// How m31 plugs into the shared start-up and command loop.
#pragma once

#include "driver/protocol.hpp"

namespace morvelak::m31 {

// Its features, time in centiseconds, a ply history with take-back, the key
// window, its evaluation set-up and material scale, its computer move.
const BuildPolicy& policy();

}  // namespace morvelak::m31
