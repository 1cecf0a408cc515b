#pragma once

#include "host/ui/spread/cellrefusal.h"

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace host::ui {

class SpreadModel;

// Editors of the spread grid's cells by cell type: a text box limited to the cell's length, a
// number box whose text the cell checks as a whole when it is committed, a date box and a
// drop-down list.
//
// An open editor stays open, with its text, while its window is not the active one or its
// menu bar holds the keys. When another control of the window takes the focus from a text the
// cell refuses, the editor keeps the text and takes the focus back.
class SpreadDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    SpreadDelegate(SpreadModel &model, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

signals:
    void editorCreated(QWidget *editor) const;
    // The cell refused what the user typed and was left as it was.
    void numberRefused(const QModelIndex &index, const host::ui::CellRefusal &refusal) const;
    // The cell refused the editor's text and kept its value.
    void textRefused(const QModelIndex &index) const;

private:
    // True when the editor keeps a refused text and the focus.
    bool keepsRefusedText(QWidget &editor) const;

    SpreadModel &m_model;
    // The cell of the open editor: the grid opens one at a time.
    mutable QPersistentModelIndex m_edited;
};

} // namespace host::ui
