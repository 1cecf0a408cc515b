#include "sampledata/random.h"

namespace sampledata {

std::uint64_t Random::next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Random::range(int low, int high)
{
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(next() % span);
}

double Random::real(double low, double high)
{
    // 53 random bits give every double in [0, 1) the same chance.
    const double unit = static_cast<double>(next() >> 11) * 0x1.0p-53;
    return low + unit * (high - low);
}

bool Random::chance(double probability)
{
    return real(0.0, 1.0) < probability;
}

} // namespace sampledata
