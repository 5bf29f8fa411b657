#include "gui/channel_page.h"

#include "app/window_state.h"
#include "editors/channel_view.h"
#include "gui/qt_text.h"

#include <array>

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace nx5rb {

namespace {
constexpr std::array<int, kChannelCols> kColumnTwips
    = {800, 1200, 1200, 1000, 1000, 1000, 1000, 1330};
constexpr int kRowTwips = 300;
} // namespace

FrameChannelInfo::FrameChannelInfo(WindowState &state, QWidget *parent)
    : QGroupBox(Q(channel_text::kFrame), parent)
    , state_(state)
{
    setObjectName("FrameChannelInfo");
    auto *layout = new QVBoxLayout(this);
    MSHFlexGridChInfo = new CellGrid(kChannelRows, kChannelCols, this);
    MSHFlexGridChInfo->setObjectName("MSHFlexGridChInfo");
    MSHFlexGridChInfo->setAccessibleName(Q(channel_text::kFrame));
    for (int col = 0; col < kChannelCols; ++col)
        MSHFlexGridChInfo->SetColumnWidthTwips(col, kColumnTwips[col]);
    MSHFlexGridChInfo->SetRowHeightTwips(kRowTwips);
    layout->addWidget(MSHFlexGridChInfo, 1);

    layout->addLayout(ReadWriteButtons(this, "CommandReadChannelInfo", "CommandWriteChannelInfo",
                                       CommandReadChannelInfo, CommandWriteChannelInfo));
}

void FrameChannelInfo::Paint()
{
    MSHFlexGridChInfo->Paint(state_.ChannelView.Grid);
}

} // namespace nx5rb
