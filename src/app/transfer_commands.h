// The fourteen buttons that move regions of the image to and from the radio.
#pragma once

#include "link/event_pump.h"

#include <array>
#include <optional>
#include <string_view>

namespace nx5rb {

class Link;
class WindowState;

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

// Runs the command as its button does.
void RunTransferCommand(TransferCommand command, Link &link, WindowState &state, EventPump &pump);

} // namespace nx5rb
