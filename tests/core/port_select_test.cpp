// Which device each numbered port stands for.
#include "app/port_select.h"

#include <gtest/gtest.h>

namespace nx5rb {
namespace {

TEST(OrderForNumbering, UsbAdaptersFirstThenNaturalOrder)
{
    const std::vector<std::string> found
        = {"ttyS1", "ttyUSB10", "ttyS0", "ttyACM0", "ttyUSB2", "ttyS10", "ttyS2", "ttyUSB02x"};
    const std::vector<std::string> expected
        = {"ttyACM0", "ttyUSB2", "ttyUSB02x", "ttyUSB10", "ttyS0", "ttyS1", "ttyS2", "ttyS10"};
    EXPECT_EQ(OrderForNumbering(found), expected);
}

} // namespace
} // namespace nx5rb
