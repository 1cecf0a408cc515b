// Layout, closing, and the view settings the window keeps between openings.
#include "window/frmmain.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/core/settingsstore.h"
#include "host/core/text.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/controls/titleband.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/modulestate.h"
#include "services/trystep.h"
#include "window/sheetwindowstate.h"

#include <QAction>
#include <QApplication>

#include <algorithm>
#include <optional>

namespace {

host::SettingsStore &ini()
{
    return *countSheetState().gIni;
}

std::string ledgerWidthKey(int col)
{
    return "ldgCheck" + std::to_string(countSheetState().gShowType) + "-" + std::to_string(col);
}

std::string hiddenKey(int col)
{
    return "ICItemColHide" + std::to_string(countSheetState().gShowType) + std::to_string(col);
}

// A width as stored; nothing when the value is missing or no number, so that the column keeps
// its width rather than collapsing (and its 0 reaching the shared template on closing).
std::optional<double> storedWidth(const host::Variant &value)
{
    return host::parseNumber(host::CStr(value));
}

// A stored width that no screen shows (negative, zero, a mistyped 10^14) leaves the column as
// it was, and a sliver is widened to a readable column: the file is the user's to edit, the
// template everyone's.
std::optional<double> showableWidth(std::optional<double> width)
{
    return width ? host::ui::readableColumnWidth(*width) : std::nullopt;
}

// A width as kept in the file: as it is read back, so a sliver never waits there.
double keptWidth(double width)
{
    return host::ui::readableColumnWidth(width).value_or(width);
}

} // namespace

void frmMain::Form_Resize()
{
    ArrangeControls();
}

void frmMain::PIC1_Resize()
{
    ArrangeControls();
}

void frmMain::ArrangeControls()
{
    tryStep([&] { labCheckDate->setLeft((ScaleWidth() - labCheckDate->Width()) / 2); });
    tryStep([&] {
        if (lstStock->Left() + lstStock->Width() > labCheckDate->Left())
            labCheckDate->setLeft(lstStock->Left() + lstStock->Width() + 100);
    });
    tryStep([&] {
        const int height =
            ScaleHeight() - (titBar->Height() + (bShowStatBar ? staBar->Height() : 0));
        if (height >= 0)
            PIC1->Move(0, titBar->Height(), ScaleWidth(), height);
    });
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    tryStep([&] { ldgCheck->Move(0, 0, PIC1->ScaleWidth(), PIC1->ScaleHeight()); });
    tryStep([&] { vsCheck->Move(0, 0, PIC1->ScaleWidth(), PIC1->ScaleHeight()); });
}

void frmMain::Form_Unload(bool &Cancel)
{
    CountSheetState &sheet = countSheetState();
    // A count still in a cell's editor is one of the changes the question is about; a text the
    // cell refuses keeps the window open on it.
    if (!host::ui::endPendingEdit(*this)) {
        Cancel = true;
        return;
    }
    if (sheet.gShowType == 4) {
        // A save that failed keeps the window, so no counted quantity is lost unless the
        // user answers No.
        if (SaveStockData(true) == SaveResult::Failed) {
            Cancel = true;
            return;
        }
    } else {
        tryStep([&] { m_mainDo->SaveColWidth(); });
    }
    tryStep([&] { LoadSaveGridColWidth(*vsCheck, true); });
    tryStep([&] { SaveLdgColWidth(); });
    tryStep([&] {
        ini().write("ZarvoStockCheck", "bShowtoolbar", bShowtoolbar);
        ini().write("ZarvoStockCheck", "bShowToolBarLable", bShowToolBarLable);
        ini().write("ZarvoStockCheck", "bShowStatBar", bShowStatBar);
        ini().write("ZarvoStockCheck", "bShowDeleted", mnuViewShowDeleted->isChecked());
    });
    tryStep([&] { SaveLedgerColHide(); });
    tryStep([&] { ini().sync(); });
    mWarnedProcs.reset();
    sheet.gFilterDict.reset();
    sheetWindowState().gColTypeDict.reset();
}

void frmMain::LoadSaveGridColWidth(host::ui::SpreadGrid &grid, bool save)
{
    const int cols = grid.MaxCols();
    if (save) {
        for (int c = 1; c <= cols; ++c)
            tryStep([&] {
                ini().write("ZARVOSTOCKPRICE", "Col" + std::to_string(c),
                            keptWidth(grid.ColWidth(c)));
            });
        return;
    }
    tryStep([&] {
        grid.setBlockMode(true);
        grid.setRow(-1);
        grid.setRow2(-1);
        grid.setCol(EntryCol::Note);
        grid.setCol2(EntryCol::Note);
        grid.setColHidden(false);
        grid.setCol(EntryCol::Coefficient);
        grid.setCol2(cols);
        grid.setColHidden(true);
        grid.setBlockMode(false);
    });
    const bool mtoMode = module().gMtoPlanMode != 0;
    for (int c = 1; c <= cols; ++c) {
        tryStep([&] {
            if (c > EntryCol::Note) {
                grid.setColWidth(c, 0);
                return;
            }
            auto w = storedWidth(ini().read("ZARVOSTOCKPRICE", "Col" + std::to_string(c), 1200L));
            if (w && c == EntryCol::MtoNo && mtoMode)
                w = std::max(*w, 1200.0);
            else if (w && c >= EntryCol::SecQty && *w < 10)
                w = 1200;
            if (const auto width = showableWidth(w))
                grid.setColWidth(c, *width);
        });
    }
}

void frmMain::LoadLdgColWidth()
{
    const int cols = ldgCheck->Face().Cols();
    for (int n = 1; n <= cols; ++n) {
        tryStep([&] {
            if (const auto width = showableWidth(
                    storedWidth(ini().read("ZARVOSTOCKPRICE", ledgerWidthKey(n), ""))))
                ldgCheck->Col(n).setWidth(*width);
        });
    }
}

void frmMain::SaveLdgColWidth()
{
    const int cols = ldgCheck->Face().Cols();
    for (int n = 1; n <= cols; ++n)
        tryStep([&] {
            ini().write(
                "ZARVOSTOCKPRICE", ledgerWidthKey(n),
                static_cast<double>(static_cast<float>(keptWidth(ldgCheck->Col(n).Width()))));
        });
}

void frmMain::LoadLedgerColHide()
{
    const int cols = ldgCheck->Face().Cols();
    for (int c = 1; c <= cols; ++c) {
        // The stock column always shows: a count over several stocks lists an item once per
        // stock, and the book must say which.
        const bool hidden = c != 1 && host::CBool(ini().read("ZarvoStockCheck", hiddenKey(c), 0L));
        ldgCheck->Col(c).setSwitch(host::ui::LedgerGrid::HiddenSwitch, hidden);
    }
}

void frmMain::SaveLedgerColHide()
{
    const int cols = ldgCheck->Face().Cols();
    for (int c = 1; c <= cols; ++c)
        ini().write("ZarvoStockCheck", hiddenKey(c),
                    ldgCheck->Col(c).Switch(host::ui::LedgerGrid::HiddenSwitch) ? "1" : "0");
}

void frmMain::SetToolbarLabels()
{
    host::ui::ToolBand &band = barlist->Bands(QStringLiteral("barRpt"));
    for (int i = 0; i < band.ToolCount(); ++i)
        band.toolAt(i).setStyle(bShowToolBarLable ? host::ui::Tool::CaptionBesideIcon
                                                  : host::ui::Tool::IconOnly);
    barlist->RecalcLayout();
}
