#pragma once

// The lengths of the host's varchar columns that the module's boxes and cells fill, in bytes
// of the server's double-byte code page, so that what the user types always fits.
namespace ColumnLength {

// FNumber and FShortNumber of items, stocks, stock places and auxiliary properties, and an
// item's FHelpCode.
inline constexpr int Code = 80;
// FBarcode of an item's bar code, the longest text an item is looked up by.
inline constexpr int BarCode = 100;
// FBatchNo and FMtoNo of the count lines.
inline constexpr int BatchNo = 200;
inline constexpr int MtoNo = 300;
// FNote of a count line.
inline constexpr int Note = 255;
// FProcessID, the name of a count process.
inline constexpr int ProcessName = 50;

} // namespace ColumnLength
