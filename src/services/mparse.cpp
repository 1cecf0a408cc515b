#include "services/mparse.h"
#include "host/core/text.h"

#include "host/core/formatter.h"
#include "host/core/hosterror.h"
#include "host/core/objectfactory.h"
#include "host/lang/resloader.h"
#include "services/mmts.h"
#include "services/modulestate.h"

namespace MParse {
namespace {

constexpr std::string_view kCompoundSeparator = "^|^";
constexpr std::string_view kTranslateMark = "~$~";

std::string currentLanguage()
{
    auto &m = module();
    if (m.gLanguage.empty())
        m.gLanguage = GetPropsItem("LANGUAGE");
    return m.gLanguage;
}

} // namespace

std::string GetToken(std::string &text, std::string_view separator)
{
    if (text.empty())
        return {};
    const size_t at = host::findNoCase(text, separator);
    if (at == std::string_view::npos) {
        std::string whole = std::move(text);
        text.clear();
        return whole;
    }
    std::string token = text.substr(0, at);
    text.erase(0, at + separator.size());
    return token;
}

std::string GetPropKey(std::string &rest)
{
    return host::Trim(GetToken(rest, "="));
}

std::string GetPropValueToken(std::string &rest)
{
    rest = host::Trim(rest);
    std::string value;
    if (!rest.empty() && rest.front() == '{') {
        rest.erase(0, 1);
        value = GetToken(rest, "}");
        GetToken(rest, ";");
    } else {
        value = GetToken(rest, ";");
    }
    return host::Trim(value);
}

bool ParseProps(const std::string &props)
{
    auto &m = module();
    m.gPropsString = props;
    m.g_colProps = std::make_shared<host::Dictionary>();
    std::string rest = props;
    for (;;) {
        const std::string key = GetPropKey(rest);
        const std::string value = GetPropValueToken(rest);
        if (key.empty())
            break;
        if (m.g_colProps->Exists(key))
            throw host::HostError("This key is already associated with an element of this "
                                  "collection",
                                  host::HostError::KeyAlreadyExists);
        m.g_colProps->SetValue(key, value);
    }
    return true;
}

std::string GetPropValue(std::string_view key)
{
    const auto &props = module().g_colProps;
    if (!props || !props->Exists(key))
        throw host::HostError("Invalid procedure call or argument",
                              host::HostError::InvalidProcedureCall);
    return host::CStr(props->Value(key));
}

long GetUserID()
{
    return host::CLng(host::Variant(GetPropValue("UserID")));
}

std::string GetPropsItem(std::string_view key)
{
    std::string s = MMTS::GetPropsString();
    if (s.empty() || s.back() != ';')
        s += ';';
    const size_t at = host::findNoCase(s, std::string(key) + "=");
    if (at == std::string::npos)
        return {};
    const size_t end = s.find(';', at);
    const std::string pair = s.substr(at, end - at);
    return pair.substr(pair.find('=') + 1);
}

std::string LoadLangString(std::string_view source) noexcept
{
    std::string text = host::Trim(source);
    try {
        const std::string language = currentLanguage();
        auto &m = module();
        if (!m.gResLoader)
            m.gResLoader = host::CreateObjectAs<host::ResLoader>(host::ResLoader::ProgId);
        m.gResLoader->SetResFileBaseName("ZARVOINDUSTRY");
        m.gResLoader->SetLanguageID(language);
        if (text.find(kCompoundSeparator) != std::string::npos)
            return LoadCompoundString(text);
        if (text.empty())
            return {};
        return m.gResLoader->LoadString(text);
    } catch (...) {
        return text;
    }
}

std::string LoadCompoundString(std::string_view text) noexcept
{
    std::string out;
    try {
        size_t start = 0;
        for (;;) {
            const size_t at = text.find(kCompoundSeparator, start);
            const std::string_view part = text.substr(
                start, at == std::string_view::npos ? std::string_view::npos : at - start);
            if (part.starts_with(kTranslateMark))
                out += LoadLangString(part.substr(kTranslateMark.size()));
            else
                out += part;
            if (at == std::string_view::npos)
                break;
            start = at + kCompoundSeparator.size();
        }
    } catch (...) {
        return std::string(text);
    }
    return out;
}

std::string FormatLangString(std::string_view source,
                             const std::vector<host::Variant> &args) noexcept
{
    std::string text = LoadLangString(source);
    try {
        std::vector<std::string> values;
        values.reserve(args.size());
        for (const auto &arg : args)
            values.push_back(arg.isNull() ? std::string() : host::CStr(arg));
        return host::formatText(text, values);
    } catch (...) {
        return text;
    }
}

std::string AddLangSuffix(std::string_view columnName)
{
    const std::string language = host::toUpper(GetPropsItem("LANGUAGE"));
    std::string name(columnName);
    if (language == "CHT")
        name += "_CHT";
    else if (language == "EN")
        name += "_EN";
    return host::Trim(name);
}

} // namespace MParse
