#pragma once

#include "host/ui/form/form.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QTableView;

namespace host {

class Recordset;
class LookupRecord;
class LookupModel;

// A column of a lookup window: the field it shows and its caption, a text of the host's own
// that is shown in the host's language.
struct LookupColumn
{
    std::string field;
    std::string_view caption;
};

// The base-data lookup window: the records of one class, narrowed by a search text that
// matches any shown column or further search field, one chosen with OK, Enter or a double
// click. Typing anywhere narrows the list, the arrows move through it, Escape cancels. The
// records are shown straight from the recordset, so a long list opens at once.
class LookupWindow : public ui::Form
{
    Q_OBJECT

public:
    // The code and name columns of most lookups.
    static std::vector<LookupColumn> codeAndName(std::string codeField);

    // rows: the records with their fields; columns: those shown, the record's code first;
    // searchFields: further fields the search text matches (a short number, a bar code).
    LookupWindow(const QString &caption, std::shared_ptr<Recordset> rows,
                 const std::vector<LookupColumn> &columns, const QString &search,
                 const std::vector<std::string> &searchFields = {});
    ~LookupWindow() override;

    void setSearch(const QString &text);
    int visibleCount() const;
    // The code shown in the visible record at that position (from 0).
    QString visibleCode(int visibleRow) const;
    // Chooses the visible record at that position (from 0) and closes with OK.
    void choose(int visibleRow);
    void cancel();

    // The chosen record, or nothing when cancelled.
    std::shared_ptr<LookupRecord> chosen() const { return m_chosen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void accept();

    std::shared_ptr<Recordset> m_rows;
    LookupModel *m_model;
    QLineEdit *m_search;
    QTableView *m_table;
    std::shared_ptr<LookupRecord> m_chosen;
};

} // namespace host
