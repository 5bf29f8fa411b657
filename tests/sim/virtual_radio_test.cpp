// The radio's side of the link, frame by frame, as the tool will meet it.
#include "sim/virtual_radio.h"

#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string_view>

namespace nx5rb {
namespace {

using namespace radio_frame;

Bytes Text(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

const Bytes kEntryFrame = Text(kEntry);

Bytes ReadFrame(std::uint16_t address)
{
    return {kRead, std::uint8_t(address >> 8), std::uint8_t(address & 0xFF), kBlockLength};
}

Bytes WriteFrame(std::uint16_t address, std::uint8_t fill)
{
    Bytes frame(kWriteLength);
    frame[0] = kWrite;
    frame[1] = std::uint8_t(address >> 8);
    frame[2] = std::uint8_t(address & 0xFF);
    frame[3] = kBlockLength;
    std::iota(frame.begin() + kRequestLength, frame.end(), fill);
    return frame;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Send(VirtualRadio &radio, const Bytes &bytes)
{
    return radio.Receive(bytes);
}

// A memory whose every byte tells its address apart from its neighbours'.
RadioImage PatternMemory()
{
    RadioImage memory {};
    for (std::size_t i = 0; i < memory.size(); ++i)
        memory[i] = std::uint8_t(i * 7 + (i >> 8));
    return memory;
}

Bytes DataReply(const RadioImage &memory, std::uint16_t address)
{
    Bytes reply(kDataReplyLength);
    reply[0] = kWrite;
    reply[1] = std::uint8_t(address >> 8);
    reply[2] = std::uint8_t(address & 0xFF);
    reply[3] = kBlockLength;
    std::copy_n(memory.begin() + address, 16, reply.begin() + kRequestLength);
    return reply;
}

class SimRadio : public ::testing::Test
{
protected:
    void Enter()
    {
        const Bytes reply = Send(radio, kEntryFrame);
        ASSERT_EQ(reply.size(), 3u);
        ASSERT_TRUE(radio.InSession());
    }

    RadioImage memory = PatternMemory();
    VirtualRadio radio {memory};
};

TEST_F(SimRadio, EntryStringOpensASessionWithAckAndDigitOne)
{
    EXPECT_FALSE(radio.InSession());
    const Bytes reply = Send(radio, kEntryFrame);
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[1], kAck);
    EXPECT_EQ(reply[2], '1');
    EXPECT_TRUE(radio.InSession());
}

TEST_F(SimRadio, IdleRadioSkipsBytesThatDoNotFormTheEntryString)
{
    // Requests before the entry are not answered; a broken entry string restarts at its "R".
    EXPECT_TRUE(Send(radio, Concat({ReadFrame(0xCF0), {kBandInfo, kAck, kEnd}})).empty());
    EXPECT_TRUE(Send(radio, Text("RDQ47RDQ471")).empty());
    EXPECT_FALSE(radio.InSession());
    EXPECT_EQ(Send(radio, Text("6")).size(), 3u);
    EXPECT_TRUE(radio.InSession());
}

TEST_F(SimRadio, ResentEntryStringInASessionIsAnsweredAgainAndStartsAFreshSession)
{
    Enter();
    const Bytes reply = Send(radio, Concat({kEntryFrame, kEntryFrame}));
    EXPECT_EQ(reply.size(), 6u);
    EXPECT_TRUE(radio.InSession());
    EXPECT_EQ(radio.SessionsCompleted(), 0);
    // The session still answers requests: a request that merely starts like the entry string is
    // a read.
    EXPECT_EQ(Send(radio, ReadFrame(0x4451)).size(), 1u); // out of memory: NAK
    EXPECT_EQ(Send(radio, ReadFrame(0x0D00)), DataReply(memory, 0x0D00));
}

TEST_F(SimRadio, BandInformationRequestSendsTheFrequencyAreaBlock)
{
    Enter();
    const Bytes reply = Send(radio, {kBandInfo});
    EXPECT_EQ(reply,
              Bytes(memory.begin() + mm::kFreqAreaBlock, memory.begin() + mm::kFreqAreaBlockEnd));
}

TEST_F(SimRadio, ReadRequestIsAnsweredWithTheBlockAndTheToolsAckWithTheRadiosAck)
{
    Enter();
    for (std::uint16_t address : {0x000, 0x010, 0x810, 0xCF0, 0xF9F, 0xFF0}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(Send(radio, ReadFrame(address)), DataReply(memory, address));
        EXPECT_EQ(Send(radio, {kAck}), Bytes {kAck});
    }
    EXPECT_EQ(radio.BlocksRead(), 6);
    // An ACK nobody asked for is not answered.
    EXPECT_TRUE(Send(radio, {kAck}).empty());
}

TEST_F(SimRadio, WriteRequestStoresTheSixteenBytesAndIsAcknowledged)
{
    Enter();
    const Bytes frame = WriteFrame(0xF80, 0x40);
    EXPECT_EQ(Send(radio, frame), Bytes {kAck});
    RadioImage expected = memory;
    std::copy(frame.begin() + 4, frame.end(), expected.begin() + 0xF80);
    EXPECT_EQ(radio.Memory(), expected);
    EXPECT_EQ(radio.BlocksWritten(), 1);
    // What was written is what a read returns.
    EXPECT_EQ(Send(radio, ReadFrame(0xF80)), DataReply(expected, 0xF80));
}

TEST_F(SimRadio, EndFrameClosesTheSessionUntilTheNextEntryString)
{
    Enter();
    EXPECT_TRUE(Send(radio, {kEnd}).empty());
    EXPECT_FALSE(radio.InSession());
    EXPECT_EQ(radio.SessionsCompleted(), 1);
    EXPECT_TRUE(Send(radio, Concat({ReadFrame(0xCF0), WriteFrame(0x010, 0), {kBandInfo}})).empty());
    EXPECT_EQ(radio.Memory(), memory);
    Enter();
    EXPECT_EQ(Send(radio, ReadFrame(0xCF0)).size(), kDataReplyLength);
}

TEST_F(SimRadio, BlocksThatWouldLeaveTheMemoryAreRefusedWithoutTouchingIt)
{
    Enter();
    for (std::uint16_t address : {0xFF1, 0xFF8, 0xFFF, 0x1000, 0x10F0, 0xFFFF}) {
        SCOPED_TRACE(address);
        EXPECT_EQ(Send(radio, ReadFrame(address)), Bytes {kNak});
        EXPECT_EQ(Send(radio, WriteFrame(address, 0xA0)), Bytes {kNak});
    }
    EXPECT_EQ(radio.Memory(), memory);
    EXPECT_EQ(radio.BlocksRead(), 0);
    EXPECT_EQ(radio.BlocksWritten(), 0);
    // The last whole block is fine.
    EXPECT_EQ(Send(radio, WriteFrame(0xFF0, 0xA0)), Bytes {kAck});
    EXPECT_EQ(radio.Memory()[0xFFF], 0xAF);
}

TEST_F(SimRadio, FrameLogListsEveryFrameWithItsAddress)
{
    Send(radio,
         Concat({kEntryFrame,
                 {kBandInfo},
                 ReadFrame(0xCF0),
                 {kAck},
                 ReadFrame(0xD00),
                 {kAck},
                 WriteFrame(0x810, 1),
                 {kEnd}}));
    const std::vector<FrameRecord> expected = {
        {FrameKind::Entry, 0},     {FrameKind::BandInfo, 0}, {FrameKind::Read, 0xCF0},
        {FrameKind::Ack, 0},       {FrameKind::Read, 0xD00}, {FrameKind::Ack, 0},
        {FrameKind::Write, 0x810}, {FrameKind::End, 0},
    };
    EXPECT_EQ(radio.FrameLog(), expected);
    EXPECT_EQ(radio.BlocksRead(), 2);
    EXPECT_EQ(radio.BlocksWritten(), 1);
    EXPECT_EQ(radio.SessionsCompleted(), 1);
}

TEST_F(SimRadio, SessionEndReportsWhatTheSessionMoved)
{
    std::vector<SessionSummary> ends;
    radio.OnSessionEnd = [&](const SessionSummary &summary) { ends.push_back(summary); };
    Send(radio, Concat({kEntryFrame, ReadFrame(0xCF0), {kAck}, {kEnd}}));
    Send(radio, Concat({kEntryFrame, WriteFrame(0xCF0, 0), WriteFrame(0xD00, 0), kEntryFrame}));
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].Number, 1);
    EXPECT_EQ(ends[0].BlocksRead, 1);
    EXPECT_EQ(ends[0].BlocksWritten, 0);
    EXPECT_TRUE(ends[0].Completed);
    EXPECT_EQ(ends[1].Number, 2);
    EXPECT_EQ(ends[1].BlocksRead, 0);
    EXPECT_EQ(ends[1].BlocksWritten, 2);
    EXPECT_FALSE(ends[1].Completed); // cut off by the entry string
}

// A whole conversation gives the same answers, memory and log however the bytes are split.
TEST(SimRadioStream, FragmentedInputParsesLikeWholeFrames)
{
    const Bytes conversation = Concat({Text("xx"),
                                       kEntryFrame,
                                       {kBandInfo},
                                       ReadFrame(0xEC0),
                                       {kAck},
                                       WriteFrame(0xF90, 0x30),
                                       ReadFrame(0xF90),
                                       {kAck},
                                       kEntryFrame,
                                       WriteFrame(0xFF8, 0),
                                       {kEnd},
                                       kEntryFrame,
                                       ReadFrame(0x800),
                                       {kAck},
                                       {kEnd}});
    VirtualRadio whole(PatternMemory());
    const Bytes expectedReply = whole.Receive(conversation);
    ASSERT_FALSE(expectedReply.empty());

    std::mt19937 random(7);
    for (int split = 0; split < 40; ++split) {
        SCOPED_TRACE(split);
        VirtualRadio radio(PatternMemory());
        Bytes reply;
        std::size_t at = 0;
        while (at < conversation.size()) {
            // Split 0 feeds single bytes; the others random chunks of 1..25 bytes.
            const std::size_t length = split == 0
                ? 1
                : std::min<std::size_t>(1 + random() % 25, conversation.size() - at);
            const Bytes part
                = radio.Receive(std::span<const std::uint8_t>(conversation).subspan(at, length));
            reply.insert(reply.end(), part.begin(), part.end());
            at += length;
        }
        EXPECT_EQ(reply, expectedReply);
        EXPECT_EQ(radio.Memory(), whole.Memory());
        EXPECT_EQ(radio.FrameLog(), whole.FrameLog());
        EXPECT_EQ(radio.SessionsCompleted(), 2);
    }
}

// --- fault knobs ---

TEST_F(SimRadio, NeverAnswerEntrySwallowsEveryEntryString)
{
    radio.Faults.NeverAnswerEntry = true;
    EXPECT_TRUE(Send(radio, Concat({kEntryFrame, kEntryFrame, {kBandInfo}})).empty());
    EXPECT_FALSE(radio.InSession());
}

TEST_F(SimRadio, WrongEntryDigitIsSentAndTheRadioStaysOutOfProgrammingMode)
{
    radio.Faults.EntryDigit = '3';
    const Bytes reply = Send(radio, kEntryFrame);
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[1], kAck);
    EXPECT_EQ(reply[2], '3');
    EXPECT_FALSE(radio.InSession());
    EXPECT_TRUE(Send(radio, {kBandInfo}).empty());
    // Every resend gets the same refusal.
    EXPECT_EQ(Send(radio, kEntryFrame)[2], '3');
}

