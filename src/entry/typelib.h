#pragma once

#include <string_view>

// The identities under which the host knows the module's public class.
namespace TypeLib {

constexpr std::string_view Name = "ZarvoStockCheck";
constexpr int MajorVersion = 1;
constexpr int MinorVersion = 0;
constexpr std::string_view LIBID = "{CC3399DF-8B52-41BA-87D5-2862F6EEBF23}";
constexpr std::string_view HelpString = "Zarvo StockCheck";
constexpr std::string_view HelpFile = "ZarvoHelp.chm";

constexpr std::string_view CLSID_ICCheckInterface = "{1613F8E0-4346-49B4-9462-7EFB761BCC57}";
constexpr std::string_view IID_ICCheckInterface = "{226901F2-107A-4BC3-BFA2-DF90BB7E886B}";
constexpr std::string_view ProgID_ICCheckInterface = "ZarvoStockCheck.ICCheckInterface";

// Dispatch ids of _ICCheckInterface.
constexpr long DISPID_IsTest = 0x68030000;
constexpr long DISPID_OperaterID = 0x68030001;
constexpr long DISPID_LocalConnection = 0x68030002;
constexpr long DISPID_BackupCheckData = 0x60030004;
constexpr long DISPID_PrintCheckBook = 0x60030005;
constexpr long DISPID_CheckDataInput = 0x60030006;
constexpr long DISPID_CheckDataCheck = 0x60030007;
constexpr long DISPID_DisChkStockProc = 0x60030009;
constexpr long DISPID_TestImport = 0x6003000A;

} // namespace TypeLib
