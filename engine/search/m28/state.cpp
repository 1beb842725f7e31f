#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

SearchState SEARCH{};

}  // namespace morvelak::m28
