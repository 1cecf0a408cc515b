#pragma once

#include "host/components/hostcomponents.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/recordset/recordset.h"
#include "host/props/shareprops.h"
#include "host/ui/modal/scriptedmodals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A fresh module on an in-memory database holding the host tables the count sheet reads, two
// stocks, five items and two count processes:
//
//   process 1: line A  item 1 (box of 12)  stock 1, place 1, batch "B1"      gain 6
//              line B  item 2 (2nd unit)   stock 2, no place, shelf life     loss 2 (2nd: loss 1)
//              line C  item 3 (deleted)    stock 1
//              line D  item 5 (unit with coefficient 0) stock 1              gain 3
//   process 2: one line of item 1
//   item 4 has no line anywhere.
class CountSheetDbTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs one batch; the recordset it returns.
    std::shared_ptr<host::Recordset> sql(const std::string &text);
    // The first field of the first row, as a double.
    double number(const std::string &text);
    std::string text(const std::string &query);
    // Row count of a query.
    long count(const std::string &query);

    // The texts of the messages shown so far, either form.
    std::vector<std::string> messages() const;

    std::shared_ptr<host::AppConnection> m_db;
    host::ui::ScriptedModals m_modals;
};
