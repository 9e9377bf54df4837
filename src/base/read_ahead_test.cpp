// Reading ahead: the pieces come as the source gives them, in order, a
// failure of the source comes at the piece it would have given, and a
// reader dropped halfway ends without waiting for the rest.
#include "base/read_ahead.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace quirlex {
namespace {

// A source of `count` pieces, piece k of k % 7 * 1000 copies of the letter
// 'a' + k % 26, failing at piece `failing` (none when negative).
struct CountingSource {
  int count;
  int failing = -1;
  int given = 0;

  bool operator()(std::string& piece) {
    if (given == failing) throw std::runtime_error("piece " + std::to_string(given));
    if (given == count) {
      piece.clear();
      return false;
    }
    piece.assign(static_cast<std::size_t>(given % 7 * 1000), static_cast<char>('a' + given % 26));
    ++given;
    return true;
  }
};

TEST(ReadAhead, GivesThePiecesInOrderAndAFailureWhereItHappened) {
  for (const int failing : {-1, 0, 1, 250}) {
    SCOPED_TRACE("failing at " + std::to_string(failing));
    CountingSource source{500, failing};
    ReadAhead ahead([&source](std::string& piece) { return source(piece); });
    CountingSource expected{500};
    std::string piece;
    std::string wanted;
    int pieces = 0;
    try {
      while (ahead.next(piece)) {
        ASSERT_TRUE(expected(wanted));
        ASSERT_EQ(piece, wanted) << "piece " << pieces;
        ++pieces;
      }
      EXPECT_LT(failing, 0) << "no failure passed on";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "piece " + std::to_string(failing));
    }
    EXPECT_EQ(pieces, failing < 0 ? 500 : failing);
    // The end stays the end.
    EXPECT_FALSE(ahead.next(piece));
    EXPECT_TRUE(piece.empty());
  }
}

TEST(ReadAhead, DroppedHalfwayReadsAtMostOnePieceMore) {
  CountingSource source{1000};
  {
    ReadAhead ahead([&source](std::string& piece) { return source(piece); });
    std::string piece;
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(ahead.next(piece));
  }
  EXPECT_GE(source.given, 3);
  EXPECT_LE(source.given, 4);
}

}  // namespace
}  // namespace quirlex
