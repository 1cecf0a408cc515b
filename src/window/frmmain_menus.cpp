// The window's menu bar and tool bar: what each offers, in which mode, under which caption,
// and which handler a click runs.
#include "window/frmmain.h"

#include "countsheet/countsheetstate.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/langtext.h"
#include "services/mparse.h"
#include "services/trystep.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

using Handler = void (frmMain::*)();
using Item = QAction *frmMain::*;

enum class Kind
{
    Menu,
    SubMenu,
    EndSubMenu,
    Command,
    Separator
};

struct MenuDef
{
    Kind kind;
    Item item;
    const char *caption;
    QKeyCombination key;
    Handler handler;
    bool checkable;
};

constexpr QKeyCombination kNoKey{};

// In menu order; the captions are also the order in which InitCaptions writes them.
const MenuDef kMenus[] = {
    {Kind::Menu, &frmMain::mnuFile, "文件(&F)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFSave, "保存(&S)", Qt::CTRL | Qt::Key_S, &frmMain::mnuFSave_Click,
     false},
    {Kind::Command, &frmMain::mnuFOutBill, "输出盘盈单据(&T)", Qt::CTRL | Qt::Key_O,
     &frmMain::mnuFOutBill_Click, false},
    {Kind::Command, &frmMain::mnuFOutLossBill, "输出盘亏单据(&L)", Qt::CTRL | Qt::Key_L,
     &frmMain::mnuFOutLossBill_Click, false},
    {Kind::Separator, &frmMain::mnuFSpace, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFPrint, "打印(&P)...", Qt::CTRL | Qt::Key_P,
     &frmMain::mnuFPrint_Click, false},
    {Kind::Command, &frmMain::mnuFPrintPreview, "打印预览(&V)", kNoKey,
     &frmMain::mnuFPrintPreview_Click, false},
    {Kind::Command, &frmMain::mnuFPrintSetup, "打印设置(&R)...", kNoKey,
     &frmMain::mnuFPrintSetup_Click, false},
    {Kind::Separator, &frmMain::mnuFStep, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFileOut, "引出(&O)...", kNoKey, &frmMain::mnuFileOut_Click, false},
    {Kind::Command, &frmMain::mnuFileIn, "引入(&I)...", kNoKey, &frmMain::mnuFileIn_Click, false},
    {Kind::Separator, &frmMain::mnuS2, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFExit, "退出(&X)", kNoKey, &frmMain::mnuFExit_Click, false},

    {Kind::Menu, &frmMain::mnuEdit, "编辑(&E)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuEdit_Find, "搜索(&F)...", QKeyCombination(Qt::Key_F3),
     &frmMain::mnuEdit_Find_Click, false},
    {Kind::Command, &frmMain::mnuEdit_Sort, "排序(&S)...", QKeyCombination(Qt::Key_F6),
     &frmMain::mnuEdit_Sort_Click, false},
    {Kind::Command, &frmMain::mnuEdit_Filter, "过滤(&L)...", QKeyCombination(Qt::Key_F9),
     &frmMain::mnuEdit_Filter_Click, false},
    {Kind::Separator, &frmMain::mnuASItem, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuAddItem, "添加物料(&A)", Qt::CTRL | Qt::Key_A,
     &frmMain::mnuAddItem_Click, false},
    {Kind::Command, &frmMain::mnuSubItem, "删除物料(&D)", kNoKey, &frmMain::mnuSubItem_Click,
     false},
    {Kind::Separator, &frmMain::mnuEdit_SS, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuEdit_DeleteRow, "清除数据(&D)", Qt::SHIFT | Qt::Key_Delete,
     nullptr, false},

    {Kind::Menu, &frmMain::mnuView, "查看(&V)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuVSelectBill, "选择单据(&B)", Qt::CTRL | Qt::Key_F7,
     &frmMain::mnuVSelectBill_Click, false},
    {Kind::Separator, &frmMain::mnuVSpace, nullptr, kNoKey, nullptr, false},
    {Kind::SubMenu, &frmMain::mnuVSelectData, "显示数据(&D)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuVSelectData_All, "全部数据(&A)", QKeyCombination(Qt::Key_F11),
     &frmMain::mnuVSelectData_All_Click, true},
    {Kind::Command, &frmMain::mnuVSelectData_Checked, "盘点数据(&P)", QKeyCombination(Qt::Key_F12),
     &frmMain::mnuVSelectData_Checked_Click, true},
    {Kind::EndSubMenu, nullptr, nullptr, kNoKey, nullptr, false},
    {Kind::Separator, &frmMain::mnuVSS, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuToolBar, "工具条(&O)", kNoKey, &frmMain::mnuToolBar_Click, true},
    {Kind::Command, &frmMain::mnuStatusBar, "状态条(&S)", kNoKey, &frmMain::mnuStatusBar_Click,
     true},
    {Kind::Command, &frmMain::mnuViewLable, "工具条标签(&L)", kNoKey, &frmMain::mnuViewLable_Click,
     true},
    {Kind::Separator, &frmMain::mnuEditSp, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuViewShowDeleted, "禁用物料参与盘点(&W)", kNoKey,
     &frmMain::mnuViewShowDeleted_Click, true},
    {Kind::Command, &frmMain::mnuShowCloseProc, "显示已关闭的盘点方案(&C)", kNoKey,
     &frmMain::mnuShowCloseProc_Click, true},
    {Kind::Command, &frmMain::mnuAlertSame, "重复添加时提示(&A)", kNoKey,
     &frmMain::mnuAlertSame_Click, true},
    {Kind::Separator, &frmMain::mnusp, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuView_Refresh, "刷新", QKeyCombination(Qt::Key_F5),
     &frmMain::mnuView_Refresh_Click, false},

    {Kind::Menu, &frmMain::mnuFormat, "格式(&O)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFormatPageSetup, "页面设置(&G)...", kNoKey,
     &frmMain::mnuFormatPageSetup_Click, false},
    {Kind::Command, &frmMain::mnuFormatTitleFont, "标题字体(&T)...", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFormatFont, "表格字体(&F)...", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuFormatResetColWidth, "恢复预设列宽(&W)", kNoKey, nullptr, false},

    {Kind::Menu, &frmMain::mnuHelp, "帮助(&H)", kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuHContents, "帮助目录(&C)   F1", kNoKey,
     &frmMain::mnuHContents_Click, false},
    {Kind::Separator, &frmMain::mnuHSep1, nullptr, kNoKey, nullptr, false},
    {Kind::Command, &frmMain::mnuHAbout, "关于Hembrel(&A)...", kNoKey, nullptr, false},
};

