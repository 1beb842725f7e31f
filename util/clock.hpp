// The engine's stopwatch: hundredths of a second since the previous call.
#pragma once

namespace morvelak {

// The pure rule behind CZAS, for two time-of-day stamps in centiseconds.
int elapsed_centiseconds(int previous, int now);

struct Stopwatch {
    // The time-of-day stamp taken at the previous call; 0 before the first.
    int t1 = 0;

    // Returns the time elapsed since the previous call in centiseconds and
    // restarts the measurement.  The first call returns the time since local
    // midnight; callers discard it.  A measurement across midnight counts
    // the real elapsed time (a stamp earlier than the previous one is taken
    // to be on the next day).
    int CZAS();
};

}  // namespace morvelak
