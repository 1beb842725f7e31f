#include "engine/search/control.hpp"

namespace morvelak {

SearchControl CONTROL;

bool SearchControl::look() {
    if (stopped) return true;
    if (hasDeadline && Clock::now() >= deadline) stop(StopReason::Deadline);
    else if (input) {
        const StopReason why = input(inputCtx);
        if (why != StopReason::None) stop(why);
    }
    return stopped;
}

long SearchControl::elapsed_ms() const {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count());
}

void SearchControl::set_limit_ms(long ms) {
    hasDeadline = ms >= 0;
    if (hasDeadline) deadline = started + std::chrono::milliseconds(ms);
}

}  // namespace morvelak
