#include "host/displayer/displaywindow.h"

#include "host/displayer/dispbuilder.h"
#include "host/ui/form/fonts.h"
#include "host/ui/form/twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace host {
namespace {

// The list's lines as a table, each text made when the view asks for it.
class LinesModel : public QAbstractTableModel
{
public:
    LinesModel(const DispBuilder &list, int columns, QObject *parent)
        : QAbstractTableModel(parent), m_list(list), m_columns(columns)
    {}

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_list.lineCount());
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : m_columns;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const std::string_view text =
            m_list.cell(static_cast<size_t>(index.row()), static_cast<size_t>(index.column()));
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        const auto &titles = m_list.Titles();
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
            static_cast<size_t>(section) >= titles.size())
            return QAbstractTableModel::headerData(section, orientation, role);
        return QString::fromStdString(titles[static_cast<size_t>(section)]);
    }

private:
    const DispBuilder &m_list;
    int m_columns;
};

// A long text wraps within its column, and its row grows to show it whole as it comes into view
// (or its column is widened): sizing every row at once would lay out every text of a list of a
// million lines before the window shows.
class WrappedLinesView : public QTableView
{
public:
    explicit WrappedLinesView(QWidget *parent) : QTableView(parent)
    {
        setWordWrap(true);
        setTextElideMode(Qt::ElideNone);
        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                [this] { fitVisibleRows(); });
    }

    void fitVisibleRows()
    {
        const int rows = model() ? model()->rowCount() : 0;
        for (int row = std::max(rowAt(0), 0);
             row < rows && rowViewportPosition(row) < viewport()->height(); ++row)
            resizeRowToContents(row);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QTableView::resizeEvent(event);
        fitVisibleRows();
    }
    void scrollContentsBy(int dx, int dy) override
    {
        QTableView::scrollContentsBy(dx, dy);
        if (dy != 0)
            fitVisibleRows();
    }
};

} // namespace

DisplayWindow::DisplayWindow(const DispBuilder &list, const std::vector<long> &widthsInTwips)
{
    auto *table = new WrappedLinesView(client());
    m_table = table;
    setCaption(QString::fromStdString(list.Caption()));
    setFont(ui::uiFont());
    auto *layout = new QVBoxLayout(client());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    const int columns = static_cast<int>(widthsInTwips.size());
    m_table->setModel(new LinesModel(list, columns, m_table));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);

    int width = 0;
    for (int column = 0; column < columns; ++column) {
        // A column is never narrower than its title.
        const int pixels = std::max(ui::twipsToPixelsX(static_cast<double>(widthsInTwips[column])),
                                    m_table->horizontalHeader()->sectionSizeHint(column));
        m_table->setColumnWidth(column, pixels);
        width += pixels;
    }
    resize(width + 40, 360);
    table->fitVisibleRows();
    closeOnEscape();
}

QStringList DisplayWindow::columnTexts(int column) const
{
    QStringList texts;
    const QAbstractItemModel *model = m_table->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

QStringList DisplayWindow::headerTexts() const
{
    QStringList texts;
    const QAbstractItemModel *model = m_table->model();
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

} // namespace host
