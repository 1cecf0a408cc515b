#pragma once

class QWidget;

namespace host::ui {

// A control whose typed text waits in an editor of its own until the edit ends, as a grid
// cell's does. A menu, a tool or a button's access key takes no focus, so the edit does not
// end by itself before their command runs: the window ends it first.
class PendingEdit
{
public:
    // Ends an open edit as Enter does; true when none is open. False when the control refuses
    // the text: the editor stays open with it.
    virtual bool endEdit() = 0;

protected:
    ~PendingEdit() = default;
};

// Ends the edit open in the control that holds the window's focus; false when the control
// refused the text.
bool endPendingEdit(QWidget &window);

} // namespace host::ui
