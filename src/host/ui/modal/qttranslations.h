#pragma once

#include <QString>

namespace host::ui {

// Makes Qt's own buttons and dialogs speak the language ("zh-CN", "zh-TW" or "en") with Qt's
// translations installed on the system; false when they are not there, and Qt stays English.
bool installQtTranslations(const QString &language);

} // namespace host::ui
