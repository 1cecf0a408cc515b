#include "host/lang/hosttext.h"

#include "host/lang/resloader.h"

#include <utility>

namespace host {
namespace {

std::string &currentLanguage()
{
    static std::string code = "CHS";
    return code;
}

} // namespace

void setHostLanguage(std::string language)
{
    currentLanguage() = std::move(language);
}

const std::string &hostLanguage()
{
    return currentLanguage();
}

std::string hostText(std::string_view source)
{
    ResLoader loader;
    loader.SetLanguageID(currentLanguage());
    return loader.LoadString(source);
}

QString hostCaption(std::string_view source)
{
    return QString::fromStdString(hostText(source));
}

} // namespace host
