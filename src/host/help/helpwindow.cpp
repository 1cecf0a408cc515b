#include "host/help/helpwindow.h"

#include "host/core/paths.h"
#include "host/lang/hosttext.h"
#include "host/ui/form/fonts.h"
#include "host/ui/modal/modalservices.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace host {

HelpWindow::HelpWindow(const QString &topic, const QString &subSystem)
    : m_browser(new QTextBrowser(client()))
{
    // The topic is the module's name for the page, which the text gives when there is none.
    setCaption(hostCaption("帮助"));
    closeOnEscape();
    setFont(ui::uiFont());
    auto *layout = new QVBoxLayout(client());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 480);

    const auto page = dataDir() / "help" / (topic.toStdString() + ".html");
    QFile file(QString::fromStdString(page.string()));
    if (!topic.isEmpty() && file.open(QIODevice::ReadOnly)) {
        m_browser->setSearchPaths({QString::fromStdString(page.parent_path().string())});
        m_browser->setHtml(QString::fromUtf8(file.readAll()));
        m_found = true;
    } else {
        const QString system = subSystem.isEmpty() ? QString() : " (" + subSystem + ")";
        m_browser->setPlainText(
            hostCaption("没有找到帮助主题 \"%1\"%2 的页面。").arg(topic, system));
    }
}

QString HelpWindow::shownText() const
{
    return m_browser->toPlainText();
}

void ChmHelp::ShowHELP(long &, int, std::string &topic, long &, std::string &subSystem, long &)
{
    HelpWindow window(QString::fromStdString(topic), QString::fromStdString(subSystem));
    ui::modals().showModal(window);
}

} // namespace host
