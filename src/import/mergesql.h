#pragma once

#include <string>

// The merge of a staging table into the count lines, sent by the import as one batch: the
// update text followed by the insert text.
namespace PubVariant {

// Moves staged places onto the namesake place of their stock's own group, then overwrites the
// counted values of every count line that a staged row matches on the ten key columns.
std::string GetUpdateFromTempSQL(const std::string &tableName);
// The same for the embedded database, where writing a key column rewrites the key's index
// entry even when the value stays: the key columns are left as they are, but for the texts
// the sheet spells otherwise.
std::string GetUpdateKeepingKeysFromTempSQL(const std::string &tableName);
// Inserts the staged rows that match no count line (book quantities 0), then drops the table.
// The text ends without a line end.
std::string GetInsertFromTempSQL(const std::string &tableName);

} // namespace PubVariant
