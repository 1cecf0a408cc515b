#include "services/trystep.h"

void tryStep(const std::function<void()> &step) noexcept
{
    try {
        step();
    } catch (...) {
        return;
    }
}
