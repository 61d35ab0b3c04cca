#include "processing/ProgressLabel.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(ProgressLabel, ShowsWholePercentsWrappingPastTheTop) {
    EXPECT_EQ(ProgressPercentText(0, 0, 100), "0%");
    EXPECT_EQ(ProgressPercentText(99, 0, 100), "99%");
    EXPECT_EQ(ProgressPercentText(100, 0, 100), "100%");
    EXPECT_EQ(ProgressPercentText(150, 0, 100), "50%");
    EXPECT_EQ(ProgressPercentText(200, 0, 100), "0%");
    EXPECT_EQ(ProgressPercentText(15, 10, 20), "50%");
    EXPECT_EQ(ProgressPercentText(2, 0, 3), "66%");  // truncated, not rounded
    EXPECT_EQ(ProgressPercentText(5, 5, 5), "0%");
}

}  // namespace
}  // namespace kelvane
