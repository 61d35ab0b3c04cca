#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace kelvane {
namespace {

// The device tests play into the null sink and record from its loopback source.
TEST(SoundServer, OffersTheNullSinkAndItsRecordableLoopback) {
    if (!test::RequireSoundServer()) return;
    std::string sinks, sources;
    ASSERT_EQ(test::RunCommand("pactl list short sinks", &sinks), 0);
    ASSERT_EQ(test::RunCommand("pactl list short sources", &sources), 0);
    EXPECT_NE(sinks.find("nullsink"), std::string::npos) << sinks;
    EXPECT_NE(sources.find("nullsink_loop"), std::string::npos) << sources;
}

}  // namespace
}  // namespace kelvane
