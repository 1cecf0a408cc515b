#pragma once

#include "host/core/variant.h"
#include "host/ui/form.h"

#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace host {

class Recordset;
class LookupRecord;

// The base-data lookup window: the records of one class, narrowed by a search text that
// matches code or name, one chosen with OK or a double click.
class LookupWindow : public ui::Form
{
    Q_OBJECT

public:
    // rows: the records with their fields; codeField and nameField name the shown columns.
    LookupWindow(const QString &caption, std::shared_ptr<Recordset> rows, std::string codeField,
                 std::string nameField, const QString &search);

    void setSearch(const QString &text);
    int visibleCount() const;
    // Chooses the visible record at that position (from 0) and closes with OK.
    void choose(int visibleRow);
    void cancel();

    // The chosen record, or nothing when cancelled.
    std::shared_ptr<LookupRecord> chosen() const { return m_chosen; }

private:
    void refill();
    void accept();

    std::shared_ptr<Recordset> m_rows;
    std::string m_codeField;
    std::string m_nameField;
    std::vector<long> m_visible; // positions in m_rows of the listed records
    QLineEdit *m_search;
    QTableWidget *m_table;
    std::shared_ptr<LookupRecord> m_chosen;
};

} // namespace host
