// Saving the image to a "*.dat" file and opening it again, with every way a file can be refused.
#include "app/file_commands.h"
#include "app/window_state.h"
#include "image/data_file.h"
#include "support/file_size_limit.h"
#include "support/image_bytes.h"
#include "support/recording_prompt.h"
#include "support/temp_files.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include <QFileInfo>

namespace nx5rb {
namespace {

using test::Bytes;
using test::Put;
using test::RecordingPrompt;
using test::TempFolder;

const PromptMessage kConfirm = {"覆盖当前数据？", "NX5RB调谐软件", PromptButtons::OkCancel,
                                PromptIcon::Warning, PromptAnswer::Cancel};
const PromptMessage kWrongFile = {"错误的文件！", "错误", PromptButtons::Ok, PromptIcon::Error};

Bytes FileBytes(const std::string &header, const RadioImage &image)
{
    Bytes bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

// An image unlike the start-up one that the repair after loading leaves as it is.
RadioImage OtherImage()
{
    WindowState state;
    state.FreqAreas[0] = {140, 170, 142, 168, 138};
    state.WorkBandsCode = 0x7B;
    state.PowerOnMsg[0] = 'Z';
    state.Apply();
    Put(state.Image, mm::ChannelRecord(1),
        {0x14, 0x51, 0x25, 0x00, 0x14, 0x51, 0x25, 0x00, 0x70, 0x06, 0x23, 0x80, 0x04, 0x00});
    state.Image[0] = 0x42; // bytes no page owns travel with the file as well
    return state.Image;
}

// Every page a user sees, to compare two states.
void ExpectSamePages(const WindowState &a, const WindowState &b)
{
    EXPECT_EQ(a.FreqAreas, b.FreqAreas);
    EXPECT_EQ(a.WorkBandsCode, b.WorkBandsCode);
    EXPECT_EQ(a.WorkChannel, b.WorkChannel);
    EXPECT_EQ(a.FreqAreaView.Grids, b.FreqAreaView.Grids);
    EXPECT_EQ(a.FreqAreaView.BandCombinationItem, b.FreqAreaView.BandCombinationItem);
    EXPECT_EQ(a.TuneBuffer, b.TuneBuffer);
    EXPECT_EQ(a.RxEdgeCol, b.RxEdgeCol);
    EXPECT_EQ(a.TxEdgeCol, b.TxEdgeCol);
    for (int band = 0; band < 3; ++band) {
        EXPECT_EQ(a.TuneViews[band].Tune, b.TuneViews[band].Tune);
        EXPECT_EQ(a.TuneViews[band].Squelch, b.TuneViews[band].Squelch);
        EXPECT_EQ(a.ModulationViews[band].Response, b.ModulationViews[band].Response);
    }
    EXPECT_EQ(a.MaxOffset, b.MaxOffset);
    EXPECT_EQ(a.PowerOnView.Boxes, b.PowerOnView.Boxes);
    EXPECT_EQ(a.ChannelView.Grid, b.ChannelView.Grid);
}

TEST(DataFile, SaveThenOpenGivesTheSameImageAndPages)
{
    TempFolder folder;
    WindowState saved;
    saved.Image = OtherImage();
    saved.SetEdgesStale();
    saved.AnalyseAll();
    // A pending edit, which the save applies first.
    FreqAreaGridClick(saved, saved.FreqAreaView, 2, 1, 2);
    FreqAreaCommit(saved, saved, saved.FreqAreaView, 2, "250");
    ASSERT_TRUE(saved.DataChanged);
    saved.ApplyIfChanged();
    EXPECT_FALSE(saved.DataChanged);

    RecordingPrompt savePrompt;
    const std::string path = folder.Path("radio.dat");
    ASSERT_TRUE(SaveDataFile(saved, path, savePrompt));
    EXPECT_TRUE(savePrompt.Shown.empty());
    EXPECT_EQ(test::ReadAll(path), FileBytes("NX5RBTX VER1.06 ", saved.Image));
    EXPECT_EQ(Bytes(saved.FileHeader.begin(), saved.FileHeader.end()),
              Bytes(kFileHeaderText.begin(), kFileHeaderText.end()));

    WindowState opened;
    opened.DataChanged = true;
    RecordingPrompt openPrompt;
    EXPECT_EQ(OpenDataFile(opened, path, openPrompt), OpenResult::Opened);
    EXPECT_EQ(openPrompt.Shown, std::vector<PromptMessage> {kConfirm});
    EXPECT_EQ(opened.Image, saved.Image);
    EXPECT_EQ(opened.FreqAreas[2].RxHigh, 250);
    EXPECT_TRUE(opened.DataChanged); // opening leaves the flag alone
    ExpectSamePages(opened, saved);
}

TEST(DataFile, OpeningRepairsAndDecodes)
{
    TempFolder folder;
    RadioImage image = OtherImage();
    image[mm::kSettingsBlock[0]] = 0x40;
    image[mm::kSettingsMarker] = 0x00;
    const std::string path = folder.Write("damaged.dat", FileBytes("NX5RBTX VER1.06 ", image));
    WindowState state;
    RecordingPrompt prompt;
    ASSERT_EQ(OpenDataFile(state, path, prompt), OpenResult::Opened);
    EXPECT_EQ(state.Image[mm::kSettingsBlock[0]], 0x03);
    EXPECT_EQ(state.Image[mm::kSettingsMarker], 0x58);
    EXPECT_EQ(state.ChannelView.Grid.Text(1, kColRxFreq), "145.12500");
    EXPECT_EQ(state.FreqAreaView.BandCombinationItem, 4);
    EXPECT_EQ(state.RxEdgeCol[0], 8); // 138 + 7 * 5 = 173 > 170
}

TEST(DataFile, AnyVersionTextAfterTheNameOpens)
{
    TempFolder folder;
    const std::string path = folder.Write("v9.dat", FileBytes("NX5RBTX VER9.99x", OtherImage()));
    WindowState state;
    RecordingPrompt prompt;
    EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Opened);
    EXPECT_EQ(state.Image, OtherImage());
    EXPECT_EQ(std::string(state.FileHeader.begin(), state.FileHeader.end()), "NX5RBTX VER9.99x");
}

TEST(DataFile, OnlyTheFirst4112BytesOfALongerFileAreRead)
{
    TempFolder folder;
    Bytes bytes = FileBytes("NX5RBTX VER1.06 ", OtherImage());
    bytes.insert(bytes.end(), 1000, 0x00);
    const std::string path = folder.Write("long.dat", bytes);
    WindowState state;
    RecordingPrompt prompt;
    EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Opened);
    EXPECT_EQ(state.Image, OtherImage());
}

struct RefusedCase
{
    const char *name;
    Bytes bytes;
};

class RefusedFileTest : public testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedFileTest, WrongFileLeavesTheImageAndDecodesAgain)
{
    TempFolder folder;
    const std::string path = folder.Write("refused.dat", GetParam().bytes);
    WindowState state;
    const RadioImage before = state.Image;
    state.FreqAreas[0].RxLow = 150; // unapplied edits are replaced by the decode
    state.PowerOnMsg[0] = 'Z';
    state.DataChanged = true;
    RecordingPrompt prompt;
    EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Refused);
    EXPECT_EQ(prompt.Shown, (std::vector<PromptMessage> {kConfirm, kWrongFile}));
    EXPECT_EQ(state.Image, before);
    EXPECT_EQ(state.FreqAreas[0].RxLow, 136);
    EXPECT_EQ(state.PowerOnMsg[0], ' ');
    EXPECT_TRUE(state.DataChanged);
}

