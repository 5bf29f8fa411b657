// What the window remembers between runs: the port, the folder of the last file dialog, its own
// position and size, and the switches of the safety net. Kept with QSettings in the user's
// configuration folder; the command line does not read them (a script behaves the same anywhere).
#pragma once

#include <memory>
#include <string>

#include <QByteArray>

class QSettings;

namespace nx5rb {

struct ToolSettings
{
    std::string port; // COM1..COM4, a device path or "virtual"; empty for COM1
    std::string lastFolder; // where the file dialogs open
    QByteArray geometry; // the window's position and size, as QWidget::saveGeometry gives it
    bool backups = true;
    bool calibrationGuard = true;
    bool verifyWrites = true;
    bool changedBlocksOnly = true; // frequency-area, band and write-all writes

    bool operator==(const ToolSettings &) const = default;
};

// Where the window keeps its settings: the user's configuration folder, "nx5rb/nx5rb.conf".
std::unique_ptr<QSettings> OpenSettingsStore();

// The settings `store` holds; a value that is missing or does not read as what it holds gives the
// default instead, so a damaged file never stops the window from starting.
ToolSettings LoadSettings(const QSettings &store);
void SaveSettings(QSettings &store, const ToolSettings &settings);

} // namespace nx5rb
