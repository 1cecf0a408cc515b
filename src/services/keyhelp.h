#pragma once

#include <string>

namespace host::ui {
class Form;
}

// F1 in a window opens the window's help topic (the topic and topic number of MMTS::ShowHelp)
// once the key has been delivered. True when the key was F1, so the window may drop it.
bool showHelpAfterKey(host::ui::Form &window, int keyCode, std::string topic, long topicNumber);
