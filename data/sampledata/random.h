#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sampledata {

// A small seeded generator (splitmix64) with its own range functions, so the same seed gives
// the same company on every compiler and standard library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next();
    // A whole number in [low, high], both included.
    int range(int low, int high);
    // A number in [low, high).
    double real(double low, double high);
    bool chance(double probability);

    template <typename T> const T &pick(const std::vector<T> &values)
    {
        return values[static_cast<std::size_t>(range(0, static_cast<int>(values.size()) - 1))];
    }

private:
    std::uint64_t m_state;
};

} // namespace sampledata
