#include "fonts/font_choices.h"

namespace vantrel {
namespace {

bool IsDoubleByte(int encode) {
  return encode == kAsianFontEncode || encode == kEncodeByTableAsian;
}

}  // namespace

int StartPitch(int encode) {
  return IsDoubleByte(encode) ? kPitchFixed : kPitchVariable;
}

AnsiCodePage EncodingCodePage(int encode, int language) {
  return IsDoubleByte(encode) ? AsianCodePage(language) : AnsiCodePage::kWestern;
}

std::optional<FontJob> BuildFontJob(const FontChoices& choices,
                                    std::span<const std::uint8_t> table) {
  if (choices.encode < kStandardEncode || choices.encode > kEncodeByTableAsian) return std::nullopt;
  if (!CellFits(choices.cell_width, choices.cell_height)) return std::nullopt;
  FontJob job;
  job.double_byte = IsDoubleByte(choices.encode);
  job.pitch = choices.pitch == kPitchFixed ? kPitchFixed : kPitchVariable;
  job.cell_width = choices.cell_width;
  job.cell_height = choices.cell_height;
  job.italic_width = choices.italic_width;
  job.output_path = choices.output_path;
  const bool language_known = choices.language >= 0 && choices.language < kAsianLanguageCount;
  switch (choices.encode) {
    case kStandardEncode:
      if (choices.first_code < 0 || choices.first_code > 255 || choices.last_code < 0 ||
          choices.last_code > 255) {
        return std::nullopt;
      }
      job.first_code = choices.first_code;
      job.last_code = choices.last_code;
      break;
    case kAsianFontEncode:
      if (!language_known) return std::nullopt;
      job.language = choices.language;
      job.pitch = kPitchFixed;  // a full Asian font is always fixed-pitch
      break;
    default:
      if (job.double_byte && !language_known) return std::nullopt;
      job.index = true;
      job.table = table;
      job.table_count = static_cast<int>(job.double_byte ? table.size() / 2 : table.size());
      if (job.table_count == 0) return std::nullopt;
      break;
  }
  job.code_page = EncodingCodePage(choices.encode, choices.language);
  return job;
}

FontCell MeasureFontCell(GlyphRenderer& renderer, int encode, int language, bool italic) {
  const AnsiCodec codec(EncodingCodePage(encode, language));
  const TextExtent extent =
      renderer.MeasureText(codec.DecodeCode(IsDoubleByte(encode) ? 0xE0A2 : 'W'));
  return {extent.width, extent.height, italic ? extent.width * 3 / 10 : 0};
}

}  // namespace vantrel
