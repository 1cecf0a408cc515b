#include "host/core/hosterror.h"

#include <utility>

namespace host {

HostError::HostError(std::string description, long number, std::string source, std::string helpFile,
                     long helpContext)
    : std::runtime_error(description), m_number(number), m_description(std::move(description)),
      m_source(std::move(source)), m_helpFile(std::move(helpFile)), m_helpContext(helpContext)
{}

std::string_view withoutStatement(std::string_view text)
{
    return text.substr(0, text.find(kStatementMark));
}

} // namespace host
