#include "uitestutil.h"

#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/lang/hosttext.h"
#include "host/ui/form/busycursor.h"
#include "host/ui/form/form.h"
#include "host/ui/modal/filedialog.h"
#include "host/ui/modal/filemodelsbyname.h"
#include "host/ui/modal/hostmessagebox.h"
#include "host/ui/modal/messagedialog.h"
#include "host/ui/modal/modalservices.h"
#include "host/ui/modal/qtmodals.h"
#include "host/ui/modal/qttranslations.h"
#include "host/ui/modal/scriptedmodals.h"
#include "host/ui/printing/printdialogguard.h"
#include "support/limitedchild.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include <sys/stat.h>

using namespace host::ui;

namespace {

struct AnswerCase
{
    long style;
    long answer;
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << "style " << c.style;
}

class DefaultAnswerTest : public ::testing::TestWithParam<AnswerCase>
{};

TEST_P(DefaultAnswerTest, UnscriptedBoxTakesItsDefaultButton)
{
    ScriptedModals modals;
    EXPECT_EQ(MsgBox(QStringLiteral("?"), GetParam().style), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Cases, DefaultAnswerTest,
                         ::testing::Values(AnswerCase{Msg::OKOnly, Msg::OK},
                                           AnswerCase{Msg::OKCancel | Msg::Question, Msg::OK},
                                           AnswerCase{Msg::YesNo | Msg::Exclamation, Msg::Yes},
                                           AnswerCase{Msg::YesNoCancel, Msg::Yes},
                                           AnswerCase{Msg::RetryCancel, Msg::Retry}));

struct DismissCase
{
    const char *name;
    long style;
    long cancelAnswer; // what Escape and the close box answer; 0 when they answer nothing
};

void PrintTo(const DismissCase &c, std::ostream *os)
{
    *os << c.name;
}

class MessageDialogDismiss : public ::testing::TestWithParam<DismissCase>
{};

TEST_P(MessageDialogDismiss, EscapeAndTheCloseBoxAnswerOnlyABoxThatCanBeCancelled)
{
    const DismissCase &c = GetParam();
    for (const bool closeBox : {false, true}) {
        MessageDialog box(QStringLiteral("盘点数据已经修改，是否保存？"), c.style,
                          QStringLiteral("Hembrel提示"));
        ASSERT_TRUE(showActive(box));
        if (closeBox)
            box.close();
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(box.answer(), c.cancelAnswer) << "close box " << closeBox;
        EXPECT_EQ(box.isVisible(), c.cancelAnswer == 0) << "close box " << closeBox;
        if (box.isVisible()) {
            // Only a button answers the question: No by its access letter, without Alt.
            auto *buttons = box.findChild<QDialogButtonBox *>();
            const bool yesNo = buttons->button(QDialogButtonBox::No) != nullptr;
            if (yesNo)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_N);
            else
                QTest::mouseClick(buttons->button(QDialogButtonBox::Retry), Qt::LeftButton);
            const long answer = yesNo ? Msg::No : Msg::Retry;
            EXPECT_FALSE(box.isVisible());
            EXPECT_EQ(box.answer(), answer);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageDialogDismiss,
    ::testing::Values(DismissCase{"OK only", Msg::OKOnly | Msg::Information, Msg::OK},
                      DismissCase{"OK and Cancel", Msg::OKCancel, Msg::Cancel},
                      DismissCase{"Yes and No", Msg::YesNo | Msg::Question, 0},
                      DismissCase{"Yes, No and Cancel", Msg::YesNoCancel, Msg::Cancel},
                      DismissCase{"Abort, Retry and Ignore", Msg::AbortRetryIgnore, 0},
                      DismissCase{"Retry and Cancel", Msg::RetryCancel, Msg::Cancel}));

// Whatever its text, a box fits the screen with its buttons in reach, and no line of its text
// runs past what the box shows: a text longer than the screen scrolls, a word longer than a line
// (a list of names without blanks) wraps inside the word. However short the text, the box leaves
// the window manager room for the whole title, drawn in bold beside an icon and three buttons.
TEST(MessageDialog, ItsTextWrapsAndScrollsInsideABoxThatFitsTheScreen)
{
    struct Case
    {
        const char *name;
        QString text;
        bool scrolls;
        QString title = QStringLiteral("Hembrel提示");
    };
    auto lines = [](int count) {
        QStringList text;
        for (int i = 1; i <= count; ++i)
            text << QStringLiteral("仓库%1：单据 XSD%2 尚未审核").arg(i).arg(1000 + i);
        return text.join(QLatin1Char('\n'));
    };
    const Case cases[] = {
        {"a few lines", lines(3), false},
        {"more lines than the screen holds", lines(400), true},
        {"a word longer than a line",
         QStringLiteral("添加物料失败，原因：") +
             QStringLiteral("FInterID,FBrNo,FItemID,").repeated(40),
         false},
        {"a short text under a long title", QStringLiteral("Import finished!"), false,
         QStringLiteral("Hembrel Prompt")},
    };
    for (const Case &c : cases) {
        MessageDialog box(c.text, Msg::Exclamation, c.title);
        ASSERT_TRUE(showActive(box));
        QFont titleFont = box.font();
        titleFont.setBold(true);
        EXPECT_GE(box.width(), QFontMetrics(titleFont).horizontalAdvance(c.title) +
                                   4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight))
            << c.name;
        EXPECT_TRUE(box.screen()->availableGeometry().contains(box.frameGeometry())) << c.name;
        const QAbstractButton *ok =
            box.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        EXPECT_TRUE(box.rect().contains(QRect(ok->mapTo(&box, QPoint()), ok->size()))) << c.name;
        const auto *text = box.findChild<QTextEdit *>();
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_LE(text->document()->idealWidth(), text->viewport()->width()) << c.name;
        EXPECT_EQ(text->verticalScrollBar()->maximum() > 0, c.scrolls) << c.name;
    }
}

TEST(ScriptedModals, AnswersInOrderAndRecordsBothMessageForms)
{
    ScriptedModals modals;
    modals.answer(Msg::No);
    modals.answer(Msg::Cancel);
    EXPECT_EQ(MsgBox(QStringLiteral("是否保存？"), Msg::YesNo, QStringLiteral("Hembrel提示")),
              Msg::No);
    HostMessageBox box;
    box.setText(QStringLiteral("获取仓库信息时出错。"));
    EXPECT_EQ(box.Show(0, QStringLiteral("原因"), -1), Msg::Cancel);
    EXPECT_EQ(box.Result(), Msg::Cancel);
    ASSERT_EQ(modals.messages().size(), 2U);
    EXPECT_EQ(modals.messages()[0].kind, ScriptedModals::MessageKind::MessageBox);
    EXPECT_EQ(modals.messages()[0].title, QStringLiteral("Hembrel提示"));
    EXPECT_EQ(modals.messages()[1].kind, ScriptedModals::MessageKind::HostMessage);
    EXPECT_EQ(modals.messages()[1].text, QStringLiteral("获取仓库信息时出错。\n原因"));
    EXPECT_TRUE(modals.messages()[1].title.isEmpty());
}

TEST(ScriptedModals, FileDialogsReturnThePickedFileOrCancel)
{
    ScriptedModals modals;
    modals.pickFile(QStringLiteral("/tmp/count.xls"));
    const FileDialogRequest request{
        QStringLiteral("选择引入的Excel文件"), QStringLiteral("Excel File(*.xls)|*.xls"), {}};
    EXPECT_EQ(modals.openFileName(request), QStringLiteral("/tmp/count.xls"));
    EXPECT_EQ(modals.saveFileName(request), QString());
    ASSERT_EQ(modals.fileDialogs().size(), 2U);
    EXPECT_FALSE(modals.fileDialogs()[0].save);
    EXPECT_TRUE(modals.fileDialogs()[1].save);
    EXPECT_EQ(modals.fileDialogs()[0].request.title, QStringLiteral("选择引入的Excel文件"));
}

TEST(ScriptedModals, RestoresTheServicesThatWereInForce)
{
    ModalServices *outer = nullptr;
    {
        ScriptedModals first;
        {
            ScriptedModals second;
            EXPECT_EQ(&modals(), &second);
        }
        EXPECT_EQ(&modals(), &first);
        outer = &first;
    }
    EXPECT_NE(&modals(), outer);
}

TEST(QtModals, FilterTurnsIntoQtNotation)
{
    EXPECT_EQ(QtModals::qtFilter(QStringLiteral("Excel File(*.xls)|*.xls|All|*.xls;*.xlsx")),
              QStringLiteral("Excel File(*.xls) (*.xls);;All (*.xls *.xlsx)"));
}

// The database's folder listed in a file dialog, or by the list of names that completes a typed
// path: every file of the database is listed, and the locks this process holds on them must stay
// held, so another program cannot write meanwhile.
struct FolderListing
{
    const char *name;
    // Opens its window on the file, has it list the folder as a user does and, once listed,
    // runs the check while the window is still open.
    void (*list)(const QString &file, const QString &folder, const std::function<void()> &check);
    // It opens on the database's shared memory and lists another folder; otherwise it opens
    // elsewhere and lists the database's folder.
    bool fromTheDatabase;
};

void PrintTo(const FolderListing &c, std::ostream *os)
{
    *os << c.name;
}

// Does what has the model list the folder; whether it did.
bool listed(const QFileSystemModel *model, const QString &folder, const std::function<void()> &act)
{
    if (!model)
        return false;
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    act();
    return QTest::qWaitFor([&] {
        return std::any_of(loaded.begin(), loaded.end(), [&](const QList<QVariant> &signal) {
            return signal.value(0).toString() == folder;
        });
    });
}

// The folder typed as the file's name, as a user goes to a folder.
void goTo(QFileDialog &dialog, const QString &folder, const std::function<void()> &check)
{
    auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const bool went = name && listed(dialog.findChild<QFileSystemModel *>(), folder, [&] {
                          name->clear();
                          QTest::keyClicks(name, folder);
                          QTest::keyClick(name, Qt::Key_Return);
                      });
    EXPECT_TRUE(went);
    if (went)
        check();
    // Closed whatever happened: a dialog left open would hold the test up.
    dialog.reject();
}

void inFileDialog(QFileDialog::AcceptMode mode, const QString &file, const QString &folder,
                  const std::function<void()> &check)
{
    FileDialog chooser(nullptr, {QStringLiteral("Choose"), QStringLiteral("Excel|*.xlsx"), file},
                       mode);
    ASSERT_TRUE(showActive(chooser.dialog()));
    goTo(chooser.dialog(), folder, check);
}

// Qt's print dialog, printing into the file.
void inPrintDialog(const QString &file, const std::function<void(QPrintDialog &)> &act)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QPrintDialog print(&printer);
    ASSERT_TRUE(showActive(print));
    act(print);
    print.reject();
}

// The file dialog the print dialog opens itself to choose the file to print into.
void inPrintToFileDialog(const QString &file, const QString &folder,
                         const std::function<void()> &check)
{
    inPrintDialog(file, [&](QPrintDialog &print) {
        auto *browse = print.findChild<QToolButton *>(QStringLiteral("fileBrowser"));
        ASSERT_NE(browse, nullptr);
        bool opened = false;
        QTimer::singleShot(0, &print, [&] {
            QFileDialog *dialog = nullptr;
            opened = QTest::qWaitFor([&] {
                dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                return dialog && dialog->isActiveWindow();
            });
            if (opened)
                goTo(*dialog, folder, check);
        });
        QTest::mouseClick(browse, Qt::LeftButton);
        EXPECT_TRUE(opened);
    });
}

// The folder typed into the print dialog's own box for the file to print into.
void typedAsPrintFile(const QString &file, const QString &folder,
                      const std::function<void()> &check)
{
    inPrintDialog(file, [&](QPrintDialog &print) {
        auto *name = print.findChild<QLineEdit *>(QStringLiteral("filename"));
        ASSERT_NE(name, nullptr);
        ASSERT_TRUE(listed(name->findChild<QFileSystemModel *>(), folder, [&] {
            name->setFocus();
            name->clear();
            QTest::keyClicks(name, folder + QLatin1Char('/'));
        }));
        check();
    });
}

const FolderListing kFolderListings[] = {
    {"Open",
     [](const QString &file, const QString &folder, const std::function<void()> &check) {
         inFileDialog(QFileDialog::AcceptOpen, file, folder, check);
     },
     false},
    {"Save",
     [](const QString &file, const QString &folder, const std::function<void()> &check) {
         inFileDialog(QFileDialog::AcceptSave, file, folder, check);
     },
     false},
    {"PrintToFile", inPrintToFileDialog, false},
    // The user typed the database's file as the one to print into.
    {"PrintToTheDatabasesFile", inPrintToFileDialog, true},
    {"PrintFileTyped", typedAsPrintFile, false},
};

class FolderListingTest : public ::testing::TestWithParam<FolderListing>
{};

TEST_P(FolderListingTest, ListingTheDatabasesFolderKeepsItsLocks)
{
    // As the program has it.
    FileModelsByName fileModels(*qApp);
    QTemporaryDir folder;
    const std::string file = folder.filePath(QStringLiteral("host.db")).toStdString();
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    for (const char *sql :
         {"PRAGMA journal_mode=WAL", "create table t (a int)", "insert into t values (1)",
          "BEGIN IMMEDIATE", "insert into t values (2)"})
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    for (const char *beside : {"-wal", "-shm"})
        ASSERT_TRUE(QFileInfo::exists(QString::fromStdString(file + beside))) << beside;

    QTemporaryDir elsewhere;
    const bool fromTheDatabase = GetParam().fromTheDatabase;
    std::string other;
    GetParam().list(fromTheDatabase ? QString::fromStdString(file + "-shm")
                                    : elsewhere.filePath(QStringLiteral("sheet")),
                    fromTheDatabase ? elsewhere.path() : folder.path(), [&] {
                        QProcess connection;
                        connection.start(QStringLiteral(OTHER_CONNECTION),
                                         {QString::fromStdString(file)});
                        connection.waitForFinished();
                        other = connection.readAllStandardOutput().trimmed().toStdString();
                    });
    EXPECT_EQ(other, "locked");
    sqlite3_close(db);
}

INSTANTIATE_TEST_SUITE_P(Ways, FolderListingTest, ::testing::ValuesIn(kFolderListings),
                         [](const auto &param) { return std::string(param.param.name); });

// The print dialog says why it cannot print into a file before Qt's own check opens the file,
// and stays open: a pipe would keep that waiting for a reader for ever, a device would be written
// into, and a file of the database would lose the locks the program holds on it. Each try runs in
// a child of its own, stopped if it waits.
TEST(PrintDialogGuard, ThePrintDialogSaysWhyItCannotPrintIntoAFileWithoutOpeningIt)
{
    // As the program has it.
    PrintDialogGuard guard(*qApp);
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString device = folder.filePath(QStringLiteral("device.pdf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), device));
    const QString database = folder.filePath(QStringLiteral("host.db"));
    auto db = std::make_shared<host::AppConnection>();
    db->openDatabase(database.toStdString());
    host::setHostConnection(db);
    const auto closeDatabase = qScopeGuard([] { host::setHostConnection(nullptr); });

    const QString notRegular = QStringLiteral("\n这不是普通文件，而是管道或设备。");
    const QString missing = folder.filePath(QStringLiteral("none/book.pdf"));
    const std::pair<QString, QString> files[] = {
        {pipe, QStringLiteral("不能写入文件：") + pipe + notRegular},
        {device, QStringLiteral("不能写入文件：") + device + notRegular},
        {missing, QStringLiteral("不能写入文件：") + missing + QStringLiteral("\n文件夹不存在。")},
        {database, QStringLiteral("所选文件是正在使用的数据库的文件，请另选文件!")},
    };
    for (const auto &[file, why] : files) {
        const std::string said = runLimited({}, [&file = file] {
            ScriptedModals modals;
            std::string shown;
            inPrintDialog(file, [&](QPrintDialog &print) {
                QTest::mouseClick(
                    print.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                    Qt::LeftButton);
                shown = modals.messageTexts().join(QLatin1Char('|')).toStdString() +
                        (print.isVisible() ? "" : " (the dialog closed)");
            });
            return shown;
        });
        EXPECT_EQ(said, why.toStdString()) << file.toStdString();
    }
}

// The dialog names a folder's type in the user's language, though it tells types by names alone,
// and shows each file's size, type and date whole.
TEST(FileDialog, NamesFoldersInTheUsersLanguageAndShowsEachColumnWhole)
{
    FileModelsByName fileModels(*qApp);
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sheets")));
    QFile sheet(folder.filePath(QStringLiteral("count.xlsx")));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.close();
    for (const auto &[language, folderType] :
         {std::pair{"zh-CN", "文件夹"}, std::pair{"zh-TW", "資料夾"}, std::pair{"en", "Folder"}}) {
        installQtTranslations(QString::fromLatin1(language));
        FileDialog chooser(nullptr,
                           {QStringLiteral("Choose"), QStringLiteral("Excel|*.xlsx"),
                            folder.filePath(QStringLiteral("count.xlsx"))},
                           QFileDialog::AcceptOpen);
        ASSERT_TRUE(showActive(chooser.dialog()));
        const auto *model = chooser.dialog().findChild<QFileSystemModel *>();
        const QString sheets = folder.filePath(QStringLiteral("sheets"));
        const QString expected = QString::fromUtf8(folderType);
        EXPECT_TRUE(QTest::qWaitFor([&] { return model->index(sheets, 2).data() == expected; }))
            << language << ": " << model->index(sheets, 2).data().toString().toStdString();
        const auto *tree = chooser.dialog().findChild<QTreeView *>(QStringLiteral("treeView"));
        ASSERT_NE(tree, nullptr);
        const QAbstractItemView &view = *tree;
        for (int column = 1; column < tree->header()->count(); ++column)
            EXPECT_GE(tree->columnWidth(column), view.sizeHintForColumn(column))
                << language << " column " << column;
        chooser.dialog().reject();
    }
    installQtTranslations(QStringLiteral("none"));
}

// Without a display a box is written out, its title first.
TEST(QtModals, EveryBoxCarriesTheHostsTitleUnlessItNamesItsOwn)
{
    struct Case
    {
        const char *language;
        const char *hostTitle;
    };
    for (const Case &c :
         {Case{"CHS", "Hembrel提示"}, Case{"CHT", "Hembrel提示"}, Case{"EN", "Hembrel Prompt"}}) {
        host::setHostLanguage(c.language);
        std::ostringstream shown;
        std::streambuf *const previous = std::cerr.rdbuf(shown.rdbuf());
        QtModals::instance().hostMessage(QStringLiteral("a"), Msg::OKOnly);
        QtModals::instance().messageBox(QStringLiteral("b"), Msg::OKOnly, QString());
        QtModals::instance().messageBox(QStringLiteral("c"), Msg::OKOnly, QStringLiteral("Own"));
        std::cerr.rdbuf(previous);
        const std::string title = c.hostTitle;
        EXPECT_EQ(shown.str(), title + ": a\n" + title + ": b\nOwn: c\n") << c.language;
    }
    host::setHostLanguage("CHS");
}

// The window a pressed action opens is saved as it opens: at its own size, or fitted to the
// screen where it asks for more than the screen has.
TEST(QtModals, APressedActionOpensTheWindowThatIsSaved)
{
    QTemporaryDir dir;
    Form outer;
    outer.resize(480, 360);
    Form inner;
    inner.resize(220, 140);
    QPrinter printer;
    QAction columns(QStringLiteral("Columns"));
    columns.setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    QObject::connect(&columns, &QAction::triggered, [&inner] { inner.Show(1); });
    QAction preview(QStringLiteral("Preview"));
    preview.setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    QObject::connect(&preview, &QAction::triggered,
                     [&printer] { modals().printPreview(printer, [](QPrinter &) {}); });
    outer.addActions({&columns, &preview});
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    ASSERT_FALSE(screen.expandedTo(QSize(1000, 760)) == screen)
        << "a screen smaller than the preview asks for";

    for (const char *press : {"Ctrl+H", "Ctrl+P"}) {
        const QString file = dir.filePath(QStringLiteral("shot.png"));
        QtModals::instance().setScreenshotFile(file, QString::fromLatin1(press));
        outer.Show(1);
        EXPECT_TRUE(QtModals::instance().screenshotTaken()) << press;
        const QSize shot = QImage(file).size() / outer.devicePixelRatio();
        if (std::string_view(press) == "Ctrl+H")
            EXPECT_EQ(shot, QSize(220, 140)) << "the window the action opened";
        else
            EXPECT_TRUE(shot.width() <= screen.width() && shot.height() <= screen.height())
                << shot.width() << "x" << shot.height();
        EXPECT_FALSE(outer.isVisible());
        EXPECT_FALSE(inner.isVisible());
    }
}

class FailingForm : public Form
{
public:
    bool failLoad = true;
    int loads = 0;

protected:
    void Form_Load() override
    {
        ++loads;
        if (failLoad)
            throw host::HostError("no template");
    }
};

TEST(Form, FailedLoadReachesTheCallerAndLeavesTheWindowUnloaded)
{
    ScriptedModals modals;
    FailingForm form;
    EXPECT_THROW(form.Show(1), host::HostError);
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(form.isVisible());
    form.failLoad = false;
    form.Show(1);
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(modals.modalWindows().size(), 1U);
}

TEST(Form, GuardShowsTheFailureAfterASentenceAndLetsNothingEscape)
{
    struct Failure
    {
        std::function<void()> raise;
        QString why;
    };
    const Failure failures[] = {
        {[] { throw host::HostError("磁盘已满"); }, QStringLiteral("磁盘已满")},
        {[] { throw std::runtime_error("no ledger"); }, QStringLiteral("no ledger")},
        // The database's own failures read in the user's language, without the statement.
        {[] { throw host::HostError("database is locked\nSQL: x", host::HostError::DatabaseBusy); },
         QStringLiteral("数据库正忙，请稍后再试。")},
        // The engine's words are the reason; the statement it ran is no one's to read here.
        {[] {
             throw host::HostError("no such table: ICInvBackup\nSQL: Select FQty From ICInvBackup");
         },
         QStringLiteral("no such table: ICInvBackup")},
        {[] {
             throw host::HostError("attempt to write a readonly database",
                                   host::HostError::DatabaseReadOnly);
         },
         QStringLiteral("数据库是只读的，不能写入。")},
    };
    ScriptedModals modals;
    Form form;
    form.setCaption(QStringLiteral("盘点进程"));
    for (const Failure &f : failures)
        form.guard(f.raise);
    ASSERT_EQ(modals.messages().size(), std::size(failures));
    for (size_t i = 0; i < std::size(failures); ++i) {
        EXPECT_EQ(modals.messages()[i].text,
                  QStringLiteral("操作没有完成，原因：\n") + failures[i].why);
        EXPECT_EQ(modals.messages()[i].style, Msg::Critical);
    }
}

TEST(BusyCursor, IsRestoredOnEveryWayOut)
{
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        BusyCursor busy;
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw host::HostError("failed");
    } catch (const host::HostError &) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
