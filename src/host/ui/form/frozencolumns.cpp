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
            column < m_count && !from.isSectionHidden(column) ? from.sectionSize(column) : 0;
        to.setSectionHidden(column, width == 0);
        if (width > 0)
            to.resizeSection(column, width);
    }
    m_syncing = syncing;
}

int FrozenColumns::coveredWidth() const
{
    if (!m_overlay || m_setAside)
        return 0;
    const QHeaderView &header = *m_view.horizontalHeader();
    const int columns = std::min(m_count, header.count());
    int width = 0;
    for (int column = 0; column < columns; ++column)
        if (!header.isSectionHidden(column))
            width += header.sectionSize(column);
    // Frozen columns over more than two thirds of the view would leave too little room to
    // scroll in.
    return 3 * width <= 2 * m_view.viewport()->width() ? width : 0;
}

bool FrozenColumns::covers(int column) const
{
    return column < m_count && coveredWidth() > 0;
}

void FrozenColumns::layout()
{
    if (!m_overlay)
        return;
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
    // The current cell, brought into view before the overlay came or the view changed its
    // size, is brought back.
    if (moved)
        keepInView(m_view.currentIndex(), m_view.horizontalScrollBar()->value());
}

void FrozenColumns::scrollTo(const QModelIndex &index, const std::function<void()> &viewScroll)
{
    const int horizontal = m_view.horizontalScrollBar()->value();
    viewScroll();
    keepInView(index, horizontal);
}

void FrozenColumns::keepInView(const QModelIndex &index, int horizontalBefore)
{
    const int covered = coveredWidth();
    if (covered == 0 || !index.isValid())
        return;
    QScrollBar &bar = *m_view.horizontalScrollBar();
    if (index.column() < m_count) {
        bar.setValue(horizontalBefore);
        return;
    }
    const int left = m_view.columnViewportPosition(index.column());
    const int right = left + m_view.columnWidth(index.column());
    if (left < covered)
        bar.setValue(bar.value() - (covered - left));
    else if (right > m_view.viewport()->width())
        bar.setValue(bar.value() + std::min(right - m_view.viewport()->width(), left - covered));
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
