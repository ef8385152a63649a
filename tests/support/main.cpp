// Test entry point: deep-nesting tests need more stack than the default.
#include <gtest/gtest.h>

#include "session.h"

int main(int argc, char** argv)
{
    quor::raisestacklimit();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
