#pragma once

#include "host/ui/modal/modalservices.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace host::ui {

// Modal services for tests: answers are given beforehand, everything shown is recorded, and
// nothing waits for a user. Installs itself for its lifetime and restores what was in force.
class ScriptedModals : public ModalServices
{
public:
    enum class MessageKind
    {
        MessageBox,
        HostMessage
    };
    struct Message
    {
        MessageKind kind;
        QString title;
        QString text;
        long style;
        long answer;
    };
    struct FileDialog
    {
        bool save;
        FileDialogRequest request;
        QString answer;
    };
    struct ModalWindow
    {
        QString className;
        QString caption;
    };

    ScriptedModals();
    ~ScriptedModals() override;
    ScriptedModals(const ScriptedModals &) = delete;
    ScriptedModals &operator=(const ScriptedModals &) = delete;

    // The next message box (either form) is answered with this button; without one queued a
    // box takes its default button.
    void answer(long button) { m_answers.push_back(button); }
    // The next file dialog returns this path; an empty text cancels. Without one queued a
    // dialog is cancelled.
    void pickFile(const QString &path) { m_files.push_back(path); }
    // Runs while the next window is shown modally (after its Load and Activate); the window is
    // closed afterwards unless the callback closed or hid it.
    void whileShown(std::function<void(Form &)> callback)
    {
        m_callbacks.push_back(std::move(callback));
    }

    const std::vector<Message> &messages() const { return m_messages; }
    const std::vector<FileDialog> &fileDialogs() const { return m_fileDialogs; }
    const std::vector<ModalWindow> &modalWindows() const { return m_modalWindows; }
    int printSetups() const { return m_printSetups; }
    int printDialogs() const { return m_printDialogs; }
    // Each preview is rendered into a PDF file of its own, kept while this object lives.
    const QStringList &previewFiles() const { return m_previewFiles; }
    // The texts of every message shown so far, in order.
    QStringList messageTexts() const;
    bool allAnswersUsed() const
    {
        return m_answers.empty() && m_files.empty() && m_callbacks.empty();
    }

    long messageBox(const QString &text, long style, const QString &title) override;
    long hostMessage(const QString &text, long style) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    void showModal(Form &form) override;
    bool printSetup(QPrinter &printer) override;
    // Accepts the printer as it is set up.
    bool printDialog(QPrinter &printer) override;
    void printPreview(QPrinter &printer, const std::function<void(QPrinter &)> &paint) override;

private:
    long nextAnswer(long style);
    QString nextFile(bool save, const FileDialogRequest &request);

    ModalServices *m_previous;
    std::deque<long> m_answers;
    std::deque<QString> m_files;
    std::deque<std::function<void(Form &)>> m_callbacks;
    std::vector<Message> m_messages;
    std::vector<FileDialog> m_fileDialogs;
    std::vector<ModalWindow> m_modalWindows;
    int m_printSetups = 0;
    int m_printDialogs = 0;
    QStringList m_previewFiles;
    QTemporaryDir m_previewDir;
};

} // namespace host::ui
