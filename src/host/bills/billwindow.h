#pragma once

#include "host/ui/form/form.h"

#include <memory>

class QTableWidget;

namespace host {

class AppConnection;
class Recordset;

// The window of the bill list: the bills' heads above, the lines of the chosen bill below.
class BillWindow : public ui::Form
{
    Q_OBJECT

public:
    // heads: one row per bill (FInterID, FBillNo, FDate, FTranType, FBillerName); the lines are
    // read from the database when a bill is chosen.
    BillWindow(std::shared_ptr<AppConnection> database, const std::shared_ptr<Recordset> &heads,
               const QString &userName);

    QTableWidget *heads() const { return m_heads; }
    QTableWidget *lines() const { return m_lines; }
    // Shows the lines of the bill in that head row.
    void showLines(int headRow);

private:
    std::shared_ptr<AppConnection> m_database;
    std::vector<long> m_billIds;
    QTableWidget *m_heads;
    QTableWidget *m_lines;
};

} // namespace host
