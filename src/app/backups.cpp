#include "app/backups.h"

#include "image/data_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace nx5rb {

namespace {

constexpr char kFolderName[] = "backups";
constexpr char kTimeFormat[] = "yyyy-MM-dd_HH-mm-ss";
// The backups this store writes, and no other file of the folder: "2026-12-08_14-03-22_*.dat".
constexpr char kPattern[] = "\?\?\?\?-\?\?-\?\?_\?\?-\?\?-\?\?_*.dat";

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
    // Two backups within one second get their own names.
    QString name = stem + ".dat";
    for (int n = 2; dir.exists(name); ++n)
        name = stem + '-' + QString::number(n) + ".dat";
    const std::string path = dir.filePath(name).toStdString();
    if (const auto reason = WriteDataFile(path, image))
        return {path, *reason};
    Prune();
    return {path, {}};
}

void BackupStore::Prune()
{
    const QDir dir(QString::fromStdString(folder_));
    // Names begin with the time they were made: by name, newest first.
    const QFileInfoList backups = dir.entryInfoList({QString::fromLatin1(kPattern)}, QDir::Files,
                                                    QDir::Name | QDir::Reversed);
    for (qsizetype i = kBackupsKept; i < backups.size(); ++i)
        QFile::remove(backups[i].filePath());
}

} // namespace nx5rb
