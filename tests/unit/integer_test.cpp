#include "core/io/integer.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"

namespace pellix::io {
namespace {

TEST(ParseInt32, ReadsSignedDecimalsOverTheWholeRange) {
  EXPECT_EQ(ParseInt32("0"), 0);
  EXPECT_EQ(ParseInt32("2"), 2);
  EXPECT_EQ(ParseInt32("-1"), -1);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("007"), 7);
  EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseInt32("00000000000000000012"), 12);
}

class ParseInt32Refuses : public testing::TestWithParam<const char*> {};

TEST_P(ParseInt32Refuses, NamesTheTextInTheMessage) {
  const std::string text = GetParam();
  try {
    ParseInt32(text);
    FAIL() << "accepted '" << text << "'";
  } catch (const IntegerConversionError& error) {
    EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(NonDecimals, ParseInt32Refuses,
                         testing::Values("", "-", "+", "abc", " 1", "1 ", "1a", "--1", "+-1",
                                         "0x10", "$10", "1.0", "1e3", "2147483648", "-2147483649",
                                         "99999999999999999999"));

TEST(IntegerConversionError, ShowsBytesOutsideAsciiAsQuestionMarks) {
  EXPECT_THROW(ParseInt32("1\t"), IntegerConversionError);
  EXPECT_STREQ(IntegerConversionError("1\t").what(), "'1?' is not a valid integer value");
  EXPECT_STREQ(IntegerConversionError("\x82\xA0"
                                      "1")
                   .what(),
               "'??1' is not a valid integer value");
}

}  // namespace
}  // namespace pellix::io
