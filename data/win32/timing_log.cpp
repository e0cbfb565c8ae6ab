#include "data/win32/timing_log.h"

#include <windows.h>

#include <cstdio>

namespace tvx::win {

namespace {
// The file named by TVX_TIMINGS, read once; empty when not asked.
const std::string& TimingFile() {
    static const std::string file = [] {
        char path[MAX_PATH] = {};
        const DWORD n = GetEnvironmentVariableA("TVX_TIMINGS", path, sizeof path);
        return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
    }();
    return file;
}

long long Ticks() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}
}  // namespace

void LogCount(const char* name, long long value) {
    if (TimingFile().empty()) return;
    if (FILE* f = std::fopen(TimingFile().c_str(), "a")) {
        std::fprintf(f, "%s=%lld\n", name, value);
        std::fclose(f);
    }
}

TimedStep::TimedStep(const char* name) : name_(name) {
    if (!TimingFile().empty()) start_ = Ticks();
}

TimedStep::~TimedStep() {
    if (start_ == 0) return;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const double ms = static_cast<double>(Ticks() - start_) * 1000.0 / static_cast<double>(frequency.QuadPart);
    if (FILE* f = std::fopen(TimingFile().c_str(), "a")) {
        std::fprintf(f, "%s=%.2f\n", name_, ms);
        std::fclose(f);
    }
}

}  // namespace tvx::win
