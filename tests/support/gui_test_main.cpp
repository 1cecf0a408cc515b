#include "host/db/sqlite/sqlitedb.h"
#include "support/isolatedhome.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Windows under test never need a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const IsolatedHome home;
    host::sqlite::guardEveryConnection();
    QApplication app(argc, argv);
    // Grids show and read numbers in the user's notation; tests expect one, whatever the
    // machine's locale.
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
