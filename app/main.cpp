#include "options.h"

#include "host/ui/qtmodals.h"

#include <cstdlib>
#include <iostream>

namespace {

constexpr int kUsageError = 2;

int notAvailable(const std::string &command)
{
    std::cerr << "stockcheck: the command '" << command
              << "' is not available in this build of the module.\n";
    return kUsageError;
}

} // namespace

int main(int argc, char *argv[])
{
    std::string error;
    const auto options = parseOptions(argc, argv, error);
    if (!options) {
        std::cerr << "stockcheck: " << error << "\n\n" << usageText();
        return kUsageError;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    // A picture of the first window is wanted, without a display.
    if (!options->screenshot.empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        host::ui::QtModals::instance().setScreenshotFile(
            QString::fromStdString(options->screenshot.string()));
    }
    return notAvailable(options->command);
}
