#include "host/ui/spread/spreadgrid.h"

#include "host/ui/form/focuskeeper.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/form/keyrouting.h"
#include "host/ui/form/twips.h"
#include "host/ui/form/windowactions.h"
#include "host/ui/spread/cellentry.h"
#include "host/ui/spread/editablecell.h"
#include "host/ui/spread/spreaddelegate.h"
#include "host/ui/spread/spreadmodel.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <utility>

namespace host::ui {

SpreadGrid::SpreadGrid(QWidget *parent)
    : QTableView(parent), TwipsGeometry(static_cast<QWidget &>(*this)),
      m_model(new SpreadModel(this)), m_delegate(new SpreadDelegate(*m_model, this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    // A click selects the cell, as in a spreadsheet: a click that opened its editor on the
    // old value would let the keys typed next land inside that value.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    m_entry = new CellEntry(
        [this](QKeyEvent &key) {
            if (!endEdit())
                return;
            const bool forwarding = std::exchange(m_forwardingKey, true);
            QTableView::keyPressEvent(&key);
            m_forwardingKey = forwarding;
        },
        this);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Uniform rows keep a grid of 100,000 rows as fast to scroll as a small one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);

    // Rows added or taken reset the model, which drops the current cell and the open editor,
    // whose focus Qt hands to the window's next control: the user stays in the cell, while it
    // is there.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_cellBeforeReset = {currentIndex().row(), currentIndex().column()};
        QWidget *focus = QApplication::focusWidget();
        m_focusBeforeReset = focus && (focus == this || isAncestorOf(focus));
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        const QModelIndex cell = m_model->index(m_cellBeforeReset.first, m_cellBeforeReset.second);
        if (!cell.isValid())
            return;
        setCurrentIndex(cell);
        if (m_focusBeforeReset)
            setFocus(Qt::OtherFocusReason);
    });
    connect(m_model, &SpreadModel::userChanged, this, [this](int col, int row) {
        if (m_editing.isValid() && m_editing.row() + 1 == row && m_editing.column() + 1 == col)
            m_editChanged = true;
        emit Change(col, row);
    });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { emit Click(index.column() + 1, index.row() + 1); });
    // A frozen cell shows on the overlay, which hands its double click on.
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_frozen.covers(index.column()))
            edit(index, DoubleClicked, nullptr);
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        // A header takes no focus: the edit ends first, as before any command, and the keys
        // stay in the cell the user was in, whatever the click sorts.
        if (!endEdit())
            return;
        const FocusKeeper focus(*window());
        emit Click(section + 1, 0);
        emit HeaderClick(section + 1, 0);
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int oldSize, int newSize) {
                // Hiding and showing a column resize it to and from 0; only the user's
                // resizing changes the width the program set.
                if (!m_settingWidth && oldSize > 0 && newSize > 0)
                    m_widths[section + 1] = toWidthUnit(newSize);
            });
    connect(m_delegate, &SpreadDelegate::numberRefused, this,
            [this](const QModelIndex &index, const CellRefusal &refusal) {
                emit EditError(index.column() + 1, index.row() + 1, refusal);
            });
    connect(m_delegate, &SpreadDelegate::textRefused, this, [this] { m_editRefused = true; });
    connect(m_delegate, &SpreadDelegate::editorCreated, this, [this](QWidget *editor) {
        // The grid sees the keys first, to raise its key events.
        m_entry->watch(*editor);
        editor->installEventFilter(this);
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            // A pick goes into the cell at once, then the grid tells of it.
            connect(combo, &QComboBox::activated, this, [this, combo] {
                emit m_delegate->commitData(combo);
                const QModelIndex index = currentIndex();
                if (index.isValid())
                    emit ComboSelChange(index.column() + 1, index.row() + 1);
            });
        }
    });
}

SpreadGrid::~SpreadGrid() = default;

bool SpreadGrid::ReDraw() const
{
    return m_model->redraw();
}

void SpreadGrid::setReDraw(bool on)
{
    m_model->setRedraw(on);
    setUpdatesEnabled(on);
}

