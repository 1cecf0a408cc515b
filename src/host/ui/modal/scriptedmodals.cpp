#include "host/ui/modal/scriptedmodals.h"

#include "host/ui/form/form.h"
#include "host/ui/modal/modalownership.h"

#include <QPrinter>
#include <QStringList>

namespace host::ui {

ScriptedModals::ScriptedModals() : m_previous(installModals(this)) {}

ScriptedModals::~ScriptedModals()
{
    installModals(m_previous);
}

QStringList ScriptedModals::messageTexts() const
{
    QStringList texts;
    for (const Message &message : m_messages)
        texts << message.text;
    return texts;
}

long ScriptedModals::nextAnswer(long style)
{
    if (m_answers.empty())
        return Msg::defaultAnswer(style);
    const long button = m_answers.front();
    m_answers.pop_front();
    return button;
}

long ScriptedModals::messageBox(const QString &text, long style, const QString &title)
{
    const long button = nextAnswer(style);
    m_messages.push_back({MessageKind::MessageBox, title, text, style, button});
    return button;
}

long ScriptedModals::hostMessage(const QString &text, long style)
{
    const long button = nextAnswer(style);
    m_messages.push_back({MessageKind::HostMessage, QString(), text, style, button});
    return button;
}

QString ScriptedModals::nextFile(bool save, const FileDialogRequest &request)
{
    QString path;
    if (!m_files.empty()) {
        path = m_files.front();
        m_files.pop_front();
    }
    m_fileDialogs.push_back({save, request, path});
    return path;
}

QString ScriptedModals::openFileName(const FileDialogRequest &request)
{
    return nextFile(false, request);
}

QString ScriptedModals::saveFileName(const FileDialogRequest &request)
{
    return nextFile(true, request);
}

void ScriptedModals::showModal(Form &form)
{
    form.Load();
    m_modalWindows.push_back({QString::fromLatin1(form.metaObject()->className()), form.Caption()});
    const ModalOwnership ownership(form);
    form.show();
    if (!m_callbacks.empty()) {
        const auto callback = std::move(m_callbacks.front());
        m_callbacks.pop_front();
        callback(form);
    }
    if (form.isVisible())
        form.Unload();
    // A window that refused to unload still ends its modal show, as a hidden one does.
    form.hide();
}

bool ScriptedModals::printSetup(QPrinter &)
{
    ++m_printSetups;
    return true;
}

bool ScriptedModals::printDialog(QPrinter &)
{
    ++m_printDialogs;
    return true;
}

void ScriptedModals::printPreview(QPrinter &printer, const std::function<void(QPrinter &)> &paint)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(printer.pageLayout());
    const QString file =
        m_previewDir.filePath(QStringLiteral("preview-%1.pdf").arg(m_previewFiles.size() + 1));
    pdf.setOutputFileName(file);
    paint(pdf);
    m_previewFiles << file;
}

} // namespace host::ui
