// nx5rb-sim as the tool meets it: a program that prints a terminal path and answers the link on
// it, and its command line.
#include "image/data_file.h"
#include "sim/factory_memory.h"
#include "sim/sim_options.h"
#include "support/child_process.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

namespace nx5rb {
namespace {

using namespace radio_frame;

// --- the command line ---

struct ArgsCase
{
    std::vector<std::string_view> args;
    bool accepted;
};

void PrintTo(const ArgsCase &c, std::ostream *out)
{
    for (std::string_view arg : c.args)
        *out << arg << ' ';
}

class SimProgramArgs : public ::testing::TestWithParam<ArgsCase>
{
};

TEST_P(SimProgramArgs, AcceptsOnlyWellFormedOptions)
{
    const SimOptions options = ParseSimArgs(GetParam().args);
    EXPECT_EQ(options.Error.empty(), GetParam().accepted) << options.Error;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SimProgramArgs,
    ::testing::Values(
        ArgsCase {{}, true}, ArgsCase {{"--help"}, true}, ArgsCase {{"--baud", "0"}, true},
        ArgsCase {{"--baud", "115200"}, true}, ArgsCase {{"--baud", "-1"}, false},
        ArgsCase {{"--baud", "96OO"}, false}, ArgsCase {{"--baud"}, false},
        ArgsCase {{"--load", "a.dat"}, true}, ArgsCase {{"--load", ""}, false},
        ArgsCase {{"--save"}, false}, ArgsCase {{"--nak-on-write", "3"}, true},
        ArgsCase {{"--nak-on-write", "0"}, false}, ArgsCase {{"--stall-after", "x"}, false},
        ArgsCase {{"--entry-digit", "3"}, true}, ArgsCase {{"--entry-digit", "33"}, false},
        ArgsCase {{"--verbose"}, false}, ArgsCase {{"a.dat"}, false}));

TEST(SimProgramArgs, OptionsReachTheirFields)
{
    const std::vector<std::string_view> args = {"--load",           "in.dat",
                                                "--save",           "out.dat",
                                                "--export",         "x.dat",
                                                "--baud",           "19200",
                                                "--quiet",          "--never-answer-entry",
                                                "--entry-digit",    "3",
                                                "--nak-on-write",   "4",
                                                "--bad-reply-byte", "5",
                                                "--wrong-address",  "6",
                                                "--stall-after",    "7",
                                                "--repeat-faults"};
    const SimOptions options = ParseSimArgs(args);
    ASSERT_TRUE(options.Error.empty()) << options.Error;
    EXPECT_EQ(options.LoadPath, "in.dat");
    EXPECT_EQ(options.SavePath, "out.dat");
    EXPECT_EQ(options.ExportPath, "x.dat");
    EXPECT_EQ(options.Baud, 19200);
    EXPECT_TRUE(options.Quiet);
    const RadioFaults expected {true, '3', 4, 5, 6, 7, true};
    EXPECT_EQ(options.Faults, expected);
    EXPECT_EQ(ParseSimArgs({}).Baud, kDefaultSimBaud);
}

// Every option of the table in each form it may be written in; a misused one is told in one line.
TEST(SimProgramArgs, EveryOptionTakesEachFormAndAMisuseIsOneLine)
{
    const SimOptions defaults = ParseSimArgs({});
    for (const SimOptionRow &option : SimOptionTable()) {
        const std::string name = "--" + std::string(option.name);
        const std::string valued = name + "=3"; // "3" does for a file, a count, a rate, a digit
        const std::vector<std::string_view> spaced = {name, "3"};
        const std::vector<std::string_view> joined = {valued};
        const std::vector<std::string_view> bare = {name};
        if (option.valueName.empty()) {
            const SimOptions set = ParseSimArgs(bare);
            EXPECT_EQ(set.Error, "") << name;
            EXPECT_NE(set, defaults) << name;
            EXPECT_EQ(ParseSimArgs(joined).Error, "option " + name + " takes no value");
            continue;
        }
        const SimOptions set = ParseSimArgs(spaced);
        EXPECT_EQ(set.Error, "") << name;
        EXPECT_NE(set, defaults) << name;
        EXPECT_EQ(ParseSimArgs(joined), set) << name;
        EXPECT_EQ(ParseSimArgs(bare).Error, "option " + name + " needs a value");
    }
    const std::vector<std::string_view> unknown = {"--no-such-option"};
    EXPECT_EQ(ParseSimArgs(unknown).Error, "unknown option --no-such-option");
}

TEST(SimProgramArgs, SessionLineSaysWhatMoved)
{
    EXPECT_EQ(SessionLogLine({3, 18, 0, true}), "session 3: read 18 blocks");
    EXPECT_EQ(SessionLogLine({4, 0, 1, true}), "session 4: wrote 1 block");
    EXPECT_EQ(SessionLogLine({5, 2, 3, false}),
              "session 5: read 2 blocks, wrote 3 blocks (unfinished)");
}

// --- the program ---

constexpr int kWaitMs = 10'000;

std::string ProgramPath()
{
    if (const char *path = std::getenv("NX5RB_SIM"))
        return path;
    // The build tree puts the tests beside src/.
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / ".." / "src" / "sim"
            / "nx5rb-sim")
        .lexically_normal()
        .string();
}

bool WaitReadable(int fd, int timeoutMs)
{
    pollfd watch {fd, POLLIN, 0};
    return poll(&watch, 1, timeoutMs) > 0;
}

// Reads exactly n bytes, or what came before the time-out.
Bytes ReadBytes(int fd, std::size_t n, int timeoutMs = kWaitMs)
{
    Bytes bytes;
    while (bytes.size() < n && WaitReadable(fd, timeoutMs)) {
        std::array<std::uint8_t, 256> chunk {};
        const ssize_t count = read(fd, chunk.data(), std::min(chunk.size(), n - bytes.size()));
        if (count <= 0)
            break;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
    }
    return bytes;
}

// nx5rb-sim as a child process with its standard output and error on pipes.
class SimProcess : public test::ChildProcess
{
public:
    explicit SimProcess(const std::vector<std::string> &args)
        : ChildProcess(ProgramPath(), args)
    { }
};

// The tool's side of the pseudo-terminal: opened and set raw as a serial port would be.
class Terminal
{
public:
    explicit Terminal(const std::string &path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY))
    {
        termios mode {};
        if (fd_ >= 0 && tcgetattr(fd_, &mode) == 0) {
            cfmakeraw(&mode);
            tcsetattr(fd_, TCSANOW, &mode);
        }
    }
    ~Terminal()
    {
        if (fd_ >= 0)
            close(fd_);
    }