int SpreadGrid::MaxRows() const
{
    return m_model->maxRows();
}

void SpreadGrid::setMaxRows(int rows)
{
    m_model->setMaxRows(rows);
}

int SpreadGrid::MaxCols() const
{
    return m_model->maxCols();
}

void SpreadGrid::setMaxCols(int cols)
{
    m_model->setMaxCols(cols);
}

CellBlock SpreadGrid::addressBlock() const
{
    const int c2 = m_blockMode ? m_col2 : m_col;
    const int r2 = m_blockMode ? m_row2 : m_row;
    CellBlock block;
    block.allCols = m_col == -1 || c2 == -1;
    block.allRows = m_row == -1 || r2 == -1;
    block.col1 = std::min(m_col, c2);
    block.col2 = std::max(m_col, c2);
    block.row1 = std::min(m_row, r2);
    block.row2 = std::max(m_row, r2);
    return block;
}

int SpreadGrid::addressCol() const
{
    return m_col < 0 ? 1 : m_col;
}

int SpreadGrid::addressRow() const
{
    return m_row < 0 ? 1 : m_row;
}

template <typename T, typename A> void SpreadGrid::applySetting(A &attribute, const T &value)
{
    const CellBlock block = addressBlock();
    attribute.set(block, value, m_model->nextStamp());
    m_model->settingsChanged(block);
}

host::ui::CellType SpreadGrid::CellType() const
{
    return m_model->settings().cellType.get(addressCol(), addressRow());
}

void SpreadGrid::setCellType(host::ui::CellType type)
{
    applySetting(m_model->settings().cellType, type);
}

