#include "editors/power_on_view.h"

#include "image/records.h"

namespace nx5rb {

namespace {

constexpr char kSpace = ' ';

// The row and the value of box `box`.
RowValue BoxValue(int box)
{
    return RowAt(kPowerOnViewRows, {0, box});
}

} // namespace

std::string MessageCharText(const ViewRow &row, const RadioImage &image, int, int index)
{
    const std::uint8_t c = PowerOnMessageOf(image).Char(row.slot, index);
    return std::string(1, MessagePrintable(c) ? char(c) : kSpace);
}

void AnalysePowerOnMsg(Document &doc, PowerOnBoxes &boxes)
{
    for (int box = 0; box < kPowerOnBoxes; ++box) {
        const auto [row, index] = BoxValue(box);
        boxes.Boxes[box] = row->Text(doc.Image, 0, index);
        doc.PowerOnMsg[box] = std::uint8_t(boxes.Boxes[box].front());
    }
}

void EncodePowerOnMsg(Document &doc)
{
    for (int box = 0; box < kPowerOnBoxes; ++box) {
        const auto [row, index] = BoxValue(box);
        doc.Image[row->Address(0, index)] = doc.PowerOnMsg[box];
    }
}

std::string PowerOnLineText(const PowerOnBoxes &page, int line)
{
    std::string text;
    for (int column = 0; column < mm::kPowerOnLineLength; ++column)
        text += page.Boxes[line * mm::kPowerOnLineLength + column];
    return text;
}

} // namespace nx5rb
