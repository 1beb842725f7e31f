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

void report_best(std::FILE* stream, int depth, int shown, unsigned long nodes, const char* line) {
    if (CONTROL.report) {
        CONTROL.report(CONTROL.reportCtx, depth, shown, nodes, line);
        return;
    }
    if (!CONTROL.post || !CONTROL.analysis) return;
    std::fprintf(stream, "%d %d %ld %lu %s\n", depth, shown, CONTROL.elapsed_ms() / 10, nodes, line);
    std::fflush(stream);
}

}  // namespace morvelak
