#include "util/clock.hpp"

#include <chrono>
#include <ctime>

namespace morvelak {

namespace {
constexpr int DAY = 8640000;

int stamp_now() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&secs, &local);
    const int hundredths =
        static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000) / 10;
    return local.tm_hour * 360000 + local.tm_min * 6000 + local.tm_sec * 100 + hundredths;
}
}  // namespace

int elapsed_centiseconds(int previous, int now) {
    // The first call (previous = 0) gives the time since midnight, as a plain
    // stopwatch would; a stamp that went backwards crossed midnight.
    if (now >= previous) return now - previous;
    return now + DAY - previous;
}

int Stopwatch::CZAS() {
    const int t = stamp_now();
    const int r = elapsed_centiseconds(t1, t);
    t1 = t;
    return r;
}

}  // namespace morvelak
