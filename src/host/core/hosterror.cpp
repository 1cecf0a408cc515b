#include "host/core/hosterror.h"

#include <utility>

namespace host {

HostError::HostError(std::string description, long number, std::string source, std::string helpFile,
                     long helpContext)
    : std::runtime_error(description), m_number(number), m_description(std::move(description)),
      m_source(std::move(source)), m_helpFile(std::move(helpFile)), m_helpContext(helpContext)
{}

} // namespace host
