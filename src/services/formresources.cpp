#include "host/core/objectfactory.h"
#include "host/core/text.h"
#include "host/formres/frmresloader.h"
#include "services/modulestate.h"
#include "services/mparse.h"

namespace MParse {
namespace {

std::shared_ptr<host::FrmResLoader> newLoader()
{
    return host::CreateObjectAs<host::FrmResLoader>(host::FrmResLoader::ProgId);
}

} // namespace

void LoadFormResStrings(QWidget &form, std::shared_ptr<host::Dictionary> &dict,
                        std::string_view baseName)
{
    const std::string language =
        module().gLanguage.empty() ? GetPropsItem("LANGUAGE") : module().gLanguage;
    if (host::toUpper(language) == "CHS")
        return;
    const auto loader = newLoader();
    if (!dict) {
        dict = std::make_shared<host::Dictionary>();
        dict->SetValue("NeedMLColumnHeaders", true);
    }
    dict = loader->LoadFrmResStrings(form, language, "", std::string(baseName), dict);
}

void SetFormFont(QWidget &form)
{
    auto &m = module();
    if (m.gLanguage.empty())
        m.gLanguage = GetPropsItem("Language");
    if (!m.gFormResLoader)
        m.gFormResLoader = newLoader();
    m.gFormResLoader->SetFrmFont(form, m.gLanguage);
}

std::shared_ptr<host::Dictionary> GetFontProps()
{
    auto &m = module();
    if (m.gLanguage.empty())
        m.gLanguage = GetPropsItem("LANGUAGE");
    return newLoader()->GetZarvoFontProps(m.gLanguage);
}

} // namespace MParse
