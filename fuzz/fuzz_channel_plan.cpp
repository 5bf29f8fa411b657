// Reads arbitrary bytes as a channel plan (decoded as UTF-8, else GB18030, else refused) and
// applies it, as an import does, to the start-up image and to the virtual radio's factory memory
// (whose channels the plan's rows are compared with), each with and without replace-all. Any crash,
// leak or undefined behaviour is a finding; so is a byte outside the channel table that changes, a
// channel change no good row accounts for, a refused row that changes its channel, a written
// channel that does not show what its row asked for, a wrong count of overwritten channels, and an
// export of the result that does not import back unchanged.

#include "app/window_state.h"
#include "editors/channel_plan.h"
#include "invariant.h"
#include "sim/factory_memory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using nx5rb::ChannelEntry;
using nx5rb::ChannelPlan;
using nx5rb::RadioImage;
namespace mm = nx5rb::mm;

struct Target
{
    RadioImage image;
    nx5rb::FreqAreaTable areas;
};

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

const Target &StartUp()
{
    static const Target target = [] {
        const nx5rb::WindowState state;
        return Target {state.Image, state.FreqAreas};
    }();
    return target;
}

// The factory memory as an open shows it: repaired, its limits decoded.
const Target &Factory()
{
    static const Target target = [] {
        nx5rb::WindowState state;
        state.Image = nx5rb::FactoryMemory();
        state.ModifyData();
        state.AnalyseAll();
        return Target {state.Image, state.FreqAreas};
    }();
    return target;
}

bool SameRecord(const RadioImage &a, const RadioImage &b, int number)
{
    const auto at = mm::ChannelRecord(number + 1);
    return std::equal(a.begin() + at, a.begin() + at + mm::kChannelRecordSize, b.begin() + at);
}

void CheckImport(std::string_view csv, const Target &target, bool replaceAll)
{
    const RadioImage &before = target.image;
    const nx5rb::FreqAreaTable &areas = target.areas;
    const ChannelPlan plan = nx5rb::ParseChannelPlan(csv, before, areas, replaceAll);
    RadioImage after = before;
    nx5rb::ApplyChannelPlan(plan, after, areas);

    Check(std::equal(before.begin(), before.begin() + mm::kChannelTableStart, after.begin())
              && std::equal(before.begin() + mm::kChannelTableEnd, before.end(),
                            after.begin() + mm::kChannelTableEnd),
          "only channel records change");
    if (!plan.layout)
        Check(after == before && plan.good.empty(), "a file that is no plan changes nothing");

    std::array<const ChannelEntry *, mm::kChannelCount> planned {};
    for (const nx5rb::PlannedChannel &row : plan.good) {
        Check(!planned[row.entry.number], "one good row per channel");
        Check(plan.named[row.entry.number], "a good row names its channel");
        planned[row.entry.number] = &row.entry;
    }
    std::array<const ChannelEntry *, mm::kChannelCount> existing {};
    const std::vector<ChannelEntry> was = nx5rb::ReadChannels(before, areas);
    for (const ChannelEntry &entry : was)
        existing[entry.number] = &entry;
    std::array<bool, mm::kChannelCount> shown {};
    for (const ChannelEntry &entry : nx5rb::ReadChannels(after, areas)) {
        shown[entry.number] = true;
        if (planned[entry.number])
            Check(entry == *planned[entry.number], "a written channel shows what its row asked");
    }

    int overwritten = 0;
    for (int number = 0; number < mm::kChannelCount; ++number) {
        const bool same = SameRecord(before, after, number);
        if (planned[number]) {
            Check(shown[number], "a written channel exists");
        } else if (plan.replaceAll && plan.layout && !plan.named[number]) {
            Check(!shown[number], "replace-all clears the channels no row names");
        } else {
            Check(same,
                  "a channel no good row names stays as it was (refused rows change nothing)");
        }
        overwritten += existing[number] && !same ? 1 : 0;
    }
    Check(plan.overwritten == overwritten, "the overwritten count is the changed channels");

    // Our own export of the result imports back into it without a change.
    const std::string again
        = nx5rb::ExportChannelPlan(nx5rb::ReadChannels(after, areas), nx5rb::PlanLayout::Ours);
    const ChannelPlan back = nx5rb::ParseChannelPlan(again, after, areas, replaceAll);
    Check(back.refused.empty() && back.warnings.empty() && back.overwritten == 0,
          "an export imports back without refusal, warning or overwrite");
    RadioImage twice = after;
    nx5rb::ApplyChannelPlan(back, twice, areas);
    Check(twice == after, "an export imported back changes no byte");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view csv(reinterpret_cast<const char *>(data), size);
    for (const Target *target : {&StartUp(), &Factory()})
        for (bool replaceAll : {false, true})
            CheckImport(csv, *target, replaceAll);
    return 0;
}
