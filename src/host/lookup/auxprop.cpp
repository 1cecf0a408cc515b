#include "host/lookup/auxprop.h"

#include "host/core/dictionary.h"
#include "host/core/vector.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/lang/hosttext.h"
#include "host/lookup/glview.h"
#include "host/lookup/lookupwindow.h"
#include "host/ui/modal/modalservices.h"

namespace host {

void AuxPropPicker::Show()
{
    m_returnOK = false;
    m_choice.reset();
    const auto rows = hostConnection()->Execute(
        "select a.FItemID,a.FNumber,a.FName from t_AuxItem a inner join t_ICItem i on "
        "a.FItemClassID=i.FAuxClassID where a.FDeleted<>1 and i.FItemID=" +
        std::to_string(ItemID) + " order by a.FNumber");
    LookupWindow window(hostCaption("辅助属性"), rows, LookupWindow::codeAndName("FNumber"),
                        QString());
    ui::modals().showModal(window);
    const auto chosen = window.chosen();
    if (!chosen)
        return;
    auto entry = std::make_shared<Dictionary>();
    for (const char *field : {"FNumber", "FName", "FItemID"})
        entry->SetValue(field, chosen->Properties(field));
    m_choice = std::make_shared<Vector>();
    m_choice->Add(Variant(std::static_pointer_cast<HostObject>(entry)));
    m_returnOK = true;
}

} // namespace host
