// Runs the module tests with a fixed code page and language, so that results do not depend on
// the locale of the machine.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class FixedTextEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("KDX_CODEPAGE", "1252", 1);
        ::setenv("KDX_LANGID", "1033", 1);
    }
};

}  // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new FixedTextEnvironment);
    return RUN_ALL_TESTS();
}
