#include "dialogtest.h"

#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"

#include <cstdlib>

void DialogTest::SetUp()
{
    const QByteArray home = m_home.path().toUtf8();
    setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
    setenv("XDG_STATE_HOME", (home + "/state").constData(), 1);
    setenv("STOCKCHECK_LOG", "off", 1);
    CountSheetDbTest::SetUp();
}

void DialogTest::type(host::ui::SpreadGrid &grid, int col, int row, const QString &text)
{
    grid.SetActiveCell(col, row);
    ASSERT_TRUE(grid.spreadModel().commitUserText(col, row, text)) << text.toStdString();
}
