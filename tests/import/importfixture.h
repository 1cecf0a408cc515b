#pragma once

#include "services/servicesdatabase.h"

#include "host/core/variant.h"
#include "host/importer/sheetrecords.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One line of an import sheet, by internal column name; columns not set are empty.
using SheetLine = std::map<std::string, host::Variant>;

// The sample company plus base data of our own whose management flags the import tests rely
// on, and one open count process of user 16 with two count lines.
class ImportDatabaseTest : public ServicesDatabaseTest
{
protected:
    static constexpr long kProcess = 900;
    static constexpr long kMaxBill = 77;
    static constexpr long kOperator = 17;
    static constexpr long kStock = 9501;
    static constexpr long kPlace = 9601;
    static constexpr long kPlainItem = 9001;
    static constexpr long kBatchItem = 9002;
    static constexpr long kAuxItem = 9003;
    static constexpr long kShelfLifeItem = 9004;
    static constexpr long kSerialItem = 9005;
    static constexpr long kTwoUnitItem = 9006;

    void SetUp() override;
    void TearDown() override;

    // A line that passes every check for the item (numbers in the form gUseShortNumber asks),
    // counted 1 in the item's counting unit.
    SheetLine line(long itemId) const;

    // The sheet as the reader hands it over: header texts as the count sheet exports them.
    std::shared_ptr<host::SheetRecords> sheet(const std::vector<SheetLine> &lines) const;
    // The same sheet written as a workbook file in a folder of the test's own.
    std::filesystem::path writeXlsx(const std::vector<SheetLine> &lines,
                                    const std::string &column11Header = {}) const;

    // The header texts of the 31 or 32 columns.
    std::vector<std::string> headers() const;
    std::vector<std::string> columnNames() const;

    host::Variant lineValue(long itemId, const std::string &column);
    long countLines(long itemId);
    long stagingTables();

    std::filesystem::path m_dir;
};
