#include "countwindowtest.h"

#include "countsheet/maindo.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/uitestutil.h"
#include "window/install.h"

#include <map>
#include <tuple>

namespace {

// Stock, place, item code and batch: how a user tells count lines apart on screen.
using LineKey = std::tuple<QString, QString, QString, QString>;

double shownNumber(const QString &text)
{
    return host::Val(QString(text).remove(',').toStdString());
}

TEST_F(CountWindowTest, ACountIsEnteredSavedAndCheckedAsAUserDoesIt)
{
    installCountSheetWindow();
    const long id = backUp();
    std::map<LineKey, double> differences;
    m_modals->whileShown([&](host::ui::Form &form) {
        auto &w = dynamic_cast<frmMain &>(form);
        ASSERT_TRUE(showActive(w));
        const double added[] = {2, -1, 3};
        int row = 0;
        for (double difference : added) {
            row = findRow(
                w, [&](int r) { return r > row && cell(w, 34, r) == 1 && cell(w, 17, r) > 1; });
            type(w, 24, row, QString::number(cell(w, 17, row) + difference));
            differences[{w.vsCheck->GetText(3, row), w.vsCheck->GetText(5, row),
                         w.vsCheck->GetText(6, row), w.vsCheck->GetText(11, row)}] = difference;
        }
        w.mnuFSave_Click();
    });
    MainDo().Show(4);
    ASSERT_EQ(differences.size(), 3U);

    std::map<LineKey, double> shown;
    m_modals->whileShown([&](host::ui::Form &form) {
        auto &w = dynamic_cast<frmMain &>(form);
        // Two title rows, the lines, then the totals row.
        for (int r = 3; r < w.ldgCheck->Face().Rows(); ++r) {
            const LineKey key{w.ldgCheck->Cell(r, 1).Text(), w.ldgCheck->Cell(r, 2).Text(),
                              w.ldgCheck->Cell(r, 3).Text(), w.ldgCheck->Cell(r, 7).Text()};
            if (differences.count(key))
                shown[key] = shownNumber(w.ldgCheck->Cell(r, 15).Text()) -
                             shownNumber(w.ldgCheck->Cell(r, 16).Text());
        }
    });
    MainDo().Show(1);
    EXPECT_EQ(shown, differences);

    auto rs = sql("Select FMinus From ICInvBackup Where FInterID=" + std::to_string(id) +
                  " And FMinus<>0 Order By FMinus");
    std::vector<double> minus;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
        minus.push_back(host::Val(rs->Fields(0L).Value()));
    EXPECT_EQ(minus, (std::vector<double>{-1, 2, 3}));
}

} // namespace
