#include "image/data_file.h"

#include <algorithm>

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace nx5rb {

DataFileContents ParseDataFile(std::span<const std::uint8_t> bytes)
{
    DataFileContents contents;
    contents.status = DataFileStatus::WrongFile;
    std::copy_n(bytes.begin(), std::min(bytes.size(), contents.header.size()),
                contents.header.begin());
    if (bytes.size() < kDataFileSize)
        return contents;
    if (!std::equal(kFileHeaderText.begin(), kFileHeaderText.begin() + kFileHeaderCompared,
                    bytes.begin()))
        return contents;
    std::copy_n(bytes.begin() + contents.header.size(), mm::kImageSize, contents.image.begin());
    contents.status = DataFileStatus::Ok;
    return contents;
}

DataFileContents ReadDataFile(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        DataFileContents failed;
        failed.reason = file.errorString().toStdString();
        return failed;
    }
    // Only the first 4112 bytes matter; anything after them is never looked at.
    std::array<std::uint8_t, kDataFileSize> buffer {};
    qint64 total = 0;
    while (total < qint64(buffer.size())) {
        const qint64 got = file.read(reinterpret_cast<char *>(buffer.data()) + total,
                                     qint64(buffer.size()) - total);
        if (got < 0) {
            DataFileContents failed;
            failed.reason = file.errorString().toStdString();
            return failed;
        }
        if (got == 0)
            break;
        total += got;
    }
    return ParseDataFile(std::span<const std::uint8_t>(buffer.data(), std::size_t(total)));
}

std::array<std::uint8_t, kDataFileSize> DataFileBytes(const RadioImage &image)
{
    std::array<std::uint8_t, kDataFileSize> bytes {};
    std::copy(kFileHeaderText.begin(), kFileHeaderText.end(), bytes.begin());
    std::copy(image.begin(), image.end(), bytes.begin() + kFileHeaderText.size());
    return bytes;
}

std::optional<std::string> WriteDataFile(const std::string &path, const RadioImage &image)
{
    const auto bytes = DataFileBytes(image);
    return ReplaceFile(path, {reinterpret_cast<const char *>(bytes.data()), bytes.size()});
}

std::optional<std::string> ReplaceFile(const std::string &path, std::span<const char> bytes)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString().toStdString();
    // A short write shows only when the buffer is flushed, and commit() does not report a
    // failed flush: flush first, so a truncated file never replaces the old one.
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush()) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString().toStdString();
    return std::nullopt;
}

} // namespace nx5rb
