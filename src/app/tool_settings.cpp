#include "app/tool_settings.h"

#include "app/port_select.h"

#include <QSettings>

namespace nx5rb {

namespace {

constexpr char kPort[] = "port";
constexpr char kLastFolder[] = "lastFolder";
constexpr char kGeometry[] = "window/geometry";
constexpr char kBackups[] = "safety/backups";
constexpr char kGuard[] = "safety/calibrationGuard";
constexpr char kVerify[] = "safety/verifyWrites";
constexpr char kChangedOnly[] = "safety/changedBlocksOnly";
// Longer values than these are not ours: a path or a window's geometry is far shorter.
constexpr qsizetype kLongestText = 4096;

bool Switch(const QSettings &store, const char *key, bool fallback)
{
    const QString text = store.value(key).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

std::string Text(const QSettings &store, const char *key)
{
    const QVariant value = store.value(key);
    if (!value.canConvert<QString>())
        return {};
    const QString text = value.toString();
    if (text.size() > kLongestText || text.contains(QChar(0)))
        return {};
    return text.toStdString();
}

} // namespace

std::unique_ptr<QSettings> OpenSettingsStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "nx5rb",
                                       "nx5rb");
}

ToolSettings LoadSettings(const QSettings &store)
{
    ToolSettings settings;
    const std::string port = Text(store, kPort);
    if (!port.empty() && ParsePortArgument(port))
        settings.port = port;
    settings.lastFolder = Text(store, kLastFolder);
    const QByteArray geometry = store.value(kGeometry).toByteArray();
    if (geometry.size() <= kLongestText)
        settings.geometry = geometry;
    const ToolSettings defaults;
    settings.backups = Switch(store, kBackups, defaults.backups);
    settings.calibrationGuard = Switch(store, kGuard, defaults.calibrationGuard);
    settings.verifyWrites = Switch(store, kVerify, defaults.verifyWrites);
    settings.changedBlocksOnly = Switch(store, kChangedOnly, defaults.changedBlocksOnly);
    return settings;
}

void SaveSettings(QSettings &store, const ToolSettings &settings)
{
    store.setValue(kPort, QString::fromStdString(settings.port));
    store.setValue(kLastFolder, QString::fromStdString(settings.lastFolder));
    store.setValue(kGeometry, settings.geometry);
    store.setValue(kBackups, settings.backups);
    store.setValue(kGuard, settings.calibrationGuard);
    store.setValue(kVerify, settings.verifyWrites);
    store.setValue(kChangedOnly, settings.changedBlocksOnly);
    store.sync();
}

} // namespace nx5rb
