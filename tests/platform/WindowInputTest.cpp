#include <gtest/gtest.h>

#include "platform/WindowInput.h"

namespace {

TEST(WindowInputTest, KeysCountOnlyInTheActiveWindow) {
  TWindowInput input;
  input.Press(10, 49); // the 1 key
  EXPECT_FALSE(input.KeyDown(49));
  input.SetActive(true);
  input.Press(10, 49);
  input.Press(65, 32);
  EXPECT_TRUE(input.KeyDown(49) && input.KeyDown(32));
  input.Release(10, 33); // the same key, seen with Shift as "!"
  EXPECT_FALSE(input.KeyDown(49));
  input.SetActive(false);
  input.SetActive(true);
  EXPECT_FALSE(input.KeyDown(32));
  input.Press(0, 4000); // no such code
  EXPECT_FALSE(input.KeyDown(4000));
}

} // namespace
