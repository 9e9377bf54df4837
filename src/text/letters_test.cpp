// The letters of Windows-1252: exactly the bytes that have a capital or small
// partner in the case tables, and ß, which has none.
#include "text/letters.h"

#include <gtest/gtest.h>

#include "text/case_map.h"

namespace quirlex {
namespace {

TEST(Letters, AreTheBytesWithACasePartnerAndSharpS) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    const bool has_partner = upper_byte(byte) != byte || lower_byte(byte) != byte;
    EXPECT_EQ(is_letter_byte(static_cast<char>(b)), has_partner || b == 0xDF) << "byte " << b;
  }
}

}  // namespace
}  // namespace quirlex
