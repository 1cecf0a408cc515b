#include "uitestutil.h"

#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/spread/numberformat.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"

#include <QKeySequence>
#include <QLocale>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

using namespace host::ui;

namespace {

struct FormatCase
{
    double value;
    int decimals;
    bool grouping;
    const char *shown;
};

void PrintTo(const FormatCase &c, std::ostream *os)
{
    *os << c.shown;
}

class FormatFixedTest : public ::testing::TestWithParam<FormatCase>
{};

TEST_P(FormatFixedTest, ShowsTheNumberAsTheCellIsSetUp)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(formatFixed(c.value, c.decimals, c.grouping), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatFixedTest,
                         ::testing::Values(FormatCase{1234567.891, 2, true, "1,234,567.89"},
                                           FormatCase{-1234.5, 0, true, "-1,235"},
                                           FormatCase{999.999, 2, true, "1,000.00"},
                                           FormatCase{-0.001, 2, false, "0.00"},
                                           FormatCase{123.0, 0, true, "123"},
                                           FormatCase{-123456.0, 1, true, "-123,456.0"}));

TEST(NumberParse, AcceptsGroupedNumbersAndRefusesText)
{
    EXPECT_EQ(parseNumber(QStringLiteral(" 1,234.5 ")), 1234.5);
    EXPECT_FALSE(parseNumber(QStringLiteral("12abc")).has_value());
    EXPECT_FALSE(parseNumber(QString()).has_value());
    EXPECT_EQ(formatFull(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
}

class SpreadGridTest : public ::testing::Test
{
protected:
    SpreadGridTest()
    {
        grid.setMaxCols(5);
        grid.setMaxRows(10);
        QObject::connect(&grid, &SpreadGrid::Change,
                         [this](int col, int row) { changes.emplace_back(col, row); });
    }

    void address(int col, int row)
    {
        grid.setBlockMode(false);
        grid.setCol(col);
        grid.setRow(row);
    }

    SpreadGrid grid;
    std::vector<std::pair<int, int>> changes;
};

TEST_F(SpreadGridTest, RedrawOffHoldsRepaintsUntilItIsOnAgain)
{
    QSignalSpy repaints(grid.model(), &QAbstractItemModel::dataChanged);
    grid.setReDraw(false);
    for (int row = 1; row <= 10; ++row)
        grid.SetText(1, row, QString::number(row));
    address(1, -1);
    grid.setLock(true);
    EXPECT_EQ(repaints.count(), 0);
    grid.setReDraw(true);
    EXPECT_EQ(repaints.count(), 1);
    EXPECT_EQ(grid.GetText(1, 10), QStringLiteral("10"));
    grid.SetText(1, 1, QStringLiteral("x"));
    EXPECT_EQ(repaints.count(), 2);
}

TEST_F(SpreadGridTest, LatestSettingCoveringACellWins)
{
    address(2, -1);
    grid.setLock(true);
    address(2, 5);
    grid.setLock(false);
    address(-1, 5);
    grid.setBackColor(0x0000FF);
    address(2, 5);
    EXPECT_FALSE(grid.Lock());
    EXPECT_EQ(grid.BackColor(), 0x0000FF);
    address(2, 4);
    EXPECT_TRUE(grid.Lock());
    EXPECT_EQ(grid.BackColor(), 0xFFFFFF);
    // A column-wide write after the cell's own overrides it again.
    address(2, -1);
    grid.setLock(true);
    address(2, 5);
    EXPECT_TRUE(grid.Lock());
}

TEST_F(SpreadGridTest, BlockModeSetsTheWholeBlockOnly)
{
    grid.setCol(2);
    grid.setCol2(3);
    grid.setRow(4);
    grid.setRow2(6);
    grid.setBlockMode(true);
    grid.setCellType(CellType::Integer);
    address(3, 6);
    EXPECT_EQ(grid.CellType(), CellType::Integer);
    address(4, 6);
    EXPECT_EQ(grid.CellType(), CellType::Edit);
    address(3, 7);
    EXPECT_EQ(grid.CellType(), CellType::Edit);
}

TEST_F(SpreadGridTest, NumberCellsParseWritesAndKeepFullPrecision)
{
    address(1, -1);
    grid.setCellType(CellType::Float);
    grid.setTypeFloatDecimalPlaces(3);
    grid.SetText(1, 1, QStringLiteral("1,234.56789"));
    grid.SetText(1, 2, QStringLiteral("abc"));
    address(1, 1);
    EXPECT_EQ(grid.Value(), QStringLiteral("1234.56789"));
    EXPECT_EQ(grid.Text(), QStringLiteral("1234.568"));
    EXPECT_EQ(grid.GetText(1, 2), QString());
    EXPECT_TRUE(changes.empty());
}

// A number written as a number must read back as the text of the number would have.
TEST_F(SpreadGridTest, NumberWritesMatchWritingTheirText)
{
    const CellType types[] = {CellType::Edit,       CellType::Float,    CellType::Integer,
                              CellType::StaticText, CellType::ComboBox, CellType::CheckBox};
    const double values[] = {0.0, 2.5, -1234.5678, 1e-7, 123456789012.25};
    SpreadModel &model = grid.spreadModel();
    for (const CellType type : types) {
        address(1, -1);
        grid.setCellType(type);
        address(2, -1);
        grid.setCellType(type);
        for (const double value : values) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(type) << " " << value);
            grid.SetText(1, 1, formatFull(value));
            model.setCellNumber(2, 1, value);
            EXPECT_EQ(grid.GetText(2, 1), grid.GetText(1, 1));
            EXPECT_EQ(model.cellText(2, 1), model.cellText(1, 1));
        }
    }
}

// Cell settings live in blocks of rows: moving, dropping and reading them must not depend on
// which block a row falls in.
TEST(SpreadModelTest, CellSettingsFollowTheirRowsAcrossBlocks)
{
    SpreadModel model;
    model.setMaxCols(3);
    model.setMaxRows(600);
    auto lockCell = [&model](int col, int row) {
        model.settings().lock.set(CellBlock{col, col, row, row}, true, model.nextStamp());
    };
    const int locked[] = {1, 256, 599};
    model.settings().cellType.set(CellBlock{1, 1, 0, 0, false, true}, CellType::Float,
                                  model.nextStamp());
    for (int row = 1; row <= 600; ++row)
        model.setCellNumber(1, row, row);
    for (const int row : locked)
        lockCell(2, row);
    model.sortRows(1, 600, {{1, 2}});
    for (const int row : locked) {
        EXPECT_TRUE(model.settings().lock.get(2, 601 - row)) << row;
        EXPECT_FALSE(model.settings().lock.get(2, 600 - row)) << row;
    }
    model.setMaxRows(300);
    model.setMaxRows(600);
    EXPECT_TRUE(model.settings().lock.get(2, 601 - 599));
    EXPECT_FALSE(model.settings().lock.get(2, 601 - 256));
    EXPECT_FALSE(model.settings().lock.get(2, 601 - 1));
    // One row across every column keeps the other rows at their column's setting.
    model.settings().bold.set(CellBlock{1, 3, 450, 450}, true, model.nextStamp());
    EXPECT_TRUE(model.settings().bold.get(3, 450));
    EXPECT_FALSE(model.settings().bold.get(3, 449));
}

// Writing a column of many rows at once must store what writing its cells one by one stores,
// whatever the cells' types, also where one cell of the column is set up apart from the rest,
// and the rows must then sort and take single writes as any others.
TEST(SpreadModelTest, ColumnWritesStoreWhatCellWritesWould)
{
    const CellType types[] = {CellType::Edit,       CellType::Float,    CellType::Integer,
                              CellType::StaticText, CellType::ComboBox, CellType::CheckBox};
    const std::vector<std::optional<double>> finite = {2.5, std::nullopt, -1234.5678,
                                                       0.0, -0.5,         7.0};
    const std::vector<std::optional<double>> infinite = {
        2.5, std::nullopt, -1234.5678, 0.0, std::numeric_limits<double>::infinity(), 7.0};
    const std::vector<QString> texts = {QStringLiteral("b"), QString(), QStringLiteral("12.5"),
                                        QStringLiteral("a")};
    const std::vector<std::uint32_t> textIds = {0, 1, 2, 0, 3, 0};
    const int rows = static_cast<int>(finite.size());
    for (const CellType type : types) {
        for (const bool oddCell : {false, true}) {
            for (const auto *numbers : {&finite, &infinite}) {
                SCOPED_TRACE(testing::Message() << static_cast<int>(type) << " " << oddCell << " "
                                                << (numbers == &infinite));
                SpreadModel model;
                model.setMaxCols(4);
                // One row fewer than written: the last value has no row.
                model.setMaxRows(rows - 1);
                for (int col = 1; col <= 4; ++col) {
                    model.settings().cellType.set(CellBlock{col, col, 0, 0, false, true}, type,
                                                  model.nextStamp());
                    if (oddCell)
                        model.settings().cellType.set(CellBlock{col, col, 3, 3}, CellType::Integer,
                                                      model.nextStamp());
                }
                model.setColumnNumbers(1, 1, *numbers);
                model.setColumnTexts(3, 1, texts, textIds);
                for (int row = 1; row < rows; ++row) {
                    const auto i = static_cast<std::size_t>(row - 1);
                    if ((*numbers)[i])
                        model.setCellNumber(2, row, *(*numbers)[i]);
                    model.setCellText(4, row, texts[textIds[i]]);
                }
                for (int row = 1; row < rows; ++row) {
                    EXPECT_EQ(model.cellValue(1, row), model.cellValue(2, row)) << row;
                    EXPECT_EQ(model.cellIsNumber(1, row), model.cellIsNumber(2, row)) << row;
                    EXPECT_EQ(model.cellValue(3, row), model.cellValue(4, row)) << row;
                }
                model.setCellText(3, 2, QStringLiteral("a"));
                model.setCellText(4, 2, QStringLiteral("a"));
                model.sortRows(1, rows - 1, {{4, 1}, {2, 1}});
                for (int row = 1; row < rows; ++row) {
                    EXPECT_EQ(model.cellValue(1, row), model.cellValue(2, row)) << row;
                    EXPECT_EQ(model.cellValue(3, row), model.cellValue(4, row)) << row;
                }
            }
        }
    }
}

TEST_F(SpreadGridTest, SettingZeroRowsDropsValuesAndCellSettingsButKeepsHeaders)
{
    grid.SetText(1, 0, QStringLiteral("Header"));
    grid.SetText(1, 3, QStringLiteral("value"));
    address(1, 3);
    grid.setLock(true);
    grid.setMaxRows(0);
    grid.setMaxRows(10);
    EXPECT_EQ(grid.GetText(1, 3), QString());
    address(1, 3);
    EXPECT_FALSE(grid.Lock());
    EXPECT_EQ(grid.GetText(1, 0), QStringLiteral("Header"));
}

TEST_F(SpreadGridTest, UserCommitsAreCheckedAgainstTheCellLimits)
{
    SpreadModel &model = grid.spreadModel();
    address(1, -1);
    grid.setCellType(CellType::Float);
    grid.setTypeFloatMin(0);
    grid.setTypeFloatMax(100);
    address(2, -1);
    grid.setTypeMaxEditLen(3);
    address(3, 1);
    grid.setLock(true);
    // A text cell of a varchar column of 5 bytes, where a Chinese character takes two.
    address(4, -1);
    grid.setTypeMaxEditBytes(5);

    EXPECT_FALSE(model.commitUserText(1, 1, QStringLiteral("-1")));
    EXPECT_FALSE(model.commitUserText(1, 1, QStringLiteral("x")));
    EXPECT_TRUE(model.commitUserText(1, 1, QStringLiteral("99.5")));
    EXPECT_TRUE(model.commitUserText(2, 1, QStringLiteral("abcdef")));
    EXPECT_FALSE(model.commitUserText(3, 1, QStringLiteral("locked")));
    // Committing the value a cell already holds is no change.
    EXPECT_TRUE(model.commitUserText(1, 1, QStringLiteral("99.50")));
    EXPECT_TRUE(model.commitUserText(4, 1, QStringLiteral("盘点abc")));
    EXPECT_EQ(grid.GetText(2, 1), QStringLiteral("abc"));
    EXPECT_EQ(grid.GetText(4, 1), QStringLiteral("盘点a"));
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {4, 1}}));
}

