// A full Simplified Chinese bitmap font (24,162 codes, WenQuanYi Micro Hei, 18 points at 96 dpi,
// a 24 x 24 cell) made by vantrel-cli as a whole process, against otf2bdf making a BDF of the
// same font, size and GBK codes. Prints glyphs per second of both and their ratio.
// Targets: at least 1.4 x otf2bdf's rate, and the whole run under 300 ms.
//   font_make_bench [path/to/vantrel-cli] [runs]   (defaults build/release/src/cli/vantrel-cli, 7)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/ansi_code_page.h"
#include "fonts/font_encodings.h"
#include "fonts/font_job.h"
#include "fonts/installed_font.h"

extern char** environ;

namespace {

constexpr const char* kFamily = "WenQuanYi Micro Hei";

// Runs a program to its end; the seconds it took, or a negative value when it failed. otf2bdf
// ends with a non-zero status even when it wrote its font, so its status is not asked.
double TimedRun(const std::vector<std::string>& args, bool check_status) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const bool ok = WIFEXITED(status) && (!check_status || WEXITSTATUS(status) == 0);
  return ok ? took.count() : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// otf2bdf's reencoding file: each GBK code of the font beside the Unicode character it stands for.
void WriteGbkMap(const std::string& path) {
  using namespace vantrel;
  const AnsiCodec codec(AnsiCodePage::kSimplifiedChinese);
  const AsianCodeSpace& space = AsianCodeSpaceOf(kLanguageSimplifiedChinese);
  std::ofstream map(path);
  map << "REGISTRY GBK\nENCODING 0\n";
  const auto put = [&](unsigned code) {
    if (const std::u32string text = codec.DecodeCode(static_cast<std::uint16_t>(code));
        text.size() == 1) {
      char line[32];
      std::snprintf(line, sizeof line, "0x%04X 0x%04X\n", code, static_cast<unsigned>(text[0]));
      map << line;
    }
  };
  for (const std::uint8_t code : ExpandRanges(space.single_bytes)) put(code);
  for (const std::uint8_t lead : ExpandRanges(space.lead_bytes)) {
    for (const std::uint8_t trail : ExpandRanges(space.trail_bytes)) put(lead << 8 | trail);
  }
}

// The glyph count of a BDF file: its CHARS line.
long BdfGlyphs(const std::string& path) {
  std::ifstream bdf(path);
  for (std::string line; std::getline(bdf, line);) {
    if (line.rfind("CHARS ", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cli = argc > 1 ? argv[1] : "build/release/src/cli/vantrel-cli";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  const auto font = vantrel::FindInstalledFont({.family = kFamily, .points = 18});
  if (!font || !vantrel::AnswersToFamily(*font, kFamily)) {
    std::fprintf(stderr, "%s is not installed (fonts-wqy-microhei)\n", kFamily);
    return 1;
  }
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "font_make_bench";
  std::filesystem::create_directories(work);
  const std::string map = (work / "gbk.map").string();
  WriteGbkMap(map);
  const std::vector<std::string> ours = {cli,
                                         "font",
                                         "make",
                                         "--font",
                                         kFamily,
                                         "--size",
                                         "18",
                                         "--encode",
                                         "asian",
                                         "--language",
                                         "sc",
                                         "--width",
                                         "24",
                                         "--height",
                                         "24",
                                         "--italic-width",
                                         "0",
                                         "--out",
                                         (work / "sc.bmf").string()};
  const std::vector<std::string> theirs = {
      "otf2bdf", "-p", "18", "-r", "96", "-m", map, "-o", (work / "sc.bdf").string(), font->file};
  std::vector<double> our_times;
  std::vector<double> their_times;
  for (int i = 0; i < runs; ++i) {
    our_times.push_back(TimedRun(ours, true));
    their_times.push_back(TimedRun(theirs, false));
    if (our_times.back() < 0 || their_times.back() < 0) {
      std::fprintf(stderr, "a run failed: is %s built and otf2bdf installed?\n", cli.c_str());
      return 1;
    }
  }
  const double our_glyphs =
      vantrel::AsianGlyphCount(vantrel::AsianCodeSpaceOf(vantrel::kLanguageSimplifiedChinese));
  const double their_glyphs = static_cast<double>(BdfGlyphs((work / "sc.bdf").string()));
  if (their_glyphs == 0) {
    std::fprintf(stderr, "otf2bdf wrote no glyphs\n");
    return 1;
  }
  const double our_rate = our_glyphs / Median(our_times);
  const double their_rate = their_glyphs / Median(their_times);
  std::printf("runs: %d, cores: %ld\n", runs, sysconf(_SC_NPROCESSORS_ONLN));
  std::printf("vantrel-cli font make: %.0f glyphs in %.0f ms (median), %.0f glyphs/s\n", our_glyphs,
              Median(our_times) * 1000, our_rate);
  std::printf("otf2bdf:               %.0f glyphs in %.0f ms (median), %.0f glyphs/s\n",
              their_glyphs, Median(their_times) * 1000, their_rate);
  std::printf("ratio: %.2f x (target >= 1.4); whole run %.0f ms (target < 300)\n",
              our_rate / their_rate, Median(our_times) * 1000);
  return 0;
}
