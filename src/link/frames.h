// The frames of the radio's programming protocol, as both ends of the line know them.
#pragma once

#include "image/memory_map.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nx5rb::frame {

inline constexpr std::string_view kEntry = "RDQ4716"; // puts the radio into programming mode
inline constexpr std::uint8_t kBandInfo = 0x02; // asks for the 48-byte band information
inline constexpr std::uint8_t kRead = 0x52; // "R"
inline constexpr std::uint8_t kWrite = 0x57; // "W", also the first byte of a data reply
inline constexpr std::uint8_t kEnd = 0x45; // "E"
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kBlockLength = 0x10;

inline constexpr std::size_t kEntryReplyLength = 3; // any byte, ACK, a digit "0".."2"
inline constexpr std::size_t kBandInfoLength = mm::kFreqAreaBlockSize;
inline constexpr std::size_t kRequestLength = 4; // "R" or "W", hi, lo, length
inline constexpr std::size_t kWriteLength = kRequestLength + mm::kBlockSize; // with the data
inline constexpr std::size_t kDataReplyLength = kRequestLength + mm::kBlockSize; // "W", hi, lo,
                                                                                 // length, data
inline constexpr std::size_t kAckLength = 1;

} // namespace nx5rb::frame