struct TypedCase
{
    const char *locale;
    // Typed key by key; the cell is clicked where a '>' stands, and clicked again as the second
    // click of a double click where a '^' does; the window loses and regains activation where a
    // '|' stands. '~' waits the case's pause, and a key named between braces is pressed
    // ("{Right}").
    const char *typed;
    int moreDecimals;
    std::optional<double> stored; // nothing: refused, the cell keeps 7
    // The other cells of the row the keys went on to type into, with what they took.
    std::vector<std::pair<int, double>> elsewhere = {};
    int pause = 0; // milliseconds
};

void PrintTo(const TypedCase &c, std::ostream *os)
{
    *os << c.locale << " " << c.typed << " " << c.pause;
}

// Number cells of 2 decimals within the quantity limits, typed into key by key from the first;
// the third cell of the row takes no typing.
std::vector<TypedCase> typedCases()
{
    std::vector<TypedCase> cases = {
        {"en_US", "1,000.5", 0, 1000.5},
        {"de_DE", "1.000,5", 0, 1000.5},
        {"de_DE", "2,5", 0, 2.5},
        {"de_DE", "2.5", 0, 2.5},
        {"de_DE", "1,000.5", 0, std::nullopt},
        {"C", "inf", 0, std::nullopt},
        {"C", "1e3", 0, std::nullopt},
        {"C", "-12.5", 0, -12.5},
        {"C", "12.345", 0, std::nullopt},
        {"C", "12.345", 6, 12.345},
        // Typed at once after a click on the cell that is current already.
        {"C", ">4901", 0, 4901},
        // The user switches to another window in the middle of the number.
        {"C", "44|03", 0, 4403},
        // An arrow ends the entry and moves on, and so does Tab, past the cell that takes no
        // typing; only F2 lets the keys edit the text the cell holds.
        {"C", "45{Right}0", 0, 45, {{2, 0}}},
        {"C", "0.4{Tab}{End}{Left}90.5", 0, 0.4, {{4, 90.5}}},
        {"C", "1{Tab}{Tab}2", 0, 1, {{4, 2}}},
        {"C", "{F2}5", 0, 75},
        // Tab leaves a text the cell refuses in its editor, to be mended.
        {"C", "12.345{Tab}{Backspace}", 0, 12.34},
        // A click on the cell being typed into changes nothing, even taken for the second click
        // of a double click when keys came after the first; a double click on it edits its text.
        {"C", "4>9", 0, 49},
        {"C", ">4^9", 0, 49},
        {"C", "4>5^9", 0, 459},
        {"C", "4>^9", 0, 94},
    };
    // Clicks on the current cell, however far apart, leave the keys to replace its value.
    for (const int pause : {0, 200, 500, 1000}) {
        cases.push_back({"C", ">~>~4901", 0, 4901, {}, pause});
        cases.push_back({"C", ">~{Right}3", 0, std::nullopt, {{2, 3}}, pause});
    }
    return cases;
}

