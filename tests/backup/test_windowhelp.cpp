#include "windowtest.h"

#include "backup/frmbackupinv.h"
#include "backup/frmbackuptype.h"
#include "backup/frmchkstockproc.h"
#include "host/help/helpwindow.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include <functional>

namespace {

class WindowHelp : public WindowTest
{
protected:
    // The help topic that opens while the action runs, or an empty text when none does.
    QString helpShownBy(const std::function<void()> &action)
    {
        QString shown;
        m_modals->whileShown([&](host::ui::Form &form) {
            shown = dynamic_cast<host::HelpWindow &>(form).shownText();
        });
        action();
        return shown;
    }
    // The key pressed in the window shown; what it opens opens once it has been delivered.
    static void press(host::ui::Form &window, Qt::Key key)
    {
        window.show();
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(WindowHelp, EachWindowOpensItsTopic)
{
    frmChkStockProc list([]() -> std::unique_ptr<ProcListEntry> { return nullptr; });
    list.Load();
    EXPECT_TRUE(helpShownBy([&] {
                    list.barProc->Bands("PopupBand5").Tools("mnuHelp").action().trigger();
                }).contains("ICStockCheckBackUpProc"));

    frmBackupInv backupWindow;
    backupWindow.Load();
    EXPECT_TRUE(
        helpShownBy([&] { press(backupWindow, Qt::Key_F1); }).contains("ICStockCheckBackUpInv"));

    FrmBackupType typeDialog;
    typeDialog.Load();
    EXPECT_TRUE(
        helpShownBy([&] { press(typeDialog, Qt::Key_F1); }).contains("ICStockCheckBackUpType"));
    // Other keys open nothing.
    press(typeDialog, Qt::Key_F2);
    EXPECT_EQ(m_modals->modalWindows().size(), 3u);
}
