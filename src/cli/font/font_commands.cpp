// font make and font show: bitmap font files from installed fonts, and a look inside one.
#include <iostream>
#include <map>
#include <memory>

#include "cli/common/commands.h"
#include "cli/common/json.h"
#include "cli/common/report.h"
#include "cli/common/terminal_text.h"
#include "cli/font/font_options.h"
#include "fonts/encode_table.h"
#include "fonts/font_choices.h"
#include "fonts/font_contact_sheet.h"
#include "fonts/font_file_reader.h"
#include "fonts/font_writers.h"
#include "fonts/freetype_renderer.h"
#include "fonts/temporary_font_file.h"
#include "ops/dispatcher.h"
#include "ops/download_file.h"
#include "ops/printer_file_name.h"

namespace vantrel::cli {
namespace {

constexpr const char* kFontParameterError = "Font Parameter Error";
constexpr const char* kMakeFontError = "Make Font Error";
// Far beyond what any printer memory holds, and still easily held in ours.
constexpr std::size_t kMaxShownFontBytes = std::size_t{256} << 20;
const std::map<std::string, MemoryDevice> kMemories = {
    {"dram", kMemoryDram}, {"flash", kMemoryFlash}, {"card", kMemoryCard}};

// The table's bytes; an unreadable file is 4, a table too large or without codes is refused.
int LoadTable(const MakeOptions& options, int encode, std::vector<std::uint8_t>& table) {
  if (encode != kEncodeByTable && encode != kEncodeByTableAsian) return 0;
  if (options.table_path.empty()) return Refuse("--table FILE is needed for table encodings");
  HostFileResult read;
  table =
      ReadEncodeTable({.by_file = true, .file_path = options.table_path, .memo_bytes = {}}, &read);
  if (read.code == HostFileError::kTooLarge) {
    return Refuse(std::string(kFontParameterError) + ": " + read.detail);
  }
  return Report(read);
}

// "Font Parameter Error", with what is wrong on the second line.
int RefuseParameter(const std::string& cause) {
  return Refuse(std::string(kFontParameterError) + "\n" + cause);
}

// The installed font of the request, refused when there is none of the family asked for (the
// system's font configuration would offer another family in its place).
int FindFont(const FontRequest& wanted, std::optional<InstalledFont>& installed) {
  installed = FindInstalledFont(wanted);
  if (!installed) return Refuse(std::string(kMakeFontError) + "\nno font is installed");
  if (!AnswersToFamily(*installed, wanted.family)) {
    return RefuseParameter("no installed font family is named \"" + wanted.family + "\"");
  }
  return 0;
}

// A measured cell 0 dots wide is refused or warned about as the window does.
int CheckMeasuredWidth(const FontRequest& font, int width, int pitch) {
  const ZeroWidth check = vantrel::CheckMeasuredWidth(width, pitch);
  if (check == ZeroWidth::kNone) return 0;
  const std::string cause = ZeroWidthCause(font.family) + "; give the width with --width";
  if (check == ZeroWidth::kRefuse) return RefuseParameter(cause);
  std::cerr << "warning: " << cause << '\n';
  return 0;
}

void PrintReport(const FontReport& report, bool json) {
  if (json) {
    PrintJson({{"glyphs", report.glyphs},
               {"missing", report.missing_codes.size()},
               {"missing_codes", report.missing_codes}});
    return;
  }
  std::cout << report.glyphs << " glyphs, " << report.missing_codes.size()
            << " codes without a glyph in the font\n";
}

int MakeFont(CliContext& context, const MakeOptions& options, FontReport& report) {
  if (const std::string why = NumberRefusal(options); !why.empty()) return RefuseParameter(why);
  const int encode = kFontEncodes.at(options.encode);
  std::vector<std::uint8_t> table;
  if (const int code = LoadTable(options, encode, table); code != 0) return code;
  FontChoices choices{
      .encode = encode,
      .pitch = options.pitch.empty() ? StartPitch(encode) : kFontPitches.at(options.pitch),
      .language = kFontLanguages.at(options.language),
      .first_code = options.first,
      .last_code = options.last,
      .output_path = options.out};
  std::optional<InstalledFont> installed;
  if (const int code = FindFont(options.font, installed); code != 0) return code;
  const GlyphRendererFactory factory = FreeTypeRendererFactory(options.font, *installed);
  if (!options.width || !options.height || !options.italic_width) {
    const std::unique_ptr<GlyphRenderer> renderer = factory();
    if (!renderer) return Refuse(kMakeFontError);
    const FontCell cell = MeasureFontCell(*renderer, encode, choices.language, options.font.italic);
    choices.cell_width = options.width.value_or(cell.width);
    choices.cell_height = options.height.value_or(cell.height);
    choices.italic_width = options.italic_width.value_or(cell.italic_width);
    const int pitch = encode == kAsianFontEncode ? kPitchFixed : choices.pitch;
    if (!options.width) {
      if (const int code = CheckMeasuredWidth(options.font, choices.cell_width, pitch); code != 0)
        return code;
    }
  } else {
    choices.cell_width = *options.width;
    choices.cell_height = *options.height;
    choices.italic_width = *options.italic_width;
  }
  if (!CellFits(choices.cell_width, choices.cell_height)) {
    return RefuseParameter("the cell of " + std::to_string(choices.cell_width) + " x " +
                           std::to_string(choices.cell_height) + " pixels is larger than " +
                           std::to_string(kMaxCellSide) + " a side or " +
                           std::to_string(kMaxGlyphBytes) + " bytes a glyph");
  }
  const std::optional<FontJob> job = BuildFontJob(choices, table);
  if (!job) return Refuse(kFontParameterError);
  if (!MakeBitmapFont(*job, factory, &context.link().progress(), &report)) {
    return Refuse(std::string(kMakeFontError) + (report.failure.empty() ? "" : "\n") +
                  report.failure);
  }
  return 0;
}

// The name is checked before the font is made: a name that cannot travel is refused, never cut.
int DownloadFont(CliContext& context, MakeOptions options, DownloadRequest request) {
  if (const std::string refusal =
          PrinterFileNameRefusal(request.printer_name, DownloadRequest::kNameCapacity);
      !refusal.empty()) {
    return Refuse(refusal);
  }
  const TemporaryFontFile temporary;
  if (temporary.path().empty()) {
    return Report(HostFileResult{HostFileError::kOpen, 0, temporary.failure()});
  }
  options.out = temporary.path();
  FontReport report;
  if (const int code = MakeFont(context, options, report); code != 0) return code;
  request.source_path = temporary.path();
  return context.Run(kOpDownloadFile, &request);
}

void PrintHeader(const StoredFont& font, std::size_t file_size, bool json) {
  const StoredFontHeader& h = font.header;
  // The language byte is the file's, any of 256 values: escaped wherever it is printed.
  const std::string language = h.language == 0 ? "" : std::string(1, static_cast<char>(h.language));
  if (json) {
    PrintJson({{"pitch", h.pitch == 1 ? "variable" : "fixed"},
               {"double_byte", h.double_byte},
               {"index", h.index},
               {"italic", h.italic},
               {"cell_width", h.cell_width},
               {"cell_height", h.cell_height},
               {"first_code", h.first_code},
               {"last_code", h.last_code},
               {"language", PrinterText(language)},
               {"glyph_count_field", h.glyph_count},
               {"italic_width", h.italic_width},
               {"glyphs", font.glyphs.size()},
               {"size", file_size}});
    return;
  }
  std::cout << "pitch " << (h.pitch == 1 ? "variable" : "fixed") << ", "
            << (h.double_byte ? "double-byte" : "single-byte") << ", "
            << (h.index ? "with" : "without") << " glyph index\n"
            << "cell " << h.cell_width << " x " << h.cell_height << ", italic width "
            << h.italic_width << (h.italic ? " (italic)" : "") << '\n'
            << "codes " << h.first_code << ".." << h.last_code << ", language "
            << (language.empty() ? "none" : PrintableText(language)) << '\n'
            << "glyph count field " << h.glyph_count << ", " << font.glyphs.size() << " glyphs in "
            << file_size << " bytes\n";
}

int ShowFont(const std::string& path, bool json, const std::string& png) {
  std::vector<std::uint8_t> file;
  if (const HostFileResult read = ReadHostFile(path, kMaxShownFontBytes, file); !read.ok()) {
    return Report(read);
  }
  StoredFont font;
  if (const std::string why = ReadBitmapFont(file, font); !why.empty()) {
    return Refuse("Font File Error: " + why);
  }
  PrintHeader(font, file.size(), json);
  if (png.empty()) return 0;
  if (const HostFileResult saved = WriteInkPng(DrawContactSheet(file, font), png); !saved.ok()) {
    return Report(saved);
  }
  return 0;
}

}  // namespace

void AddFontCommands(CLI::App& app, CliContext& context) {
  auto* font =
      app.add_subcommand("font", "Make bitmap fonts from installed fonts, or look into one");
  font->require_subcommand(1);

  auto make_options = std::make_shared<MakeOptions>();
  auto* make = font->add_subcommand("make", "Write a bitmap font file from an installed font");
  AddMakeOptions(*make, *make_options);
  make->add_option("--out", make_options->out, "the font file to write")->required();
  make->footer(
      "Codes are drawn through the code page of the encoding: CP1252 for single-byte fonts;\n"
      "Big5, GBK, CP949 or CP932 by --language for the Asian ones. A code that the code page\n"
      "leaves empty, or that the font has no glyph for, is drawn as an empty cell.");
  make->callback([&context, make_options] {
    context.action = [&context, make_options] {
      FontReport report;
      const int code = MakeFont(context, *make_options, report);
      if (code == 0 && make_options->report) PrintReport(report, make_options->json);
      return code;
    };
  });

  auto download_options = std::make_shared<MakeOptions>();
  auto request = std::make_shared<DownloadRequest>();
  auto* download =
      font->add_subcommand("download", "Make a bitmap font and download it with operation 11");
  AddMakeOptions(*download, *download_options);
  download->add_option("--name", request->printer_name, "the font's name in the printer")
      ->required();
  download->add_option("--memory", request->device, "dram|flash|card (flash)")
      ->transform(CLI::CheckedTransformer(kMemories));
  download->callback([&context, download_options, request] {
    context.action = [&context, download_options, request] {
      return DownloadFont(context, *download_options, *request);
    };
  });

  auto show_path = std::make_shared<std::string>();
  auto show_json = std::make_shared<bool>(false);
  auto show_png = std::make_shared<std::string>();
  auto* show = font->add_subcommand("show", "Check a bitmap font file and print its header");
  show->add_option("FILE", *show_path, "the bitmap font file")->required();
  show->add_flag("--json", *show_json, "print one JSON document");
  show->add_option("--png", *show_png, "draw the stored glyphs into this PNG file");
  show->callback([&context, show_path, show_json, show_png] {
    context.action = [show_path, show_json, show_png] {
      return ShowFont(*show_path, *show_json, *show_png);
    };
  });
}

}  // namespace vantrel::cli
