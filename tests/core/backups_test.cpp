// The backup folder: which backups pruning keeps when names and clocks disagree.
#include "app/backups.h"
#include "app/window_state.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace nx5rb {
namespace {

struct OldBackup
{
    std::string name;
    qint64 ageSeconds; // negative: written while the clock was ahead
};

struct PruneCase
{
    const char *what;
    std::vector<OldBackup> old;
};

std::vector<OldBackup> Many(const std::string &stem, qint64 firstAge)
{
    std::vector<OldBackup> backups;
    for (int i = 0; i < kBackupsKept; ++i)
        backups.push_back({stem + std::to_string(i) + ".dat", firstAge + i});
    return backups;
}

// A full folder gets one more backup: the one just written and the newest others by the time
// they were written stay, whatever their names say.
TEST(Backups, PruningKeepsTheNewestByModificationTimeAndAlwaysTheOneJustWritten)
{
    std::vector<OldBackup> laterNames = Many("2099-01-01_00-00-00_read-all-", 86'400);
    laterNames.push_back({"2000-01-01_00-00-00_read-all.dat", 3'600});
    const PruneCase cases[] = {
        {"names that sort after today's", laterNames},
        {"a clock that was an hour ahead", Many("2026-01-01_00-00-00_read-all-", -3'600)},
    };
    for (const PruneCase &c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string path = folder.MakeFolder("backups");
        const QDir dir(QString::fromStdString(path));
        const QDateTime now = QDateTime::currentDateTime();
        for (const OldBackup &backup : c.old) {
            QFile file(dir.filePath(QString::fromStdString(backup.name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(file.setFileTime(now.addSecs(-backup.ageSeconds),
                                         QFileDevice::FileModificationTime));
        }
        // Not a backup: never listed, never pruned.
        folder.Write("backups/notes.txt", {'x'});

        BackupStore store(path);
        const BackupResult result = store.Save(WindowState().Image, "read-all");
        ASSERT_TRUE(result.ok()) << result.failure;
        EXPECT_EQ(ReadDataFile(result.path).image, WindowState().Image);

        std::vector<OldBackup> byAge = c.old;
        std::sort(byAge.begin(), byAge.end(), [](const OldBackup &a, const OldBackup &b) {
            return a.ageSeconds < b.ageSeconds;
        });
        std::set<std::string> expected = {
            QFileInfo(QString::fromStdString(result.path)).fileName().toStdString(), "notes.txt"};
        for (int i = 0; i < kBackupsKept - 1; ++i)
            expected.insert(byAge[i].name);
        std::set<std::string> left;
        for (const QString &name : dir.entryList(QDir::Files))
            left.insert(name.toStdString());
        EXPECT_EQ(left, expected);
    }
}

} // namespace
} // namespace nx5rb
