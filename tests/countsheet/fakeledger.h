#pragma once

#include "countsheet/countsheetledger.h"
#include "host/core/hosterror.h"

#include <map>

// A ledger face that records what the engine sets on it.
class FakeLedger : public CountSheetLedger
{
public:
    struct Column
    {
        double width = 0;
        bool hidden = false;
        long quantityMark = 0;
    };

    long FaceRows() const override { return rows; }
    void SetFaceCols(long count) override
    {
        cols = count;
        for (long i = 1; i <= count; ++i)
            columns[i];
    }
    long FaceCols() const override { return cols; }
    double ColWidth(long col) const override { return column(col).width; }
    void SetColWidth(long col, long width) override
    {
        columns.at(col).width = static_cast<double>(width);
    }
    void SetColSwitch(long col, long index, bool on) override
    {
        if (index == 16)
            columns.at(col).hidden = on;
    }
    void SetColQuantityMark(long col, long mark) override { columns.at(col).quantityMark = mark; }

    const Column &column(long col) const
    {
        if (col < 1 || col > cols)
            throw host::HostError("No column " + std::to_string(col));
        return columns.at(col);
    }

    long rows = 0;
    long cols = 0;
    std::map<long, Column> columns;
};
