#include "printbooktest.h"

#include "countwindowtest.h"

#include "backup/frmbackupinv.h"
#include "countsheet/countline.h"
#include "dialogs/frmselect.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/bills/billwindow.h"
#include "host/lang/hosttext.h"
#include "host/props/shareprops.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "host/ui/uitestutil.h"
#include "services/modulestate.h"
#include "window/frmmain.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>

#include <algorithm>

namespace {

struct LanguageCase
{
    const char *code;
    QString billList;
    QString billNo;
    QString gainBill;
    QString exportTitle;
    QString exportFilter;
    QString importFilter;
    // The footer's two parts; "%1" is the page number, then the page count.
    QString page;
    QString pages;
    // What a count cell says when it refuses a text.
    QString notANumber;
    // The tool of the command the View menu calls Select bills.
    QString selectBills;
    // The tool bar's item in the View menu of the window Select bills opens.
    QString selectBillsToolBar;
    // The printed book's last signature, the operator's name after it.
    QString preparedBy;
};

void PrintTo(const LanguageCase &c, std::ostream *os)
{
    *os << c.code;
}

const LanguageCase kLanguages[] = {
    {"CHS", "单据序时簿", "单据编号", "盘盈单", "引出", "Excel 工作簿|*.xlsx",
     "Excel 文件|*.xls;*.xlsx", "第 %1 页", "共 %1 页", "盘点数量只能输入数字", "选单",
     "工具条(&O)", "制表:张三"},
    {"CHT", "單據清單", "單據編號", "盤盈單", "匯出", "Excel 活頁簿|*.xlsx",
     "Excel 檔案|*.xls;*.xlsx", "第 %1 頁", "共 %1 頁", "盤點數量只能輸入數字", "選擇單據",
     "工具列(&O)", "製表:张三"},
    {"EN", "Bill list", "Bill number", "Gain bill", "Export", "Excel workbook|*.xlsx",
     "Excel file|*.xls;*.xlsx", "Page %1", "%1 pages in all", "Counted qty: numbers only",
     "Select bills", "T&ool bar", "Prepared by: 张三"},
};

// The user's language, as the host hands it to the module and speaks it in its own windows.
class InLanguage : public PrintBookTest, public ::testing::WithParamInterface<LanguageCase>
{
protected:
    void SetUp() override
    {
        PrintBookTest::SetUp();
        host::ShareProps().SetProperty(host::currentProcessId(), "PropsString",
                                       std::string("UserID=16;SUBID=ic;LANGUAGE=") +
                                           GetParam().code + ";");
        module().gLanguage.clear();
        host::setHostLanguage(GetParam().code);
    }

    void TearDown() override
    {
        host::setHostLanguage("CHS");
        PrintBookTest::TearDown();
    }

