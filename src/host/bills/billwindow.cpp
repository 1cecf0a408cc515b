#include "host/bills/billwindow.h"

#include "host/core/variant.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/ui/form/fonts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace host {
namespace {

QTableWidget *table(const QStringList &headers, QWidget *parent)
{
    auto *t = new QTableWidget(parent);
    t->setColumnCount(static_cast<int>(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QString text(Recordset &rs, const char *field)
{
    const Variant &value = rs.Fields(field).Value();
    return value.isNull() ? QString() : QString::fromStdString(CStr(value));
}

// Fills a table with the recordset's fields, one row per record.
void fill(QTableWidget &t, Recordset &rs, const std::vector<const char *> &fields)
{
    t.setRowCount(static_cast<int>(rs.RecordCount()));
    int row = 0;
    for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext(), ++row)
        for (size_t col = 0; col < fields.size(); ++col)
            t.setItem(row, static_cast<int>(col), new QTableWidgetItem(text(rs, fields[col])));
    t.resizeColumnsToContents();
}

QString kindName(long tranType)
{
    if (tranType == 40)
        return hostCaption("盘盈单");
    if (tranType == 43)
        return hostCaption("盘亏单");
    return QString::number(tranType);
}

} // namespace

BillWindow::BillWindow(std::shared_ptr<AppConnection> database,
                       const std::shared_ptr<Recordset> &heads, const QString &userName)
    : m_database(std::move(database)),
      m_heads(table({hostCaption("单据编号"), hostCaption("日期"), hostCaption("单据类型"),
                     hostCaption("制单人")},
                    client())),
      m_lines(table({hostCaption("行号"), hostCaption("物料代码"), hostCaption("物料名称"),
                     hostCaption("仓库"), hostCaption("批次"), hostCaption("数量")},
                    client()))
{
    setCaption(hostCaption("单据序时簿"));
    setFont(ui::uiFont());
    auto *layout = new QVBoxLayout(client());
    layout->addWidget(m_heads, 1);
    layout->addWidget(m_lines, 2);
    layout->addWidget(new QLabel(hostCaption("当前用户：") + userName, client()));

    fill(*m_heads, *heads, {"FBillNo", "FDate", "FTranType", "FBillerName"});
    int row = 0;
    for (heads->MoveFirst(); !heads->EOF(); heads->MoveNext(), ++row) {
        m_billIds.push_back(CLng(heads->Fields("FInterID").Value()));
        m_heads->item(row, 2)->setText(kindName(CLng(heads->Fields("FTranType").Value())));
    }
    // The kinds' names are longer than the numbers the columns were sized to.
    m_heads->resizeColumnsToContents();
    connect(m_heads, &QTableWidget::currentCellChanged, this,
            [this](int current) { guard([=, this] { showLines(current); }); });
    if (!m_billIds.empty())
        m_heads->setCurrentCell(0, 0);
    resize(720, 480);
    closeOnEscape();
}

void BillWindow::showLines(int headRow)
{
    if (headRow < 0 || headRow >= static_cast<int>(m_billIds.size()))
        return;
    const auto rs = m_database->Execute(
        "Select e.FEntryID,i.FNumber,i.FName,s.FName As FStockName,e.FBatchNo,e.FQty "
        "From ICStockBillEntry e Left Join t_ICItem i On i.FItemID=e.FItemID "
        "Left Join t_Stock s On s.FItemID=e.FDCStockID Where e.FInterID=" +
        std::to_string(m_billIds[static_cast<size_t>(headRow)]) + " Order By e.FEntryID");
    fill(*m_lines, *rs, {"FEntryID", "FNumber", "FName", "FStockName", "FBatchNo", "FQty"});
}

} // namespace host
