#include "host/ui/form/keycodes.h"

#include <QKeyEvent>

#include <array>
#include <utility>

namespace host::ui {

namespace {

constexpr std::array<std::pair<int, int>, 20> kNamedKeys{{
    {Qt::Key_Backspace, KeyCode::Back},
    {Qt::Key_Tab, KeyCode::Tab},
    {Qt::Key_Backtab, KeyCode::Tab},
    {Qt::Key_Return, KeyCode::Return},
    {Qt::Key_Enter, KeyCode::Return},
    {Qt::Key_Escape, KeyCode::Escape},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, KeyCode::Delete},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
}};

constexpr int kFunctionKeys = 24;

bool isPlainKey(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
}

} // namespace

int keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys)
        return KeyCode::F1 + (key - Qt::Key_F1);
    if (isPlainKey(key))
        return key;
    for (const auto &[qtKey, code] : kNamedKeys) {
        if (qtKey == key)
            return code;
    }
    return 0;
}

int shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= 1;
    if (modifiers & Qt::ControlModifier)
        state |= 2;
    if (modifiers & Qt::AltModifier)
        state |= 4;
    return state;
}

int keyAsciiOf(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    return text.at(0).unicode();
}

QKeySequence keySequenceOf(int keyCode, int shift)
{
    int key = 0;
    if (keyCode >= KeyCode::F1 && keyCode < KeyCode::F1 + kFunctionKeys)
        key = Qt::Key_F1 + (keyCode - KeyCode::F1);
    else if (isPlainKey(keyCode))
        key = keyCode;
    else {
        for (const auto &[qtKey, code] : kNamedKeys) {
            if (code == keyCode) {
                key = qtKey;
                break;
            }
        }
    }
    if (!key)
        return {};
    Qt::KeyboardModifiers modifiers;
    if (shift & 1)
        modifiers |= Qt::ShiftModifier;
    if (shift & 2)
        modifiers |= Qt::ControlModifier;
    if (shift & 4)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

} // namespace host::ui
