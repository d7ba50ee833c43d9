// Clocks, machine load, medians and percentiles and the figure line shared by
// all benchmarks, so every one measures and prints its figures the same way.
#pragma once
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

// ---- Clocks ---------------------------------------------------------------

inline double Seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}
inline double WallMs() { return Seconds(CLOCK_MONOTONIC) * 1000.0; }
inline double ThreadCpuMs() { return Seconds(CLOCK_THREAD_CPUTIME_ID) * 1000.0; }

// User + system time of the whole process, all threads (llvmpipe renders on
// its own threads, so the idle share must count them too).
inline double ProcessCpuMs() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    auto ms = [](const timeval& tv) { return tv.tv_sec * 1000.0 + tv.tv_usec / 1000.0; };
    return ms(ru.ru_utime) + ms(ru.ru_stime);
}

// Minor page faults of the process: each costs real time on some machines,
// so a frame that touches fresh memory shows here.
inline long MinorFaults() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_minflt;
}

// Process start in milliseconds of CLOCK_BOOTTIME, from field 22 of
// /proc/self/stat (clock ticks since boot, 10 ms steps). Negative if unreadable.
inline double ProcessStartBootMs() {
    std::ifstream in("/proc/self/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t paren = all.rfind(')');
    if (paren == std::string::npos) return -1;
    std::istringstream fields(all.substr(paren + 2));
    std::string f;
    // After "pid (comm) " the next field is field 3 (state); starttime is 22.
    for (int i = 3; i <= 22; ++i) {
        if (!(fields >> f)) return -1;
    }
    const double ticks = std::strtod(f.c_str(), nullptr);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// ---- Machine load ---------------------------------------------------------

inline std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

// Busy and total jiffies of all cores, for the machine's load during a phase.
struct CpuJiffies { double busy = 0, total = 0; };
inline CpuJiffies MachineJiffies() {
    std::ifstream in("/proc/stat");
    std::string cpu;
    double v[8] = {};
    in >> cpu;
    for (double& x : v) in >> x;
    CpuJiffies j;
    for (int i = 0; i < 8; ++i) j.total += v[i];
    j.busy = j.total - v[3] - v[4];  // minus idle and iowait
    return j;
}

// Busy time of all cores between two readings, in % of one core.
inline double MachineBusyPercent(const CpuJiffies& from, const CpuJiffies& to) {
    if (to.total <= from.total) return 0;
    const double cores = static_cast<double>(sysconf(_SC_NPROCESSORS_ONLN));
    return 100.0 * (to.busy - from.busy) / (to.total - from.total) * cores;
}

// ---- Statistics and output ------------------------------------------------

inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t k = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size())));
    if (k == 0) k = 1;
    return v[std::min(k, v.size()) - 1];
}

// The middle value; of an even count the upper of the two middle ones.
inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double Maximum(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
inline double Minimum(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

// Wall milliseconds between two steady-clock readings.
inline double MsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// "ok" or "MISSED", as every target is marked.
inline const char* Verdict(bool ok) { return ok ? "ok" : "MISSED"; }

// One "name: value unit" line, with "(target ...: ok|MISSED)" where there is one.
inline void Figure(const char* name, double value, const char* unit, const char* target = nullptr, bool ok = true) {
    if (target)
        std::printf("%s: %.2f %s (target %s: %s)\n", name, value, unit, target, Verdict(ok));
    else
        std::printf("%s: %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}
inline void Figure(const std::string& name, double value, const char* unit, const char* target = nullptr,
                   bool ok = true) {
    Figure(name.c_str(), value, unit, target, ok);
}

// A frame's cost against the targets every frame must meet: the program's own
// CPU to record it and the wall time up to its present, median and p95.
inline void FrameCostFigures(const std::string& prefix, const std::vector<double>& ownCpu,
                             const std::vector<double>& frameWall) {
    const double cpuMed = Percentile(ownCpu, 0.5), cpuP95 = Percentile(ownCpu, 0.95);
    Figure(prefix + "own cpu per frame median", cpuMed, "ms", "<= 1 ms", cpuMed <= 1);
    Figure(prefix + "own cpu per frame p95", cpuP95, "ms", "<= 1 ms", cpuP95 <= 1);
    const double wallMed = Percentile(frameWall, 0.5), wallP95 = Percentile(frameWall, 0.95);
    Figure(prefix + "frame wall median", wallMed, "ms", "<= 16 ms", wallMed <= 16);
    Figure(prefix + "frame wall p95", wallP95, "ms", "<= 22 ms", wallP95 <= 22);
}

}  // namespace bench
