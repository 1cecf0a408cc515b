#pragma once

#include "host/ui/form/form.h"

#include <QStringList>

#include <vector>

class QTableView;

namespace host {

class DispBuilder;

// The window of a display list: one read-only table with the list's titles and lines, which it
// reads from the list as they are shown (the list outlives the window).
class DisplayWindow : public ui::Form
{
    Q_OBJECT

public:
    DisplayWindow(const DispBuilder &list, const std::vector<long> &widthsInTwips);

    // The texts of one column, top to bottom, as shown.
    QStringList columnTexts(int column) const;
    QStringList headerTexts() const;

private:
    QTableView *m_table;
};

} // namespace host
