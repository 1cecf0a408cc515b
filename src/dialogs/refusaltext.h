#pragma once

#include <QString>

namespace host::ui {
struct CellRefusal;
}

// What a number cell takes, in the user's language, after it refused a typed text: the column
// is named by its caption.
QString refusalText(const QString &caption, const host::ui::CellRefusal &refusal);
