#include "import/basedatadicts.h"

#include "host/db/appconnection.h"
#include "import/importsheet.h"
#include "services/appconn.h"
#include "services/modulestate.h"

namespace PubVariant {
namespace {

std::string baseDataQuery(const std::string &tableKey)
{
    const std::string n = module().gUseShortNumber ? "FNumber" : "FShortNumber";
    if (tableKey == "t_icitemSecUnit")
        return "select FSecUnitID,ltrim(rtrim(" + n + ")),FName from t_icitem where FSecUnitID > 0";
    if (tableKey == "t_icitemAuxProp")
        return "select FAuxClassID,ltrim(rtrim(" + n +
               ")),FName  from t_icitem where FAuxClassID > 0";
    if (tableKey == "t_icitemPeriod")
        return "select FSecUnitID,ltrim(rtrim(" + n +
               ")),FName from t_icitem where FIsKFPeriod > 0";
    if (tableKey == "t_stockplaceAndStock")
        return "select t1.FSPID,ltrim(rtrim(t1." + n + ")),ltrim(rtrim(t1.FName)),ltrim(rtrim(t2." +
               n +
               ")),ltrim(rtrim(t2.FName)) from t_stockplace t1, t_stock t2 where "
               "t1.FSPGroupID=t2.FSPGroupID order by fspid";
    if (tableKey == "t_icitemBatch")
        return "select fbatchmanager,ltrim(rtrim(" + n +
               ")),FName from t_icitem where "
               "fbatchmanager = 1";
    if (tableKey == "t_icitemSerial")
        return "select ISNULL(FSerialClassID,0),ltrim(rtrim(" + n +
               ")),FName from t_icitem "
               "where FISSNManage=1";
    const bool places = tableKey == "t_stockplace";
    return "select " + std::string(places ? "FSPID" : "FItemID") + ",ltrim(rtrim(" + n +
           ")),ltrim(rtrim(FName)) from " + tableKey +
           (places ? " order by fspid" : " order by fitemid");
}

// Loads rows whose key is made of the given fields, each appended through part; one key is
// reused for every row, as the tables are read whole.
template <typename Part>
void fill(host::Dictionary &dict, host::Recordset &rs, std::initializer_list<long> keyFields,
          Part part)
{
    if (rs.RecordCount() == 0)
        return;
    dict.SetLoading(true);
    dict.SetSizeHint(dict.Count() + rs.RecordCount());
    std::string key;
    for (rs.MoveFirst(); !rs.EOF(); rs.MoveNext()) {
        key.clear();
        bool first = true;
        for (const long field : keyFields) {
            if (!first)
                key += '|';
            first = false;
            part(key, rs.Fields(field).Value());
        }
        dict.SetValue(key, rs.Fields(0).Value());
    }
    dict.SetLoading(false);
}

} // namespace

void LoadBaseDataDict(host::Dictionary &dict, const std::string &tableKey)
{
    const auto rs = appConn().Execute(baseDataQuery(tableKey));
    if (tableKey == "t_stockplaceAndStock")
        fill(dict, *rs, {1, 2, 3, 4}, ImportSheet::appendTrimmed);
    else
        fill(dict, *rs, {1, 2}, ImportSheet::appendTrimmed);
}

std::shared_ptr<host::Dictionary> LoadAuxItemDict()
{
    const auto rs = appConn().Execute(
        "select FItemclassid,ltrim(rtrim(FNumber)),FName from t_AuxItem where fItemclassid > 0 ");
    auto dict = std::make_shared<host::Dictionary>();
    fill(*dict, *rs, {1, 2, 0},
         [](std::string &key, const host::Variant &v) { key += ImportSheet::cellText(v); });
    return dict;
}

} // namespace PubVariant

BaseDataDicts BaseDataDicts::load()
{
    BaseDataDicts d;
    PubVariant::LoadBaseDataDict(d.item, "t_icitem");
    PubVariant::LoadBaseDataDict(d.itemSecUnit, "t_icitemSecUnit");
    PubVariant::LoadBaseDataDict(d.itemAuxProp, "t_icitemAuxProp");
    PubVariant::LoadBaseDataDict(d.itemPeriod, "t_icitemPeriod");
    PubVariant::LoadBaseDataDict(d.stock, "t_stock");
    PubVariant::LoadBaseDataDict(d.stockPlace, "t_stockplace");
    PubVariant::LoadBaseDataDict(d.stockPlaceAndStock, "t_stockplaceAndStock");
    PubVariant::LoadBaseDataDict(d.auxItem, "t_auxitem");
    PubVariant::LoadBaseDataDict(d.measureUnit, "t_measureunit");
    PubVariant::LoadBaseDataDict(d.itemBatch, "t_icitemBatch");
    PubVariant::LoadBaseDataDict(d.itemSerial, "t_icitemSerial");
    d.auxItemClass = PubVariant::LoadAuxItemDict();
    return d;
}