// The column chooser's item sits in the View menu before the others; InitCaptions names it
// last.
const MenuDef kViewHide{Kind::Command,        &frmMain::mnuVViewHide,       "显示/隐藏列(&H)",
                        Qt::CTRL | Qt::Key_H, &frmMain::mnuVViewHide_Click, false};

struct ToolDef
{
    const char *key;
    const char *caption;
    const char *hint;
    Handler handler;
    QStyle::StandardPixmap icon;
};

// In the order of the bar; AllData and CheckedData sit on the pop-up band that Show opens.
const ToolDef kTools[] = {
    {"SelectBill", "选单", "选择盘点期间的单据", &frmMain::mnuVSelectBill_Click,
     QStyle::SP_FileDialogDetailedView},
    {"Save", "保存", "保存", &frmMain::mnuFSave_Click, QStyle::SP_DialogSaveButton},
    {"Delete", "清除", "清除(Del)", nullptr, QStyle::SP_DialogResetButton},
    {"AddItem", "添加", "添加物料", &frmMain::mnuAddItem_Click, QStyle::SP_FileIcon},
    {"SubItem", "删除", "删除物料", &frmMain::mnuSubItem_Click, QStyle::SP_TrashIcon},
    {"OutProBill", "盘盈单", "输出盘盈单单据", &frmMain::mnuFOutBill_Click, QStyle::SP_ArrowUp},
    {"OutLossBill", "盘亏单", "输出盘亏单单据", &frmMain::mnuFOutLossBill_Click,
     QStyle::SP_ArrowDown},
    {"Export", "引出", "引出", &frmMain::mnuFileOut_Click, QStyle::SP_ArrowRight},
    {"Import", "引入", "引入", &frmMain::mnuFileIn_Click, QStyle::SP_ArrowLeft},
    {"Show", "显示", "显示", nullptr, QStyle::SP_FileDialogListView},
    {"AllData", "全部数据", "全部数据", &frmMain::mnuVSelectData_All_Click,
     QStyle::SP_FileDialogListView},
    {"CheckedData", "盘点数据", "盘点数据", &frmMain::mnuVSelectData_Checked_Click,
     QStyle::SP_DialogApplyButton},
    {"Find", "搜索", "搜索", &frmMain::mnuEdit_Find_Click, QStyle::SP_FileDialogContentsView},
    {"Sort", "排序", "排序", &frmMain::mnuEdit_Sort_Click,
     QStyle::SP_ToolBarVerticalExtensionButton},
    {"Filter", "过滤", "过滤", &frmMain::mnuEdit_Filter_Click, QStyle::SP_FileDialogInfoView},
    {"PrintPreview", "预览", "预览", &frmMain::mnuFPrintPreview_Click, QStyle::SP_FileDialogStart},
    {"Print", "打印", "打印", &frmMain::mnuFPrint_Click, QStyle::SP_ComputerIcon},
    {"Exit", "退出", "退出", &frmMain::mnuFExit_Click, QStyle::SP_DialogCloseButton},
};

