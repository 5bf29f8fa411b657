#include "editors/power_on_view.h"

namespace nx5rb {

namespace {

constexpr std::uint8_t kSpace = 0x20;
constexpr std::uint8_t kLastPrintable = 0x7E;

mm::Address BoxAddress(int box)
{
    const int line = box / mm::kPowerOnLineLength;
    const int column = box % mm::kPowerOnLineLength;
    return mm::Address(mm::kPowerOnMsg + line * mm::kPowerOnLineStride + column);
}

} // namespace

void AnalysePowerOnMsg(Document &doc, PowerOnBoxes &boxes)
{
    for (int box = 0; box < kPowerOnBoxes; ++box) {
        std::uint8_t c = doc.Image[BoxAddress(box)];
        if (c < kSpace || c > kLastPrintable)
            c = kSpace;
        doc.PowerOnMsg[box] = c;
        boxes.Boxes[box] = std::string(1, char(c));
    }
}

void EncodePowerOnMsg(Document &doc)
{
    for (int box = 0; box < kPowerOnBoxes; ++box)
        doc.Image[BoxAddress(box)] = doc.PowerOnMsg[box];
}

std::string PowerOnLineText(const PowerOnBoxes &page, int line)
{
    std::string text;
    for (int column = 0; column < mm::kPowerOnLineLength; ++column)
        text += page.Boxes[line * mm::kPowerOnLineLength + column];
    return text;
}

} // namespace nx5rb
