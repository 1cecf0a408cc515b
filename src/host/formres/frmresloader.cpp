#include "host/formres/frmresloader.h"
#include "host/core/text.h"

#include "host/lang/resloader.h"
#include "host/ui/form/fonts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QWidget>

namespace host {
namespace {

class Translator
{
public:
    Translator(const std::string &language, const std::string &baseName)
    {
        m_loader.SetLanguageID(language);
        m_loader.SetResFileBaseName(baseName);
    }
    // A caption the window has already put into the user's language stays as it is: Taiwan's
    // words taken for mainland ones again would turn the bar of 工具列 into a column, 工具欄.
    QString operator()(const QString &text) const
    {
        const std::string source = text.trimmed().toStdString();
        if (!isSourceText(source))
            return text;
        return QString::fromStdString(m_loader.LoadString(source));
    }

private:
    ResLoader m_loader;
};

} // namespace

std::shared_ptr<Dictionary>
FrmResLoader::LoadFrmResStrings(QWidget &form, const std::string &language, const std::string &,
                                const std::string &baseName, std::shared_ptr<Dictionary> dict)
{
    const Translator tr(language, baseName);
    form.setWindowTitle(tr(form.windowTitle()));
    for (auto *label : form.findChildren<QLabel *>())
        label->setText(tr(label->text()));
    for (auto *button : form.findChildren<QAbstractButton *>())
        button->setText(tr(button->text()));
    for (auto *group : form.findChildren<QGroupBox *>())
        group->setTitle(tr(group->title()));
    for (auto *tabs : form.findChildren<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabText(i, tr(tabs->tabText(i)));
    }
    for (auto *action : form.findChildren<QAction *>()) {
        action->setText(tr(action->text()));
        action->setToolTip(tr(action->toolTip()));
    }
    for (auto *widget : form.findChildren<QWidget *>())
        widget->setToolTip(tr(widget->toolTip()));
    return dict ? std::move(dict) : std::make_shared<Dictionary>();
}

void FrmResLoader::SetFrmFont(QWidget &form, const std::string &)
{
    form.setFont(ui::uiFont());
}

std::shared_ptr<Dictionary> FrmResLoader::GetZarvoFontProps(const std::string &language)
{
    constexpr long kGb2312 = 134;
    constexpr long kBig5 = 136;
    constexpr long kAnsi = 0;
    const std::string code = toUpper(language);
    auto dict = std::make_shared<Dictionary>();
    dict->SetValue("Font.Name", ui::cjkFamily().toStdString());
    dict->SetValue("Font.Size", 9);
    dict->SetValue("Font.Charset", code == "CHT" ? kBig5 : code == "EN" ? kAnsi : kGb2312);
    return dict;
}

} // namespace host