const QString kMainBand = QStringLiteral("barRpt");
const QString kPopupBand = QStringLiteral("SubpopBar");

bool onPopup(std::string_view key)
{
    return key == "AllData" || key == "CheckedData";
}

// What a mode does to an item: leave its state, show it, hide it, show it disabled.
enum Vis : char
{
    K,
    S,
    H,
    D
};

struct ModeVis
{
    const char *name; // a tool key, or nullptr for a menu item
    Item item;
    Vis report, print, input;
};

const ModeVis kModeVisibility[] = {
    {nullptr, &frmMain::mnuFSave, K, K, S},
    {nullptr, &frmMain::mnuFOutBill, S, H, H},
    {nullptr, &frmMain::mnuFOutLossBill, S, H, H},
    {nullptr, &frmMain::mnuFSpace, S, H, H},
    {nullptr, &frmMain::mnuFPrint, S, S, H},
    {nullptr, &frmMain::mnuFPrintPreview, S, S, H},
    {nullptr, &frmMain::mnuFPrintSetup, S, S, H},
    {nullptr, &frmMain::mnuFStep, S, H, H},
    {nullptr, &frmMain::mnuFileOut, S, H, S},
    {nullptr, &frmMain::mnuFileIn, H, H, S},
    {nullptr, &frmMain::mnuS2, K, K, S},
    {nullptr, &frmMain::mnuASItem, H, H, S},
    {nullptr, &frmMain::mnuAddItem, H, H, S},
    {nullptr, &frmMain::mnuSubItem, H, H, S},
    {nullptr, &frmMain::mnuEdit_SS, H, H, H},
    {nullptr, &frmMain::mnuEdit_DeleteRow, H, H, H},
    {nullptr, &frmMain::mnuVViewHide, K, K, H},
    {nullptr, &frmMain::mnuVSelectBill, H, H, D},
    {nullptr, &frmMain::mnuVSpace, H, H, S},
    {nullptr, &frmMain::mnuVSelectData, S, S, H},
    {nullptr, &frmMain::mnuVSS, S, H, H},
    {nullptr, &frmMain::mnuAlertSame, H, H, S},
    {"SelectBill", nullptr, H, H, D},
    {"Save", nullptr, H, H, S},
    {"Delete", nullptr, H, H, H},
    {"AddItem", nullptr, H, H, S},
    {"SubItem", nullptr, H, H, S},
    {"OutProBill", nullptr, S, H, H},
    {"OutLossBill", nullptr, S, H, H},
    {"Export", nullptr, H, H, S},
    {"Import", nullptr, H, H, S},
    {"Show", nullptr, S, H, H},
    {"PrintPreview", nullptr, S, S, H},
    {"Print", nullptr, S, S, H},
};

template <typename Control> void applyVis(Control &control, Vis vis)
{
    if (vis == K)
        return;
    control.setVisible(vis != H);
    if (vis == D)
        control.setEnabled(false);
}

} // namespace

