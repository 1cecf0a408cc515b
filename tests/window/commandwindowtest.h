#pragma once

#include "host/db/appconnection.h"
#include "host/ui/modal/scriptedmodals.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class frmMain;

// The demo company in a database of the test's own, with one count process backed up over
// every stock, and the user's settings, state and log in folders of the test's own. The
// operator is the stock manager (16).
class CommandWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The count-sheet window of a mode, loaded on the process as a user opens it.
    std::unique_ptr<frmMain> openWindow(long showType);

    std::shared_ptr<host::Recordset> sql(const std::string &text);
    double number(const std::string &query);
    long count(const std::string &query);
    std::vector<std::string> messages() const;
    void setOption(const std::string &key, const std::string &value);

    QTemporaryDir m_home;
    std::shared_ptr<host::AppConnection> m_db;
    host::ui::ScriptedModals m_modals;
    long m_proc = 0;
};
