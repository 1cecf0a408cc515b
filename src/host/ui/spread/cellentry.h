#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace host::ui {

// How the open editor of a grid's cell takes keys and clicks, as a spreadsheet's cell does.
// Opened by typing, it holds an entry that replaces the value: the arrow keys, Home, End and
// the page keys end it and move between cells, and a click on it changes nothing, so no key
// or click lands inside the text the cell had. Opened by F2 or a double click, or switched by
// F2, it edits its text as a text box does. A double click edits an entry's text only when both
// its clicks fell on the entry with no key between them: a click taken for the second of a double
// click whose first came before the keys changes nothing either.
class CellEntry : public QObject
{
public:
    // moveOn ends the edit and, unless the cell refused the text, moves by the key.
    CellEntry(std::function<void(QKeyEvent &)> moveOn, QObject *parent);

    // An editor opened to take an entry; it watches it.
    void watch(QWidget &editor);
    // The editor edits its text, the caret where the user double-clicked, or at the end.
    void editText(QWidget &editor, const QPoint *clicked = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPressed(QWidget &editor, QKeyEvent &event);

    std::function<void(QKeyEvent &)> m_moveOn;
    // The one editor that edits its text; any other takes an entry.
    QPointer<QWidget> m_editsText;
    // The entry clicked last, until a key is typed: the one a double click may go on to edit.
    QPointer<QWidget> m_clicked;
};

} // namespace host::ui
