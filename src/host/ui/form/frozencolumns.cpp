#include "host/ui/form/frozencolumns.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace host::ui {

FrozenColumns::FrozenColumns(QTableView &view) : m_view(view) {}

FrozenColumns::~FrozenColumns() = default;

void FrozenColumns::setCount(int count)
{
    m_count = std::max(count, 0);
    if (m_count > 0 && !m_overlay)
        createOverlay();
    syncColumns();
    layout();
}

void FrozenColumns::createOverlay()
{
    m_overlay = std::make_unique<QTableView>(&m_view);
    QTableView &overlay = *m_overlay;
    overlay.setObjectName(m_view.objectName() + QStringLiteral("Frozen"));
    overlay.setModel(m_view.model());
    overlay.setSelectionModel(m_view.selectionModel());
    // The view's delegate paints the overlay's cells too; its editors are the view's own.
    overlay.setItemDelegate(m_view.itemDelegate());
    QObject::disconnect(m_view.itemDelegate(), nullptr, &overlay, nullptr);
    // The view keeps the focus and does the editing; the overlay only shows and takes clicks.
    overlay.setFocusPolicy(Qt::NoFocus);
    overlay.setEditTriggers(QAbstractItemView::NoEditTriggers);
    overlay.setAutoScroll(false);
    overlay.setFrameShape(QFrame::NoFrame);
    overlay.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    overlay.setSelectionBehavior(m_view.selectionBehavior());
    overlay.setSelectionMode(m_view.selectionMode());
    overlay.setVerticalScrollMode(m_view.verticalScrollMode());
    overlay.setShowGrid(m_view.showGrid());
    overlay.setGridStyle(m_view.gridStyle());
    overlay.setWordWrap(m_view.wordWrap());
    overlay.setTextElideMode(m_view.textElideMode());
    overlay.verticalHeader()->hide();
    overlay.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView &header = *overlay.horizontalHeader();
    const QHeaderView &viewHeader = *m_view.horizontalHeader();
    header.setDefaultAlignment(viewHeader.defaultAlignment());
    header.setHighlightSections(viewHeader.highlightSections());
    header.setSectionsClickable(viewHeader.sectionsClickable());
    // Only the view's columns scroll, the overlay's part of them staying in place.
    m_view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QObject::connect(&overlay, &QAbstractItemView::pressed, &m_view, &QAbstractItemView::pressed);
    QObject::connect(&overlay, &QAbstractItemView::clicked, &m_view, &QAbstractItemView::clicked);
    QObject::connect(&overlay, &QAbstractItemView::doubleClicked, &m_view,
                     &QAbstractItemView::doubleClicked);
    QObject::connect(&header, &QHeaderView::sectionClicked, m_view.horizontalHeader(),
                     &QHeaderView::sectionClicked);
    // The user's drag of an overlay column resizes the view's.
    QObject::connect(&header, &QHeaderView::sectionResized, &overlay,
                     [this](int section, int, int size) {
                         if (!m_syncing && size > 0)
                             m_view.horizontalHeader()->resizeSection(section, size);
                     });
    const auto follow = [this] {
        syncColumns();
        layout();
    };
    QObject::connect(m_view.horizontalHeader(), &QHeaderView::sectionResized, &overlay, follow);
    QObject::connect(m_view.model(), &QAbstractItemModel::modelReset, &overlay, follow);
    QObject::connect(m_view.model(), &QAbstractItemModel::layoutChanged, &overlay, follow);
    QObject::connect(m_view.model(), &QAbstractItemModel::columnsInserted, &overlay, follow);
    QObject::connect(m_view.verticalHeader(), &QHeaderView::sectionResized, &overlay,
                     [this](int section, int, int size) {
                         m_overlay->verticalHeader()->resizeSection(section, size);
                     });
    // Both scroll together, whichever the wheel turned.
    QScrollBar &viewBar = *m_view.verticalScrollBar();
    QScrollBar &bar = *overlay.verticalScrollBar();
    QObject::connect(&viewBar, &QScrollBar::rangeChanged, &overlay,
                     [&bar](int min, int max) { bar.setRange(min, max); });
    QObject::connect(&viewBar, &QScrollBar::valueChanged, &bar, &QScrollBar::setValue);
    QObject::connect(&bar, &QScrollBar::valueChanged, &viewBar, &QScrollBar::setValue);
    // The user's horizontal scroll, by wheel or scroll bar, stops at column edges too.
    QScrollBar &across = *m_view.horizontalScrollBar();
    QObject::connect(&across, &QAbstractSlider::actionTriggered, &overlay, [this, &across](int) {
        if (coveredWidth() == 0)
            return;
        const int position = across.sliderPosition();
        across.setSliderPosition(alignedScroll(position, position < across.value()));
    });
}

void FrozenColumns::syncColumns()
{
    if (!m_overlay || !m_view.model())
        return;
    const bool syncing = std::exchange(m_syncing, true);
    const QHeaderView &from = *m_view.horizontalHeader();
    QHeaderView &to = *m_overlay->horizontalHeader();
    const int columns = m_view.model()->columnCount(m_view.rootIndex());
    for (int column = 0; column < columns; ++column) {
        // A hidden column is resized to 0 before the view marks it hidden.
        const int width =
            column < m_shown && !from.isSectionHidden(column) ? from.sectionSize(column) : 0;
        to.setSectionHidden(column, width == 0);
        if (width > 0)
            to.resizeSection(column, width);
    }
    m_syncing = syncing;
}

