// The fourteen buttons that move regions of the image to and from the radio.
#pragma once

#include "link/event_pump.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace nx5rb {

class Link;
class WindowState;
struct TransferRequest;

// How long 写入全部 keeps the window from taking input after its transfer.
inline constexpr int kWriteAllPauseMs = 2000;

enum class TransferCommand {
    Read, // the frequency-area page
    Write,
    ReadA,
    WriteA,
    ReadB,
    WriteB,
    ReadC,
    WriteC,
    ReadOption, // the power-on message page
    WriteOption,
    ReadChannelInfo,
    WriteChannelInfo,
    ReadAll, // the bottom row
    WriteAll,
};

std::string_view Confirmation(TransferCommand command);
bool IsRead(TransferCommand command);
// The region names of the command line: all, area, band-a, band-b, band-c, message, channels.
std::optional<TransferCommand> CommandForRegion(std::string_view region, bool read);

// The region name of the command ("all", "band-a", …).
std::string_view RegionName(TransferCommand command);

// The bands whose calibration (tune block and settings block) a write sends: all three for
// 写入全部, one for a band's write, none for the other commands.
std::vector<int> CalibrationBands(TransferCommand command);
// The blocks 读取全部 reads (the band information, the three bands' tune tables and settings):
// what a write that sends calibration reads of the radio first.
std::vector<std::uint16_t> RadioLookBlocks();

// The blocks the command's write sends, in the order of the wire (the frequency-area and write-all
// commands end with the band-start records).
std::vector<std::uint16_t> WriteBlocks(TransferCommand command);
// The writes whose region the look before them can read whole (the frequency areas, a band, all),
// so that they may send only the blocks that differ from the radio's. Channel and message writes
// stay whole: the radio's own keys change channels, and reading them would cost what writing does.
bool MayWriteChangesOnly(TransferCommand command);

// A write's refresh of the image: pending edits applied as the command's rule says (写入全部
// always; the frequency-area write also for a changed list; the others when DataChanged is set).
void ApplyAsWriteDoes(TransferCommand command, WindowState &state);

// The link's request for the command as its button makes it: its question, its direction and the
// blocks of its plan, in the order of the wire.
TransferRequest CommandRequest(TransferCommand command, bool ask = true);
// Starts the command's transfer as its button does: the question (unless `ask` is false: the user
// already confirmed this command), the plan's blocks (or `blocks`: the part of the plan a write
// of changes sends), and a write's refresh before the first block. True when the transfer started.
bool StartTransferCommand(TransferCommand command, Link &link, WindowState &state, bool ask = true,
                          std::optional<std::vector<std::uint16_t>> blocks = std::nullopt);
// What 写入全部 does after its start: waits for its transfer to end with events flowing, then
// keeps the window busy for 2 s. Nothing for the other commands.
void FinishWriteAll(TransferCommand command, Link &link, EventPump &pump);

} // namespace nx5rb
