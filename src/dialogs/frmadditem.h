#pragma once

#include "host/core/variant.h"
#include "host/ui/form/form.h"

#include <functional>
#include <string>

namespace host::ui {
struct CellRefusal;
class CommandButton;
class DatePicker;
class Label;
class PictureBox;
class SpreadGrid;
class TextBox;
} // namespace host::ui

// The add-line window: the user enters an item, its stock, stock place, batch, shelf life,
// auxiliary property and quantities, and Add or OK saves the line into the current count
// process (PubVariant::SaveAddItem). Add keeps the window open for the next line, OK closes it.
// The opener may preset the stock in m_StockID; it is used by the save without being shown.
class frmAddItem : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmAddItem(QWidget *parent = nullptr);
    ~frmAddItem() override;

    long m_StockID = 0;

    // The item check of the typed code: true when an item was found and set up. Cancel is set
    // when the user chooses to type the code again.
    bool CheckAppend(bool &Cancel);
    // Tests the entry and saves the line; the save's result, false when a test fails.
    bool AppendItem();

    void cmdADD_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtNumber_KeyDown(int &KeyCode, int Shift);
    void txtNumber_Validate(bool &Cancel);
    void txtUnitName_KeyDown(int &KeyCode, int Shift);
    void txtUnitName_KeyPress(int &KeyAscii);
    void txtStockNumber_KeyDown(int &KeyCode, int Shift);
    void txtStockNumber_Validate(bool &Cancel);
    void txtSPNumber_KeyDown(int &KeyCode, int Shift);
    void txtSPNumber_Validate(bool &Cancel);
    void txtBatchNo_KeyDown(int &KeyCode, int Shift);
    void txtAuxPropName_KeyDown(int &KeyCode, int Shift);
    void txtAuxPropName_Validate(bool &Cancel);
    void txtAuxPropName_GotFocus();
    void txtAuxPropName_LostFocus();
    bool ValidateStock();
    bool ValidateStockPlace(bool &Cancel);
    void ShowAuxPropLookup();

    host::ui::Label *Label4, *Label1, *Label2, *lblMTO, *Label3, *Label16, *Label15, *Label12,
        *Label11, *Label13, *Label14, *Label7, *Label10, *Label8, *Label9, *Label5, *Label6,
        *lblQty;
    host::ui::TextBox *txtNumber, *txtName, *txtModel, *txtMtoNo, *txtUnitName, *txtSecUnitName,
        *txtAuxPropName, *txtStockNumber, *txtStockName, *txtSPNumber, *txtSPName, *txtBatchNo,
        *txtNote;
    host::ui::CommandButton *cmdItem, *cmdSecUnit, *cmdAuxProp, *cmdStockNumber, *cmdSPNumber,
        *cmdBatchNo, *cmdADD, *cmdOk, *cmdCancel;
    host::ui::PictureBox *picSecQty, *picAdjQty, *picKFPeriod, *picQty;
    host::ui::SpreadGrid *grdSecQty, *grdAdjQty, *grdKFPeriod, *grdQty;
    host::ui::DatePicker *dtpKFDate;

    // The line being entered.
    long itemId() const { return m_ItemID; }
    long unitId() const { return m_UnitID; }
    long stockPlaceId() const { return m_SPID; }
    long auxPropId() const { return m_AuxPropID; }
    double coefficient() const { return m_Coefficient; }

protected:
    void Form_Load() override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_KeyPress(int &KeyAscii) override;

private:
    // A field of the item that is being set up, by name.
    using ItemField = std::function<host::Variant(const char *)>;

    // The box, cell or date picker that holds the widget, or nothing.
    static QWidget *entryOf(QWidget *widget);
    // Whether Enter or Tab stops at the widget: boxes and cells the item does not use are
    // passed over, and for Enter the lookup buttons too.
    bool takesEntry(QWidget &widget, bool pastLookupButtons) const;
    void moveOn(bool forward, bool pastLookupButtons);
    void createControls();
    void placeControls(bool planTracking);
    void wireEvents();
    void InitCaptions();
    // Sets the window up from an item; previousItem is the item before.
    void setUpItem(const ItemField &field, long previousItem);
    void clearItem(bool emptyCode);
    void clearAuxProp();
    void setLook(host::ui::TextBox &box, long color);
    void setCellLook(host::ui::SpreadGrid &grid, long color);
    host::Variant cellValue(host::ui::SpreadGrid &grid) const;
    void setCellValue(host::ui::SpreadGrid &grid, double value);
    void setCellLocked(host::ui::SpreadGrid &grid, bool locked);
    void refuse(std::string_view message, long icon, QWidget &focus);
    // Says what the quantity cell beside the label takes, after it refused a typed text.
    void tellRefusal(const host::ui::Label &label, const host::ui::CellRefusal &refusal);
    void showItemLookup();
    void showUnitLookup();
    void showStockLookup();
    void showStockPlaceList();
    void showBatchList();
    QString codeOf(const host::Variant &number, const host::Variant &shortNumber) const;

    long m_ItemID = 0;
    long m_PreItemID = 0;
    long m_UnitID = 0;
    long m_StoreUnitID = 0;
    long m_UnitGroupID = 0;
    double m_Coefficient = 0;
    long m_SecUnitID = 0;
    long m_SPID = 0;
    bool m_IsStockMgr = false;
    bool m_BatchManager = false;
    bool m_IsKFPeriod = false;
    long m_AuxPropID = 0;
    std::string m_AuxPropNumber;
    std::string m_AuxPropName;
    bool m_InItemLookup = false;
    bool m_InBatchLookup = false;
    bool m_refusalTold = false;
};
