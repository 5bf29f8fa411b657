// What every page shows, as the decoders and editors computed it: cell texts, box texts and the
// selected items of the lists. The window paints these; the command line prints them.
#pragma once

#include "editors/channel_view.h"
#include "editors/freq_area_view.h"
#include "editors/modulation_view.h"
#include "editors/power_on_view.h"
#include "editors/tune_table_view.h"

namespace nx5rb {

struct PageModels
{
    FreqAreaCells FreqAreaView;
    TuneCellsOfBands TuneViews;
    ModulationBoxesOfBands ModulationViews;
    PowerOnBoxes PowerOnView;
    ChannelCells ChannelView;
};

} // namespace nx5rb
