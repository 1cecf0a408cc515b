#include "host/lookup/lookupwindow.h"
#include "host/core/text.h"
#include "host/lang/hosttext.h"

#include "host/db/recordset.h"
#include "host/lookup/glview.h"
#include "host/ui/fonts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace host {
namespace {

// A chosen record: its fields copied out of the lookup's rows.
class ChosenRecord : public LookupRecord
{
public:
    ChosenRecord(std::string number, std::map<std::string, Variant, std::less<>> fields)
        : m_number(std::move(number)), m_fields(std::move(fields))
    {}
    std::string Number() const override { return m_number; }
    Variant Properties(std::string_view name) const override
    {
        for (const auto &[key, value] : m_fields) {
            if (equalsNoCase(key, name))
                return value;
        }
        return {};
    }

private:
    std::string m_number;
    std::map<std::string, Variant, std::less<>> m_fields;
};

QString text(const Variant &value)
{
    return value.isNull() ? QString() : QString::fromStdString(CStr(value));
}

} // namespace

LookupWindow::LookupWindow(const QString &caption, std::shared_ptr<Recordset> rows,
                           std::string codeField, std::string nameField, const QString &search)
    : m_rows(std::move(rows)), m_codeField(std::move(codeField)), m_nameField(std::move(nameField)),
      m_search(new QLineEdit(client())), m_table(new QTableWidget(client()))
{
    setCaption(caption);
    setFont(ui::uiFont());
    m_search->setPlaceholderText(hostCaption("输入代码或名称查找"));
    m_table->setColumnCount(2);
    m_table->setHorizontalHeaderLabels({hostCaption("代码"), hostCaption("名称")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();

    auto *ok = new QPushButton(hostCaption("确定"), client());
    auto *cancelButton = new QPushButton(hostCaption("取消"), client());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(520, 420);

    connect(m_search, &QLineEdit::textChanged, this, [this] { refill(); });
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
    m_search->setText(search);
    refill();
}

void LookupWindow::setSearch(const QString &text)
{
    m_search->setText(text);
}

int LookupWindow::visibleCount() const
{
    return static_cast<int>(m_visible.size());
}

void LookupWindow::refill()
{
    const QString needle = m_search->text().trimmed();
    m_visible.clear();
    m_table->setRowCount(0);
    if (m_rows->RecordCount() == 0)
        return;
    long position = 1;
    for (m_rows->MoveFirst(); !m_rows->EOF(); m_rows->MoveNext(), ++position) {
        const QString code = text(m_rows->Fields(m_codeField).Value());
        const QString name = text(m_rows->Fields(m_nameField).Value());
        if (!needle.isEmpty() && !code.contains(needle, Qt::CaseInsensitive) &&
            !name.contains(needle, Qt::CaseInsensitive))
            continue;
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(code));
        m_table->setItem(row, 1, new QTableWidgetItem(name));
        m_visible.push_back(position);
    }
    if (!m_visible.empty())
        m_table->selectRow(0);
}

void LookupWindow::choose(int visibleRow)
{
    m_table->selectRow(visibleRow);
    accept();
}

void LookupWindow::accept()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= visibleCount())
        return;
    m_rows->AbsolutePosition(m_visible[static_cast<size_t>(row)]);
    std::map<std::string, Variant, std::less<>> fields;
    for (long i = 0; i < m_rows->FieldCount(); ++i)
        fields.emplace(m_rows->Fields(i).Name(), m_rows->Fields(i).Value());
    m_chosen = std::make_shared<ChosenRecord>(CStr(m_rows->Fields(m_codeField).Value()),
                                              std::move(fields));
    Unload();
}

void LookupWindow::cancel()
{
    m_chosen.reset();
    Unload();
}

} // namespace host
