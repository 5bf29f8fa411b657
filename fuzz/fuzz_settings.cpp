// The window's remembered settings read from an arbitrary file: whatever the file holds, reading it
// gives usable settings (a port the port choice understands, bounded texts), and what is saved
// from them reads back the same.
#include "app/port_select.h"
#include "app/tool_settings.h"
#include "invariant.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

using nx5rb::fuzz::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace nx5rb;
    static QTemporaryDir folder;
    const QString path = folder.filePath("nx5rb.conf");
    const QString again = folder.filePath("again.conf");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const ToolSettings settings = LoadSettings(QSettings(path, QSettings::IniFormat));
    Check(settings.port.empty() || ParsePortArgument(settings.port).has_value(),
          "a remembered port is one the port choice understands");
    Check(settings.lastFolder.size() <= 4 * 4096, "a remembered folder is a path, not a book");
    Check(settings.geometry.size() <= 4096, "a window's geometry is short");

    QFile::remove(again);
    {
        QSettings store(again, QSettings::IniFormat);
        SaveSettings(store, settings);
    }
    const ToolSettings reread = LoadSettings(QSettings(again, QSettings::IniFormat));
    Check(reread == settings, "saved settings read back the same");
    return 0;
}
