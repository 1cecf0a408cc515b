#pragma once

#include <cstddef>
#include <cstdint>

namespace host {
class AppConnection;
}

namespace sampledata {

struct SampleOptions
{
    // 0 makes the demo company; otherwise the company is scaled so that the book stock
    // (ICInventory) holds about this many rows.
    long rows = 0;
    std::uint64_t seed = 20261207;
    // The day the company is seen on (an automation date); 0 means today. Periods, options
    // and bill dates follow it.
    double today = 0;
};

struct SampleSummary
{
    std::size_t stocks = 0;
    std::size_t items = 0;
    std::size_t stockRows = 0;
    std::size_t bills = 0;
};

// Fills a database that holds the empty host schema with a company's worth of data; the
// same options give the same data.
SampleSummary generateSampleData(host::AppConnection &connection,
                                 const SampleOptions &options = {});

} // namespace sampledata
