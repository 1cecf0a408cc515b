#include "backup/langtext.h"

#include "services/mparse.h"

namespace backup {

QString langText(std::string_view source)
{
    return QString::fromStdString(MParse::LoadLangString(source));
}

QString formatLangText(std::string_view source, const QString &arg)
{
    return QString::fromStdString(MParse::FormatLangString(source, {arg.toStdString()}));
}

void ignoringErrors(const std::function<void()> &step) noexcept
{
    try {
        step();
    } catch (...) {
        // A caption that cannot be set keeps its design-time text.
    }
}

} // namespace backup