class TypedNumbers : public SpreadGridTest, public ::testing::WithParamInterface<TypedCase>
{
protected:
    ~TypedNumbers() override { QLocale::setDefault(m_locale); }
    const QLocale m_locale;
};

TEST_P(TypedNumbers, AreReadInTheUsersNotationWholeOrRefused)
{
    const TypedCase &c = GetParam();
    QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
    address(-1, -1);
    grid.setCellType(CellType::Float);
    grid.setTypeFloatMin(-9999999999.9999);
    grid.setTypeFloatMax(9999999999.9999);
    grid.setTypeFloatMoreDecimals(c.moreDecimals);
    address(3, -1);
    grid.setLock(true);
    for (int col = 1; col <= grid.MaxCols(); ++col)
        grid.SetText(col, 2, QStringLiteral("7"));
    ASSERT_TRUE(showActive(grid));
    grid.SetActiveCell(1, 2);
    QWidget other;
    const QString typed = QString::fromLatin1(c.typed);
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar key = typed.at(i);
        if (key == QLatin1Char('>') || key == QLatin1Char('^')) {
            // What lies under the mouse takes the click: the cell's editor where one is open.
            // The click is left of the number, where a caret would go before it.
            const QRect cell = grid.visualRect(grid.model()->index(1, 0));
            const QPoint at(cell.left() + 4, cell.center().y());
            QWidget *editor = grid.viewport()->childAt(at);
            QWidget *clicked = editor ? editor : grid.viewport();
            const QPoint to = clicked->mapFrom(grid.viewport(), at);
            if (key == QLatin1Char('^'))
                QTest::mouseDClick(clicked, Qt::LeftButton, {}, to);
            else
                QTest::mousePress(clicked, Qt::LeftButton, {}, to);
            QTest::mouseRelease(clicked, Qt::LeftButton, {}, to);
        } else if (key == QLatin1Char('|')) {
            ASSERT_TRUE(showActive(other));
            ASSERT_TRUE(showActive(grid));
        } else if (key == QLatin1Char('~')) {
            QTest::qWait(c.pause);
        } else if (key == QLatin1Char('{')) {
            const qsizetype end = typed.indexOf(QLatin1Char('}'), i);
            const QKeyCombination named =
                QKeySequence::fromString(typed.mid(i + 1, end - i - 1))[0];
            QTest::keyClick(QApplication::focusWidget(), named.key(), named.keyboardModifiers());
            i = end;
        } else {
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        }
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The item view commits an edit through a queued call.
    QApplication::processEvents();
    EXPECT_EQ(grid.spreadModel().cellNumber(1, 2), c.stored.value_or(7));
    std::vector<std::pair<int, int>> changed;
    if (c.stored)
        changed.emplace_back(1, 2);
    for (const auto &[col, number] : c.elsewhere) {
        EXPECT_EQ(grid.spreadModel().cellNumber(col, 2), number) << col;
        changed.emplace_back(col, 2);
    }
    EXPECT_EQ(changes, changed);
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedNumbers, ::testing::ValuesIn(typedCases()));

