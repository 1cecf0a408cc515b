#pragma once

#include <QObject>

#include <map>

class QWidget;

namespace host::ui {

class CommandButton;

// A control array of command buttons: buttons by index, one Click event with the index.
class CommandButtonArray : public QObject
{
    Q_OBJECT

public:
    explicit CommandButtonArray(QObject *parent = nullptr) : QObject(parent) {}

    // Makes the button of this index on the parent widget, which owns it.
    CommandButton &Load(int index, QWidget *parent, const QString &caption = {});
    // The button of this index; a missing index is an error.
    CommandButton &operator()(int index) const;
    int Count() const { return static_cast<int>(m_buttons.size()); }

signals:
    void Click(int Index);

private:
    std::map<int, CommandButton *> m_buttons;
};

} // namespace host::ui