int SpreadGrid::TypeMaxEditLen() const
{
    return m_model->settings().maxEditLen.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeMaxEditLen(int length)
{
    applySetting(m_model->settings().maxEditLen, length);
}

int SpreadGrid::TypeMaxEditBytes() const
{
    return m_model->settings().maxEditBytes.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeMaxEditBytes(int bytes)
{
    applySetting(m_model->settings().maxEditBytes, bytes);
}

double SpreadGrid::TypeFloatMin() const
{
    return m_model->settings().floatMin.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeFloatMin(double min)
{
    applySetting(m_model->settings().floatMin, min);
}

double SpreadGrid::TypeFloatMax() const
{
    return m_model->settings().floatMax.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeFloatMax(double max)
{
    applySetting(m_model->settings().floatMax, max);
}

int SpreadGrid::TypeFloatDecimalPlaces() const
{
    return m_model->settings().decimals.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeFloatDecimalPlaces(int places)
{
    applySetting(m_model->settings().decimals, std::clamp(places, 0, 14));
}

int SpreadGrid::TypeFloatMoreDecimals() const
{
    return m_model->settings().moreDecimals.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeFloatMoreDecimals(int places)
{
    applySetting(m_model->settings().moreDecimals, std::clamp(places, 0, 14));
}

bool SpreadGrid::TypeFloatSeparator() const
{
    return m_model->settings().separator.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeFloatSeparator(bool on)
{
    applySetting(m_model->settings().separator, on);
}

QString SpreadGrid::TypeComboBoxList() const
{
    return m_model->settings().comboList.get(addressCol(), addressRow());
}

void SpreadGrid::setTypeComboBoxList(const QString &list)
{
    applySetting(m_model->settings().comboList, list);
}

int SpreadGrid::TypeComboBoxCurSel() const
{
    const int col = addressCol();
    const int row = addressRow();
    return static_cast<int>(m_model->comboItems(col, row).indexOf(m_model->cellValue(col, row)));
}

void SpreadGrid::setTypeComboBoxCurSel(int index)
{
    const int col = addressCol();
    const int row = addressRow();
    const QStringList items = m_model->comboItems(col, row);
    m_model->setCellText(col, row,
                         index >= 0 && index < items.size() ? items.at(index) : QString());
}

bool SpreadGrid::Lock() const
{
    return m_model->settings().lock.get(addressCol(), addressRow());
}

void SpreadGrid::setLock(bool locked)
{
    applySetting(m_model->settings().lock, locked);
}

long SpreadGrid::BackColor() const
{
    const long color = m_model->settings().backColor.get(addressCol(), addressRow());
    return color == SpreadSettings::DefaultColor ? 0xFFFFFF : color;
}

void SpreadGrid::setBackColor(long color)
{
    applySetting(m_model->settings().backColor, color);
}

long SpreadGrid::ForeColor() const
{
    const long color = m_model->settings().foreColor.get(addressCol(), addressRow());
    return color == SpreadSettings::DefaultColor ? 0 : color;
}

void SpreadGrid::setForeColor(long color)
{
    applySetting(m_model->settings().foreColor, color);
}

bool SpreadGrid::FontBold() const
{
    return m_model->settings().bold.get(addressCol(), addressRow());
}

void SpreadGrid::setFontBold(bool bold)
{
    applySetting(m_model->settings().bold, bold);
}

bool SpreadGrid::ColHidden() const
{
    const int col = addressCol();
    return col == 0 ? verticalHeader()->isHidden() : isColumnHidden(col - 1);
}

void SpreadGrid::applyHidden(int col, bool hidden)
{
    if (col == 0)
        verticalHeader()->setHidden(hidden);
    else
        setColumnHidden(col - 1, hidden);
}

void SpreadGrid::setColHidden(bool hidden)
{
    const CellBlock block = addressBlock();
    const int first = block.allCols ? 1 : block.col1;
    const int last = block.allCols ? MaxCols() : std::min(block.col2, MaxCols());
    for (int col = std::max(first, 0); col <= last; ++col)
        applyHidden(col, hidden);
}

double SpreadGrid::toWidthUnit(int pixels) const
{
    if (m_widthUnit == WidthUnit::Characters)
        return static_cast<double>(pixels) / fontMetrics().averageCharWidth();
    return pixelsToTwipsX(pixels);
}

int SpreadGrid::toPixels(double width) const
{
    if (m_widthUnit == WidthUnit::Characters)
        return static_cast<int>(std::lround(width * fontMetrics().averageCharWidth()));
    return twipsToPixelsX(width);
}

double SpreadGrid::ColWidth(int col) const
{
    if (col == 0)
        return verticalHeader()->isHidden() ? 0 : toWidthUnit(verticalHeader()->width());
    if (const auto it = m_widths.find(col); it != m_widths.end())
        return it->second;
    // A hidden column keeps the width it will show with again.
    const int pixels = isColumnHidden(col - 1) ? horizontalHeader()->defaultSectionSize()
                                               : horizontalHeader()->sectionSize(col - 1);
    return toWidthUnit(pixels);
}

void SpreadGrid::setColWidth(int col, double width)
{
    const int pixels = std::max(toPixels(width), 0);
    if (col == 0) {
        // A row-number column of width 0 is not seen.
        verticalHeader()->setHidden(pixels == 0);
        if (pixels > 0)
            verticalHeader()->setFixedWidth(pixels);
        return;
    }
    if (col > MaxCols())
        return;
    m_widths[col] = std::max(width, 0.0);
    const bool setting = std::exchange(m_settingWidth, true);
    horizontalHeader()->resizeSection(col - 1, pixels);
    m_settingWidth = setting;
}

int SpreadGrid::TopRow() const
{
    const int row = rowAt(0);
    return row < 0 ? 1 : row + 1;
}

void SpreadGrid::setTopRow(int row)
{
    if (row < 1 || row > MaxRows())
        return;
    verticalScrollBar()->setValue(row - 1);
}

void SpreadGrid::SetText(int col, int row, const QString &text)
{
    m_model->setCellText(col, row, text);
}

QString SpreadGrid::GetText(int col, int row) const
{
    return m_model->cellValue(col, row);
}

QString SpreadGrid::Value() const
{
    return m_model->cellValue(addressCol(), addressRow());
}

void SpreadGrid::setValue(const QString &value)
{
    const CellBlock block = addressBlock();
    if (!block.allCols && !block.allRows) {
        for (int col = block.col1; col <= block.col2; ++col)
            for (int row = block.row1; row <= block.row2; ++row)
                m_model->setCellText(col, row, value);
        return;
    }
    m_model->setCellText(addressCol(), addressRow(), value);
}

QString SpreadGrid::Text() const
{
    return m_model->cellText(addressCol(), addressRow());
}

int SpreadGrid::ActiveRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() + 1 : 0;
}

int SpreadGrid::ActiveCol() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.column() + 1 : 0;
}

void SpreadGrid::SetActiveCell(int col, int row)
{
    const QModelIndex index = m_model->index(row - 1, col - 1);
    if (index.isValid())
        setCurrentIndex(index);
}

void SpreadGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_revertingCurrent)
        return;
    if (previous.isValid() && current != previous) {
        bool cancel = false;
        emit LeaveCell(previous.column() + 1, previous.row() + 1,
                       current.isValid() ? current.column() + 1 : -1,
                       current.isValid() ? current.row() + 1 : -1, cancel);
        if (cancel) {
            m_revertingCurrent = true;
            selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
            m_revertingCurrent = false;
            return;
        }
    }
    if (!current.isValid())
        return;
    // The address follows the cell the user moved to, as the vendor grid's does.
    m_col = current.column() + 1;
    m_row = current.row() + 1;
    if (!previous.isValid() || previous.row() != current.row())
        emit RowActivate();
}

void SpreadGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    m_frozen.scrollTo(index, [&] { QTableView::scrollTo(index, hint); });
}

QModelIndex SpreadGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    QModelIndex to = QTableView::moveCursor(cursorAction, modifiers);
    // Tab passes over the cells that take no typing; the arrows still reach them.
    if (cursorAction == MoveNext || cursorAction == MovePrevious) {
        const QModelIndex from = currentIndex();
        const auto [col, row] =
            nextEditableCell(*this, from.column() + 1, from.row() + 1, cursorAction == MoveNext);
        if (col > 0)
            to = m_model->index(row - 1, col - 1);
    }
    m_frozen.moveByKeys(currentIndex(), to, cursorAction == MoveHome);
    return to;
}

void SpreadGrid::updateGeometries()
{
    QTableView::updateGeometries();
    m_frozen.layout();
}

bool SpreadGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool wasEditing = state() == QAbstractItemView::EditingState;
    const bool frozen = m_frozen.covers(index.column());
    // A cell scrolled away, under the frozen columns too, comes back into view to be typed in.
    if (!frozen && !wasEditing)
        scrollTo(index);
    const bool started = QTableView::edit(index, trigger, event);
    if (started && !wasEditing && state() == QAbstractItemView::EditingState) {
        // F2 and a double click ask to edit the text the cell holds; typing replaces it.
        QWidget *editor = indexWidget(index);
        if (editor && (trigger == EditKeyPressed || trigger == DoubleClicked)) {
            const auto *mouse = dynamic_cast<const QMouseEvent *>(event);
            const QPoint at =
                mouse ? editor->mapFrom(viewport(), mouse->position().toPoint()) : QPoint();
            m_entry->editText(*editor, mouse ? &at : nullptr);
        }
        m_editing = index;
        m_editChanged = false;
        // The editor of a frozen cell opens in the grid, where the cell lies unscrolled.
        if (frozen)
            m_frozen.setAside(true);
        emit EditMode(index.column() + 1, index.row() + 1, 1, false);
    }
    return started;
}

void SpreadGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab and Shift+Tab out of an editor move to the next cell without opening it.
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    if (next || hint == QAbstractItemDelegate::EditPreviousItem) {
        // A text the cell refused stays in the editor, as it does before any command.
        if (m_editRefused) {
            editor->setFocus();
            return;
        }
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        const QModelIndex to = moveCursor(next ? MoveNext : MovePrevious, Qt::NoModifier);
        if (to.isValid())
            selectionModel()->setCurrentIndex(to, QItemSelectionModel::ClearAndSelect);
        return;
    }
    // An editor closed again after the move to the next cell opened another (Tab out of a list
    // cell closes it twice) ends no edit: the other one is still open for a command to end.
    if (!m_editing.isValid() || indexWidget(m_editing) != editor) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    const QPersistentModelIndex edited = m_editing;
    m_editing = QPersistentModelIndex();
    QTableView::closeEditor(editor, hint);
    m_frozen.setAside(false);
    emit EditMode(edited.column() + 1, edited.row() + 1, 0, m_editChanged);
}

void SpreadGrid::commitData(QWidget *editor)
{
    m_editRefused = false;
    QTableView::commitData(editor);
}

bool SpreadGrid::endEdit()
{
    QWidget *editor = m_editing.isValid() ? indexWidget(m_editing) : nullptr;
    if (!editor)
        return true;
    commitData(editor);
    if (m_editRefused) {
        editor->setFocus();
        return false;
    }
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool SpreadGrid::raiseKeyEvents(QObject *receiver, QKeyEvent &event)
{
    KeyHandlers handlers;
    handlers.keyDown = [this](int &keyCode, int shift) { emit KeyDown(keyCode, shift); };
    handlers.keyPress = [this](int &keyAscii) { emit KeyPress(keyAscii); };
    handlers.deliver = [this, receiver](QKeyEvent &replacement) {
        const bool forwarding = std::exchange(m_forwardingKey, true);
        if (receiver == this)
            QTableView::keyPressEvent(&replacement);
        else
            QCoreApplication::sendEvent(receiver, &replacement);
        m_forwardingKey = forwarding;
    };
    return routeKey(event, handlers);
}

void SpreadGrid::keyPressEvent(QKeyEvent *event)
{
    if (!m_forwardingKey && raiseKeyEvents(this, *event))
        return;
    if (opensList(*event))
        return;
    // The key may be handed on to an editor it opens; the events were raised already.
    const bool forwarding = std::exchange(m_forwardingKey, true);
    QTableView::keyPressEvent(event);
    m_forwardingKey = forwarding;
}

bool SpreadGrid::opensList(const QKeyEvent &event)
{
    // F4 and Alt+Down open a list cell's list, as they open any combo box's.
    const bool listKey = (event.key() == Qt::Key_F4 && event.modifiers() == Qt::NoModifier) ||
                         (event.key() == Qt::Key_Down && event.modifiers() == Qt::AltModifier);
    const QModelIndex index = currentIndex();
    if (!listKey || !index.isValid() ||
        m_model->settings().cellType.get(index.column() + 1, index.row() + 1) !=
            host::ui::CellType::ComboBox ||
        !edit(index, EditKeyPressed, nullptr))
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(indexWidget(index)))
        combo->showPopup();
    return true;
}

