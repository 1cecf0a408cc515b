#pragma once

#include "support/peakmemory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>

#include <cstdlib>
#include <ctime>
#include <string>

// Sizes every comparison runs at: 10,000 and 100,000 rows, and 1,000,000 when
// STOCKCHECK_BENCH_LARGE is set (it takes minutes and gigabytes).
inline void benchSizes(benchmark::internal::Benchmark *b)
{
    b->Arg(10000)->Arg(100000);
    if (const char *large = std::getenv("STOCKCHECK_BENCH_LARGE"); large && *large)
        b->Arg(1000000);
}

// CPU seconds of this process: the machine is shared, so the ratio of two runs is taken on the
// time they computed rather than on the wall clock.
inline double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Times the module's operation and the bare baseline doing the same work, each once per
// iteration, and reports both, their ratio and each one's peak memory.
class Comparison
{
public:
    template <typename F> void module(F &&run) { m_module += timed(run, m_modulePeak); }
    template <typename F> void bare(F &&run) { m_bare += timed(run, m_barePeak); }

    // Counters named module_s, bare_s, ratio, moduleMB and bareMB; with a prefix, prefixed and
    // capitalised (countModule_s), and no ratio, which the caller reports over every run.
    void report(benchmark::State &state, const std::string &prefix = {}) const
    {
        const auto name = [&](std::string counter) {
            if (prefix.empty())
                return counter;
            counter.front() = static_cast<char>(std::toupper(counter.front()));
            return prefix + counter;
        };
        const auto n = static_cast<double>(state.iterations());
        state.counters[name("module_s")] = m_module / n;
        state.counters[name("bare_s")] = m_bare / n;
        if (prefix.empty())
            state.counters["ratio"] = ratio();
        state.counters[name("moduleMB")] = m_modulePeak;
        state.counters[name("bareMB")] = m_barePeak;
    }

    double ratio() const { return m_bare > 0 ? m_module / m_bare : 0; }

private:
    template <typename F> static double timed(F &run, double &peakMb);

    double m_module = 0;
    double m_bare = 0;
    double m_modulePeak = 0;
    double m_barePeak = 0;
};

template <typename F> double Comparison::timed(F &run, double &peakMb)
{
    const PeakMemory peak;
    const double start = cpuSeconds();
    run();
    const double seconds = cpuSeconds() - start;
    peakMb = std::max(peakMb, peak.addedMb());
    return seconds;
}
