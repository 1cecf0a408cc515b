#pragma once

#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/modal/scriptedmodals.h"
#include "window/frmmain.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The demo company on a fresh in-memory database, seen by its stock manager, with settings,
// state and log in a folder of the test's own. Message boxes and modal windows are scripted.
class CountWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Backs up the book stock of every stock into a new count process; its id.
    long backUp();
    // The window of a mode, loaded and shown as the count-sheet command shows it.
    std::unique_ptr<frmMain> open(long showType);
    // What a user does: makes the cell current and types the text into it.
    static void type(frmMain &window, int col, int row, const QString &text);
    // A text typed into a grid's cell whose editor is left open.
    static void typeWithoutEnter(host::ui::SpreadGrid &grid, int col, int row, const QString &text);
    // The first data row of the entry grid for which the test holds.
    static int findRow(const frmMain &window, const std::function<bool(int row)> &test);
    static double cell(const frmMain &window, int col, int row);

    std::shared_ptr<host::Recordset> sql(const std::string &text);
    double number(const std::string &query);
    // The first item of the process's lines whose item (i) and line unit (u) fit the condition,
    // made to keep the decimals, its lines given the assignments.
    long prepareItem(long proc, const std::string &condition, int decimals,
                     const std::string &assignments);
    // " Where ..." of the count line of an entry-grid row, in the process shown.
    static std::string lineKey(const frmMain &window, int row);
    // Posts an audited bill after the snapshot into the line of an entry-grid row: a receipt or
    // an issue of the quantities in the base and the second unit.
    void postBill(const frmMain &window, int row, bool receipt, double qty, double secQty);
    // Selects for the row every bill the select-bills window lists, as a user clicks their
    // marks, and runs Calculate; how many bill lines were listed. The process must have its
    // backup type.
    int selectAllBills(frmMain &window, int row);
    // The lines the next display window shows, column by column, once it has been shown.
    void captureErrorList();

    std::unique_ptr<QTemporaryDir> m_home;
    std::shared_ptr<host::AppConnection> m_db;
    std::unique_ptr<host::ui::ScriptedModals> m_modals;
    QStringList m_errorMessages;
    QStringList m_errorItems;
    QStringList m_errorNames;
    bool m_errorReasonsSeen = false;
};
