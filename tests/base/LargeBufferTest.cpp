#include "base/LargeBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace karvelo {
namespace {

// Sizes on both sides of the switch from the heap to a mapping of its own, and one
// that is not a whole number of huge pages.
TEST(LargeBufferTest, EverySizeIsZeroFilledAndWritableToItsLastElement) {
  for (const std::size_t count : {std::size_t{1}, std::size_t{1000}, std::size_t{32767},
                                  std::size_t{32768}, std::size_t{1200601}}) {
    SCOPED_TRACE(count);
    LargeBuffer<double> buffer(count);
    ASSERT_EQ(buffer.size(), count);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](double v) { return v == 0.0; }));
    buffer[0] = 1.5;
    buffer[count - 1] = 2.5;
    EXPECT_EQ(buffer[count - 1], 2.5);
    buffer.Resize(count);  // a fresh, zeroed buffer again
    EXPECT_EQ(buffer[0], 0.0);
    EXPECT_EQ(buffer[count - 1], 0.0);
  }
}

TEST(LargeBufferTest, MovingHandsTheMemoryOverAndLeavesTheSourceEmpty) {
  LargeBuffer<std::uint8_t> a(std::size_t{3} << 20);
  a[12345] = 7;
  const std::uint8_t* memory = a.data();
  LargeBuffer<std::uint8_t> b(std::move(a));
  EXPECT_EQ(b.data(), memory);
  EXPECT_EQ(b[12345], 7);
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  LargeBuffer<std::uint8_t> c(16);
  c = std::move(b);
  EXPECT_EQ(c.data(), memory);
  EXPECT_EQ(c.size(), std::size_t{3} << 20);
  c.Resize(0);
  EXPECT_TRUE(c.empty());
  EXPECT_EQ(c.data(), nullptr);
}

}  // namespace
}  // namespace karvelo