    bool IsOpen() const { return fd_ >= 0; }

    bool Send(const Bytes &frame)
    {
        return write(fd_, frame.data(), frame.size()) == ssize_t(frame.size());
    }

    // Sends a frame and reads the reply of the given length.
    Bytes Exchange(const Bytes &frame, std::size_t replyLength)
    {
        return Send(frame) ? ReadBytes(fd_, replyLength) : Bytes {};
    }

    // Whatever arrives within a short while, for frames that must stay unanswered.
    Bytes Unanswered(const Bytes &frame)
    {
        constexpr int kQuietMs = 300;
        return Send(frame) ? ReadBytes(fd_, 1, kQuietMs) : Bytes {};
    }

private:
    int fd_ = -1;
};

const Bytes kEntryFrame(kEntry.begin(), kEntry.end());

Bytes BlockFrame(std::uint8_t kind, std::uint16_t address, std::string_view data = {})
{
    Bytes frame(kRequestLength + data.size());
    frame[0] = kind;
    frame[1] = std::uint8_t(address >> 8);
    frame[2] = std::uint8_t(address & 0xFF);
    frame[3] = kBlockLength;
    std::copy(data.begin(), data.end(), frame.begin() + kRequestLength);
    return frame;
}

class SimProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::exists(ProgramPath())) << ProgramPath();
        ASSERT_TRUE(dir.isValid());
    }

    std::string File(const char *name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
};

