#pragma once

#include <QKeySequence>
#include <Qt>

class QKeyEvent;

namespace host::ui {

// Key codes and shift states as the module's key handlers expect them: F1 = 112, Enter = 13,
// letters as their upper-case character; shift 1, control 2, alt 4.
namespace KeyCode {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int Delete = 46;
constexpr int F1 = 112;
constexpr int F7 = 118;
constexpr int F8 = 119;
} // namespace KeyCode

int keyCodeOf(const QKeyEvent &event);
int shiftStateOf(Qt::KeyboardModifiers modifiers);
// The typed character's code, 0 when the key types nothing.
int keyAsciiOf(const QKeyEvent &event);
// The key combination of a key code and shift state; empty for a key without one.
QKeySequence keySequenceOf(int keyCode, int shift);

} // namespace host::ui
