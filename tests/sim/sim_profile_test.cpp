#include "engine/sim_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "engine/sim_terminal_text.h"

namespace vantrel::sim {
namespace {

// The error message of parsing `json`, or "" when it parses.
std::string ProfileError(const std::string& json) {
  try {
    ParseSimProfile(json);
  } catch (const SimProfileError& error) {
    return error.what();
  }
  return "";
}

TEST(SimProfileTest, ReadsEveryKey) {
  const SimState state = ParseSimProfile(R"({"status_byte": 255, "detail": [0,1,2,3,4,5,6,255]})");
  EXPECT_EQ(state.status_byte, 255);
  EXPECT_EQ(state.detail, (DetailBytes{0, 1, 2, 3, 4, 5, 6, 255}));
}

TEST(SimProfileTest, MissingKeysKeepDefaults) {
  const SimState state = ParseSimProfile(R"({"status_byte": 3})");
  EXPECT_EQ(state.status_byte, 3);
  EXPECT_EQ(state.detail, DetailBytes{});
}

TEST(SimProfileTest, RejectsBadProfilesNamingTheFault) {
  EXPECT_NE(ProfileError(R"({"status_byte": )").find("not valid JSON"), std::string::npos);
  EXPECT_NE(ProfileError("[1, 2]").find("JSON object"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"status_byte": 256})").find("status_byte"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"status_byte": -1})").find("status_byte"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"status_byte": 1.5})").find("status_byte"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"status_byte": "1"})").find("status_byte"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"detail": [0,0,0,0,0,0,0]})").find("8 bytes"), std::string::npos);
  EXPECT_NE(ProfileError(R"({"detail": [0,0,0,0,0,0,0,300]})").find("detail[7]"),
            std::string::npos);
  EXPECT_NE(ProfileError(R"({"statusbyte": 1})").find("unknown profile key \"statusbyte\""),
            std::string::npos);
}

TEST(SimProfileTest, LoadsAFileAndNamesItInErrors) {
  const std::string path = ::testing::TempDir() + "sim_profile_test.json";
  std::ofstream(path) << R"({"status_byte": 9})";
  EXPECT_EQ(LoadSimProfile(path).status_byte, 9);
  std::ofstream(path) << R"({"status_byte": 999})";
  EXPECT_THROW(
      {
        try {
          LoadSimProfile(path);
        } catch (const SimProfileError& error) {
          EXPECT_NE(std::string(error.what()).find(path + ": status_byte"), std::string::npos);
          throw;
        }
      },
      SimProfileError);
  std::remove(path.c_str());
  EXPECT_THROW(LoadSimProfile(path), SimProfileError);
}

TEST(SimTextFormsTest, ShowsControlBytesReadably) {
  EXPECT_EQ(ReadableCommand("\x1b!?"), "<ESC>!?");
  EXPECT_EQ(ReadableCommand("\x1b!S\r\n"), "<ESC>!S<CR><LF>");
  EXPECT_EQ(ReadableCommand(std::string("A\0\x7f\xff B", 6)), "A<00><7F><FF> B");
}

}  // namespace
}  // namespace vantrel::sim
