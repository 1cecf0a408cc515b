#include "services/databasefailure.h"

#include "host/core/hosterror.h"
#include "host/db/sqlite/databasefault.h"
#include "services/mparse.h"

std::optional<std::string> databaseFailureCause(const std::exception &error)
{
    switch (host::databaseFault(error)) {
    case host::DatabaseFault::Busy:
        return MParse::LoadLangString("数据库正忙，请稍后再试。");
    case host::DatabaseFault::ReadOnly:
        return MParse::LoadLangString("数据库是只读的，不能写入。");
    case host::DatabaseFault::Unavailable:
        return databaseWords(error);
    case host::DatabaseFault::Moved:
        return MParse::LoadLangString("数据库文件在使用中被删除或替换，刚才写入的数据已经丢失。");
    case host::DatabaseFault::None:
        break;
    }
    return std::nullopt;
}

std::string failureDescription(const std::exception &error)
{
    if (auto cause = databaseFailureCause(error))
        return std::move(*cause);
    if (const auto *hostError = dynamic_cast<const host::HostError *>(&error))
        return hostError->Description();
    return error.what();
}

std::string databaseWords(const std::exception &error)
{
    return std::string(host::withoutStatement(error.what()));
}

std::string explainFailure(const std::exception &error, std::string_view sentence)
{
    std::string text(sentence);
    const auto fault = host::databaseFault(error);
    if (fault == host::DatabaseFault::Busy || fault == host::DatabaseFault::ReadOnly ||
        fault == host::DatabaseFault::Moved)
        text += *databaseFailureCause(error);
    return text + "\n" + databaseWords(error);
}
