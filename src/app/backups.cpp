#include "app/backups.h"

#include "image/data_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace nx5rb {

namespace {

constexpr char kFolderName[] = "backups";
constexpr char kTimeFormat[] = "yyyy-MM-dd_HH-mm-ss";
// The backups this store writes, and no other file of the folder: "2026-12-08_14-03-22_*.dat".
constexpr char kPattern[] = "\?\?\?\?-\?\?-\?\?_\?\?-\?\?-\?\?_*.dat";
// A backup being written; hidden and outside the pattern, so no listing or pruning sees it.
constexpr char kPartialTemplate[] = ".partial-XXXXXX";
// Enough names for every process that could save in the same second under the same stem.
constexpr int kMaxNameTries = 1000;

QString NameFor(const QString &stem, int n)
{
    return n == 1 ? stem + ".dat" : stem + '-' + QString::number(n) + ".dat";
}

// Writes the whole file to a hidden temporary file of the folder, then links it under the first
// free name: a name is taken atomically (never one another process has just taken) and only ever
// holds a complete backup. Where the file system has no links, the name is created exclusively
// and written in place instead.
BackupResult WriteExclusively(const QDir &dir, const QString &stem, const RadioImage &image)
{
    const auto bytes = DataFileBytes(image);
    const auto data = reinterpret_cast<const char *>(bytes.data());
    QTemporaryFile partial(dir.filePath(kPartialTemplate));
    const bool staged = partial.open()
        && partial.write(data, qint64(bytes.size())) == qint64(bytes.size()) && partial.flush();
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QString path = dir.filePath(NameFor(stem, n));
        std::error_code error;
        if (staged) {
            std::filesystem::create_hard_link(partial.fileName().toStdString(), path.toStdString(),
                                              error);
            if (!error)
                return {path.toStdString(), {}};
            if (error == std::errc::file_exists)
                continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return {path.toStdString(), file.errorString().toStdString()};
        }
        if (file.write(data, qint64(bytes.size())) != qint64(bytes.size()) || !file.flush()) {
            const std::string reason = file.errorString().toStdString();
            file.remove(); // a short backup would only mislead whoever restores it
            return {path.toStdString(), reason};
        }
        return {path.toStdString(), {}};
    }
    return {{}, "no free name for " + stem.toStdString() + " in " + dir.path().toStdString()};
}

} // namespace

std::string DefaultBackupFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(kFolderName)
        .toStdString();
}

BackupStore::BackupStore(std::string folder)
    : folder_(std::move(folder))
{ }

BackupResult BackupStore::Save(const RadioImage &image, std::string_view what)
{
    QDir dir(QString::fromStdString(folder_));
    if (!dir.mkpath(QStringLiteral(".")))
        return {{}, "cannot create the folder " + folder_};
    const QString stem = QDateTime::currentDateTime().toString(kTimeFormat) + '_'
        + QString::fromUtf8(what.data(), qsizetype(what.size()));
    BackupResult result = WriteExclusively(dir, stem, image);
    if (!result.ok())
        return result;
    Prune(result.path);
    // Another process pruning at the same moment may still have taken it (its clock said it was
    // the oldest); a path is only ever printed for a backup that is there.
    if (!QFileInfo::exists(QString::fromStdString(result.path)))
        return {{}, result.path + " was deleted as soon as it was written"};
    return result;
}

void BackupStore::Prune(const std::string &keep)
{
    const QDir dir(QString::fromStdString(folder_));
    QFileInfoList backups = dir.entryInfoList({QString::fromLatin1(kPattern)}, QDir::Files);
    const QString written = QFileInfo(QString::fromStdString(keep)).fileName();
    backups.removeIf([&written](const QFileInfo &file) { return file.fileName() == written; });
    // Newest first by when they were written: names carry the local time, which a clock or time
    // zone change moves. The backup just written is kept whatever the clock says.
    std::sort(backups.begin(), backups.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime timeA = a.lastModified();
        const QDateTime timeB = b.lastModified();
        return timeA != timeB ? timeA > timeB : a.fileName() > b.fileName();
    });
    for (qsizetype i = kBackupsKept - 1; i < backups.size(); ++i)
        QFile::remove(backups[i].filePath());
}

} // namespace nx5rb
