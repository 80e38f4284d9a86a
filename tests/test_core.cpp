#include <gtest/gtest.h>
#include "TestHost.h"
TEST(Core, Placeholder) { navtest::TestHost host; EXPECT_TRUE(IsWindow(host)); }
