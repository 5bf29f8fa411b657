// Every value of the radio image that a page shows, in one table: where it lives, and the row of
// its page's table that reads the text the page shows for it. Comparing two images field by field
// drives the difference of two data files, the check of a write against what the radio reads back,
// and the guard that asks before a write replaces a radio's own calibration.
#pragma once

#include "image/radio_image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nx5rb {

struct ViewRow;
struct ChannelColumnRow;

// The page a field is shown on; Other holds the bytes no page shows.
enum class FieldPage : std::uint8_t { FreqArea, TuneA, TuneB, TuneC, PowerOn, Channels, Other };

// The page's caption: "频段设置", "频段-A 灵敏度/功率", "MCU版本", "信道设置", "其他".
std::string_view PageCaption(FieldPage page);

enum class FieldCodec : std::uint8_t {
    BandLimit, // 2-byte three-digit BCD word of whole MHz: "136", an erased word "FFF"
    BandCombination, // the band-combination item; a code outside the list reads as all three
    WorkChannel, // "UHF" for 0x37, "VHF" otherwise
    Byte, // unsigned, decimal
    Word16, // high byte first, decimal; empty when the top bit is set (no value the radio uses)
    MessageChar, // a printable ASCII character, a space for any other byte
};

struct Field
{
    FieldPage page = FieldPage::Other;
    // Stable, ASCII, the same in every version: "area.b.tx_high", "tune.a.sensitivity.3",
    // "channel.12.rx_freq". Scripts key on it; the name is for people and may be reworded.
    std::string id;
    std::string name; // as a technician reads it: "频段-A 灵敏度 点 3", "信道 12 接收亚音"
    mm::Address address = 0;
    int size = 1; // bytes, all inside one 16-byte block
    std::uint8_t bits = 0xFF; // the bits of each byte the text depends on
    // What reads its text: value `index` of band `band` of a view's row, or a channel's column.
    const ViewRow *row = nullptr;
    int band = 0;
    int index = 0;
    const ChannelColumnRow *column = nullptr;
};

// Page by page in the order the pages show them: the frequency areas (five limits per band, the
// band combination, three working channels); per band the 16 sensitivity, low and high power
// points, the squelch thresholds column by column (high, then low), the six modulation settings
// and, on band B's page, the maximum offset; the 56 characters of the power-on message; the
// channel column table's columns of the 128 channels. Channels are named by the number the grid
// shows, 0..127 (channel 0 is the record at 0x010).
const std::vector<Field> &FieldTable();

// The band limits in whole MHz as the area page reads them from this image: the leading decimal
// digits of each cell text (0 for an erased "FFF"). Channels are judged by these.
FreqAreaTable ImageFreqAreas(const RadioImage &image);

// The text the field's page shows for this image; channel fields are judged by the image's own
// band limits.
std::string FieldText(const Field &field, const RadioImage &image);
std::string FieldText(const Field &field, const RadioImage &image, const FreqAreaTable &areas);

struct FieldDifference
{
    FieldPage page = FieldPage::Other;
    // The field's id; a raw run is "other.0xF9F" or "other.0x8C0-0x8C3" by its addresses.
    std::string id;
    std::string name;
    mm::Address address = 0;
    int size = 1;
    std::string a; // shown text, or for raw bytes their upper-case hexadecimal ("FF12")
    std::string b;
    bool raw = false;
};

// Every field whose shown text differs, in table order; then, in address order and under the
// page Other, every differing byte that no differing text explains, in runs inside one field (or
// one unshown stretch) and one 16-byte block. That covers the bytes no page shows (unused
// ranges, the band-start records, bytes +7..+15 of a settings block, +13..+15 of a channel,
// other bits of a channel's flags) and the bytes a page hides (the garbage of a channel that
// exists in neither image, a band-combination code read as all three bands). Two images that
// differ in any bit never give an empty list.
std::vector<FieldDifference> DiffImages(const RadioImage &a, const RadioImage &b);

// The bytes of two stored images that differ, each named once: by the field that shows it when
// the field's own bytes differ (with both texts), otherwise as a raw byte as above. No field is
// named for bytes that are equal (a channel whose text changes only through the band limits it
// is judged by is not listed). Empty exactly when the images are equal.
std::vector<FieldDifference> DiffStoredBytes(const RadioImage &a, const RadioImage &b);

// DiffImages limited to the 16-byte blocks starting at `blocks`.
std::vector<FieldDifference> DiffBlocks(const RadioImage &a, const RadioImage &b,
                                        std::span<const mm::Address> blocks);

// What a write left different on the radio, one line per difference in the written blocks:
// "频段-A 灵敏度 点 3：写入 40，读回 38". Empty when the radio holds what was written.
std::vector<std::string> VerifyReport(const RadioImage &written, const RadioImage &readBack,
                                      std::span<const mm::Address> blocks);

// A band's calibration counts as about to be overwritten when more than this many of its 64
// tune bytes differ from the radio's.
inline constexpr int kCalibrationGuardLimit = 16;

// How many of the band's 64 tune bytes differ between the radio and the image to be written.
int TuneDifferences(const RadioImage &radio, const RadioImage &image, int band);

// The bands of `bands` whose calibration `image` would overwrite, each with its count:
// "频段-A：37 项不同". Empty when none would be.
std::string CalibrationOverwrites(const RadioImage &radio, const RadioImage &image,
                                  std::span<const int> bands);

// The question to ask before writing `bands` of `image` over `radio`, naming each band about to
// be overwritten: "即将覆盖本机的校准数据（频段-A：37 项不同），确定写入？". Nothing when no band
// is.
std::optional<std::string> CalibrationQuestion(const RadioImage &radio, const RadioImage &image,
                                               std::span<const int> bands);

} // namespace nx5rb
