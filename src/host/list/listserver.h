#pragma once

#include "host/core/hostobject.h"

#include <string>
#include <string_view>

namespace host {

// The host list server ("ZarvoListServer.clsListServer"): the dates of an accounting period.
class ListServer : public HostObject
{
public:
    // Fills the first and last day of the period from t_PeriodDate; a period the table does not
    // hold is an error.
    virtual void GetCurPeriod(const std::string &propsString, long &year, long &period,
                              double &startDate, double &endDate);

    static constexpr std::string_view ProgId = "ZarvoListServer.clsListServer";
};

} // namespace host
