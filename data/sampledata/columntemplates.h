#pragma once

#include <string_view>

namespace host {
class AppConnection;
}

namespace sampledata {

// The count sheet's column templates (data/countsheet_templates.sql), built into the program.
std::string_view columnTemplatesText();

// Writes the column templates of the three count-sheet show types into ICChatBillTitle.
void writeColumnTemplates(host::AppConnection &connection);

} // namespace sampledata
