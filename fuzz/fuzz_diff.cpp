// Compares arbitrary images field by field, as "nx5rb-cli diff" and the check after a write do.
// The input is laid over the default image (after the data-file header when it carries one);
// that image is compared with the defaults, with itself one bit changed at a place the input
// chooses, and with itself shifted by one block. Any crash or undefined behaviour is a finding;
// so is an image pair that differs but is reported equal, a differing byte no entry covers, a
// comparison that is not the same both ways round, or a text that is not UTF-8; and, for the
// comparison of stored bytes, an entry that covers no differing byte or a raw run holding an
// equal byte.

#include "editors/field_table.h"
#include "image/data_file.h"
#include "invariant.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include <QByteArrayView>
#include <QStringDecoder>

namespace {

using nx5rb::FieldDifference;
using nx5rb::RadioImage;
namespace mm = nx5rb::mm;

using nx5rb::fuzz::Check;
using nx5rb::fuzz::Fail;

using nx5rb::fuzz::IsUtf8;

RadioImage DefaultImage()
{
    RadioImage image;
    nx5rb::EraseImage(image);
    nx5rb::WriteFreqAreaDefaults(image);
    nx5rb::WriteTuneDefaults(image);
    nx5rb::WritePowerOnDefaults(image);
    return image;
}

void CheckStoredBytes(const RadioImage &a, const RadioImage &b)
{
    const std::vector<FieldDifference> differences = nx5rb::DiffStoredBytes(a, b);
    Check(differences.empty() == (a == b), "stored images that differ are never reported equal");
    std::vector<bool> covered(mm::kImageSize);
    for (const FieldDifference &d : differences) {
        Check(d.size > 0 && d.address + d.size <= int(mm::kImageSize),
              "an entry lies in the image");
        bool differs = false;
        for (int i = d.address; i < d.address + d.size; ++i) {
            differs = differs || a[i] != b[i];
            Check(!d.raw || a[i] != b[i], "a raw run holds only differing bytes");
            covered[i] = true;
        }
        Check(differs, "no entry names only equal bytes");
    }
    for (std::size_t i = 0; i < mm::kImageSize; ++i)
        Check(a[i] == b[i] || covered[i], "every differing stored byte lies in an entry");
}

void CheckDiff(const RadioImage &a, const RadioImage &b)
{
    CheckStoredBytes(a, b);
    const std::vector<FieldDifference> forward = nx5rb::DiffImages(a, b);
    Check(forward.empty() == (a == b), "images that differ are never reported equal");

    std::vector<bool> covered(mm::kImageSize);
    for (const FieldDifference &d : forward) {
        Check(d.size > 0 && d.address + d.size <= int(mm::kImageSize),
              "an entry lies in the image");
        Check(d.a != d.b, "an entry shows two different texts");
        Check(!d.raw || d.a.size() == 2u * d.size, "raw bytes are two hex digits each");
        Check(IsUtf8(d.name) && IsUtf8(d.a) && IsUtf8(d.b), "names and texts are UTF-8");
        std::fill_n(covered.begin() + d.address, d.size, true);
    }
    for (std::size_t i = 0; i < mm::kImageSize; ++i)
        Check(a[i] == b[i] || covered[i], "every differing byte lies in an entry");

    const std::vector<FieldDifference> backward = nx5rb::DiffImages(b, a);
    Check(backward.size() == forward.size(), "the comparison is the same both ways round");
    for (std::size_t i = 0; i < forward.size(); ++i)
        Check(backward[i].name == forward[i].name && backward[i].a == forward[i].b
                  && backward[i].b == forward[i].a,
              "the comparison is the same both ways round");

    std::vector<mm::Address> blocks;
    for (mm::Address block = 0; block < mm::kImageSize; block += mm::kBlockSize)
        blocks.push_back(block);
    Check(nx5rb::VerifyReport(a, b, blocks).size() == forward.size(),
          "a check of every block reports every difference");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    if (bytes.size() >= nx5rb::kFileHeaderCompared
        && std::equal(nx5rb::kFileHeaderText.begin(),
                      nx5rb::kFileHeaderText.begin() + nx5rb::kFileHeaderCompared, bytes.begin()))
        bytes = bytes.subspan(std::min(bytes.size(), nx5rb::FileHeaderBytes().size()));

    const RadioImage defaults = DefaultImage();
    RadioImage image = defaults;
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    CheckDiff(defaults, image);

    // One bit, chosen by the first bytes, changed.
    RadioImage flipped = image;
    if (size >= 3) {
        const std::size_t at = (std::size_t(data[0]) << 8 | data[1]) % mm::kImageSize;
        flipped[at] ^= std::uint8_t(1u << (data[2] % 8));
    }
    CheckDiff(image, flipped);

    RadioImage shifted;
    std::rotate_copy(image.begin(), image.begin() + mm::kBlockSize, image.end(), shifted.begin());
    CheckDiff(image, shifted);
    return 0;
}
