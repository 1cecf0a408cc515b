#include "host/ui/modal/hostmessagebox.h"
#include "host/ui/modal/modalservices.h"
#include "services/mparse.h"
#include "services/pubvariant.h"

#include <QCoreApplication>
#include <QString>

namespace PubVariant {
namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

long MsgBox(std::string_view text, long style, std::string_view title)
{
    const std::string caption =
        title.empty() ? MParse::LoadLangString("Hembrel提示") : std::string(title);
    return host::ui::MsgBox(qs(text), style, qs(caption));
}

long ShowMsg(std::string_view text, long style) noexcept
{
    try {
        host::ui::HostMessageBox box;
        box.setText(qs(text));
        box.Show(style, QString(), -1);
        const long result = box.Result();
        QCoreApplication::processEvents();
        return result;
    } catch (...) {
        return 0;
    }
}

void ShowErrMsg(std::string_view text)
{
    MsgBox(text, vbInformation | vbOKOnly);
}

} // namespace PubVariant
