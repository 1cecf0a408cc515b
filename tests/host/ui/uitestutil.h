#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Types text into a grid as a user does: the first key opens the cell's editor, the rest go
// to the editor, Return commits.
inline void typeIntoGrid(QWidget &grid, const QString &text)
{
    QTest::keyClicks(&grid, text.left(1));
    QWidget *editor = QApplication::focusWidget();
    if (editor && editor != &grid)
        QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor ? editor : &grid, Qt::Key_Return);
    // The item view commits an edit through a queued call.
    QApplication::processEvents();
}

// Shows the window and makes it the active one, so focus and keys work offscreen. A window
// that belongs to another counts as active while its owner is, so the wait is for the window
// itself.
inline bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window) &&
           QTest::qWaitFor([&window] { return QApplication::activeWindow() == window.window(); });
}
