#pragma once

#include "backuptest.h"

#include <QString>

#include <string>

namespace host::ui {
class SpreadGrid;
}

// The small company of BackupTest as a window sees it: the operator's host context, the
// system start date and the rights the test grants.
class WindowTest : public BackupTest
{
protected:
    void SetUp() override;

    // The operator gets the right of that index on count processes (1001).
    void grant(int rightIndex);
    void setOption(const std::string &key, const std::string &value);

    static QString text(const host::ui::SpreadGrid &grid, int col, int row);

    static constexpr const char *kContext = "UserID=16394;LANGUAGE=CHS;SUBID=ic";
};