void frmMain::createMenus()
{
    QMenu *current = nullptr;
    QMenu *parentMenu = nullptr;
    auto addCommand = [&](const MenuDef &def) {
        QAction *action = current->addAction(QString::fromUtf8(def.caption));
        this->*def.item = action;
        if (def.key != kNoKey)
            action->setShortcut(QKeySequence(def.key));
        action->setCheckable(def.checkable);
        if (!def.handler)
            return;
        const Handler handler = def.handler;
        connect(action, &QAction::triggered, this, [this, action, handler] {
            // The handlers set their own check marks, as the menus of the module's design
            // do; the toggle the menu made on the click is taken back first.
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            runCommand([&] { (this->*handler)(); });
        });
    };
    for (const MenuDef &def : kMenus) {
        switch (def.kind) {
        case Kind::Menu:
            current = menuBar()->addMenu(QString::fromUtf8(def.caption));
            this->*def.item = current->menuAction();
            if (def.item == &frmMain::mnuView)
                addCommand(kViewHide);
            break;
        case Kind::SubMenu:
            parentMenu = current;
            current = current->addMenu(QString::fromUtf8(def.caption));
            this->*def.item = current->menuAction();
            break;
        case Kind::EndSubMenu:
            current = parentMenu;
            break;
        case Kind::Separator:
            this->*def.item = current->addSeparator();
            break;
        case Kind::Command:
            addCommand(def);
            break;
        }
    }
    // The design state: the data-view item for all lines checked; saving, the format menu,
    // the line-clearing item and the about item out of sight until a mode shows them.
    mnuVSelectData_All->setChecked(true);
    for (QAction *hidden : {mnuFSave, mnuFormat, mnuEdit_SS, mnuEdit_DeleteRow,
                            mnuFormatResetColWidth, mnuHSep1, mnuHAbout})
        hidden->setVisible(false);
    mnuFormat->setEnabled(false);
}

void frmMain::buildToolBar()
{
    // The style draws each icon from its image files; every window shares the ones drawn first.
    static const std::vector<QIcon> icons = [this] {
        std::vector<QIcon> drawn;
        for (const ToolDef &t : kTools)
            drawn.push_back(style()->standardIcon(t.icon));
        return drawn;
    }();
    long id = 1;
    for (const ToolDef &t : kTools) {
        barlist->AddTool(id, QString::fromLatin1(t.key), QString::fromUtf8(t.caption))
            .setIcon(icons[static_cast<std::size_t>(id - 1)]);
        ++id;
    }
    barlist->Tools(QStringLiteral("Show")).setSubBand(kPopupBand);
    host::ui::ToolBand &main = barlist->AddBand(kMainBand, host::ui::ToolBand::Normal);
    host::ui::ToolBand &popup = barlist->AddBand(kPopupBand, host::ui::ToolBand::Popup);
    for (const ToolDef &t : kTools)
        barlist->placeTool(onPopup(t.key) ? popup : main, QString::fromLatin1(t.key));
    barlist->RecalcLayout();
}

void frmMain::InitCaptions()
{
    tryStep([&] { MParse::SetFormFont(*this); });
    tryStep([&] { setCaption(langText("物料盘点表")); });
    setGridCaptions();
    for (const ToolDef &t : kTools)
        tryStep(
            [&] { barlist->Tools(QString::fromLatin1(t.key)).setCaption(langText(t.caption)); });
    for (const ToolDef &t : kTools)
        tryStep([&] {
            host::ui::Tool &copy = barlist->Bands(onPopup(t.key) ? kPopupBand : kMainBand)
                                       .Tools(QString::fromLatin1(t.key));
            copy.setCaption(langText(t.caption));
            copy.setTooltipText(langText(t.hint));
        });
    for (const MenuDef &def : kMenus)
        if (def.caption)
            tryStep([&] { (this->*def.item)->setText(langText(def.caption)); });
    tryStep([&] { mnuVViewHide->setText(langText(kViewHide.caption)); });
}

void frmMain::applyModeVisibility()
{
    const long mode = countSheetState().gShowType;
    if (mode != 1 && mode != 3 && mode != 4)
        return;
    for (const ModeVis &row : kModeVisibility) {
        const Vis vis = mode == 1 ? row.report : mode == 3 ? row.print : row.input;
        if (row.item)
            applyVis(*(this->*row.item), vis);
        else
            applyVis(barlist->Tools(QString::fromLatin1(row.name)), vis);
    }
}

void frmMain::barlist_ToolClick(host::ui::Tool *Tool)
{
    if (!Tool)
        return;
    // Names compare whole and without regard to case, in the order the module has always
    // tried them.
    static const char *const order[] = {"OutProBill", "OutLossBill", "PrintPreview", "Print",
                                        "SelectBill", "AllData",     "CheckedData",  "Find",
                                        "Sort",       "Filter",      "Exit",         "AddItem",
                                        "SubItem",    "Import",      "Export",       "Save"};
    const QString name = Tool->Name().toUpper();
    for (const char *candidate : order) {
        if (name != QString::fromLatin1(candidate).toUpper())
            continue;
        const auto def = std::find_if(std::begin(kTools), std::end(kTools), [&](const ToolDef &t) {
            return std::string_view(t.key) == candidate;
        });
        (this->*def->handler)();
        return;
    }
}

void frmMain::barlist_CancelDefault(bool &Cancel)
{
    Cancel = true;
}