void SpreadGrid::keyReleaseEvent(QKeyEvent *event)
{
    int keyCode = keyCodeOf(*event);
    if (keyCode)
        emit KeyUp(keyCode, shiftStateOf(event->modifiers()));
    QTableView::keyReleaseEvent(event);
}

void SpreadGrid::keyboardSearch(const QString &search)
{
    // A key that changes nothing says why rather than go unexplained.
    const QModelIndex index = currentIndex();
    if (!index.isValid() || search.isEmpty() || !search.front().isPrint() ||
        (index.flags() & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return;
    QApplication::beep();
    emit EditError(index.column() + 1, index.row() + 1, CellRefusal{CellRefusal::Locked, 0});
}

bool SpreadGrid::eventFilter(QObject *watched, QEvent *event)
{
    // A shortcut of the window's commands runs the command, whatever the editor would do with
    // the key (Ctrl+A selects its text); the command ends the edit first.
    if (event->type() == QEvent::ShortcutOverride && watched != viewport() &&
        shortcutCommand(*window(), *static_cast<QKeyEvent *>(event)))
        return true;
    if (event->type() == QEvent::KeyPress && !m_forwardingKey && watched != viewport())
        return raiseKeyEvents(watched, *static_cast<QKeyEvent *>(event));
    return QTableView::eventFilter(watched, event);
}

} // namespace host::ui
