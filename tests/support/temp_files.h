// Files for the data-file tests, in a folder that disappears with the test.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace nx5rb::test {

class TempFolder
{
public:
    TempFolder() { EXPECT_TRUE(dir_.isValid()); }

    std::string Path(const std::string &name) const
    {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    std::string Write(const std::string &name, const std::vector<std::uint8_t> &bytes) const
    {
        const std::string path = Path(name);
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
        return path;
    }

    std::string MakeFolder(const std::string &name) const
    {
        EXPECT_TRUE(QDir(dir_.path()).mkdir(QString::fromStdString(name)));
        return Path(name);
    }

private:
    QTemporaryDir dir_;
};

inline std::vector<std::uint8_t> ReadAll(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

} // namespace nx5rb::test