TEST_F(SpreadGridTest, CheckCellsToggleThroughTheUsersCheckMark)
{
    address(4, -1);
    grid.setCellType(CellType::CheckBox);
    grid.SetText(4, 2, QStringLiteral("True"));
    EXPECT_EQ(grid.GetText(4, 2), QStringLiteral("1"));
    const QModelIndex cell = grid.model()->index(1, 3);
    EXPECT_EQ(cell.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    grid.model()->setData(cell, Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(grid.GetText(4, 2), QStringLiteral("0"));
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{4, 2}}));
}

TEST_F(SpreadGridTest, LeaveCellCancelKeepsTheActiveCell)
{
    bool refuse = true;
    std::vector<int> left;
    QObject::connect(&grid, &SpreadGrid::LeaveCell,
                     [&](int col, int row, int newCol, int newRow, bool &cancel) {
                         left = {col, row, newCol, newRow};
                         cancel = refuse;
                     });
    int activations = 0;
    QObject::connect(&grid, &SpreadGrid::RowActivate, [&] { ++activations; });
    grid.SetActiveCell(1, 1);
    EXPECT_EQ(activations, 1);
    grid.SetActiveCell(2, 3);
    EXPECT_EQ(left, (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(grid.ActiveRow(), 1);
    EXPECT_EQ(grid.ActiveCol(), 1);
    refuse = false;
    grid.SetActiveCell(2, 3);
    EXPECT_EQ(grid.ActiveRow(), 3);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(activations, 2);
}

TEST_F(SpreadGridTest, KeyPressCanReplaceOrDropTypedCharacters)
{
    QObject::connect(&grid, &SpreadGrid::KeyPress, [](int &key) {
        if (key == '\'')
            key = 0;
        else if (key == 'a')
            key = 'A';
    });
    ASSERT_TRUE(showActive(grid));
    grid.SetActiveCell(2, 1);
    typeIntoGrid(grid, QStringLiteral("a'b"));
    EXPECT_EQ(grid.GetText(2, 1), QStringLiteral("Ab"));
}

TEST_F(SpreadGridTest, EditModeTellsWhetherTheEditChangedTheCell)
{
    std::vector<std::pair<int, bool>> modes;
    QObject::connect(&grid, &SpreadGrid::EditMode,
                     [&](int, int, int mode, bool changed) { modes.emplace_back(mode, changed); });
    ASSERT_TRUE(showActive(grid));
    grid.SetActiveCell(1, 1);
    typeIntoGrid(grid, QStringLiteral("x"));
    grid.SetActiveCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(modes,
              (std::vector<std::pair<int, bool>>{{1, false}, {0, true}, {1, false}, {0, false}}));
}

TEST_F(SpreadGridTest, WidthsAreTwipsAndRowNumberColumnHidesAtZero)
{
    // 1000 twips is no whole number of pixels; the width set is the width read.
    grid.setColWidth(2, 1000);
    address(2, -1);
    grid.setColHidden(true);
    grid.setColHidden(false);
    EXPECT_EQ(grid.ColWidth(2), 1000);
    address(3, -1);
    grid.setColHidden(true);
    EXPECT_GT(grid.ColWidth(3), 0);
    grid.setColWidth(0, 0);
    EXPECT_EQ(grid.ColWidth(0), 0);
    address(0, -1);
    EXPECT_TRUE(grid.ColHidden());
}

TEST_F(SpreadGridTest, TopRowScrollsTheGrid)
{
    grid.setMaxRows(500);
    grid.resize(300, 200);
    ASSERT_TRUE(showActive(grid));
    EXPECT_EQ(grid.TopRow(), 1);
    grid.setTopRow(120);
    EXPECT_EQ(grid.TopRow(), 120);
}

// A frozen cell that takes typing is edited where it lies, the scrolled columns moved aside for
// the while, and a double click on it opens its editor too.
TEST_F(SpreadGridTest, AFrozenCellIsEditedWhereItShowsWhateverTheScroll)
{
    grid.setMaxCols(30);
    grid.setColsFrozen(2);
    grid.resize(400, 200);
    ASSERT_TRUE(showActive(grid));
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    const int scrolled = grid.horizontalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    grid.SetActiveCell(2, 3);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), scrolled) << "a frozen cell shows already";

    QTest::keyClicks(&grid, QStringLiteral("a"));
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, &grid);
    EXPECT_EQ(grid.childAt(editor->mapTo(&grid, editor->rect().center())), editor);
    QTest::keyClicks(editor, QStringLiteral("bc"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid.GetText(2, 3), QStringLiteral("abc"));

    const auto *overlay = grid.findChild<QTableView *>();
    ASSERT_TRUE(overlay && overlay->isVisible());
    const QPoint cell = overlay->visualRect(grid.model()->index(4, 0)).center();
    // The first click of a double click, then the second.
    QTest::mouseClick(overlay->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(overlay->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(grid.ActiveCol(), 1);
    EXPECT_EQ(grid.ActiveRow(), 5);
    editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && editor != &grid);
    EXPECT_EQ(grid.childAt(editor->mapTo(&grid, editor->rect().center())), editor);

    // Frozen columns past four fifths of the view scroll with the others, which keep room to be
    // typed in.
    QTest::keyClick(editor, Qt::Key_Escape);
    grid.setColWidth(2, 9000);
    grid.SetActiveCell(3, 3);
    QTest::keyClicks(&grid, QStringLiteral("d"));
    editor = QApplication::focusWidget();
    ASSERT_NE(editor, &grid);
    EXPECT_EQ(grid.childAt(editor->mapTo(&grid, editor->rect().center())), editor);
}

TEST(DataSpreadGrid, ClipFillsTheBlockAndSortMovesRowsWithTheirSettings)
{
    DataSpreadGrid grid;
    grid.setMaxCols(2);
    grid.setMaxRows(3);
    grid.setCol(1);
    grid.setCol2(2);
    grid.setRow(1);
    grid.setRow2(3);
    grid.setBlockMode(true);
    grid.setClip(QStringLiteral("b\t2\r\nc\t3\na\t1"));
    grid.setBlockMode(false);
    grid.setCol(2);
    grid.setRow(3);
    grid.setForeColor(255);
    grid.setSortKey(1, 1);
    grid.setSortKeyOrder(1, 1);
    grid.Sort(-1, -1, -1, -1);
    EXPECT_EQ(grid.GetText(1, 1), QStringLiteral("a"));
    EXPECT_EQ(grid.GetText(2, 3), QStringLiteral("3"));
    grid.setRow(1);
    EXPECT_EQ(grid.ForeColor(), 255);
    grid.setSortKeyOrder(1, 2);
    grid.Sort(-1, -1, -1, -1);
    EXPECT_EQ(grid.GetText(1, 1), QStringLiteral("c"));
}

TEST(DataSpreadGrid, MeasuresColumnWidthsInCharacters)
{
    DataSpreadGrid grid;
    grid.setMaxCols(2);
    grid.setColWidth(1, 22.5);
    EXPECT_EQ(grid.ColWidth(1), 22.5);
    EXPECT_EQ(grid.columnWidth(0), std::lround(22.5 * grid.fontMetrics().averageCharWidth()));
}

} // namespace
