#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string_view>

namespace host {

class Vector;

// The host's auxiliary-property picker ("ZarvoAuxProp.ClsBase"): lists the auxiliary properties
// of the class the item ItemID names in its FAuxClassID and lets the user pick one. After Show,
// ReturnOK tells whether a row was picked and ReturnAuxVect holds one dictionary with
// "FNumber", "FName" and "FItemID" of the choice.
class AuxPropPicker : public HostObject
{
public:
    long itemclass = 4;
    long AuxFilter = 0;
    bool bAuxMultiSelect = false;
    long ItemID = 0;

    virtual void Show();

    bool ReturnOK() const { return m_returnOK; }
    bool ValidAuxVect() const { return m_returnOK && m_choice != nullptr; }
    std::shared_ptr<Vector> ReturnAuxVect() const { return m_choice; }

    static constexpr std::string_view ProgId = "ZarvoAuxProp.ClsBase";

private:
    bool m_returnOK = false;
    std::shared_ptr<Vector> m_choice;
};

} // namespace host
