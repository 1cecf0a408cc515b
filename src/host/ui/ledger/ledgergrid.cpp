#include "host/ui/ledger/ledgergrid.h"

#include "host/ui/form/olecolor.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgermodel.h"
#include "host/ui/printing/ledgerprinter.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <utility>

namespace host::ui {

namespace {

constexpr int kTitleRows = 2;
constexpr double kDefaultWidthTwips = 1200;
constexpr int kQuantityStyle = 1;

template <typename T> T &at(std::vector<T> &v, int col)
{
    return v[static_cast<std::size_t>(col)];
}

} // namespace

LedgerGrid::LedgerGrid(QWidget *parent)
    : QTableView(parent), TwipsGeometry(static_cast<QWidget &>(*this)),
      m_model(new LedgerModel(this)), m_printer(std::make_unique<LedgerPrinter>(*this))
{
    m_model->setFetcher(
        [this](int row, QString &text, long &backColor) { emit FetchRow(row, text, backColor); });
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { cellClicked(1, section + 1); });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        cellClicked(index.row() + kTitleRows + 1, index.column() + 1);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int oldSize, int newSize) {
                // Only the user's dragging changes a width; hiding resizes to 0 and back.
                const int col = section + 1;
                if (!m_applying && oldSize > 0 && newSize > 0 &&
                    col < static_cast<int>(m_widths.size()))
                    at(m_widths, col) = pixelsToTwipsX(newSize);
            });
}

LedgerGrid::~LedgerGrid() = default;

void LedgerGrid::cellClicked(int row, int col)
{
    m_clickedRow = row;
    m_clickedCol = col;
    if (row <= kTitleRows) {
        emit SortColumn();
        return;
    }
    short action = 1;
    emit ToggleSelect(action);
}

void LedgerGrid::keyPressEvent(QKeyEvent *event)
{
    // Space on a cell does what a click on it does, so a row is marked without the mouse.
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        current.isValid()) {
        cellClicked(current.row() + kTitleRows + 1, current.column() + 1);
        return;
    }
    QTableView::keyPressEvent(event);
}

void LedgerGrid::applyColumn(int col)
{
    const int section = col - 1;
    const bool applying = std::exchange(m_applying, true);
    horizontalHeader()->resizeSection(section, twipsToPixelsX(at(m_widths, col)));
    setColumnHidden(section, at(m_switches, col)[HiddenSwitch]);
    m_applying = applying;
    m_model->setQuantityColumn(col, at(m_styles, col) == kQuantityStyle);
}

int LedgerGrid::Row() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + kTitleRows + 1 : 0;
}

void LedgerGrid::setRow(int row)
{
    const QModelIndex index =
        m_model->index(row - kTitleRows - 1, std::max(currentIndex().column(), 0));
    if (index.isValid())
        setCurrentIndex(index);
}

void LedgerGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    m_frozen.scrollTo(index, [&] { QTableView::scrollTo(index, hint); });
}

QModelIndex LedgerGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex to = QTableView::moveCursor(cursorAction, modifiers);
    m_frozen.moveByKeys(currentIndex(), to, cursorAction == MoveHome);
    return to;
}

void LedgerGrid::updateGeometries()
{
    QTableView::updateGeometries();
    m_frozen.layout();
}

void LedgerGrid::Refresh()
{
    m_model->refresh();
    viewport()->update();
}

int LedgerGrid::FaceRef::Rows() const
{
    return m_grid->m_model->rows();
}

void LedgerGrid::FaceRef::setRows(int rows)
{
    m_grid->m_model->setRows(rows);
    for (int col = 1; col <= Cols(); ++col)
        m_grid->applyColumn(col);
}

int LedgerGrid::FaceRef::Cols() const
{
    return m_grid->m_model->cols();
}

void LedgerGrid::FaceRef::setCols(int cols)
{
    LedgerGrid &g = *m_grid;
    g.m_model->setCols(cols);
    const auto size = static_cast<std::size_t>(g.m_model->cols()) + 1;
    g.m_widths.resize(size, kDefaultWidthTwips);
    g.m_switches.resize(size);
    g.m_styles.resize(size, 0);
    for (int col = 1; col <= Cols(); ++col)
        g.applyColumn(col);
}

int LedgerGrid::FaceRef::FixedRows() const
{
    return m_grid->m_model->fixedRows();
}

void LedgerGrid::FaceRef::setFixedRows(int rows)
{
    m_grid->m_model->setFixedRows(rows);
}

int LedgerGrid::FaceRef::Row() const
{
    return m_grid->m_clickedRow;
}

int LedgerGrid::FaceRef::Col() const
{
    return m_grid->m_clickedCol;
}

long LedgerGrid::FaceRef::BackColor() const
{
    return m_grid->m_backColor;
}

void LedgerGrid::FaceRef::setBackColor(long color)
{
    m_grid->m_backColor = color;
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Base, fromOleColor(color));
    m_grid->setPalette(palette);
}

void LedgerGrid::FaceRef::Recalculate()
{
    m_grid->horizontalHeader()->reset();
    for (int col = 1; col <= Cols(); ++col)
        m_grid->applyColumn(col);
}

bool LedgerGrid::ColumnRef::valid() const
{
    return m_col >= 1 && m_col <= m_grid->m_model->cols();
}

double LedgerGrid::ColumnRef::Width() const
{
    if (!valid())
        return 0;
    return at(m_grid->m_widths, m_col);
}

void LedgerGrid::ColumnRef::setWidth(double twips)
{
    if (!valid())
        return;
    at(m_grid->m_widths, m_col) = std::max(twips, 0.0);
    m_grid->applyColumn(m_col);
}

bool LedgerGrid::ColumnRef::Switch(int index) const
{
    if (!valid())
        return false;
    const auto &switches = at(m_grid->m_switches, m_col);
    const auto it = switches.find(index);
    return it != switches.end() && it->second;
}

void LedgerGrid::ColumnRef::setSwitch(int index, bool on)
{
    if (!valid())
        return;
    at(m_grid->m_switches, m_col)[index] = on;
    m_grid->applyColumn(m_col);
}

int LedgerGrid::ColumnRef::Style() const
{
    if (!valid())
        return 0;
    return at(m_grid->m_styles, m_col);
}

void LedgerGrid::ColumnRef::setStyle(int style)
{
    if (!valid())
        return;
    at(m_grid->m_styles, m_col) = style;
    m_grid->applyColumn(m_col);
}

QString LedgerGrid::CellRef::Text() const
{
    return m_grid->m_model->cellText(m_row, m_col);
}

void LedgerGrid::CellRef::setText(const QString &text)
{
    m_grid->m_model->setCellText(m_row, m_col, text);
}

} // namespace host::ui
