#pragma once

#include <functional>

// Runs one step of a routine that goes on past failures (setting captions, reading optional
// columns): an error of the step is dropped and the routine continues with its next step,
// leaving what the step would have set as it was.
void tryStep(const std::function<void()> &step) noexcept;
