#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// The parts of an .xlsx workbook by archive path: a workbook whose first sheet is the given
// worksheet XML, and optionally shared strings.
std::map<std::string, std::string> workbookParts(const std::string &sheetData,
                                                 const std::string &sharedStrings = {});

// Writes the parts as a zip archive, deflated.
void writeZip(const std::filesystem::path &file, const std::map<std::string, std::string> &parts);

// Overwrites the uncompressed size that the archive's headers claim for one member.
void claimSize(const std::filesystem::path &file, const std::string &member, std::uint32_t size);