    static QString withoutBlanks(QString text)
    {
        return text.remove(QRegularExpression(QStringLiteral("\\s")));
    }
};

TEST_P(InLanguage, BillListFileDialogsAndPrintedReportSpeakIt)
{
    const LanguageCase &c = GetParam();
    sql("Update ICInvBackup Set FCheckQty=FQty+2,FQtyAct=FQty+2,FMinus=2 Where FInterID=" +
        std::to_string(m_proc) + " And FItemID=(Select Min(FItemID) From ICInvBackup Where " +
        "FQty>5 And FInterID=" + std::to_string(m_proc) + ")");
    {
        const auto window = openWindow(1);
        QStringList shown;
        m_modals.whileShown([&shown](host::ui::Form &form) {
            const auto &list = dynamic_cast<host::BillWindow &>(form);
            const QTableWidgetItem *kind = list.heads()->item(0, 2);
            shown << list.Caption() << list.heads()->horizontalHeaderItem(0)->text()
                  << kind->text();
            const QAbstractItemView &view = *list.heads();
            EXPECT_GE(list.heads()->columnWidth(2), view.sizeHintForColumn(2))
                << "the kind shows whole";
        });
        window->mnuFOutBill->trigger();
        EXPECT_EQ(shown, QStringList({c.billList, c.billNo, c.gainBill}));

        window->mnuFileOut->trigger();
        ASSERT_EQ(m_modals.fileDialogs().size(), 1U);
        EXPECT_EQ(m_modals.fileDialogs()[0].request.title, c.exportTitle);
        EXPECT_EQ(m_modals.fileDialogs()[0].request.filter, c.exportFilter);
    }
    {
        // A database made before Taiwan's words changed keeps the captions of its day: Find still
        // looks an item up by the code in use, here the short one.
        sql("Update ICChatBillTitle Set FColCaption_CHT='物料代碼$' Where FColName='FNumber'");
        sql("Update t_SystemProfile Set FValue='1' Where FKey='UseShortNumber'");
        const auto window = openWindow(4);
        const auto &columns = sheetDialogsState().gQueryColumns;
        EXPECT_TRUE(std::any_of(columns.begin(), columns.end(), [](const QueryColumn &q) {
            return q.FieldName == "FShortNumber";
        }));
        ASSERT_TRUE(showActive(*window));
        window->vsCheck->setFocus();
        window->vsCheck->SetActiveCell(EntryCol::CUUnitCheckQty, 1);
        typeIntoGrid(*window->vsCheck, QStringLiteral("12abc"));
        EXPECT_EQ(window->staBar->Panels(1).Text(), c.notANumber);
        // A longer refusal, on a window 1024 wide, shows whole on the status bar.
        window->resize(1024, 700);
        int row = 1;
        while (row < window->vsCheck->MaxRows() &&
               window->vsCheck->GetText(EntryCol::SecUnitName, row).isEmpty())
            ++row;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        window->vsCheck->SetActiveCell(EntryCol::SecCheckQty, row);
        typeIntoGrid(*window->vsCheck, QStringLiteral("12abc"));
        QApplication::processEvents();
        const QLabel *message = window->staBar->findChildren<QLabel *>().value(0);
        ASSERT_TRUE(message);
        EXPECT_GT(message->text().size(), c.notANumber.size());
        EXPECT_GE(message->width(), message->sizeHint().width()) << message->text().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        window->vsCheck->SetActiveCell(EntryCol::CUUnitCheckQty, 1);
        // The process box is reached by its label's access key, and Enter leaves it for the
        // grid.
        const QKeySequence accessKey = QKeySequence::mnemonic(window->Label1->text());
        ASSERT_FALSE(accessKey.isEmpty()) << window->Label1->text().toStdString();
        QTest::keyClick(QApplication::focusWidget(), accessKey[0].key(), Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), window->lstStock);
        QTest::keyClick(window->lstStock, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), window->vsCheck);
        window->mnuFileIn->trigger();
        ASSERT_EQ(m_modals.fileDialogs().size(), 2U);
        EXPECT_EQ(m_modals.fileDialogs()[1].request.filter, c.importFilter);
        EXPECT_EQ(window->barlist->Tools(QStringLiteral("SelectBill")).Caption(), c.selectBills);
        // Its shortcut opens Select bills, whose menus read as the window's own.
        QString toolBar;
        bool aboutShown = true;
        m_modals.whileShown([&toolBar, &aboutShown](host::ui::Form &form) {
            toolBar = dynamic_cast<frmSelect &>(form).mnuVToolBar->text();
            aboutShown = dynamic_cast<frmSelect &>(form).mnuHAbout->isVisible();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(toolBar, c.selectBillsToolBar);
        EXPECT_FALSE(aboutShown) << "an item without a command";
    }
    {
        // The backup window's condition columns show their captions whole.
        frmBackupInv backup;
        backup.Load();
        backup.show();
        const QHeaderView &header = *backup.vsProc->horizontalHeader();
        for (int col = 1; col <= 4; ++col)
            EXPECT_GE(header.sectionSize(col - 1), header.sectionSizeHint(col - 1))
                << backup.vsProc->GetText(col, 0).toStdString();
    }

    const QStringList pages = printBook(1);
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size(); ++i) {
        const QString page = withoutBlanks(pages.at(i));
        EXPECT_TRUE(page.contains(withoutBlanks(c.page.arg(i + 1)))) << pages.at(i).toStdString();
        EXPECT_TRUE(page.contains(withoutBlanks(c.pages.arg(pages.size()))));
        EXPECT_FALSE(page.contains(QStringLiteral("&["))) << "a page code left unexpanded";
        EXPECT_TRUE(pages.at(i).contains(c.preparedBy)) << pages.at(i).toStdString();
    }
    // Every column of the report on an ordinary page, no caption cut short.
    for (const QString &page : printBook(1, Paper::A4Landscape))
        EXPECT_FALSE(page.contains(QChar(0x2026))) << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Languages, InLanguage, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<LanguageCase> &param) {
                             return std::string(param.param.code);
                         });

} // namespace
