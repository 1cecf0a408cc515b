#include "support/isolatedhome.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Windows under test never need a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const IsolatedHome home;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