Bytes WithHeader(const std::string &header, std::size_t size)
{
    Bytes bytes = FileBytes(header, OtherImage());
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedFileTest,
    testing::Values(RefusedCase {"WrongName", WithHeader("NX5RBTY VER1.06 ", 4112)},
                    RefusedCase {"LowerCase", WithHeader("nx5rbtx VER1.06 ", 4112)},
                    RefusedCase {"EighthByteNotASpace", WithHeader("NX5RBTX_VER1.06 ", 4112)},
                    RefusedCase {"OneByteShort", WithHeader("NX5RBTX VER1.06 ", 4111)},
                    RefusedCase {"HeaderOnly", WithHeader("NX5RBTX VER1.06 ", 16)},
                    RefusedCase {"FourBytes", WithHeader("NX5RBTX VER1.06 ", 4)},
                    RefusedCase {"Empty", Bytes {}}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return info.param.name; });

TEST(DataFile, UnreadableFileChangesNothingAtAll)
{
    TempFolder folder;
    const std::string missing = folder.Path("missing.dat");
    const std::string directory = folder.MakeFolder("folder.dat");
    std::vector<std::string> paths = {missing, directory};
    if (geteuid() != 0) { // the superuser reads any file
        const std::string locked
            = folder.Write("locked.dat", FileBytes("NX5RBTX VER1.06 ", OtherImage()));
        QFile::setPermissions(QString::fromStdString(locked), QFileDevice::WriteOwner);
        paths.push_back(locked);
    }
    for (const std::string &path : paths) {
        WindowState state;
        const RadioImage before = state.Image;
        state.FreqAreas[0].RxLow = 150; // no decode: the edit stays
        RecordingPrompt prompt;
        EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Failed) << path;
        ASSERT_EQ(prompt.Shown.size(), 2u);
        EXPECT_EQ(prompt.Shown[0], kConfirm);
        const PromptMessage &failure = prompt.Shown[1];
        EXPECT_EQ(failure.text.rfind("打开失败：\n", 0), 0u) << "the reason on a line of its own";
        EXPECT_GT(failure.text.size(), std::string("打开失败：\n").size()) << "no reason given";
        EXPECT_EQ(failure.title, "错误");
        EXPECT_EQ(failure.icon, PromptIcon::Error);
        EXPECT_EQ(failure.buttons, PromptButtons::Ok);
        EXPECT_EQ(state.Image, before);
        EXPECT_EQ(state.FreqAreas[0].RxLow, 150);
    }
}

