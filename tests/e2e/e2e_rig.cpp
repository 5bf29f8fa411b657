#include "e2e_rig.h"

#include "image/data_file.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>

#include <QTimer>

namespace nx5rb::test {

namespace {

std::vector<std::string> SimArgs(const std::string &savePath, const std::vector<std::string> &extra)
{
    std::vector<std::string> args = {"--quiet", "--baud", "0", "--save", savePath};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

std::string Hex(unsigned value, int digits)
{
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::string Mismatch(mm::Address at, std::uint8_t actual, std::uint8_t expected)
{
    return "0x" + Hex(at, 3) + " holds 0x" + Hex(actual, 2) + ", not 0x" + Hex(expected, 2);
}

} // namespace

SimRadio::SimRadio(const std::string &savePath, const std::vector<std::string> &extra)
    : process_(kSimProgram, SimArgs(savePath, extra))
{
    if (process_.Started())
        terminal_ = process_.FirstLine();
}

ToolRig::ToolRig(const std::string &device)
    : tool({ParsePortArgument(device).value_or(PortSelection()), nullptr, false, {}, {}}, prompt)
{ }

bool ToolRig::Run(TransferCommand command)
{
    bool hung = false;
    QTimer ceiling;
    ceiling.setSingleShot(true);
    QObject::connect(&ceiling, &QTimer::timeout, [&] {
        hung = true;
        link.Abandon();
    });
    ceiling.start(kChildCeilingMs);
    tool.Get().RunTransferToEnd(command);
    ceiling.stop();
    return !hung;
}

RadioImage ReadImage(const std::string &path)
{
    const DataFileContents contents = ReadDataFile(path);
    EXPECT_EQ(contents.status, DataFileStatus::Ok) << path << ": " << contents.reason;
    if (contents.status != DataFileStatus::Ok) {
        RadioImage erased {};
        EraseImage(erased);
        return erased;
    }
    return contents.image;
}

std::string Difference(const RadioImage &actual, const RadioImage &expected, Span span)
{
    for (mm::Address at = span.from; at < span.to; ++at)
        if (actual[at] != expected[at])
            return Mismatch(at, actual[at], expected[at]);
    return {};
}

std::string MovedOnly(const RadioImage &actual, const RadioImage &source, const RadioImage &before,
                      const std::vector<Span> &moved)
{
    for (std::size_t at = 0; at < mm::kImageSize; ++at) {
        bool inMoved = false;
        for (const Span &span : moved)
            inMoved = inMoved || (at >= span.from && at < span.to);
        const RadioImage &expected = inMoved ? source : before;
        if (actual[at] != expected[at])
            return Mismatch(mm::Address(at), actual[at], expected[at])
                + (inMoved ? " in a moved block" : " outside the moved blocks");
    }
    return {};
}

} // namespace nx5rb::test
