// The "*.dat" file: a 16-byte header followed by the 4096 image bytes.
#pragma once

#include "image/radio_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nx5rb {

using FileHeaderBytes = std::array<std::uint8_t, 16>;

inline constexpr std::string_view kFileHeaderText = "NX5RBTX VER1.06 ";
// Only "NX5RBTX " identifies the format; the version text after it is not compared.
inline constexpr std::size_t kFileHeaderCompared = 8;
inline constexpr std::size_t kDataFileSize = 16 + mm::kImageSize;

enum class DataFileStatus {
    Ok,
    WrongFile, // header does not match, or the file is too short to hold an image
    CannotRead, // the file could not be opened or read
};

struct DataFileContents
{
    DataFileStatus status = DataFileStatus::CannotRead;
    FileHeaderBytes header {};
    RadioImage image {};
    std::string reason; // the system's words when the file could not be read
};

// Checks the bytes of a file. Bytes after the image are ignored.
DataFileContents ParseDataFile(std::span<const std::uint8_t> bytes);
// Reads the first bytes of the file at `path` (UTF-8) and checks them.
DataFileContents ReadDataFile(const std::string &path);

// The 4112 bytes of a file holding `image`.
std::array<std::uint8_t, kDataFileSize> DataFileBytes(const RadioImage &image);
// Replaces the file at `path` with `bytes` atomically: they go to a temporary file beside the
// target, which then replaces it, so a failed write leaves any earlier file as it was. The
// system's reason on failure.
std::optional<std::string> ReplaceFile(const std::string &path, std::span<const char> bytes);
// ReplaceFile with the file holding `image`.
std::optional<std::string> WriteDataFile(const std::string &path, const RadioImage &image);

} // namespace nx5rb