TEST(DataFile, CancelledOpenChangesNothing)
{
    TempFolder folder;
    const std::string path = folder.Write("good.dat", FileBytes("NX5RBTX VER1.06 ", OtherImage()));
    WindowState state;
    const RadioImage before = state.Image;
    state.FreqAreas[0].RxLow = 150;
    RecordingPrompt prompt({PromptAnswer::Cancel});
    EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Cancelled);
    EXPECT_EQ(prompt.Shown, std::vector<PromptMessage> {kConfirm});
    EXPECT_EQ(state.Image, before);
    EXPECT_EQ(state.FreqAreas[0].RxLow, 150);
    EXPECT_FALSE(state.DataChanged);
}

TEST(DataFile, SavingOverALongerFileLeaves4112Bytes)
{
    TempFolder folder;
    const std::string path = folder.Write("old.dat", Bytes(5000, 0x33));
    WindowState state;
    RecordingPrompt prompt;
    ASSERT_TRUE(SaveDataFile(state, path, prompt));
    EXPECT_EQ(test::ReadAll(path), FileBytes("NX5RBTX VER1.06 ", state.Image));
}

void ExpectSaveFailure(const RecordingPrompt &prompt)
{
    ASSERT_EQ(prompt.Shown.size(), 1u);
    const PromptMessage &failure = prompt.Shown[0];
    EXPECT_EQ(failure.text.rfind("保存失败：\n", 0), 0u) << "the reason on a line of its own";
    EXPECT_GT(failure.text.size(), std::string("保存失败：\n").size()) << "no reason given";
    EXPECT_EQ(failure.title, "错误") << "the title a failing open has";
    EXPECT_EQ(failure.icon, PromptIcon::Error);
    EXPECT_EQ(failure.buttons, PromptButtons::Ok);
}

