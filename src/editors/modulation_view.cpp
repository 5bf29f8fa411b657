#include "editors/modulation_view.h"

#include "image/records.h"

#include <algorithm>
#include <charconv>

namespace nx5rb {

namespace {

constexpr std::uint8_t kRepairHigh = 0x03;
constexpr std::uint8_t kRepairLow = 0xE8;
constexpr std::uint8_t kRepairThreshold = 31;
constexpr int kWordUnusedFrom = 0x8000;

} // namespace

std::string ModulationSettingText(const ViewRow &row, const RadioImage &image, int band, int)
{
    // A total deviation with its top bit set is no value the radio uses: show nothing rather than
    // a number left over from an earlier image.
    const int value = ModulationOf(image).Setting(band, row.slot);
    return value >= kWordUnusedFrom ? std::string() : std::to_string(value);
}

std::string MaxOffsetText(const ViewRow &, const RadioImage &image, int, int)
{
    return std::to_string(ModulationOf(image).MaxOffset());
}

void DecodeModulation(Document &doc, ModulationBoxes &page, int band)
{
    const RadioImage &image = doc.Image;
    page.MaxOffset = kMaxOffsetRow.Text(image, band, 0);
    doc.MaxOffset = ModulationOf(image).MaxOffset();

    const mm::Address base = mm::kSettingsBlock[band];
    std::copy_n(image.begin() + base, mm::kSettingsBlockSize,
                doc.ModulationRecords.begin() + band * mm::kSettingsBlockSize);
    for (int setting = 0; setting < kModulationFields; ++setting)
        page.Response[setting] = kModulationViewRows[setting].Text(image, band, 0);
}

void EncodeModulation(Document &doc)
{
    for (int band = 0; band < mm::kBandCount; ++band)
        std::copy_n(doc.ModulationRecords.begin() + band * mm::kSettingsBlockSize,
                    mm::kSettingsBlockSize, doc.Image.begin() + mm::kSettingsBlock[band]);
    doc.Image[mm::kMaxOffset] = doc.MaxOffset;
}

void RepairModulation(RadioImage &image, int band)
{
    const mm::Address base = mm::kSettingsBlock[band];
    if (image[base] > kRepairThreshold) {
        image[base] = kRepairHigh;
        image[base + 1] = kRepairLow;
    }
    if (image[base + 2] > kRepairThreshold) {
        image[base + 2] = kRepairHigh;
        image[base + 3] = kRepairLow;
    }
}

std::optional<int> BoxNumber(std::string_view text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace nx5rb
