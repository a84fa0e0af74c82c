#pragma once
// Small helpers shared by the benchmark programs.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace keyholm::bench {

// Prints one figure in the "dotted.name value unit" form.
inline void Report(const std::string& name, double value, const char* unit)
{
    std::printf("%s %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

// Milliseconds taken by the fastest of `repeat` runs of `work`.
template <class Work>
double BestMs(int repeat, Work&& work)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best)
            best = took.count();
    }
    return best;
}

// Resident set size of this process in KiB (Linux), 0 where unknown.
inline long ResidentKiB(const char* field = "VmRSS:")
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return 0;
}

inline long PeakResidentKiB() { return ResidentKiB("VmHWM:"); }

} // namespace keyholm::bench