TEST(DataFile, SaveToAFolderOrANonexistentFolderFails)
{
    TempFolder folder;
    const std::string directory = folder.MakeFolder("taken.dat");
    for (const std::string &path : {directory, folder.Path("no/such/folder.dat")}) {
        WindowState state;
        RecordingPrompt prompt;
        EXPECT_FALSE(SaveDataFile(state, path, prompt)) << path;
        ExpectSaveFailure(prompt);
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(directory)).isDir());
}

TEST(DataFile, FailedSaveKeepsTheOldFile)
{
    TempFolder folder;
    const Bytes old = FileBytes("NX5RBTX VER1.06 ", OtherImage());
    const std::string path = folder.Write("keep.dat", old);
    WindowState state;
    RecordingPrompt prompt;

    bool ok = true;
    {
        test::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.Active());
        ok = SaveDataFile(state, path, prompt);
    }
    EXPECT_FALSE(ok);
    ExpectSaveFailure(prompt);
    EXPECT_EQ(test::ReadAll(path), old);
    EXPECT_EQ(QDir(QString::fromStdString(folder.Path(""))).entryList(QDir::Files),
              QStringList {"keep.dat"});
}

TEST(DataFile, FailedSaveInAReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder rights do not hold for the superuser";
    TempFolder folder;
    const std::string sub = folder.MakeFolder("locked");
    const Bytes old = FileBytes("NX5RBTX VER1.06 ", OtherImage());
    const std::string path = folder.Write("locked/keep.dat", old);
    QFile::setPermissions(QString::fromStdString(sub), QFile::ReadOwner | QFile::ExeOwner);
    WindowState state;
    RecordingPrompt prompt;
    EXPECT_FALSE(SaveDataFile(state, path, prompt));
    QFile::setPermissions(QString::fromStdString(sub),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ExpectSaveFailure(prompt);
    EXPECT_EQ(test::ReadAll(path), old);
}

TEST(UnsavedChanges, ClearedOnlyWhenTheImageMatchesAFile)
{
    TempFolder folder;
    WindowState state;
    EXPECT_FALSE(state.UnsavedChanges());
    state.Image[mm::ChannelRecord(1)] = 0x14; // channel edits go straight into the image
    EXPECT_TRUE(state.UnsavedChanges());

    RecordingPrompt prompt;
    const std::string path = folder.Path("synced.dat");
    ASSERT_TRUE(SaveDataFile(state, path, prompt));
    EXPECT_FALSE(state.UnsavedChanges());

    ComboSelFreqArea_Click(state, state.FreqAreaView, 0); // pending, not yet applied
    EXPECT_TRUE(state.UnsavedChanges());
    state.Apply();
    EXPECT_TRUE(state.UnsavedChanges());

    const std::string refused = folder.Write("refused.dat", Bytes(100, 0x20));
    EXPECT_EQ(OpenDataFile(state, refused, prompt), OpenResult::Refused);
    EXPECT_TRUE(state.UnsavedChanges());
    EXPECT_EQ(OpenDataFile(state, path, prompt), OpenResult::Opened);
    EXPECT_FALSE(state.UnsavedChanges());
}

TEST(DataFile, OpenDataBytesChecksLikeAFile)
{
    WindowState state;
    RecordingPrompt prompt;
    const Bytes good = FileBytes("NX5RBTX VER1.06 ", OtherImage());
    EXPECT_EQ(OpenDataBytes(state, good, prompt), OpenResult::Opened);
    EXPECT_EQ(state.Image, OtherImage());
    EXPECT_EQ(OpenDataBytes(state, Bytes(good.begin(), good.end() - 1), prompt),
              OpenResult::Refused);
    EXPECT_EQ(prompt.Shown, std::vector<PromptMessage> {kWrongFile});
}

} // namespace
} // namespace nx5rb
