#pragma once

#include <QString>

#include <functional>

class QPrinter;

namespace host::ui {

class Form;

// Button sets, icons and answers of the standard message box, by their values in the module.
namespace Msg {
constexpr long OKOnly = 0;
constexpr long OKCancel = 1;
constexpr long AbortRetryIgnore = 2;
constexpr long YesNoCancel = 3;
constexpr long YesNo = 4;
constexpr long RetryCancel = 5;
constexpr long Critical = 16;
constexpr long Question = 32;
constexpr long Exclamation = 48;
constexpr long Information = 64;

constexpr long OK = 1;
constexpr long Cancel = 2;
constexpr long Abort = 3;
constexpr long Retry = 4;
constexpr long Ignore = 5;
constexpr long Yes = 6;
constexpr long No = 7;

// The answer a box of this style gives when the user takes its default button.
long defaultAnswer(long style);
} // namespace Msg

// What an open or save file dialog is asked; the filter is written "Caption|*.ext|...".
struct FileDialogRequest
{
    QString title;
    QString filter;
    QString initialPath;
};

// Everything that waits for the user: message boxes, file dialogs, print set-up and preview,
// and windows shown modally.
// The program uses real Qt dialogs; a test installs scripted answers (ScriptedModals), so
// nothing blocks and what was shown can be checked.
class ModalServices
{
public:
    virtual ~ModalServices() = default;

    // The standard message box; returns the answer (Msg::OK, Msg::Yes, ...).
    virtual long messageBox(const QString &text, long style, const QString &title) = 0;
    // The host message class: a text and a button style, no title of the module's own.
    virtual long hostMessage(const QString &text, long style) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    virtual QString saveFileName(const FileDialogRequest &request) = 0;
    // Loads and shows the window and returns when it is closed or hidden.
    virtual void showModal(Form &form) = 0;
    // Page and printer set-up of the printer; false when the user cancelled.
    virtual bool printSetup(QPrinter &printer) = 0;
    // The print dialog: printer, pages, or a PDF file; false when the user cancelled.
    virtual bool printDialog(QPrinter &printer) = 0;
    // Shows the pages that paint draws for the printer.
    virtual void printPreview(QPrinter &printer, const std::function<void(QPrinter &)> &paint) = 0;
};

// The services in force: the real dialogs unless a test installed its own.
ModalServices &modals();
// Puts services in force (the caller keeps ownership); nullptr restores the real dialogs.
// Returns the services that were in force before.
ModalServices *installModals(ModalServices *services);

// A message as the user reads it: a database failure's words without the statement that failed,
// which is for whoever supports the user, never for the user.
QString userText(const QString &message);

// The standard message box of the module; it shows userText of the prompt.
long MsgBox(const QString &prompt, long buttons = Msg::OKOnly, const QString &title = {});

} // namespace host::ui
