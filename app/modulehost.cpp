#include "modulehost.h"

#include "entry/moduleapi.h"
#include "entry/typelib.h"
#include "host/billdata/systemprofile.h"
#include "host/components/hostcomponents.h"
#include "host/core/dictionary.h"
#include "host/core/dispatch.h"
#include "host/core/hosterror.h"
#include "host/db/appconnection.h"
#include "host/db/connection.h"
#include "host/db/hostdatabase.h"
#include "host/db/recordset/recordset.h"
#include "host/lang/hosttext.h"
#include "host/props/shareprops.h"
#include "host/ui/modal/filemodelsbyname.h"
#include "host/ui/modal/qtmodals.h"
#include "host/ui/modal/qttranslations.h"
#include "host/ui/printing/printdialogguard.h"
#include "hostconnection.h"
#include "importfile.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>
#include <dlfcn.h>
#include <iostream>
#include <optional>
#include <unistd.h>

namespace {

std::string languageCode(const std::string &language)
{
    if (language == "zh-TW")
        return "CHT";
    if (language == "en")
        return "EN";
    return "CHS";
}

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

QtMessageHandler qtHandler = nullptr;

// The offscreen platform says, for each window with a least or greatest size, that it cannot
// pass those on; nothing is wrong, and the words only bury what the program prints.
void withoutPlatformChatter(QtMsgType type, const QMessageLogContext &context,
                            const QString &message)
{
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
}

std::optional<std::string> userName(long userId)
{
    const auto rs = host::hostConnection()->Execute("select FName from t_user where FUserID=" +
                                                    std::to_string(userId));
    if (rs->RecordCount() == 0)
        return std::nullopt;
    return host::Trim(host::CStr(rs->Fields(0).Value()));
}

long lastProcess()
{
    const auto rs =
        host::hostConnection()->Execute("select isnull(max(FID),0) from ICStockCheckProcess");
    return host::CLng(rs->Fields(0).Value());
}

long option(const std::string &key)
{
    const auto value = host::readSystemOption(*host::hostConnection(), "IC", key);
    return value ? static_cast<long>(host::Val(*value)) : 0;
}

// The host's context for its components, set for this process as the host sets it.
void setSharedProperties(const Options &options)
{
    host::ShareProps props;
    const long pid = host::currentProcessId();
    const std::string name = userName(options.operatorId).value_or(std::string());
    props.SetProperty(pid, "PropsString",
                      "UserID=" + std::to_string(options.operatorId) + ";UserName={" + name +
                          "};SUBID=ic;LANGUAGE=" + languageCode(options.language) + ";");
    props.SetProperty(pid, "UserName", name);
}

void call(host::Dispatch &entry, std::string_view member, host::InvokeKind kind,
          std::vector<host::Variant> args = {})
{
    entry.InvokeByName(member, kind, args);
}

void runCommand(host::Dispatch &entry, const Options &options)
{
    const std::string &c = options.command;
    if (c == "backup") {
        call(entry, "BackupCheckData", host::InvokeKind::Method);
    } else if (c == "processes") {
        auto dict = std::make_shared<host::Dictionary>();
        dict->SetValue("UserID", options.operatorId);
        dict->SetValue("CurYear", option("CurrentYear"));
        dict->SetValue("CurPeriod", option("CurrentPeriod"));
        call(entry, "DisChkStockProc", host::InvokeKind::Method, {host::Variant(dict)});
    } else if (c == "input") {
        call(entry, "CheckDataInput", host::InvokeKind::Method);
    } else if (c == "check") {
        call(entry, "CheckDataCheck", host::InvokeKind::Method, {options.operatorId});
    } else if (c == "print") {
        call(entry, "PrintCheckBook", host::InvokeKind::Method);
    } else if (c == "import") {
        call(entry, "TestImport", host::InvokeKind::Method, {options.arguments.at(0)});
    }
}

} // namespace

std::filesystem::path ModuleHost::defaultModulePath()
{
    if (const char *path = std::getenv("STOCKCHECK_MODULE"); path && *path)
        return path;
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::current_path() : self.parent_path()) / "libZarvoStockCheck.so";
}

ModuleHost::ModuleHost(const std::filesystem::path &library, host::ui::ModalServices *modals)
    : m_modals(modals)
{
    m_library = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library)
        throw host::HostError("Cannot load the module " + library.string() + ": " + dlerror());
    m_factory = dlsym(m_library, kStockCheckCreateObject);
    if (!m_factory)
        throw host::HostError("The module " + library.string() + " has no class factory.");
}

