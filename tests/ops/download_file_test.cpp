#include "ops/download_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ops/dispatcher.h"
#include "ops/download_file_type.h"
#include "ops/printer_file_name.h"
#include "support/progress_recorder.h"
#include "support/scripted_transport.h"

namespace vantrel {
namespace {

using testing::ProgressRecorder;
using testing::Script;
using testing::ScriptedOpener;

class DownloadFileTest : public ::testing::Test {
 protected:
  DownloadFileTest()
      : script_(std::make_shared<Script>()),
        link_(ScriptedOpener(script_)),
        dir_(std::filesystem::temp_directory_path() /
             ("vantrel-download-" + std::to_string(::getpid()))) {
    link_.progress().SetView(&recorder_);
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
    std::filesystem::create_directories(dir_);
  }
  ~DownloadFileTest() override { std::filesystem::remove_all(dir_); }

  std::string HostFile(const std::string& bytes) {
    const std::string path = (dir_ / "host.bin").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  int Download(const std::string& bytes, std::string name, MemoryDevice device) {
    DownloadRequest request{HostFile(bytes), std::move(name), device};
    return RunPrinterOperation(link_, kOpDownloadFile, kInterfaceEthernet, &request).code;
  }

  std::shared_ptr<Script> script_;
  ProgressRecorder recorder_;
  LinkLayer link_;
  std::filesystem::path dir_;
};

TEST_F(DownloadFileTest, CommandCarriesPrefixNameAndSizeWithTheBytesRightAfterIt) {
  const std::string binary("A\0\r\nB\xff", 6);
  ASSERT_EQ(Download(binary, "LOGO.BMP", kMemoryFlash), kResultOk);
  EXPECT_EQ(script_->written, "DOWNLOAD F,\"LOGO.BMP\",6," + binary);
  script_->written.clear();
  ASSERT_EQ(Download("xy", "A", kMemoryDram), kResultOk);
  EXPECT_EQ(script_->written, "DOWNLOAD \"A\",2,xy");
  script_->written.clear();
  ASSERT_EQ(Download("", "EMPTY.BAS", kMemoryCard), kResultOk);
  EXPECT_EQ(script_->written, "DOWNLOAD E,\"EMPTY.BAS\",0,");
}

TEST_F(DownloadFileTest, DataIsCutIntoTheInterfaceChunksWithPercentProgress) {
  struct Case {
    std::size_t chunk_size;
    std::size_t length;
    std::vector<std::size_t> data_chunks;
    std::vector<int> bars;
  };
  const Case cases[] = {
      {64, 200, {64, 64, 64, 8}, {3, 32, 64, 96, 100}},
      {1024, 2500, {1024, 1024, 452}, {3, 40, 81, 100}},
  };
  for (const Case& c : cases) {
    script_->chunks.clear();
    script_->chunk_size = c.chunk_size;
    recorder_.bars.clear();
    ASSERT_EQ(Download(std::string(c.length, 'z'), "D", kMemoryDram), kResultOk);
    ASSERT_EQ(script_->chunks.size(), c.data_chunks.size() + 1) << c.chunk_size;
    EXPECT_EQ(script_->chunks[0], "DOWNLOAD \"D\"," + std::to_string(c.length) + ",");
    for (std::size_t i = 0; i < c.data_chunks.size(); ++i) {
      EXPECT_EQ(script_->chunks[i + 1].size(), c.data_chunks[i]) << c.chunk_size << " " << i;
    }
    EXPECT_EQ(recorder_.bars, c.bars) << c.chunk_size;
  }
}

// Every refusal, of the request or of its host file, carries its cause to the caller (the CLI's
// second line, the window's detail), and nothing is opened.
TEST_F(DownloadFileTest, RefusalsOpenNothingAndSayWhy) {
  const std::string path = HostFile("data");
  const std::string big = (dir_ / "big.bin").string();
  std::ofstream(big).close();
  // Sparse: the size check must come before any read.
  std::filesystem::resize_file(big, DownloadRequest::kMaxFileBytes + 1);
  const struct {
    const char* label;
    DownloadRequest request;
    ResultCode code;
    std::string cause;
  } cases[] = {
      {"quote", {path, "A\"B", kMemoryFlash}, kResultUnknownError, "double quote"},
      {"line break", {path, "A\r\nKILL", kMemoryFlash}, kResultUnknownError, "double quote"},
      {"NUL", {path, std::string("A\0B", 3), kMemoryFlash}, kResultUnknownError, "double quote"},
      {"empty name", {path, "", kMemoryFlash}, kResultUnknownError, "name"},
      {"long name", {path, std::string(32, 'N'), kMemoryFlash}, kResultUnknownError, "31"},
      {"memory", {path, "OK", static_cast<MemoryDevice>(3)}, kResultUnknownError, "memory"},
      {"beyond the announced size",
       {big, "BIG", kMemoryFlash},
       kResultFileOpenError,
       "2147483648 bytes"},
      {"missing",
       {(dir_ / "none").string(), "NONE", kMemoryFlash},
       kResultFileOpenError,
       "No such file or directory"},
      {"folder", {dir_.string(), "DIR", kMemoryFlash}, kResultFileOpenError, "not a regular file"},
  };
  for (const auto& c : cases) {
    DownloadRequest request = c.request;
    const LinkFailure failure =
        RunPrinterOperation(link_, kOpDownloadFile, kInterfaceEthernet, &request);
    EXPECT_EQ(failure.code, c.code) << c.label;
    EXPECT_NE(failure.detail.find(c.cause), std::string::npos) << c.label << ": " << failure.detail;
  }
  EXPECT_EQ(script_->opens, 0);
  EXPECT_EQ(DownloadRefusal({path, std::string(31, 'N'), kMemoryCard}), "");
}

TEST(PrinterFileNameTest, RefusesUnsafeBytesAndLengthNeverCuts) {
  EXPECT_EQ(PrinterFileNameRefusal("ABCDEFGH.BAS", 12), "");
  EXPECT_NE(PrinterFileNameRefusal("ABCDEFGHI.BAS", 12).find("longer than 12"), std::string::npos);
  for (std::string_view unsafe : {"A\"", "A\tB", "\x7f", "A\nB"}) {
    EXPECT_NE(PrinterFileNameRefusal(unsafe, 31).find("double quote"), std::string::npos) << unsafe;
  }
  EXPECT_EQ(PrinterFileNameRefusal("Ümlaut ok", 31), "");
}

TEST(DownloadFileTypeTest, ProposedNameTakesEightCharactersAndTheTypeExtension) {
  EXPECT_EQ(ProposedPrinterName("/home/u/MYLOGOFILE.bmp", kDownloadTypeBmp), "MYLOGOFI.BMP");
  EXPECT_EQ(ProposedPrinterName("/home/u/MYLOGOFILE.bmp", kDownloadTypeData), "MYLOGOFI");
  EXPECT_EQ(ProposedPrinterName("a.b/prog.bas", kDownloadTypeBasic), "prog.BAS");
  EXPECT_EQ(ProposedPrinterName("fw.tar.new", kDownloadTypeNone), "fw.tar");
  // Eight characters, not eight bytes: a character is never cut in two.
  const struct {
    const char* label;
    const char* path;
    const char* name;
  } cases[] = {
      {"two-byte characters", "/u/a\u00C9\u00C9\u00C9\u00C9.bmp", "a\u00C9\u00C9\u00C9\u00C9.BMP"},
      {"nine of them", "/u/\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9.bmp",
       "\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9\u00C9.BMP"},
      {"four-byte character last", "/u/1234567\U0001F600x.bmp", "1234567\U0001F600.BMP"},
      {"stray bytes count one each", "/u/\xFF\xFE\xFD\xFC\xFB\xFA\xF9\xF8\xF7.bmp",
       "\xFF\xFE\xFD\xFC\xFB\xFA\xF9\xF8.BMP"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProposedPrinterName(c.path, kDownloadTypeBmp), c.name) << c.label;
  }
  EXPECT_EQ(DownloadFilter(kDownloadTypeNone), "*.*|*.*");
  EXPECT_EQ(DownloadFilter(kDownloadTypeBitmapFont), "");
  EXPECT_TRUE(IsRawDownloadType(kDownloadTypeFirmware));
  EXPECT_TRUE(IsRawDownloadType(kDownloadTypePzn));
  EXPECT_FALSE(IsRawDownloadType(kDownloadTypeBmp));
  EXPECT_FALSE(IsRawDownloadType(kDownloadTypeNone));
}

}  // namespace
}  // namespace vantrel
