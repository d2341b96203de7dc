#include "app/widgets/failure_detail.h"

namespace vantrel::app {
namespace {

constexpr LocalizedText kFailureHints[] = {
    // The port could not be opened.
    {{"Run vantrel-cli doctor to see what blocks the port and how to fix it.",
      "執行 vantrel-cli doctor 可查出連接埠無法開啟的原因與解決方法。",
      "运行 vantrel-cli doctor 可查出端口无法打开的原因和解决方法。"}},
    // The printer stopped taking or giving bytes.
    {{"Check the cable and that the printer is switched on; vantrel-cli doctor checks the "
      "connection.",
      "請檢查連接線與印表機電源；vantrel-cli doctor 可檢查連線。",
      "请检查连接线和打印机电源；vantrel-cli doctor 可检查连接。"}},
};

QString Hint(ResultCode code, LanguageIndex language) {
  int index = -1;
  if (code == kResultPortOpenError) index = 0;
  if (code == kResultTransmissionError || code == kResultReceivingError) index = 1;
  if (index < 0) return {};
  const std::string_view hint = kFailureHints[index].In(language);
  return QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size()));
}

}  // namespace

QString FailureDetail(const LinkFailure& failure, const QString& target, LanguageIndex language) {
  QString cause = QString::fromStdString(failure.detail);
  if (failure.code == kResultPortOpenError && !cause.contains(target)) {
    cause = cause.isEmpty() ? target : target + ": " + cause;
  }
  const QString hint = Hint(failure.code, language);
  if (cause.isEmpty() || hint.isEmpty()) return cause + hint;
  return cause + '\n' + hint;
}

std::span<const LocalizedText> FailureHints() {
  return kFailureHints;
}

}  // namespace vantrel::app
