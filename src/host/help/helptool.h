#pragma once

#include "host/core/hostobject.h"

#include <string>
#include <string_view>

namespace host {

// The host help tool ("ZarvoCHMResTool.ClsCHMHelp"): opens a window's help topic.
class HelpTool : public HostObject
{
public:
    virtual void ShowHELP(long &arg1, int arg2, std::string &topic, long &arg4,
                          std::string &subSystem, long &arg6) = 0;

    static constexpr std::string_view ProgId = "ZarvoCHMResTool.ClsCHMHelp";
};

} // namespace host
