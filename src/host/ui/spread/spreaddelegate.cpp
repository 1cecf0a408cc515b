#include "host/ui/spread/spreaddelegate.h"

#include "host/ui/form/textlength.h"

#include "host/ui/spread/spreadmodel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>

#include <utility>

namespace host::ui {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The tab control that is switching away from the page holding the widget, and that page.
std::pair<QTabWidget *, QWidget *> pageLeft(QWidget &widget)
{
    for (QWidget *page = &widget; page && !page->isWindow(); page = page->parentWidget()) {
        QWidget *stack = page->parentWidget();
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (tabs && tabs->indexOf(page) >= 0 && tabs->indexOf(page) != tabs->currentIndex())
            return {tabs, page};
    }
    return {nullptr, nullptr};
}

} // namespace

SpreadDelegate::SpreadDelegate(SpreadModel &model, QObject *parent)
    : QStyledItemDelegate(parent), m_model(model)
{}

QWidget *SpreadDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                      const QModelIndex &index) const
{
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const SpreadSettings &s = m_model.settings();
    QWidget *editor = nullptr;
    switch (s.cellType.get(col, row)) {
    case CellType::Float:
    case CellType::Integer: {
        // Typing is not filtered key by key, which would keep the leading part of a text that
        // is no number: the whole text is checked when it is committed.
        auto *edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignRight);
        editor = edit;
        break;
    }
    case CellType::Date: {
        auto *edit = new QDateEdit(parent);
        edit->setDisplayFormat(kDateFormat);
        edit->setCalendarPopup(true);
        editor = edit;
        break;
    }
    case CellType::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->addItems(m_model.comboItems(col, row));
        editor = combo;
        break;
    }
    default: {
        auto *edit = new QLineEdit(parent);
        edit->setValidator(new LengthValidator(std::max(s.maxEditLen.get(col, row), 0),
                                               s.maxEditBytes.get(col, row), edit));
        editor = edit;
        break;
    }
    }
    m_edited = index;
    emit editorCreated(editor);
    return editor;
}

bool SpreadDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::FocusOut) {
        // A window left in the middle of a number finds it as it was, and the keys go on with
        // it: committing it now would make the next key start the cell afresh. A pop-up (a
        // list, a menu) only borrows the keys, and so does a menu bar walked by keys and left by
        // Escape; a command chosen there ends the edit first.
        const Qt::FocusReason reason = static_cast<const QFocusEvent &>(*event).reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason || QApplication::activePopupWidget())
            return false;
        if (keepsRefusedText(*editor))
            return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

bool SpreadDelegate::keepsRefusedText(QWidget &editor) const
{
    // Another cell of the grid commits or drops the text as the view decides; another control,
    // a button above all, must not act on the value the cell kept instead of the one typed.
    const auto *edit = qobject_cast<QLineEdit *>(&editor);
    const QWidget *to = QApplication::focusWidget();
    const QWidget *viewport = editor.parentWidget();
    const std::pair<QTabWidget *, QWidget *> left = pageLeft(editor);
    QTabWidget *tabs = left.first;
    if (!edit || !m_edited.isValid())
        return false;
    if (!tabs && (!to || !editor.isVisible() || to->window() != editor.window() ||
                  (viewport && to == viewport->parentWidget())))
        return false;
    const auto refusal =
        m_model.numberRefusal(m_edited.column() + 1, m_edited.row() + 1, edit->text());
    if (!refusal)
        return false;
    QApplication::beep();
    if (tabs) {
        // The tab control is still switching pages: its page comes back once it is done.
        const QPointer<QWidget> kept(&editor);
        const QPointer<QWidget> shown(left.second);
        const QPersistentModelIndex cell = m_edited;
        QMetaObject::invokeMethod(
            tabs,
            [this, tabs, shown, kept, cell, why = *refusal] {
                if (shown)
                    tabs->setCurrentWidget(shown);
                if (kept)
                    kept->setFocus(Qt::OtherFocusReason);
                emit numberRefused(cell, why);
            },
            Qt::QueuedConnection);
        return true;
    }
    // A button's click ends the edit itself once the button is up, and says then why it waits:
    // a message now would take the release from it.
    if (!qobject_cast<const QAbstractButton *>(to))
        emit numberRefused(m_edited, *refusal);
    editor.setFocus(Qt::OtherFocusReason);
    return true;
}

void SpreadDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(std::max(combo->findText(value), 0));
    } else if (auto *date = qobject_cast<QDateEdit *>(editor)) {
        const QDate parsed = QDate::fromString(value, kDateFormat);
        date->setDate(parsed.isValid() ? parsed : QDate::currentDate());
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->setText(value);
    }
}

void SpreadDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                  const QModelIndex &index) const
{
    QString text;
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        text = combo->currentText();
    else if (auto *date = qobject_cast<QDateEdit *>(editor))
        text = date->date().toString(kDateFormat);
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        text = edit->text();
    // A text the cell refuses leaves it as it was.
    if (!model->setData(index, text, Qt::EditRole) && (index.flags() & Qt::ItemIsEditable)) {
        QApplication::beep();
        if (const auto refusal = m_model.numberRefusal(index.column() + 1, index.row() + 1, text))
            emit numberRefused(index, *refusal);
        emit textRefused(index);
    }
}

} // namespace host::ui