TEST_F(SimProgram, ServesTheLinkOverItsTerminalUntilTerminated)
{
    const std::string saved = File("saved.dat");
    SimProcess sim({"--save", saved});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.FirstLine();
    ASSERT_FALSE(path.empty());

    const RadioImage factory = FactoryMemory();
    constexpr std::string_view kLine = "WRITTEN BY PTY";
    {
        Terminal tool(path);
        ASSERT_TRUE(tool.IsOpen()) << path;
        const Bytes entry = tool.Exchange(kEntryFrame, 3);
        ASSERT_EQ(entry.size(), 3u);
        EXPECT_EQ(entry[1], kAck);
        EXPECT_EQ(entry[2], '1');
        EXPECT_EQ(
            tool.Exchange({kBandInfo}, 48),
            Bytes(factory.begin() + mm::kFreqAreaBlock, factory.begin() + mm::kFreqAreaBlockEnd));
        const std::string block = std::string(kLine) + "\xFF\xFF";
        EXPECT_EQ(tool.Exchange(BlockFrame(kWrite, mm::kPowerOnMsg, block), 1), Bytes {kAck});
        EXPECT_TRUE(tool.Unanswered({kEnd}).empty());
    }
    // The session wrote a block, so the memory is saved at once.
    for (int waited = 0; waited < kWaitMs && !std::filesystem::exists(saved); waited += 10)
        usleep(10'000);
    EXPECT_TRUE(std::filesystem::exists(saved));
    {
        // The tool closes the port between transfers; the terminal stays usable.
        Terminal tool(path);
        ASSERT_EQ(tool.Exchange(kEntryFrame, 3).size(), 3u);
        const Bytes reply = tool.Exchange(BlockFrame(kRead, mm::kPowerOnMsg), kDataReplyLength);
        ASSERT_EQ(reply.size(), kDataReplyLength);
        EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 4 + kLine.size()), kLine);
        EXPECT_EQ(tool.Exchange({kAck}, 1), Bytes {kAck});
        tool.Send({kEnd});
    }

    EXPECT_EQ(sim.Finish(SIGTERM), 0);
    const std::string log = sim.Err();
    EXPECT_NE(log.find("session 1: wrote 1 block\n"), std::string::npos) << log;
    EXPECT_NE(log.find("session 2: read 1 block\n"), std::string::npos) << log;
    const DataFileContents file = ReadDataFile(saved);
    ASSERT_EQ(file.status, DataFileStatus::Ok);
    EXPECT_TRUE(std::equal(kLine.begin(), kLine.end(), file.image.begin() + mm::kPowerOnMsg));
}

TEST_F(SimProgram, FaultOptionsReachTheRadio)
{
    SimProcess sim({"--quiet", "--entry-digit", "3", "--baud", "0"});
    ASSERT_TRUE(sim.Started());
    Terminal tool(sim.FirstLine());
    ASSERT_TRUE(tool.IsOpen());
    const Bytes entry = tool.Exchange(kEntryFrame, 3);
    ASSERT_EQ(entry.size(), 3u);
    EXPECT_EQ(entry[2], '3');
    // Refused, so the band request goes unanswered.
    EXPECT_TRUE(tool.Unanswered({kBandInfo}).empty());
    EXPECT_EQ(sim.Finish(SIGINT), 0);
    EXPECT_TRUE(sim.Err().empty());
}

TEST_F(SimProgram, ExportWritesTheFactoryOrLoadedMemoryAndExits)
{
    const std::string factoryFile = File("factory.dat");
    SimProcess exporter({"--export", factoryFile});
    ASSERT_EQ(exporter.Finish(), 0);
    const DataFileContents factory = ReadDataFile(factoryFile);
    ASSERT_EQ(factory.status, DataFileStatus::Ok);
    EXPECT_EQ(factory.image, FactoryMemory());

    RadioImage changed = FactoryMemory();
    changed[mm::kPowerOnMsg] = 'Z';
    ASSERT_FALSE(WriteDataFile(File("changed.dat"), changed));
    SimProcess copier({"--load", File("changed.dat"), "--export", File("copy.dat")});
    ASSERT_EQ(copier.Finish(), 0);
    EXPECT_EQ(ReadDataFile(File("copy.dat")).image, changed);
}

TEST_F(SimProgram, RefusesABadDataFileAndABadCommandLine)
{
    ASSERT_TRUE(QFile(dir.filePath("bad.dat")).open(QIODevice::WriteOnly));
    SimProcess badFile({"--load", File("bad.dat")});
    EXPECT_EQ(badFile.Finish(), 1);
    EXPECT_NE(badFile.Err().find("bad.dat"), std::string::npos);

    SimProcess missing({"--load", File("missing.dat")});
    EXPECT_EQ(missing.Finish(), 1);

    SimProcess unknown({"--frobnicate"});
    EXPECT_EQ(unknown.Finish(), 2);
    EXPECT_NE(unknown.Err().find("usage: nx5rb-sim"), std::string::npos);

    SimProcess help({"--help"});
    EXPECT_EQ(help.Finish(), 0);
    EXPECT_NE(help.Out().find("--stall-after"), std::string::npos);
}

} // namespace
} // namespace nx5rb
