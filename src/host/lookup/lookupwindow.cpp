#include "host/lookup/lookupwindow.h"
#include "host/core/text.h"

#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupmodel.h"
#include "host/ui/form/fonts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
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

// A key that edits a search text: a printable character or Backspace.
bool typesText(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_Backspace)
        return true;
    return !key.text().isEmpty() && key.text().at(0).isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

std::vector<std::string> fieldsOf(const std::vector<LookupColumn> &columns)
{
    std::vector<std::string> fields;
    fields.reserve(columns.size());
    for (const LookupColumn &column : columns)
        fields.push_back(column.field);
    return fields;
}

} // namespace

std::vector<LookupColumn> LookupWindow::codeAndName(std::string codeField)
{
    return {{std::move(codeField), "代码"}, {"FName", "名称"}};
}

LookupWindow::LookupWindow(const QString &caption, std::shared_ptr<Recordset> rows,
                           const std::vector<LookupColumn> &columns, const QString &search,
                           const std::vector<std::string> &searchFields)
    : m_rows(std::move(rows)),
      m_model(new LookupModel(m_rows, fieldsOf(columns), searchFields, this)),
      m_search(new QLineEdit(client())), m_table(new QTableView(client()))
{
    setCaption(caption);
    std::vector<QString> headers;
    headers.reserve(columns.size());
    for (const LookupColumn &column : columns)
        headers.push_back(hostCaption(column.caption));
    m_model->setHeaders(std::move(headers));
    setFont(ui::uiFont());
    m_search->setPlaceholderText(hostCaption("输入代码或名称查找"));
    m_table->setModel(m_model);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column + 1 < m_model->columnCount(); ++column)
        m_table->horizontalHeader()->resizeSection(column, 160);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();

    auto *ok = new QPushButton(hostCaption("确定(&O)"), client());
    auto *cancelButton = new QPushButton(hostCaption("取消(&C)"), client());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(520, 420);
    closeOnEscape(cancelButton);

    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_model->setSearch(text);
        if (m_model->rowCount() > 0)
            m_table->selectRow(0);
    });
    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(m_table, &QTableView::doubleClicked, this, [this] { accept(); });
    m_search->setText(search);
    if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    m_search->installEventFilter(this);
    m_table->installEventFilter(this);
    m_search->setFocus();
}

LookupWindow::~LookupWindow() = default;

bool LookupWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || (watched != m_search && watched != m_table))
        return ui::Form::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The arrows move through the list while the search text is typed.
        if (watched == m_search) {
            QCoreApplication::sendEvent(m_table, event);
            return true;
        }
        break;
    default:
        // Typing in the list goes on in the search text, which narrows the list.
        if (watched == m_table && typesText(*key)) {
            m_search->setFocus();
            QCoreApplication::sendEvent(m_search, event);
            return true;
        }
    }
    return ui::Form::eventFilter(watched, event);
}

void LookupWindow::setSearch(const QString &text)
{
    m_search->setText(text);
}

int LookupWindow::visibleCount() const
{
    return m_model->rowCount();
}

QString LookupWindow::visibleCode(int visibleRow) const
{
    return m_model->text(visibleRow, 0);
}

void LookupWindow::choose(int visibleRow)
{
    m_table->selectRow(visibleRow);
    accept();
}

void LookupWindow::accept()
{
    const int row = m_table->currentIndex().row();
    if (row < 0 || row >= visibleCount())
        return;
    m_rows->AbsolutePosition(m_model->position(row));
    std::map<std::string, Variant, std::less<>> fields;
    for (long i = 0; i < m_rows->FieldCount(); ++i)
        fields.emplace(m_rows->Fields(i).Name(), m_rows->Fields(i).Value());
    m_chosen =
        std::make_shared<ChosenRecord>(m_model->text(row, 0).toStdString(), std::move(fields));
    Unload();
}

void LookupWindow::cancel()
{
    m_chosen.reset();
    Unload();
}

} // namespace host
