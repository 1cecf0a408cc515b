#include "host/ui/printing/printdialogguard.h"

#include "host/core/hosterror.h"
#include "host/db/hostdatabase.h"
#include "host/files/userfile.h"
#include "host/lang/hosttext.h"
#include "host/ui/modal/modalservices.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>

namespace host::ui {
namespace {

constexpr const char *kAdopted = "stockcheckGuarded";

// Why the file may not be printed into; empty when Qt may check it. Trying costs a new file beside
// it, made and removed at once, as Qt's own check does.
QString refusalOf(const QString &file)
{
    const std::string name = QFile::encodeName(file).toStdString();
    if (isHostDatabaseFile(name))
        return hostCaption("所选文件是正在使用的数据库的文件，请另选文件!");
    try {
        const UserFile trial(name);
    } catch (const HostError &refused) {
        return QString::fromStdString(refused.Description());
    }
    return {};
}

} // namespace

PrintDialogGuard::PrintDialogGuard(QCoreApplication &application)
{
    application.installEventFilter(this);
}

bool PrintDialogGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show)
        if (auto *dialog = qobject_cast<QPrintDialog *>(watched);
            dialog && !dialog->property(kAdopted).toBool())
            adopt(*dialog);
    return QObject::eventFilter(watched, event);
}

void PrintDialogGuard::adopt(QPrintDialog &dialog)
{
    dialog.setProperty(kAdopted, true);
    auto *buttons = dialog.findChild<QDialogButtonBox *>(QString(), Qt::FindDirectChildrenOnly);
    auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("filename"));
    if (!buttons || !file)
        return;
    // Qt's check of the fields, which opens the file, runs only after this one.
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, file] {
        if (file->isEnabled()) {
            // Qt checks a relative name in the working folder and prints under the home folder.
            if (QDir::isRelativePath(file->text()))
                file->setText(QDir::homePath() + QLatin1Char('/') + file->text());
            if (const QString refusal = refusalOf(file->text()); !refusal.isEmpty()) {
                modals().messageBox(refusal, Msg::Exclamation, dialog.windowTitle());
                return;
            }
        }
        if (!QMetaObject::invokeMethod(&dialog, "_q_checkFields"))
            dialog.accept();
    });
}

} // namespace host::ui
