// Automatic backups of the image: a data file per completed read, and one of every image about to
// be replaced (by a read, an open or a write's look at the radio) while it holds unsaved changes.
// The newest ones, by when they were written, are kept; older ones are deleted.
#pragma once

#include "image/radio_image.h"

#include <string>
#include <string_view>

namespace nx5rb {

inline constexpr int kBackupsKept = 200;

// The user's data folder's "backups" (QStandardPaths::AppDataLocation).
std::string DefaultBackupFolder();

// What a backup came to: the file written, or the system's reason it could not be.
struct BackupResult
{
    std::string path;
    std::string failure;

    bool ok() const { return failure.empty(); }
};

class BackupStore
{
public:
    explicit BackupStore(std::string folder = DefaultBackupFolder());

    const std::string &Folder() const { return folder_; }

    // Writes `image` as "<yyyy-MM-dd_HH-mm-ss>_<what>.dat" ("2026-12-08_14-03-22_read-all.dat";
    // "…_read-all-2.dat" and on when the name is taken, also by another process at the same
    // moment), then deletes all but the newest kBackupsKept backups of the folder by their
    // modification time, never the one just written.
    BackupResult Save(const RadioImage &image, std::string_view what);

private:
    void Prune(const std::string &keep);

    std::string folder_;
};

} // namespace nx5rb
