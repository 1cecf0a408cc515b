#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"
#include "host/ui/modal/modalservices.h"

#include <memory>
#include <string>
#include <string_view>

namespace host {
class LookupResult;
class Recordset;
} // namespace host

// Shared routines of the module: options, periods and dates, messages, base-data reads and
// lookups.
namespace PubVariant {

// Buttons, icons and answers of the standard message box, by the host language's names.
enum MsgBoxStyle : long
{
    vbOKOnly = host::ui::Msg::OKOnly,
    vbOKCancel = host::ui::Msg::OKCancel,
    vbYesNoCancel = host::ui::Msg::YesNoCancel,
    vbYesNo = host::ui::Msg::YesNo,
    vbCritical = host::ui::Msg::Critical,
    vbQuestion = host::ui::Msg::Question,
    vbExclamation = host::ui::Msg::Exclamation,
    vbInformation = host::ui::Msg::Information,
};
enum MsgBoxResult : long
{
    vbOK = host::ui::Msg::OK,
    vbCancel = host::ui::Msg::Cancel,
    vbYes = host::ui::Msg::Yes,
    vbNo = host::ui::Msg::No,
};

// The standard message box, titled with the language string of "Hembrel提示" unless a title is
// given; returns the button pressed.
long MsgBox(std::string_view text, long style = vbOKOnly, std::string_view title = {});
// The host message class's box, no title of the module's own; never throws, 0 on failure.
long ShowMsg(std::string_view text, long style) noexcept;
// The standard message box with the information icon and OK.
void ShowErrMsg(std::string_view text);

// Options of category "IC" and the rest of the system profile. categories and keys may each
// list several values joined by "','".
std::shared_ptr<host::Dictionary> GetSysProfile(std::string_view categories, std::string_view keys);
bool GetCurPeriodDate(double &startDate, double &endDate);
bool CheckPeriodStart(long unused);
bool CheckDate();
double GetServerDate() noexcept;
bool GetUseShortNumber();
std::string GetStartDate();
bool GetAlertSameCheck(bool &alert);
void SaveAlertSameCheck(bool alert);

// Base data.
std::shared_ptr<host::Recordset> GetStockRS(std::string_view stockCode);
std::shared_ptr<host::Recordset> GetItemRS(std::string_view itemCode, long itemId);
std::string GetUnitInfo(std::string_view unitId, long &unitGroupId, double &coefficient,
                        bool wantGroup) noexcept;
// Opens the host's base-data lookup; its result (ReturnObject is the chosen record), or nothing
// on cancel, failure or while another lookup is open.
std::shared_ptr<host::LookupResult> BaseDataLookup(long itemClassId, std::string_view search,
                                                   std::string_view filter, long dataType,
                                                   long extra);

// Records the backup type (1 current stock, 2 cut-off date) of a count process that had none,
// fills its highest-bill mark from its count lines when it has none, and puts both as stored
// into dict under "<id>|BackupType" and "<id>|MaxInterID". False after an error, which it has
// shown; the statements that ran before the error stay done.
bool SetBackupType(long lProcID, long lBackupType, const std::shared_ptr<host::Dictionary> &dict);

} // namespace PubVariant
