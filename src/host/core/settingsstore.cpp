#include "host/core/settingsstore.h"

#include "host/core/paths.h"

#include <QSettings>
#include <QString>

namespace host {
namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// QSettings reads "/" and "\" as group separators; the host's keys are flat.
QString settingKey(std::string_view section, std::string_view key)
{
    QString s = qs(section);
    QString k = qs(key);
    s.replace('/', QChar(0x2215));
    s.replace('\\', QChar(0x2216));
    k.replace('/', QChar(0x2215));
    k.replace('\\', QChar(0x2216));
    return s + '/' + k;
}

} // namespace

SettingsStore::SettingsStore(std::string_view fileName)
    : SettingsStore(userConfigDir() / std::filesystem::path(std::string(fileName)))
{}

SettingsStore::SettingsStore(const std::filesystem::path &file)
    : m_file(file), m_settings(std::make_unique<QSettings>(QString::fromStdString(file.string()),
                                                           QSettings::IniFormat))
{}

SettingsStore::~SettingsStore() = default;

Variant SettingsStore::read(std::string_view section, std::string_view key,
                            const Variant &defaultValue) const
{
    const QVariant value = m_settings->value(settingKey(section, key));
    if (!value.isValid())
        return defaultValue;
    return Variant(value.toString().toStdString());
}

void SettingsStore::write(std::string_view section, std::string_view key, const Variant &value)
{
    m_settings->setValue(settingKey(section, key),
                         QString::fromStdString(value.isNull() ? std::string() : CStr(value)));
}

void SettingsStore::sync()
{
    m_settings->sync();
}

} // namespace host
