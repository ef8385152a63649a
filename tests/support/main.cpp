// Test entry point: deep-nesting tests need more stack than the default.
#include <gtest/gtest.h>

#include "bigstack.h"

int main(int argc, char** argv)
{
    quor::restartwithbigstack(argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
