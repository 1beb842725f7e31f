#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

SearchState SEARCH{};

}  // namespace morvelak::m31
