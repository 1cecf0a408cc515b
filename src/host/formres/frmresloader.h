#pragma once

#include "host/core/dictionary.h"
#include "host/core/hostobject.h"

#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace host {

// The host's form-resource loader ("ZarvoFormRes.FrmResLoader"): a window's captions and font
// in the user's language.
class FrmResLoader : public HostObject
{
public:
    // Puts every caption of the window (title, labels, buttons, frames, tabs, menu and tool
    // actions, tool tips) that is still one of the module's own texts through the
    // string-resource loader; returns the dictionary it was given, or a new one.
    virtual std::shared_ptr<Dictionary>
    LoadFrmResStrings(QWidget &form, const std::string &language, const std::string &section,
                      const std::string &baseName, std::shared_ptr<Dictionary> dict);
    // Gives the window the user-interface font of the language.
    virtual void SetFrmFont(QWidget &form, const std::string &language);
    // "Font.Name", "Font.Size" and "Font.Charset" of the user-interface font.
    virtual std::shared_ptr<Dictionary> GetZarvoFontProps(const std::string &language);

    static constexpr std::string_view ProgId = "ZarvoFormRes.FrmResLoader";
};

} // namespace host
