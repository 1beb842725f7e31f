// How m26 plugs into the shared start-up and command loop.
#pragma once

#include "driver/protocol.hpp"

namespace morvelak::m26 {

// Its one feature, time in tenths, the full-move history without take-back,
// the opponent's move noted for the expected replies, its evaluation set-up
// and material scale, its computer move.
const BuildPolicy& policy();

}  // namespace morvelak::m26
