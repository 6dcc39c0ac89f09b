// The main of the test binaries that have no window. The window takes the process locale from
// the environment, so these do too: run under a comma-decimal LANG, they show any conversion
// of a number that follows the user's language.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