std::shared_ptr<host::HostObject> ModuleHost::createEntryObject() const
{
    StockCheckHost hostServices{&host::objectRegistry(), m_modals};
    std::string error;
    const auto create = reinterpret_cast<StockCheckCreateObjectFn>(m_factory);
    host::HostObject *object =
        create(std::string(TypeLib::CLSID_ICCheckInterface).c_str(), &hostServices, &error);
    if (!object)
        throw host::HostError(error.empty() ? "The module made no object." : error);
    return std::shared_ptr<host::HostObject>(object);
}

// Whether the command did its job, as far as the host can tell: a backup made a count process;
// an import in test mode reported nothing (it reports every refusal, and success only outside
// test mode). A window that was only looked at did what was asked.
bool commandDone(const Options &options, long processBefore, int reportsBefore)
{
    if (!options.screenshot.empty())
        return true;
    if (options.command == "backup")
        return lastProcess() > processBefore;
    if (options.command == "import")
        return host::ui::QtModals::instance().reportsShown() == reportsBefore;
    return true;
}

std::optional<int> refusal(const Options &options)
{
    if (!userName(options.operatorId)) {
        if (options.operatorGiven)
            std::cerr << "stockcheck: there is no user " << options.operatorId << " in "
                      << options.database.string() << "\n";
        else
            std::cerr << "stockcheck: no operator: name a user of the database with --operator "
                         "ID\n";
        return kFailed;
    }
    if (options.command != "import")
        return std::nullopt;
    if (const std::string why = importFileRefusal(options.arguments.at(0)); !why.empty()) {
        std::cerr << "stockcheck: " << why << "\n";
        return kFailed;
    }
    if (!options.test) {
        std::cerr << "stockcheck: import needs a count process, and the host hands it none from "
                     "the command line; add --test to import into the operator's last open "
                     "count\n";
        return kUsageError;
    }
    return std::nullopt;
}

int runModuleCommand(const Options &options)
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "stockcheck";
    char *argv[] = {name, nullptr};
    qtHandler = qInstallMessageHandler(withoutPlatformChatter);
    QApplication app(argc, argv);
    // Nothing but the database may open its files while the program has it open.
    host::ui::FileModelsByName fileModels(app);
    const host::ui::PrintDialogGuard printFiles(app);
    // Qt takes the user's locale; numbers written into SQL must keep their decimal point.
    setlocale(LC_NUMERIC, "C");
    host::ui::installQtTranslations(QString::fromStdString(options.language));
    host::setHostLanguage(languageCode(options.language));
    try {
        auto database = std::make_shared<host::AppConnection>();
        openHostDatabase(*database, options);
        host::setHostConnection(database);
        host::registerHostComponents();
        if (const auto status = refusal(options))
            return *status;
        setSharedProperties(options);

        auto &modals = host::ui::QtModals::instance();
        if (!options.screenshot.empty())
            modals.setScreenshotFile(QString::fromStdString(options.screenshot.string()),
                                     QString::fromStdString(options.press));
        const ModuleHost module(ModuleHost::defaultModulePath(), &modals);
        const auto object = module.createEntryObject();
        auto *entry = dynamic_cast<host::Dispatch *>(object.get());
        if (!entry)
            throw host::HostError("The module's object cannot be called by name.");
        call(*entry, "LocalConnection", host::InvokeKind::PropertyPut,
             {host::Variant(std::make_shared<host::Connection>(database))});
        call(*entry, "OperaterID", host::InvokeKind::PropertyPut, {options.operatorId});
        if (options.test)
            call(*entry, "IsTest", host::InvokeKind::PropertyPut, {true});
        const long processBefore = lastProcess();
        const int reportsBefore = modals.reportsShown();
        runCommand(*entry, options);
        if (!modals.pressRefusal().isEmpty()) {
            std::cerr << "stockcheck: --press: " << modals.pressRefusal().toStdString() << "\n";
            return kUsageError;
        }
        if (!modals.screenshotTaken()) {
            std::cerr << "stockcheck: no window was shown to save as a picture\n";
            return kFailed;
        }
        return commandDone(options, processBefore, reportsBefore) ? 0 : kFailed;
    } catch (const std::exception &e) {
        std::cerr << "stockcheck: " << e.what() << "\n";
        return kFailed;
    }
}
