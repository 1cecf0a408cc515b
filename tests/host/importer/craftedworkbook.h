#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// The parts of an .xlsx workbook whose first sheet holds the rows given as sheetData XML.
std::map<std::string, std::string> workbookParts(const std::string &sheetData,
                                                 const std::string &sharedStrings = {});
void writeZip(const std::filesystem::path &file, const std::map<std::string, std::string> &parts);

std::string readBytes(const std::filesystem::path &file);
void writeBytes(const std::filesystem::path &file, const std::string &bytes);

// Makes the archive's headers claim another uncompressed size for the member.
void claimSize(const std::filesystem::path &file, const std::string &member, std::uint32_t size);
// Makes the dimensions record of an .xls workbook claim rows and columns it does not have.
void claimDimensions(const std::filesystem::path &file, std::uint32_t rows, std::uint16_t columns);
