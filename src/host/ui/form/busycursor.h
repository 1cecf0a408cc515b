#pragma once

namespace host::ui {

// The hourglass for the lifetime of the guard, restored on every way out of the scope.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace host::ui