int FrozenColumns::shownCount() const
{
    if (!m_overlay || m_setAside)
        return 0;
    const QHeaderView &header = *m_view.horizontalHeader();
    const int columns = std::min(m_count, header.count());
    const int room = 4 * m_view.viewport()->width();
    int width = 0;
    int shown = 0;
    for (int column = 0; column < columns; ++column) {
        if (!header.isSectionHidden(column))
            width += header.sectionSize(column);
        if (5 * width > room)
            break;
        shown = column + 1;
    }
    return shown;
}

int FrozenColumns::coveredWidth() const
{
    const QHeaderView &header = *m_view.horizontalHeader();
    const int shown = shownCount();
    int width = 0;
    for (int column = 0; column < shown; ++column)
        if (!header.isSectionHidden(column))
            width += header.sectionSize(column);
    return width;
}

bool FrozenColumns::covers(int column) const
{
    return column < shownCount() && coveredWidth() > 0;
}

int FrozenColumns::alignedScroll(int value, bool down) const
{
    const int covered = coveredWidth();
    const QHeaderView &header = *m_view.horizontalHeader();
    int aligned = value;
    for (int visual = 0; visual < header.count(); ++visual) {
        const int column = header.logicalIndex(visual);
        if (header.isSectionHidden(column))
            continue;
        const int edge = header.sectionPosition(column) - covered;
        if (edge < 0)
            continue;
        if (!down && edge >= value)
            return edge;
        if (down && edge > value)
            break;
        if (down)
            aligned = edge;
    }
    return aligned;
}

void FrozenColumns::layout()
{
    if (!m_overlay)
        return;
    if (const int shown = shownCount(); shown != m_shown) {
        m_shown = shown;
        syncColumns();
    }
    const int width = coveredWidth();
    if (width == 0) {
        m_overlay->hide();
        return;
    }
    const QHeaderView &viewHeader = *m_view.horizontalHeader();
    QHeaderView &header = *m_overlay->horizontalHeader();
    const int headerHeight = viewHeader.isHidden() ? 0 : viewHeader.height();
    header.setVisible(headerHeight > 0);
    if (headerHeight > 0 && header.height() != headerHeight)
        header.setFixedHeight(headerHeight);
    const int rowHeight = m_view.verticalHeader()->defaultSectionSize();
    if (m_overlay->verticalHeader()->defaultSectionSize() != rowHeight)
        m_overlay->verticalHeader()->setDefaultSectionSize(rowHeight);
    const QRect port = m_view.viewport()->geometry();
    const QRect geometry(port.x(), port.y() - headerHeight, width, port.height() + headerHeight);
    const bool moved = !m_overlay->isVisible() || m_overlay->geometry() != geometry;
    m_overlay->setGeometry(geometry);
    m_overlay->verticalScrollBar()->setValue(m_view.verticalScrollBar()->value());
    m_overlay->show();
    m_overlay->raise();
    // The view's own range ends where its last column does; a little more lets that column's
    // edge, too, meet the overlay.
    QScrollBar &bar = *m_view.horizontalScrollBar();
    bar.setMaximum(alignedScroll(bar.maximum()));
    bar.setValue(alignedScroll(bar.value()));
    // The current cell, brought into view before the overlay came or the view changed its
    // size, is brought back.
    if (moved) {
        const QModelIndex current = m_view.currentIndex();
        const int before = bar.value();
        // With as little scroll as shows it, whatever the view showed at its former size.
        if (current.isValid() && !covers(current.column()))
            bar.setValue(0);
        keepInView(current, before);
    }
}

void FrozenColumns::scrollTo(const QModelIndex &index, const std::function<void()> &viewScroll)
{
    const int horizontal = m_view.horizontalScrollBar()->value();
    viewScroll();
    keepInView(index, horizontal);
}

void FrozenColumns::moveByKeys(const QModelIndex &from, const QModelIndex &to, bool home)
{
    if (to.isValid() && covers(to.column()) && (home || (from.isValid() && !covers(from.column()))))
        m_view.horizontalScrollBar()->setValue(0);
}

void FrozenColumns::keepInView(const QModelIndex &index, int horizontalBefore)
{
    const int covered = coveredWidth();
    if (covered == 0 || !index.isValid())
        return;
    QScrollBar &bar = *m_view.horizontalScrollBar();
    if (covers(index.column())) {
        bar.setValue(horizontalBefore);
        return;
    }
    const int left = m_view.columnViewportPosition(index.column());
    const int right = left + m_view.columnWidth(index.column());
    const int port = m_view.viewport()->width();
    int value = bar.value();
    if (left < covered)
        value -= covered - left;
    else if (right > port)
        value += std::min(right - port, left - covered);
    // On to the next column edge, which leaves the cell in view.
    bar.setValue(alignedScroll(value));
}

void FrozenColumns::setAside(bool aside)
{
    if (aside == m_setAside)
        return;
    if (aside)
        m_view.horizontalScrollBar()->setValue(0);
    m_setAside = aside;
    layout();
}

} // namespace host::ui
