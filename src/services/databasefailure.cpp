#include "services/databasefailure.h"

#include "host/core/hosterror.h"
#include "host/db/databasefault.h"
#include "services/mparse.h"

namespace {

// The usual failures of the database itself, said in the user's language.
std::optional<std::string_view> causeText(host::DatabaseFault fault)
{
    switch (fault) {
    case host::DatabaseFault::Busy:
        return "数据库正忙，请稍后再试。";
    case host::DatabaseFault::ReadOnly:
        return "数据库是只读的，不能写入。";
    case host::DatabaseFault::Full:
        return "磁盘已满，数据库不能写入。";
    case host::DatabaseFault::Damaged:
        return "数据库文件已损坏。";
    case host::DatabaseFault::Unavailable:
        return "读写数据库文件时出错。";
    case host::DatabaseFault::Moved:
        return "数据库文件在使用中被删除或替换，刚才写入的数据已经丢失。";
    case host::DatabaseFault::Linked:
        return "数据库文件另有一个名称（硬链接），从两个名称写入会损坏文件，所以不能写入。请删除另一个名称。";
    case host::DatabaseFault::Changed:
        return "数据库文件正在被其他用户修改，请稍后刷新。";
    case host::DatabaseFault::None:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> databaseFailureCause(const std::exception &error)
{
    const auto text = causeText(host::databaseFault(error));
    if (!text)
        return std::nullopt;
    return MParse::LoadLangString(*text) + "\n" + databaseWords(error);
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
    return std::string(sentence) +
           databaseFailureCause(error).value_or("\n" + databaseWords(error));
}
