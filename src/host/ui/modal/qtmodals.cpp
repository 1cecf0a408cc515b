#include "host/ui/modal/qtmodals.h"

#include "host/lang/hosttext.h"
#include "host/ui/form/form.h"
#include "host/ui/form/windowactions.h"
#include "host/ui/modal/filedialog.h"
#include "host/ui/modal/messagedialog.h"
#include "host/ui/modal/modalownership.h"
#include "host/ui/modal/screenshot.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeySequence>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include <iostream>
#include <utility>

namespace host::ui {

namespace {

// Without a display nobody can answer a dialog: it is written to standard error and takes its
// default, so a program run offscreen never waits.
bool headless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void report(const QString &what)
{
    std::cerr << what.toStdString() << std::endl;
}

// What a press may name in the window: its tools by name, then the shortcuts of its actions.
QString pressable(QWidget &window)
{
    QStringList names;
    QStringList shortcuts;
    for (const QAction *action : windowActions(window)) {
        const QString name = action->objectName();
        const QString shortcut = action->shortcut().toString();
        if (!name.isEmpty() && !names.contains(name))
            names << name;
        if (!shortcut.isEmpty() && !shortcuts.contains(shortcut))
            shortcuts << shortcut;
    }
    return QStringLiteral("tools %1; shortcuts %2")
        .arg(names.join(QStringLiteral(", ")), shortcuts.join(QStringLiteral(", ")));
}

} // namespace

QtModals &QtModals::instance()
{
    static QtModals services;
    return services;
}

long QtModals::messageBox(const QString &text, long style, const QString &givenTitle)
{
    ++m_reports;
    // Every box carries a title, the host's unless the caller names one.
    const QString title = givenTitle.isEmpty() ? hostCaption("Hembrel提示") : givenTitle;
    if (!m_screenshotFile.isEmpty()) {
        MessageDialog box(text, style, title, currentOwner());
        box.show();
        takeScreenshot(box);
        return Msg::defaultAnswer(style);
    }
    if (headless()) {
        report(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
        return Msg::defaultAnswer(style);
    }
    const OwnerActivation back;
    MessageDialog box(text, style, title, back.owner());
    box.exec();
    return box.answer();
}

long QtModals::hostMessage(const QString &text, long style)
{
    return messageBox(text, style, QString());
}

QString QtModals::openFileName(const FileDialogRequest &request)
{
    if (headless())
        return {};
    const OwnerActivation back;
    return FileDialog(back.owner(), request, QFileDialog::AcceptOpen).choose();
}

QString QtModals::saveFileName(const FileDialogRequest &request)
{
    if (headless())
        return {};
    const OwnerActivation back;
    return FileDialog(back.owner(), request, QFileDialog::AcceptSave).choose();
}

void QtModals::takeScreenshot(QWidget &widget)
{
    if (saveScreenshot(widget, std::exchange(m_screenshotFile, QString())))
        m_screenshotPending = false;
}

bool QtModals::pressIn(QWidget &window)
{
    const QKeySequence shortcut(m_press);
    for (QAction *action : windowActions(window)) {
        if (action->objectName() == m_press ||
            (!shortcut.isEmpty() && action->shortcut() == shortcut)) {
            m_press.clear();
            action->trigger();
            return true;
        }
    }
    // Nothing is pressed and nothing saved: the picture would not be the one asked for.
    m_pressRefusal =
        QStringLiteral("the window \"%1\" has no tool \"%2\"; it takes %3")
            .arg(window.windowTitle(), std::exchange(m_press, QString()), pressable(window));
    m_screenshotFile.clear();
    return false;
}

void QtModals::showModal(Form &form)
{
    ++m_reports;
    form.Load();
    const ModalOwnership ownership(form);
    QEventLoop loop;
    QObject::connect(&form, &Form::hidden, &loop, &QEventLoop::quit);
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    if (!m_screenshotFile.isEmpty()) {
        QPointer<Form> target(&form);
        QTimer::singleShot(0, &loop, [this, target] {
            if (!target)
                return;
            // The window an action opens is the one to look at; this one only leads to it.
            if (m_press.isEmpty())
                takeScreenshot(*target);
            else
                pressIn(*target);
            if (target)
                target->Unload();
        });
    } else if (headless()) {
        report(QStringLiteral("%1: shown without a display, closed").arg(form.Caption()));
        QPointer<Form> target(&form);
        QTimer::singleShot(0, &loop, [target] {
            if (target)
                target->Unload();
        });
    }
    if (form.isVisible())
        loop.exec();
}

bool QtModals::printSetup(QPrinter &printer)
{
    if (headless())
        return false;
    const OwnerActivation back;
    QPageSetupDialog dialog(&printer, back.owner());
    placeOnScreen(dialog, dialog.parentWidget());
    return dialog.exec() == QDialog::Accepted;
}

bool QtModals::printDialog(QPrinter &printer)
{
    if (headless())
        return false;
    const OwnerActivation back;
    QPrintDialog dialog(&printer, back.owner());
    placeOnScreen(dialog, dialog.parentWidget());
    return dialog.exec() == QDialog::Accepted;
}

void QtModals::printPreview(QPrinter &printer, const std::function<void(QPrinter &)> &paint)
{
    if (headless() && m_screenshotFile.isEmpty())
        return;
    const OwnerActivation back;
    QPrintPreviewDialog dialog(&printer, back.owner());
    // Qt's own size leaves the page a thumbnail and folds the tool bar away; a smaller screen
    // gets all it has.
    dialog.resize(1000, 760);
    placeOnScreen(dialog, dialog.parentWidget());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *target) { paint(*target); });
    if (!m_screenshotFile.isEmpty()) {
        dialog.show();
        QCoreApplication::processEvents();
        takeScreenshot(dialog);
        return;
    }
    dialog.exec();
}

QString QtModals::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace host::ui
