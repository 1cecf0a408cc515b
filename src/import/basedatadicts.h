#pragma once

#include "host/core/dictionary.h"

#include <memory>
#include <string>

namespace PubVariant {

// Fills dict from the base-data table named by tableKey ("t_icitem", "t_icitemBatch",
// "t_stockplaceAndStock", ...): key "number|name" (trimmed; four parts for places within stocks),
// value the id or flag the key's query selects. Numbers are FNumber with short numbers in use,
// else FShortNumber. A later row with the same key replaces an earlier one.
void LoadBaseDataDict(host::Dictionary &dict, const std::string &tableKey);

// Auxiliary items under "number|name|class id", the value the class id.
std::shared_ptr<host::Dictionary> LoadAuxItemDict();

} // namespace PubVariant

// The base data an import checks its rows against, loaded once per run.
struct BaseDataDicts
{
    host::Dictionary item;
    host::Dictionary itemSecUnit;
    host::Dictionary itemAuxProp;
    host::Dictionary itemPeriod;
    host::Dictionary stock;
    host::Dictionary stockPlace;
    host::Dictionary stockPlaceAndStock;
    host::Dictionary auxItem;
    host::Dictionary measureUnit;
    host::Dictionary itemBatch;
    host::Dictionary itemSerial;
    std::shared_ptr<host::Dictionary> auxItemClass;

    // Every dictionary, in the order the import loads them.
    static BaseDataDicts load();
};