struct CountedFault
{
    const char *name;
    int RadioFaults::*knob;
};

void PrintTo(const CountedFault &fault, std::ostream *out)
{
    *out << fault.name;
}

class SimRadioCountedFault : public ::testing::TestWithParam<CountedFault>
{
};

// A session of three reads and three writes, interleaved; returns the radio's answer to each.
std::vector<Bytes> ThreeReadsThreeWrites(VirtualRadio &radio)
{
    std::vector<Bytes> answers;
    answers.push_back(radio.Receive(kEntryFrame));
    for (int i = 0; i < 3; ++i) {
        const std::uint16_t address = std::uint16_t(0xEC0 + 0x20 * i);
        answers.push_back(radio.Receive(ReadFrame(address)));
        answers.push_back(radio.Receive(Bytes {kAck}));
        answers.push_back(radio.Receive(WriteFrame(std::uint16_t(address + 0x10), 0x50)));
    }
    answers.push_back(radio.Receive(Bytes {kEnd}));
    return answers;
}

// Each counted fault changes the exchange of the second session only when Repeat is set.
TEST_P(SimRadioCountedFault, FiresOnceUnlessRepeated)
{
    for (bool repeat : {false, true}) {
        SCOPED_TRACE(repeat);
        VirtualRadio healthy(PatternMemory());
        const std::vector<Bytes> normal = ThreeReadsThreeWrites(healthy);

        VirtualRadio radio(PatternMemory());
        radio.Faults.*GetParam().knob = 2;
        radio.Faults.Repeat = repeat;
        EXPECT_NE(ThreeReadsThreeWrites(radio), normal);
        EXPECT_EQ(radio.Faults.*GetParam().knob, repeat ? 2 : 0);
        if (repeat)
            EXPECT_NE(ThreeReadsThreeWrites(radio), normal);
        else
            EXPECT_EQ(ThreeReadsThreeWrites(radio), normal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Knobs, SimRadioCountedFault,
    ::testing::Values(CountedFault {"NakOnWrite", &RadioFaults::NakOnWrite},
                      CountedFault {"BadReplyByte", &RadioFaults::BadReplyByte},
                      CountedFault {"WrongAddress", &RadioFaults::WrongAddress},
                      CountedFault {"StallAfter", &RadioFaults::StallAfter}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SimRadio, NakOnWriteRefusesExactlyThatWriteAndStoresNothing)
{
    radio.Faults.NakOnWrite = 2;
    Enter();
    EXPECT_EQ(Send(radio, WriteFrame(0x010, 0x10)), Bytes {kAck});
    EXPECT_EQ(Send(radio, WriteFrame(0x020, 0x20)), Bytes {kNak});
    EXPECT_EQ(Send(radio, WriteFrame(0x030, 0x30)), Bytes {kAck});
    EXPECT_EQ(radio.Memory()[0x010], 0x10);
    EXPECT_EQ(radio.Memory()[0x020], memory[0x020]);
    EXPECT_EQ(radio.Memory()[0x030], 0x30);
    EXPECT_EQ(radio.BlocksWritten(), 2);
}

TEST_F(SimRadio, BadReplyByteSpoilsOnlyTheFirstByteOfThatReply)
{
    radio.Faults.BadReplyByte = 2;
    Enter();
    EXPECT_EQ(Send(radio, ReadFrame(0xF00)), DataReply(memory, 0xF00));
    Send(radio, {kAck});
    const Bytes reply = Send(radio, ReadFrame(0xF10));
    Bytes expected = DataReply(memory, 0xF10);
    ASSERT_EQ(reply.size(), expected.size());
    EXPECT_NE(reply[0], kWrite);
    expected[0] = reply[0];
    EXPECT_EQ(reply, expected);
    // The radio still waits for the ACK of that block.
    EXPECT_EQ(Send(radio, {kAck}), Bytes {kAck});
}

TEST_F(SimRadio, WrongAddressNamesTheNextBlockWithTheRequestedData)
{
    radio.Faults.WrongAddress = 1;
    radio.Faults.Repeat = true;
    // The last block of memory names the first.
    for (auto [asked, named] : {std::pair {0xF00, 0xF10}, std::pair {0xFF0, 0x000}}) {
        SCOPED_TRACE(asked);
        Enter();
        Bytes expected = DataReply(memory, std::uint16_t(asked));
        expected[1] = std::uint8_t(named >> 8);
        expected[2] = std::uint8_t(named & 0xFF);
        EXPECT_EQ(Send(radio, ReadFrame(std::uint16_t(asked))), expected);
        Send(radio, {kAck, kEnd});
    }
}

TEST_F(SimRadio, StallAfterAnswersTheBlockThenNothingUntilTheNextEntry)
{
    radio.Faults.StallAfter = 2;
    Enter();
    EXPECT_EQ(Send(radio, WriteFrame(0x010, 1)), Bytes {kAck});
    Send(radio, ReadFrame(0x020));
    EXPECT_EQ(Send(radio, {kAck}), Bytes {kAck}); // the second block completes
    EXPECT_TRUE(
        Send(radio, Concat({ReadFrame(0x030), {kAck}, WriteFrame(0x040, 4), {kBandInfo}})).empty());
    EXPECT_EQ(radio.Memory()[0x040], memory[0x040]);
    EXPECT_EQ(radio.SessionsCompleted(), 0);
    Enter();
    EXPECT_EQ(Send(radio, ReadFrame(0x030)).size(), kDataReplyLength);
}

} // namespace
} // namespace nx5rb
