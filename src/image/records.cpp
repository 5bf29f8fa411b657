#include "image/records.h"

#include "image/freq_codec.h"

namespace nx5rb {

static_assert(mm::kSettingsBlock[1] == mm::kSettingsBlock[0] + mm::kSettingsBlockSize
                  && mm::kSettingsBlock[2] == mm::kSettingsBlock[1] + mm::kSettingsBlockSize,
              "the modulation view spans the three settings blocks in a row");
static_assert(mm::kMaxOffset >= mm::kSettingsBlock[1]
              && mm::kMaxOffset < mm::kSettingsBlock[1] + mm::kSettingsBlockSize);
static_assert(mm::kWorkChannel + mm::kBandCount <= mm::kFreqAreaBlockEnd);
static_assert(mm::kFreqAreaTuneFreq == 2 * (mm::kFreqAreaFields - 1),
              "the tuning frequency is word 4");

std::int16_t BandLimitMHz(std::uint8_t b0, std::uint8_t b1)
{
    // The shown text is the hex of the first byte without a leading zero, then the first hex
    // digit of the second byte written the same way: its low nibble when it is below 0x10.
    std::array<int, 3> digits {};
    std::size_t count = 0;
    if (b0 >= 0x10)
        digits[count++] = b0 >> 4;
    digits[count++] = b0 & 0x0F;
    digits[count++] = b1 >= 0x10 ? b1 >> 4 : b1;
    int value = 0;
    for (std::size_t i = 0; i < count && digits[i] <= 9; ++i)
        value = value * 10 + digits[i];
    return std::int16_t(value);
}

void EncodeBandLimit(int mhz, std::span<std::uint8_t, 2> word)
{
    const std::uint16_t bcd = NumToBCD3(mhz);
    word[0] = std::uint8_t(bcd >> 8);
    word[1] = std::uint8_t(bcd & 0xFF);
}

bool InsideABand(Frequency frequency, const FreqAreaTable &areas, bool receive)
{
    for (const FreqArea &area : areas)
        if (receive ? frequency.WithinMHz(area.RxLow, area.RxHigh)
                    : frequency.WithinMHz(area.TxLow, area.TxHigh))
            return true;
    return false;
}

} // namespace nx5rb
