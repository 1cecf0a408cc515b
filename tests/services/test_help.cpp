#include "servicestest.h"

#include "host/help/helpwindow.h"
#include "host/lang/hosttext.h"
#include "host/ui/modal/scriptedmodals.h"
#include "services/mmts.h"

#include <QDir>
#include <QFile>
#include <QTest>

class Help : public ServicesTest
{
protected:
    host::ui::ScriptedModals modals;
};

TEST_F(Help, OnlyF1OpensHelp)
{
    setPropsString("UserID=1;SubID=ic");
    for (const int key : {13, 27, 113, 118})
        EXPECT_FALSE(MMTS::ShowHelp(key, 0, "ICStockCheckBackUpProc", 0, "ic", 0));
    EXPECT_TRUE(modals.modalWindows().empty());
    QString shown;
    modals.whileShown(
        [&](host::ui::Form &form) { shown = dynamic_cast<host::HelpWindow &>(form).shownText(); });
    EXPECT_TRUE(MMTS::ShowHelp(112, 0, "ICStockCheckBackUpProc", 0, "ic", 0));
    ASSERT_EQ(modals.modalWindows().size(), 1u);
    EXPECT_TRUE(shown.contains("ICStockCheckBackUpProc"));
    EXPECT_EQ(modals.modalWindows().front().caption, QStringLiteral("帮助"));
}

TEST_F(Help, StdCostReportsOpenInTheirSubSystem)
{
    setPropsString("UserID=1;SubID=StdCost;LANGUAGE=CHS");
    QString caption;
    QString text;
    modals.whileShown(
        [&](host::ui::Form &form) { text = dynamic_cast<host::HelpWindow &>(form).shownText(); });
    MMTS::ShowHelp(112, 0, "zarvocaculaterpt.Cost", 0, "", 0);
    EXPECT_TRUE(text.contains("(StdCost)"));
    modals.whileShown(
        [&](host::ui::Form &form) { text = dynamic_cast<host::HelpWindow &>(form).shownText(); });
    MMTS::ShowHelp(112, 0, "ZarvoCaculateRpt.Cost", 0, "ic", 0);
    EXPECT_TRUE(text.contains("(ic)"));
}

TEST_F(Help, ShowsTheTopicsPageWhenThereIsOne)
{
    const QString dir = QDir::tempPath() + "/stockcheck-help-" + QString::number(getpid());
    QDir().mkpath(dir + "/help");
    QFile page(dir + "/help/ICStockCheckSNAlert.html");
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<h1>序列号提示</h1><p>帮助正文</p>");
    page.close();
    setenv("STOCKCHECK_DATA_DIR", dir.toUtf8().constData(), 1);
    host::HelpWindow window("ICStockCheckSNAlert", "ic");
    EXPECT_TRUE(window.foundPage());
    EXPECT_TRUE(window.shownText().contains(QStringLiteral("帮助正文")));
    QDir(dir).removeRecursively();
}

// The help window speaks the host's language and closes with Escape, like every dialog.
TEST_F(Help, SpeaksTheHostsLanguageAndClosesWithEscape)
{
    host::setHostLanguage("EN");
    host::HelpWindow window("NoSuchTopic", "ic");
    EXPECT_EQ(window.shownText(),
              QStringLiteral("No help page for the topic \"NoSuchTopic\" (ic)."));
    window.Load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    host::setHostLanguage("CHS");
}
