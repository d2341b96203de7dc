#include "ops/test_page.h"

#include <algorithm>
#include <cmath>

namespace vantrel {
namespace {

// Far beyond any print head, and small enough that no step below can overflow an int.
constexpr double kMaxLabelDots = 1'000'000;
constexpr std::string_view kBarcodeDigits = "1234567890";

int Trunc(double value) {
  return static_cast<int>(std::trunc(value));
}

bool IsPositive(float value) {
  return std::isfinite(value) && value > 0;
}

// The frame, the barcode and, where it fits, the word, on a label of wd x hd dots with a
// margin of m dots.
void AppendContent(CommandText& text, double d, int wd, int hd, int m) {
  text.Append("BOX %d,%d,%d,%d,4\r\n", m, m, wd - m, hd - m);
  const int s = wd > hd ? hd : wd;
  const int narrow = d > 8.0 ? 3 : 2;
  const int wide = d > 8.0 ? 6 : 4;
  const int bh = s / 8;
  const int bx = Trunc(m + bh + 4 * d);
  const int by = Trunc(m + 2 * d);
  const int tx = Trunc(m + bh + 6 * d);
  const int ty = Trunc(m + 2 * d);
  const int mult = ((s - tx) * 72 / narrow) / 100 / 4;
  const int digits = std::max(0, Trunc((s - 2 * m - 4 * d) / (7 * narrow + 3 * wide) - 2));
  const std::string_view content =
      kBarcodeDigits.substr(0, std::min<std::size_t>(digits, kBarcodeDigits.size()));
  text.Append("BARCODE  %d,%d,\"39\",%d,1,90,%d,%d,\"%.*s\"\r\n", bx, by, bh, narrow, wide,
              static_cast<int>(content.size()), content.data());
  if (s > 2 * m + 20 * d) text.Append("TEXT  %d,%d,\"0\",0,%d,%d,\"TEST\"\r\n", tx, ty, mult, mult);
}

}  // namespace

std::string TestPageRefusal(const TestPageRequest& request) {
  if (!IsPositive(request.DotsPerMm)) return "Dots per millimetre must be a positive number";
  if (!IsPositive(request.LabelWidth) || !IsPositive(request.LabelHeight)) {
    return "Label width and height must be positive numbers";
  }
  const double d = request.DotsPerMm;
  // The margin and the positions are counted from d alone, however small the label.
  if (2 * d > kMaxLabelDots) return "Dots per millimetre is too large for a test page";
  if (request.LabelWidth * d > kMaxLabelDots || request.LabelHeight * d > kMaxLabelDots) {
    return "The label is too large for a test page";
  }
  return {};
}

CommandText TestPageCommandText(const TestPageRequest& request) {
  const double d = request.DotsPerMm;
  const int wd = Trunc(request.LabelWidth * d);
  const int hd = Trunc(request.LabelHeight * d);
  const int m = Trunc(2 * d + 0.5);
  CommandText text;
  text.Append("CLS\r\nDIRECTION 0,0\r\n");
  if (2 * m < wd && 2 * m < hd) AppendContent(text, d, wd, hd, m);
  text.Append("PRINT 1\r\n");
  return text;
}

ResultCode PrintTestPage(LinkLayer& link, InterfaceKind interface, const TestPageRequest& request) {
  if (!TestPageRefusal(request).empty()) return kResultUnknownError;
  return SendInOneWrite(link, interface, TestPageCommandText(request));
}

}  // namespace vantrel
