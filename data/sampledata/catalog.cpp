#include "sampledata/catalog.h"

namespace sampledata::catalog {

const std::vector<UnitGroupSpec> &unitGroups()
{
    static const std::vector<UnitGroupSpec> groups{{UnitKind::Count, "数量组"},
                                                   {UnitKind::Weight, "重量组"},
                                                   {UnitKind::Length, "长度组"},
                                                   {UnitKind::Volume, "体积组"}};
    return groups;
}

const std::vector<UnitSpec> &units()
{
    static const std::vector<UnitSpec> list{
        {UnitKind::Count, "个", 1, true},         {UnitKind::Count, "台", 1, false},
        {UnitKind::Count, "盒", 12, false},       {UnitKind::Count, "箱", 24, false},
        {UnitKind::Count, "包", 100, false},      {UnitKind::Weight, "千克", 1, true},
        {UnitKind::Weight, "克", 0.001, false},   {UnitKind::Weight, "吨", 1000, false},
        {UnitKind::Length, "米", 1, true},        {UnitKind::Length, "厘米", 0.01, false},
        {UnitKind::Length, "卷", 100, false},     {UnitKind::Volume, "升", 1, true},
        {UnitKind::Volume, "毫升", 0.001, false}, {UnitKind::Volume, "桶", 20, false}};
    return list;
}

const std::vector<Family> &families()
{
    static const std::vector<Family> list{
        {"01",
         "原材料",
         "YL",
         UnitKind::Count,
         "个",
         {"盒", "箱"},
         {"不锈钢", "碳钢", "铝合金", "黄铜", "尼龙", "镀锌"},
         {"六角螺栓", "螺母", "平垫片", "弹簧垫圈", "深沟球轴承", "铆钉", "齿轮", "法兰"},
         {"M6×20", "M8×30", "M10×40", "M12×50", "6204-2RS", "6205-ZZ", "Φ20×2", "DN50"}},
        {"02",
         "电子元器件",
         "DZ",
         UnitKind::Count,
         "个",
         {"包", "盒"},
         {"贴片", "插件", "工业级", "车规级"},
         {"电阻", "电容", "二极管", "三极管", "继电器", "连接器", "晶振", "电感"},
         {"0603 10kΩ", "0805 100nF", "SOD-123", "SOT-23", "12V 10A", "2.54mm 40P", "16MHz",
          "10μH"}},
        {"03",
         "化工辅料",
         "HG",
         UnitKind::Volume,
         "升",
         {"桶"},
         {"环氧", "聚氨酯", "硅酮", "丙烯酸", "工业"},
         {"胶水", "润滑油", "清洗剂", "油漆", "稀释剂", "防锈剂", "焊锡膏", "导热硅脂"},
         {"500ml", "1L", "5L", "20L", "250g", "1kg"}},
        {"04",
         "包装材料",
         "BZ",
         UnitKind::Length,
         "米",
         {"卷"},
         {"瓦楞", "珍珠棉", "PE", "牛皮纸", "防静电"},
         {"缠绕膜", "气泡膜", "封箱胶带", "打包带", "包装纸", "标签带"},
         {"500mm", "300mm", "48mm×100m", "16mm", "1200mm"}},
        {"05",
         "产成品",
         "CP",
         UnitKind::Count,
         "台",
         {"箱"},
         {"三相异步", "永磁同步", "防爆", "高效节能"},
         {"电动机", "变频器", "水泵", "风机", "减速机", "控制柜"},
         {"YE3-90L-4", "YE3-132M-4", "2.2kW", "7.5kW", "15kW", "IP55"}}};
    return list;
}

const std::vector<StockSpec> &stocks()
{
    static const std::vector<StockSpec> list{{"原材料仓", 500, true},    {"成品仓", 500, true},
                                             {"辅料仓", 500, false},     {"半成品仓", 500, false},
                                             {"不良品仓", 20291, false}, {"华东分仓", 500, true},
                                             {"华南分仓", 500, false},   {"华北分仓", 500, false},
                                             {"西南分仓", 20293, false}, {"西北分仓", 500, false}};
    return list;
}

const std::vector<AuxClass> &auxClasses()
{
    static const std::vector<AuxClass> list{{3001, {"红色", "蓝色", "白色", "黑色"}},
                                            {3002, {"一等品", "二等品", "合格品"}}};
    return list;
}

const std::vector<NamedType> &transactionTypes()
{
    static const std::vector<NamedType> list{
        {1, "外购入库", "外購入庫", "Purchase receipt"},
        {2, "产品入库", "產品入庫", "Product receipt"},
        {5, "委外加工入库", "委外加工入庫", "Subcontract receipt"},
        {10, "其他入库", "其他入庫", "Other receipt"},
        {21, "销售出库", "銷售出庫", "Sales delivery"},
        {24, "领料单", "領料單", "Material issue"},
        {28, "委外加工出库", "委外加工出庫", "Subcontract issue"},
        {29, "其他出库", "其他出庫", "Other issue"},
        {40, "盘盈入库", "盤盈入庫", "Gain bill"},
        {41, "调拨单", "調撥單", "Stock transfer"},
        {43, "盘亏毁损", "盤虧毀損", "Loss bill"}};
    return list;
}

const NamedType &mtoChangeClass()
{
    static const NamedType type{1107011, "计划跟踪号调整单", "計畫追蹤號調整單",
                                "Plan-tracking number change"};
    return type;
}

std::string billPrefix(int tranType)
{
    switch (tranType) {
    case 1:
        return "WIN";
    case 2:
        return "CIN";
    case 5:
        return "JIN";
    case 10:
        return "QIN";
    case 21:
        return "XOUT";
    case 24:
        return "SOUT";
    case 28:
        return "JOUT";
    case 29:
        return "QOUT";
    case 40:
        return "PY";
    case 41:
        return "CHG";
    case 43:
        return "PK";
    default:
        return "BILL";
    }
}

} // namespace sampledata::catalog
