#pragma once

#include "host/core/hostobject.h"

#include <string>
#include <string_view>

namespace host {

// The host's string-resource loader ("ZARVORESLOADER.Loader"): the text to show for a
// Simplified Chinese source text in the language "CHS", "CHT" or "EN" (any case).
// CHS returns the text itself, CHT converts it to Traditional Chinese, other languages look it
// up in data/lang/<language>.tsv (source, tab, translation per line); a text without a
// translation comes back unchanged.
class ResLoader : public HostObject
{
public:
    const std::string &ResFileBaseName() const { return m_baseName; }
    void SetResFileBaseName(std::string name) { m_baseName = std::move(name); }
    const std::string &LanguageID() const { return m_language; }
    void SetLanguageID(std::string language) { m_language = std::move(language); }

    virtual std::string LoadString(std::string_view source) const;

    static constexpr std::string_view ProgId = "ZARVORESLOADER.Loader";

private:
    std::string m_baseName;
    std::string m_language;
};

// Whether the text is one of the module's own Simplified Chinese texts, which the English table
// lists every one of: a text already in the user's language, or a record's, is none.
bool isSourceText(std::string_view text);

// Simplified to Traditional Chinese in the words used in Taiwan (data/lang/taiwan.tsv after
// OpenCC's s2tw); the text itself when the converter cannot be loaded.
std::string toTraditionalChinese(std::string_view text);

} // namespace host
