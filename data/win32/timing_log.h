// Timings the program writes about itself when asked: with the environment
// variable TVX_TIMINGS naming a file, each timed step appends one line
// "name=milliseconds" to it (the scale benchmark reads them). Without it,
// nothing is measured or written.
#pragma once
#include <string>

namespace tvx::win {

// Appends "name=value" when asked (a count the end-to-end suites check).
void LogCount(const char* name, long long value);

class TimedStep {
public:
    explicit TimedStep(const char* name);
    ~TimedStep();
    TimedStep(const TimedStep&) = delete;
    TimedStep& operator=(const TimedStep&) = delete;

private:
    const char* name_;
    long long start_ = 0;  // performance counter ticks; 0 when not asked
};

}  // namespace tvx::win
