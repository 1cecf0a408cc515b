#include "countsheet/frmsnalert.h"
#include "countsheet/maindo.h"
#include "host/components/hostcomponents.h"
#include "host/core/objectfactory.h"
#include "host/core/paths.h"
#include "host/core/vector.h"
#include "host/formres/frmresloader.h"
#include "host/help/helptool.h"
#include "host/props/shareprops.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/label.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/spread/spreadgrid.h"
#include "services/modulestate.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class HelpRecorder : public host::HelpTool
{
public:
    void ShowHELP(long &, int, std::string &topic, long &, std::string &, long &) override
    {
        topics.push_back(topic);
    }
    std::vector<std::string> topics;
};

class SerialNumberAlert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host::registerHostComponents();
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                       "UserID=16394;SUBID=ic;");
        resetModuleState();
        m_items = std::make_shared<host::Vector>();
        m_items->Add("01.001 螺栓");
        m_items->Add("01.002 螺母");
    }
    void TearDown() override { resetModuleState(); }

    long show(const std::function<void(FrmSNAlert &)> &whileShown)
    {
        m_modals.whileShown(
            [&](host::ui::Form &form) { whileShown(dynamic_cast<FrmSNAlert &>(form)); });
        return MainDo::ShowSNAlert(m_items);
    }

    host::ui::ScriptedModals m_modals;
    std::shared_ptr<host::Vector> m_items;
};

TEST_F(SerialNumberAlert, ListsTheItemsAndAsks)
{
    std::vector<std::string> rows;
    std::string question;
    show([&](FrmSNAlert &w) {
        for (int r = 1; r <= w.vaItemList->MaxRows(); ++r)
            rows.push_back(w.vaItemList->GetText(1, r).toStdString());
        question = w.labHead->Caption().toStdString();
        EXPECT_EQ(w.vaItemList->GetText(1, 0).toStdString(), "物料信息");
        EXPECT_EQ(w.Caption().toStdString(), "序列号提示");
    });
    EXPECT_EQ(rows, (std::vector<std::string>{"01.001 螺栓", "01.002 螺母"}));
    EXPECT_NE(question.find("是否继续"), std::string::npos);

    m_items->Clear();
    int emptyRows = -1;
    show([&](FrmSNAlert &w) { emptyRows = w.vaItemList->MaxRows(); });
    EXPECT_EQ(emptyRows, 0);
}

TEST_F(SerialNumberAlert, YesGoesOnNoAndTheCloseBoxDoNot)
{
    EXPECT_EQ(show([](FrmSNAlert &w) { emit w.cmdYes->Click(); }), 1);
    EXPECT_EQ(show([](FrmSNAlert &w) { emit w.cmdNo->Click(); }), 0);
    EXPECT_EQ(show([](FrmSNAlert &w) { w.close(); }), 0);
}

TEST_F(SerialNumberAlert, F1OpensItsHelpTopic)
{
    auto help = std::make_shared<HelpRecorder>();
    const auto previous = host::registerObject(host::HelpTool::ProgId, [help] { return help; });
    show([](FrmSNAlert &w) {
        // Keys go where a user's keys go: to the control with the focus, if any.
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
        QTest::keyClick(focus, Qt::Key_A);
        QTest::keyClick(focus, Qt::Key_F1);
        // The help opens once the key has been delivered.
        QApplication::processEvents();
    });
    if (previous)
        host::registerObject(host::HelpTool::ProgId, previous);
    else
        host::unregisterObject(host::HelpTool::ProgId);
    EXPECT_TRUE(m_modals.messages().empty());
    EXPECT_EQ(help->topics, (std::vector<std::string>{"ICStockCheckSNAlert"}));
}

} // namespace

namespace {

// Records how the window asked for its captions and font.
class RecordingFormResources : public host::FrmResLoader
{
public:
    std::shared_ptr<host::Dictionary>
    LoadFrmResStrings(QWidget &form, const std::string &language, const std::string &section,
                      const std::string &baseName, std::shared_ptr<host::Dictionary> dict) override
    {
        calls.push_back("captions " + baseName);
        return FrmResLoader::LoadFrmResStrings(form, language, section, baseName, std::move(dict));
    }
    void SetFrmFont(QWidget &form, const std::string &language) override
    {
        calls.push_back("font");
        FrmResLoader::SetFrmFont(form, language);
    }
    static inline std::vector<std::string> calls;
};

} // namespace

// The alert takes its font and form resources through the services, as every window does, so
// it is English under an English host.
TEST_F(SerialNumberAlert, TakesFontAndCaptionsThroughTheServices)
{
    RecordingFormResources::calls.clear();
    const auto previous = host::registerObject(
        host::FrmResLoader::ProgId, [] { return std::make_shared<RecordingFormResources>(); });
    host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                   "UserID=16394;SUBID=ic;LANGUAGE=EN;");
    std::string caption;
    std::string yes;
    show([&](FrmSNAlert &w) {
        caption = w.Caption().toStdString();
        yes = w.cmdYes->Caption().toStdString();
    });
    host::registerObject(host::FrmResLoader::ProgId, previous);
    EXPECT_EQ(RecordingFormResources::calls,
              (std::vector<std::string>{"font", "captions ZARVOINDUSTRY"}));
    EXPECT_EQ(caption, "Serial numbers");
    EXPECT_EQ(yes, "&Yes");
}
