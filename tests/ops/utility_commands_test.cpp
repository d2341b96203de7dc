// The command texts of the clock, calibration, dump and test page, byte for byte, and the
// values each refuses before anything is sent.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "ops/clock_operations.h"
#include "ops/dump_text.h"
#include "ops/sensor_calibration.h"
#include "ops/test_page.h"

namespace vantrel {
namespace {

ClockSettings Clock(int year, int month, int day, int hour, int minute, int second) {
  return {year, month, day, hour, minute, second, 1};
}

TEST(ClockCommandText, SendsTheYearModulo100) {
  EXPECT_EQ(ClockCommandText(Clock(2024, 3, 5, 9, 7, 3)).view(),
            "YEAR = 24\r\nMONTH = 3\r\nDATE = 5\r\nHOUR = 9\r\nMINUTE = 7\r\nSECOND = 3\r\n");
  EXPECT_EQ(ClockCommandText(Clock(1999, 12, 31, 23, 59, 59)).view().substr(0, 11),
            "YEAR = 99\r\n");
  EXPECT_EQ(ClockCommandText(Clock(100, 1, 1, 0, 0, 0)).view().substr(0, 10), "YEAR = 0\r\n");
}

TEST(ClockRefusal, AcceptsCalendarDatesOnly) {
  EXPECT_EQ(ClockRefusal(Clock(2024, 2, 29, 0, 0, 0)), "");
  EXPECT_EQ(ClockRefusal(Clock(0, 1, 1, 0, 0, 0)), "");
  EXPECT_EQ(ClockRefusal(Clock(9999, 12, 31, 23, 59, 59)), "");
  EXPECT_EQ(ClockRefusal(Clock(2024, 13, 1, 0, 0, 0)), "Month 13 is not between 1 and 12");
  EXPECT_EQ(ClockRefusal(Clock(2024, 1, 32, 0, 0, 0)), "Date 32 is not between 1 and 31");
  EXPECT_EQ(ClockRefusal(Clock(2023, 2, 29, 0, 0, 0)), "Date 29 is not between 1 and 28");
  EXPECT_EQ(ClockRefusal(Clock(1900, 2, 29, 0, 0, 0)), "Date 29 is not between 1 and 28");
  EXPECT_EQ(ClockRefusal(Clock(2024, 4, 0, 0, 0, 0)), "Date 0 is not between 1 and 30");
  EXPECT_EQ(ClockRefusal(Clock(2024, 1, 1, 24, 0, 0)), "Hour 24 is not between 0 and 23");
  EXPECT_EQ(ClockRefusal(Clock(2024, 1, 1, 0, 60, 0)), "Minute 60 is not between 0 and 59");
  EXPECT_EQ(ClockRefusal(Clock(2024, 1, 1, 0, 0, -1)), "Second -1 is not between 0 and 59");
  EXPECT_EQ(ClockRefusal(Clock(10000, 1, 1, 0, 0, 0)), "Year 10000 is not between 0 and 9999");
  EXPECT_EQ(ClockRefusal(Clock(-1, 1, 1, 0, 0, 0)), "Year -1 is not between 0 and 9999");
}

struct CalibrationCase {
  const char* name;
  std::int32_t kind;
  std::int32_t media;
  std::int32_t height;
  std::int32_t gap;
  const char* text;
};

void PrintTo(const CalibrationCase& c, std::ostream* os) {
  *os << c.name;
}

class CalibrationTextTest : public ::testing::TestWithParam<CalibrationCase> {};

TEST_P(CalibrationTextTest, BuildsTheRowOfItsKindAndMedia) {
  CalibrationRequest request;
  request.Kind = GetParam().kind;
  request.MediaType = GetParam().media;
  request.PaperHeight = GetParam().height;
  request.GapHeight = GetParam().gap;
  request.Reference = 512;
  request.Intensity = 2;
  EXPECT_EQ(CalibrationCommandText(request).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CalibrationTextTest,
    ::testing::Values(
        CalibrationCase{"GapWithLengths", 0, 0, 203, 24,
                        "SET SENSOR_REF MANUAL\r\nGAPDETECT 203,24\r\n"},
        CalibrationCase{"BlackMarkWithLengths", 0, 1, 330, 33,
                        "SET SENSOR_REF MANUAL\r\nBLINEDETECT 330,33\r\n"},
        CalibrationCase{"GapWithoutLengths", 0, 0, 0, 0, "SET SENSOR_REF AUTO\r\nGAPDETECT\r\n"},
        CalibrationCase{"GapWithHeightOnly", 0, 0, 203, 0, "SET SENSOR_REF AUTO\r\nGAPDETECT\r\n"},
        CalibrationCase{"BlackMarkWithGapOnly", 0, 1, 0, 24,
                        "SET SENSOR_REF AUTO\r\nBLINEDETECT\r\n"},
        CalibrationCase{"ContinuousIgnoresLengths", 0, 2, 203, 24,
                        "SET SENSOR_REF AUTO\r\nGAP 0.12,0\r\nGAP 0,0\r\n"},
        CalibrationCase{"ManualGap", 1, 0, 0, 0,
                        "SET SENSOR_REF MANUAL\r\nGAP 0.08,0\r\nSET GAP 2,512\r\n"},
        CalibrationCase{"ManualBlackMark", 1, 1, 0, 0,
                        "SET SENSOR_REF MANUAL\r\nBLINE 0.08,0\r\nSET GAP 2,512\r\n"},
        CalibrationCase{"ManualContinuous", 1, 2, 0, 0,
                        "SET SENSOR_REF MANUAL\r\nGAP 0,0\r\nSET GAP 2,512\r\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

// Every length 0.00 to 10.00 typed with two decimals, at resolutions of both units, against
// whole-number arithmetic: a binary double of 0.29 at 200 dots per inch gives 57, not 58.
TEST(LengthInDots, EveryHundredthUpToTenIsExact) {
  for (const std::int32_t per_unit : {8, 11, 12, 24, 47, 200, 203, 300, 600, 1200}) {
    int wrong = 0;
    for (int hundredths = 0; hundredths <= 1000; ++hundredths) {
      char text[16];
      std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
      const std::int32_t exact = hundredths * per_unit / 100;
      if (LengthInDots(text, per_unit) != exact) ++wrong;
      if (LengthInDots("-" + std::string(text), per_unit) != -exact) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << per_unit << " dots per unit";
  }
}

TEST(LengthInDots, TruncatesTowardZeroAndRefusesWhatIsNoLengthOrDoesNotFit) {
  const struct {
    const char* label;
    std::string text;
    std::int32_t per_unit;
    std::optional<std::int32_t> dots;
  } cases[] = {
      {"fraction", "1.5", 203, 304},
      {"below one dot", "0.001", 203, 0},
      {"exponent", "1e-2", 300, 3},
      {"no whole part", "-.5", 203, -101},
      {"plus sign", "+30", 11, 330},
      {"negative resolution", "1.5", -203, -304},
      {"largest", "2147483647", 1, 2147483647},
      {"beyond 32 bits", "1e9", 203, std::nullopt},
      {"empty", "", 203, std::nullopt},
      {"word", "inf", 1, std::nullopt},
      {"hexadecimal", "0x41", 1, std::nullopt},
      {"trailing text", "1.5mm", 203, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(LengthInDots(c.text, c.per_unit), c.dots) << c.label;
}

TEST(CalibrationRefusal, RefusesNegativeLengthsAndValuesBeyondTheEdits) {
  CalibrationRequest request;
  request.MediaType = kMediaGap;
  EXPECT_EQ(CalibrationRefusal(request), "");
  request.GapHeight = -1;
  EXPECT_EQ(CalibrationRefusal(request), "Paper height and gap must not be negative");
  request.Kind = kCalibrateManual;  // lengths are not sent with a manual calibration
  EXPECT_EQ(CalibrationRefusal(request), "");
  request.Reference = 1000;
  EXPECT_EQ(CalibrationRefusal(request), "Sensor reference 1000 is not between 0 and 999");
  request.Reference = 0;
  request.Intensity = -1;
  EXPECT_EQ(CalibrationRefusal(request), "Sensor intensity -1 is not between 0 and 99");
  request.Intensity = 99;
  EXPECT_EQ(CalibrationRefusal(request), "");
  request.MediaType = 3;
  EXPECT_EQ(CalibrationRefusal(request), "Unknown media type 3");
}

TEST(DumpCommandText, ThreeModesWithoutLineEnd) {
  DumpRequest request;
  EXPECT_EQ(DumpCommandText(request).view(), "DUMP_TEXT PRINT,");
  request.Mode = kDumpToCard;
  request.FileName = "LOG.TXT";
  EXPECT_EQ(DumpCommandText(request).view(), "DUMP_TEXT SAVE 1000,E,\"LOG.TXT\",");
  request.Mode = kDumpToFile;
  EXPECT_EQ(DumpCommandText(request).view(), "DUMP_TEXT SAVE 1000,\"Dump.txt\",");
}

TEST(DumpRefusal, ChecksTheCardFileNameOnly) {
  DumpRequest request;
  request.Mode = kDumpToCard;
  for (const char* name : {"", "A\"B.TXT", "LOG\r.TXT", "ABCDEFGH.TXTX"}) {
    request.FileName = name;
    EXPECT_NE(DumpRefusal(request), "") << name;
  }
  request.FileName = "ABCDEFGH.TXT";
  EXPECT_EQ(DumpRefusal(request), "");
  request.Mode = kDumpToFile;  // the printer's own name is used then
  request.FileName = "A\"B";
  EXPECT_EQ(DumpRefusal(request), "");
}

TEST(DumpFileLoad, KeepsAtMostTheLimitAndSaysWhenItCut) {
  EXPECT_EQ(DumpFileLoadRequest().printer_name, "Dump.txt");
  EXPECT_EQ(DumpFileLoadRequest().capacity, 262145u);
  std::vector<std::uint8_t> bytes(262144, 'x');
  EXPECT_FALSE(CutToDumpLimit(bytes));
  bytes.push_back('y');
  EXPECT_TRUE(CutToDumpLimit(bytes));
  EXPECT_EQ(bytes.size(), 262144u);
  EXPECT_EQ(bytes.back(), 'x');
}

struct TestPageCase {
  const char* name;
  float d;
  float width;
  float height;
  const char* lines;  // after "CLS" and "DIRECTION 0,0"
};

void PrintTo(const TestPageCase& c, std::ostream* os) {
  *os << c.name;
}

class TestPageTextTest : public ::testing::TestWithParam<TestPageCase> {};

TEST_P(TestPageTextTest, MatchesTheWorkedLabel) {
  const TestPageRequest request{GetParam().d, GetParam().width, GetParam().height};
  EXPECT_EQ(TestPageRefusal(request), "");
  EXPECT_EQ(TestPageCommandText(request).view(),
            std::string("CLS\r\nDIRECTION 0,0\r\n") + GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, TestPageTextTest,
    ::testing::Values(
        TestPageCase{"Wide8Dots", 8, 100, 50,
                     "BOX 16,16,784,384,4\r\n"
                     "BARCODE  98,32,\"39\",50,1,90,2,4,\"1234567890\"\r\n"
                     "TEXT  114,32,\"0\",0,25,25,\"TEST\"\r\n"
                     "PRINT 1\r\n"},
        TestPageCase{"Twelve", 12, 60, 40,
                     "BOX 24,24,696,456,4\r\n"
                     "BARCODE  132,48,\"39\",60,1,90,3,6,\"1234567\"\r\n"
                     "TEXT  156,48,\"0\",0,19,19,\"TEST\"\r\n"
                     "PRINT 1\r\n"},
        TestPageCase{"SmallWithoutText", 8, 25, 15,
                     "BOX 16,16,184,104,4\r\n"
                     "BARCODE  63,32,\"39\",15,1,90,2,4,\"\"\r\n"
                     "PRINT 1\r\n"},
        TestPageCase{"TooSmallForAFrame", 8, 3, 3, "PRINT 1\r\n"},
        // A float dots-per-millimetre that is not exact in binary still truncates as written.
        TestPageCase{"FractionalDots", 11.8f, 50, 30,
                     "BOX 24,24,566,330,4\r\n"
                     "BARCODE  115,47,\"39\",44,1,90,3,6,\"1234\"\r\n"
                     "TEXT  138,47,\"0\",0,12,12,\"TEST\"\r\n"
                     "PRINT 1\r\n"}),
    [](const auto& case_info) { return std::string(case_info.param.name); });

TEST(TestPageRefusal, RefusesWhatIsNotAFinitePositiveSize) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const TestPageRequest request :
       {TestPageRequest{0, 100, 50}, TestPageRequest{-8, 100, 50}, TestPageRequest{nan, 100, 50},
        TestPageRequest{8, 0, 50}, TestPageRequest{8, 100, -1}, TestPageRequest{8, inf, 50},
        TestPageRequest{8, 100, nan}, TestPageRequest{8, 3e38f, 50}}) {
    EXPECT_NE(TestPageRefusal(request), "") << request.DotsPerMm << " " << request.LabelWidth;
  }
}

// The 2 mm margin and the positions grow with the dots per millimetre alone: one beyond half
// the largest label would overflow them, however small the label.
TEST(TestPageRefusal, DotsPerMillimetreWhoseMarginCannotBeCounted) {
  const struct {
    const char* label;
    TestPageRequest request;
    bool refused;
  } cases[] = {
      {"largest", {500'000, 2, 2}, false},
      {"one more", {500'001, 1, 1}, true},
      {"margin beyond an int", {2e9f, 1e-4f, 1e-4f}, true},
      {"beyond a 64-bit integer", {1e30f, 1e-25f, 1e-25f}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TestPageRefusal(c.request) != "", c.refused) << c.label;
  }
  EXPECT_EQ(TestPageCommandText({500'000, 2, 2}).view(), "CLS\r\nDIRECTION 0,0\r\nPRINT 1\r\n");
}

}  // namespace
}  // namespace vantrel
