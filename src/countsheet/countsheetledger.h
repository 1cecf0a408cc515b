#pragma once

// What the count-sheet engine asks of the ledger view that shows the sheet in check and print
// mode: its column layout, the column widths and its row count. The window hands the engine
// its ledger through MainDo::Ldg; columns are numbered from 1.
class CountSheetLedger
{
public:
    virtual ~CountSheetLedger() = default;

    // Rows of the face, the two title rows (and in check mode the totals row) included.
    virtual long FaceRows() const = 0;
    virtual void SetFaceCols(long cols) = 0;
    virtual long FaceCols() const = 0;
    // Width in the ledger's own unit; an error for a column the ledger does not have.
    virtual double ColWidth(long col) const = 0;
    virtual void SetColWidth(long col, long width) = 0;
    // Switch 16 of a column: on hides it.
    virtual void SetColSwitch(long col, long index, bool on) = 0;
    // Marks a column as holding quantities.
    virtual void SetColQuantityMark(long col, long mark) = 0;

protected:
    CountSheetLedger() = default;
    CountSheetLedger(const CountSheetLedger &) = default;
    CountSheetLedger &operator=(const CountSheetLedger &) = default;
};
