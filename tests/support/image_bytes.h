// Reading and writing runs of image bytes in the order the radio stores them.
#pragma once

#include "image/radio_image.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace nx5rb::test {

using Bytes = std::vector<std::uint8_t>;

inline void Put(RadioImage &image, mm::Address at, std::initializer_list<std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes)
        image[at++] = b;
}

inline void Put(RadioImage &image, mm::Address at, const Bytes &bytes)
{
    for (std::uint8_t b : bytes)
        image[at++] = b;
}

inline Bytes Get(const RadioImage &image, mm::Address at, int count)
{
    return Bytes(image.begin() + at, image.begin() + at + count);
}

} // namespace nx5rb::test
