#pragma once

#include "host/core/hostobject.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace host {

class AppConnection;

// The host's system values ("ZarvoBillData.SysInfo"): a value of the system profile
// (t_SystemProfile) by category and key, as text; an unknown value is an error.
class SysInfo : public HostObject
{
public:
    using ConnectionSource = std::function<std::shared_ptr<AppConnection>()>;

    explicit SysInfo(ConnectionSource connection);

    virtual std::string GetSysValue(const std::string &propsString, const std::string &category,
                                    const std::string &key);

    static constexpr std::string_view ProgId = "ZarvoBillData.SysInfo";

private:
    ConnectionSource m_connection;
};

} // namespace host
