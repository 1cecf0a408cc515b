#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QTimer>

class QAbstractItemView;

namespace host::ui {

// Opens the editor of a view's current cell when the user clicks it again, once the click has
// turned out to be no double click. Unlike the item view's own delayed edit, it never holds up
// an edit the keys open meanwhile: the view cancels it then, so the keys typed at once after
// the click are what the cell gets.
class ClickEdit : public QObject
{
public:
    explicit ClickEdit(QAbstractItemView &view);

    // An edit opened some other way.
    void cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open();
    // Whether a click on the cell opens its editor: the current cell, which takes typing and
    // is not being edited already.
    bool opens(const QModelIndex &index) const;

    QAbstractItemView &m_view;
    QTimer m_timer;
    // The current cell the button went down on, while it is down.
    QPersistentModelIndex m_pressed;
    QPersistentModelIndex m_clicked;
};

} // namespace host::ui
