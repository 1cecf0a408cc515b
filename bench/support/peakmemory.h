#pragma once

#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>

// Peak memory of what a benchmark adds: freed heap is given back and the high-water mark reset
// before it runs, so earlier benchmarks do not hide its growth.
class PeakMemory
{
public:
    PeakMemory()
    {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        m_base = statusKb("VmRSS:");
    }
    double addedMb() const { return static_cast<double>(statusKb("VmHWM:") - m_base) / 1024; }

private:
    static long statusKb(const std::string &key)
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind(key, 0) == 0)
                return std::atol(line.c_str() + key.size());
        return 0;
    }

    long m_base = 0;
};
