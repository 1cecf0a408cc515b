#include "host/displayer/displaywindow.h"

#include "host/displayer/dispbuilder.h"
#include "host/ui/form/fonts.h"
#include "host/ui/form/twips.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace host {
namespace {

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

DisplayWindow::DisplayWindow(const DispBuilder &list, const std::vector<long> &widthsInTwips)
    : m_table(new QTableWidget(client()))
{
    setCaption(qs(list.Caption()));
    setFont(ui::uiFont());
    auto *layout = new QVBoxLayout(client());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    const int columns = static_cast<int>(widthsInTwips.size());
    m_table->setColumnCount(columns);
    m_table->setRowCount(static_cast<int>(list.Lines().size()));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    // A long text wraps within its column and its row grows to show it whole; a column the user
    // widens takes more of it on each line.
    m_table->setWordWrap(true);
    m_table->setTextElideMode(Qt::ElideNone);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);

    QStringList headers;
    for (const auto &title : list.Titles())
        headers << qs(title);
    m_table->setHorizontalHeaderLabels(headers);

    int width = 0;
    for (int column = 0; column < columns; ++column) {
        // A column is never narrower than its title.
        const int pixels = std::max(ui::twipsToPixelsX(static_cast<double>(widthsInTwips[column])),
                                    m_table->horizontalHeader()->sectionSizeHint(column));
        m_table->setColumnWidth(column, pixels);
        width += pixels;
    }
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto &line = list.Lines()[static_cast<size_t>(row)];
        for (int column = 0; column < columns; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(qs(line[column])));
    }
    resize(width + 40, 360);
    closeOnEscape();
}

QStringList DisplayWindow::columnTexts(int column) const
{
    QStringList texts;
    for (int row = 0; row < m_table->rowCount(); ++row)
        texts << m_table->item(row, column)->text();
    return texts;
}

QStringList DisplayWindow::headerTexts() const
{
    QStringList texts;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        const auto *item = m_table->horizontalHeaderItem(column);
        texts << (item ? item->text() : QString());
    }
    return texts;
}

} // namespace host
