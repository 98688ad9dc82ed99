// PLACEHOLDER: replaced by the real tests.
#include <gtest/gtest.h>
TEST(Placeholder, Builds) { SUCCEED(); }
