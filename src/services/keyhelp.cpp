#include "services/keyhelp.h"

#include "host/ui/form/form.h"
#include "host/ui/form/keycodes.h"
#include "services/mmts.h"
#include "services/mparse.h"

bool showHelpAfterKey(host::ui::Form &window, int keyCode, std::string topic, long topicNumber)
{
    if (keyCode != host::ui::KeyCode::F1)
        return false;
    window.runAfterKey([topic = std::move(topic), topicNumber] {
        MMTS::ShowHelp(host::ui::KeyCode::F1, 0, topic, topicNumber, MParse::GetPropsItem("SUBID"),
                       0);
    });
    return true;
}
