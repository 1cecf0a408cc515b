#pragma once

#include "host/core/hostobject.h"

#include <memory>
#include <string_view>

namespace host {

class Dictionary;

// The host's item auxiliary-property check ("ZarvoMItemAux.ClsItem").
class ItemAuxCheck : public HostObject
{
public:
    // dict holds "FItemID" (the item) and "FNumber" (a code typed for it); "sDSN" is the host
    // context string. Returns "FNumber", "FName" and "FItemID" of the auxiliary property of that
    // code in the item's auxiliary class; "FName" is empty when the code is none of the item's.
    virtual std::shared_ptr<Dictionary> CheckItemAuxNum(Dictionary &dict);

    static constexpr std::string_view ProgId = "ZarvoMItemAux.ClsItem";
};

} // namespace host
