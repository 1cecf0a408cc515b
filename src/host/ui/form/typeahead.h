#pragma once

#include <QKeyEvent>
#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>
#include <set>

class QWindow;

namespace host::ui {

// Holds the keys typed at a window from a key that starts a command until the window the
// command opens takes the keys, and hands them to it in order, each to where the keys go at
// its turn; when the command opens no window, they go on in this one once it is done. Without
// it a key typed ahead reaches the control underneath: an Escape meant for the help window
// would drop the count in a cell's editor. It deletes itself when every key is handed on.
class TypeAhead : public QObject
{
public:
    explicit TypeAhead(QWidget &window);

    // The command is done.
    void commandDone();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Another window has the keys now, or the command is done: the keys go on.
    void release();
    // Hands on the next key, once a window has the keys.
    void handOn();

    QPointer<QWindow> m_window;
    std::deque<std::unique_ptr<QKeyEvent>> m_keys;
    // Keys pressed since the holding began; the release of any other goes where it would.
    std::set<int> m_pressed;
    bool m_released = false;
    bool m_handing = false;
};

} // namespace host::ui
