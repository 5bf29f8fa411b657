// Opens arbitrary bytes as a data file, the way the window does once the user has confirmed
// "覆盖当前数据？", then does what usually follows: the pages are shown (as the command line
// prints them), the edits are applied, the image is saved and the saved file is opened again.
// Any crash, leak or undefined behaviour is a finding; so is a broken round trip.

#include "app/file_commands.h"
#include "app/window_state.h"
#include "cli/page_export.h"
#include "image/data_file.h"
#include "invariant.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include <QByteArrayView>
#include <QStringDecoder>

namespace {

using nx5rb::OpenResult;
using nx5rb::RadioImage;
namespace mm = nx5rb::mm;

// The area repair rewrites a band's record and the two bytes after it.
constexpr std::size_t kRepairedAreaBytes = mm::kFreqAreaRecordSize + 2;
// The settings repair rewrites the first two 16-bit values of a band's record.
constexpr std::size_t kRepairedSettingsBytes = 4;
// Only bands A and B are ever repaired.
constexpr int kRepairedBands = 2;

// The message boxes of an open after the confirmation only ever offer OK.
class SilentPrompt final : public nx5rb::Prompt
{
public:
    nx5rb::PromptAnswer Show(const nx5rb::PromptMessage &) override
    {
        ++Shown;
        return nx5rb::PromptAnswer::Ok;
    }

    int Shown = 0;
};

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

using nx5rb::fuzz::IsUtf8;

bool LooksLikeDataFile(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= nx5rb::kDataFileSize
        && std::equal(nx5rb::kFileHeaderText.begin(),
                      nx5rb::kFileHeaderText.begin() + nx5rb::kFileHeaderCompared, bytes.begin());
}

// What an opened image must hold: the file's bytes, except where the repair may have written.
RadioImage ExpectedAfterRepair(std::span<const std::uint8_t> bytes, const RadioImage &opened)
{
    RadioImage expected {};
    std::copy_n(bytes.begin() + nx5rb::FileHeaderBytes().size(), expected.size(), expected.begin());
    const auto keep = [&](std::size_t from, std::size_t count) {
        std::copy_n(opened.begin() + from, count, expected.begin() + from);
    };
    for (int band = 0; band < kRepairedBands; ++band) {
        keep(mm::kFreqAreaRecord[band], kRepairedAreaBytes);
        keep(mm::kSettingsBlock[band], kRepairedSettingsBytes);
    }
    keep(mm::kSettingsMarker, 1);
    return expected;
}

const RadioImage &StartUpImage()
{
    static const RadioImage image = nx5rb::WindowState().Image;
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const bool dataFile = LooksLikeDataFile(bytes);

    nx5rb::WindowState state;
    SilentPrompt prompt;
    const OpenResult result = nx5rb::OpenDataBytes(state, bytes, prompt);

    Check(result == (dataFile ? OpenResult::Opened : OpenResult::Refused),
          "only a file of 4112 bytes or more that begins with the header opens");
    Check(prompt.Shown == (dataFile ? 0 : 1), "a refused file shows one message, a good one none");
    Check(std::equal(state.FileHeader.begin(),
                     state.FileHeader.begin() + std::min(size, state.FileHeader.size()),
                     bytes.begin()),
          "the header holds the file's first bytes");
    Check(state.Image[mm::kSettingsMarker] == mm::kSettingsMarkerValue,
          "the settings marker is set after every open");
    if (dataFile)
        Check(state.Image == ExpectedAfterRepair(bytes, state.Image),
              "the repair writes only the area and settings records of bands A and B");
    else
        Check(state.Image == StartUpImage(), "a refused file leaves the image as it was");

    // What the command line prints of the document and its pages.
    const std::string json = nx5rb::cli::DumpJson(nx5rb::DecodedDocument {state, state});
    const std::string csv = nx5rb::cli::ChannelCsv(state);
    Check(!json.empty() && IsUtf8(json), "the dump is UTF-8");
    Check(!csv.empty() && IsUtf8(csv), "the channel table is UTF-8");

    // "应用(&A)" then "保存(&S)", and the saved file opened again in a fresh window.
    state.Apply();
    const auto saved = nx5rb::DataFileBytes(state.Image);
    nx5rb::WindowState reopened;
    SilentPrompt reopenPrompt;
    Check(nx5rb::OpenDataBytes(reopened, saved, reopenPrompt) == OpenResult::Opened,
          "a saved file opens");
    Check(reopenPrompt.Shown == 0, "a saved file opens without a message");
    Check(reopened.Image == state.Image, "a saved image opens unchanged");
    Check(nx5rb::cli::ChannelCsv(reopened) == csv, "the channel table survives save and open");

    // Applying the reopened file changes nothing more: saving twice gives the same file.
    reopened.Apply();
    Check(reopened.Image == state.Image, "applying an applied image changes nothing");
    return 0;
}
