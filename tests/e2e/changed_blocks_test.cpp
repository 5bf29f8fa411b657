// Writes that send only the blocks that changed, as a script runs them against nx5rb-sim: whatever
// a write leaves out, the radio must end holding exactly what a write of every block leaves in it.
#include "e2e_rig.h"
#include "image/data_file.h"
#include "support/temp_files.h"

#include <functional>
#include <gtest/gtest.h>

namespace nx5rb::test {
namespace {

using Edit = std::function<void(RadioImage &)>;

void Flip(RadioImage &image, mm::Address at)
{
    image[at] ^= 0x01;
}

struct ChangedCase
{
    const char *name;
    const char *region;
    Edit known; // --since KNOWN.dat: the radio's memory with this change; none: no --since
    Edit file; // FILE.dat: KNOWN.dat (or the radio's memory) with this change
    std::vector<std::string> options; // of the command line
    std::vector<std::string> faults; // of the radio, in the write being judged only
    int sent; // blocks written, of the region's
    int blocks;
    std::string_view said; // on standard error besides the summary
};

TEST(ChangedBlocks, TheRadioEndsAsAfterAWriteOfEveryBlock)
{
    const Edit same = [](RadioImage &) {};
    const Edit tuneValue = [](RadioImage &m) { Flip(m, mm::kTuneBlock[0] + 5); };
    const Edit valueInEachBand = [](RadioImage &m) {
        for (const mm::Address tune : mm::kTuneBlock)
            Flip(m, tune + mm::kTuneLowPower + 3);
    };
    const Edit threeChannels = [](RadioImage &m) {
        for (const int channel : {1, 64, 128})
            Flip(m, mm::ChannelRecord(channel) + mm::kChReserved);
    };
    const Edit everyChannel = [](RadioImage &m) {
        for (int channel = 1; channel <= mm::kChannelCount; ++channel)
            Flip(m, mm::ChannelRecord(channel) + mm::kChReserved);
    };
    // Another radio differs in more than what tells it apart.
    const Edit otherInfo = [](RadioImage &m) {
        Flip(m, mm::kWorkChannel);
        Flip(m, mm::ChannelRecord(7));
    };
    const Edit otherTune = [](RadioImage &m) {
        Flip(m, mm::kTuneBlock[0] + mm::kTuneSquelch);
        Flip(m, mm::kPowerOnMsg + mm::kPowerOnLineStride);
    };
    const Edit aChannel = [](RadioImage &m) { Flip(m, mm::ChannelRecord(5)); };
    const Edit aLine = [](RadioImage &m) { m[mm::kPowerOnMsg] = 'Q'; };
    using Args = std::vector<std::string>;
    const Args retry = {"--retry", "1"};
    const Args nak = {"--nak-on-write", "2"};
    const Args stall = {"--stall-after", "2"};
    const ChangedCase cases[] = {
        {"one tune value", "band-a", nullptr, tuneValue, {}, {}, 1, 5, ""},
        {"one tune value, --full", "band-a", nullptr, tuneValue, {"--full"}, {}, 5, 5, ""},
        {"nothing changed", "band-a", nullptr, same, {}, {}, 0, 5, ""},
        // Three tune blocks and the band-start record the write computes anew.
        {"a value per band, a NAK", "all", nullptr, valueInEachBand, retry, nak, 4, 20, "retry"},
        {"three channels, --since", "channels", same, threeChannels, {}, {}, 3, 128, ""},
        {"another band information", "channels", otherInfo, aChannel, {}, {}, 128, 128, "info"},
        {"another tune block", "message", otherTune, aLine, {}, {}, 4, 4, "tune block"},
        {"every channel, a stall", "channels", same, everyChannel, retry, stall, 128, 128, "retry"},
    };
    TempFolder folder;
    const std::string radioPath = folder.Path("radio.dat");
    ASSERT_EQ(RunProgram(kSimProgram, {"--export", radioPath}).exitCode, 0);
    // A radio whose first band-start record is not what its frequency areas give.
    RadioImage radio = ReadImage(radioPath);
    Flip(radio, mm::kBandStartRecord0);
    ASSERT_FALSE(WriteDataFile(radioPath, radio));

    for (const ChangedCase &c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage known = radio;
        std::vector<std::string> since;
        if (c.known) {
            c.known(known);
            since = {"--since", folder.Path("known.dat")};
            ASSERT_FALSE(WriteDataFile(since[1], known));
        }
        RadioImage file = known;
        c.file(file);
        const std::string filePath = folder.Path("file.dat");
        ASSERT_FALSE(WriteDataFile(filePath, file));
        // The same write of every block to the same radio, for what it leaves behind.
        const auto write = [&](const std::string &savePath, const std::vector<std::string> &faults,
                               std::vector<std::string> options) {
            std::vector<std::string> simArgs = {"--load", radioPath};
            simArgs.insert(simArgs.end(), faults.begin(), faults.end());
            SimRadio sim(savePath, simArgs);
            EXPECT_FALSE(sim.Terminal().empty()) << sim.Log();
            std::vector<std::string> args
                = {"write", c.region, "--port", sim.Terminal(), "--no-backup", filePath};
            args.insert(args.end(), options.begin(), options.end());
            const ProgramRun run = RunProgram(kCliProgram, args);
            EXPECT_EQ(sim.Stop(), 0) << sim.Log();
            return run;
        };
        const ProgramRun full = write(folder.Path("full.dat"), {}, {"--full"});
        ASSERT_EQ(full.exitCode, 0) << full.err;

        std::vector<std::string> options = c.options;
        options.insert(options.end(), since.begin(), since.end());
        const ProgramRun run = write(folder.Path("changed.dat"), c.faults, options);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("wrote " + std::to_string(c.sent) + " of " + std::to_string(c.blocks)
                               + " blocks"),
                  std::string::npos)
            << run.err;
        const std::string checked
            = c.sent ? "read back " + std::to_string(c.sent) + " as written" : "held every byte";
        EXPECT_NE(run.err.find(checked), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(Difference(ReadImage(folder.Path("changed.dat")),
                             ReadImage(folder.Path("full.dat")), {0, mm::kImageSize}),
                  "");
    }
}

} // namespace
} // namespace nx5rb::test
