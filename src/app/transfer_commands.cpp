#include "app/transfer_commands.h"

#include "app/window_state.h"
#include "link/link_protocol.h"

namespace nx5rb {

namespace {

struct CommandInfo
{
    TransferCommand command;
    std::string_view confirmation;
    bool read;
    bool TransferFlags::*flag; // the region's request flag, if any
    std::string_view region;
};

constexpr std::array<CommandInfo, 14> kCommands = {{
    {TransferCommand::Read, "读取频段信息？", true, nullptr, "area"},
    {TransferCommand::Write, "写频段信息？", false, nullptr, "area"},
    {TransferCommand::ReadA, "读取频段-A 灵敏度/功率？", true, &TransferFlags::WantBandA, "band-a"},
    {TransferCommand::WriteA, "写频段-A 灵敏度/功率？", false, &TransferFlags::WantBandA, "band-a"},
    {TransferCommand::ReadB, "读取频段-B 灵敏度/功率？", true, &TransferFlags::WantBandB, "band-b"},
    {TransferCommand::WriteB, "写频段-B 灵敏度/功率？", false, &TransferFlags::WantBandB, "band-b"},
    {TransferCommand::ReadC, "读取频段-C 灵敏度/功率？", true, &TransferFlags::WantBandC, "band-c"},
    {TransferCommand::WriteC, "写频段-C 灵敏度/功率？", false, &TransferFlags::WantBandC, "band-c"},
    {TransferCommand::ReadOption, "读取MCU版本？", true, &TransferFlags::WantOption, "message"},
    {TransferCommand::WriteOption, "写MCU版本？", false, &TransferFlags::WantOption, "message"},
    {TransferCommand::ReadChannelInfo, "读取信道信息？", true, &TransferFlags::WantChannels,
     "channels"},
    {TransferCommand::WriteChannelInfo, "写信道信息？", false, &TransferFlags::WantChannels,
     "channels"},
    {TransferCommand::ReadAll, "读取全部？", true, &TransferFlags::WantAll, "all"},
    {TransferCommand::WriteAll, "全部写入？", false, &TransferFlags::WantAll, "all"},
}};

const CommandInfo &Info(TransferCommand command)
{
    return kCommands[static_cast<std::size_t>(command)];
}

} // namespace

std::string_view Confirmation(TransferCommand command)
{
    return Info(command).confirmation;
}

bool IsRead(TransferCommand command)
{
    return Info(command).read;
}

std::optional<TransferCommand> CommandForRegion(std::string_view region, bool read)
{
    for (const CommandInfo &info : kCommands)
        if (info.region == region && info.read == read)
            return info.command;
    return std::nullopt;
}

std::string_view RegionName(TransferCommand command)
{
    return Info(command).region;
}

std::vector<int> CalibrationBands(TransferCommand command)
{
    switch (command) {
    case TransferCommand::WriteA:
        return {0};
    case TransferCommand::WriteB:
        return {1};
    case TransferCommand::WriteC:
        return {2};
    case TransferCommand::WriteAll:
        return {0, 1, 2};
    default:
        return {};
    }
}

std::vector<std::uint16_t> RadioLookBlocks()
{
    return CommandRequest(TransferCommand::ReadAll).blocks;
}

std::vector<std::uint16_t> WriteBlocks(TransferCommand command)
{
    return IsRead(command) ? std::vector<std::uint16_t>() : CommandRequest(command).blocks;
}

bool MayWriteChangesOnly(TransferCommand command)
{
    return command == TransferCommand::Write || command == TransferCommand::WriteAll
        || !CalibrationBands(command).empty();
}

void ApplyAsWriteDoes(TransferCommand command, WindowState &state)
{
    switch (command) {
    case TransferCommand::Write:
        // A changed band-combination or working-channel list alone is enough.
        if (state.ChangesPending())
            state.Apply();
        break;
    case TransferCommand::WriteAll:
        state.Apply(); // always
        break;
    default:
        if (!IsRead(command) && state.DataChanged)
            state.Apply();
        break;
    }
}

TransferRequest CommandRequest(TransferCommand command, bool ask)
{
    const CommandInfo &info = Info(command);
    TransferFlags flags;
    if (info.flag)
        flags.*info.flag = true;
    flags.WantBandStart = command == TransferCommand::Write || command == TransferCommand::WriteAll;
    TransferRequest request;
    request.read = info.read;
    request.blocks = PlanBlocks(flags, info.read);
    request.keepBandInformation = info.read;
    request.question = std::string(info.confirmation);
    request.ask = ask;
    return request;
}

bool StartTransferCommand(TransferCommand command, Link &link, WindowState &state, bool ask,
                          std::optional<std::vector<std::uint16_t>> blocks)
{
    TransferRequest request = CommandRequest(command, ask);
    if (blocks)
        request.blocks = std::move(*blocks);
    if (!request.read) {
        if (command == TransferCommand::WriteAll)
            state.DataChanged = true; // set before the answer is known
        // A write that refreshes does so before its entry string, so the first block already
        // carries the applied edits.
        request.onStarted = [command, &state] { ApplyAsWriteDoes(command, state); };
    }
    return link.Start(std::move(request));
}

void FinishWriteAll(TransferCommand command, Link &link, EventPump &pump)
{
    if (command != TransferCommand::WriteAll)
        return;
    pump.WaitWhile([&link] { return link.LinkState() != LinkPhase::Idle; });
    pump.PauseInput(kWriteAllPauseMs);
}

} // namespace nx5rb
