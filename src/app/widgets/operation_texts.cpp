#include "app/widgets/operation_texts.h"

#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

// By operation number; the font tab's two follow.
constexpr LocalizedText kOperationTexts[] = {
    {{"Reading the status", "讀取狀態", "读取状态"}},
    {{"Reading the configuration", "讀取設定", "读取设置"}},
    {{"Writing the configuration", "寫入設定", "写入设置"}},
    {{"Restoring the factory defaults", "恢復出廠設定", "恢复出厂设置"}},
    {{"Starting the text dump", "啟動文字傾印", "启动文本转储"}},
    {{"Printing the configuration page", "列印設定頁", "打印设置页"}},
    {{"Setting the clock", "設定時鐘", "设置时钟"}},
    {{"Reading the clock", "讀取時鐘", "读取时钟"}},
    {{"Calibrating the media sensor", "校正紙張感應器", "校正纸张传感器"}},
    {{"Resetting the printer", "重置印表機", "重置打印机"}},
    {{"Reading the file lists", "讀取檔案列表", "读取文件列表"}},
    {{"Downloading %1", "下載 %1", "下载 %1"}},
    {{"Sending the file", "傳送檔案", "发送文件"}},
    {{"Erasing the memory", "清除記憶體", "清除内存"}},
    {{"Printing the test page", "列印測試頁", "打印测试页"}},
    {{"Skipping AUTO.BAS", "略過 AUTO.BAS", "跳过 AUTO.BAS"}},
    {{"Setting the network address", "設定網路位址", "设置网络地址"}},
    {{"Setting the printer name", "設定印表機名稱", "设置打印机名称"}},
    {{"Reading the network settings", "讀取網路設定", "读取网络设置"}},
    {{"Looking for the printer", "尋找印表機", "寻找打印机"}},
    {{"Loading %1", "載入 %1", "载入 %1"}},
    {{"Making the font", "製作字型", "制作字体"}},
    {{"Making and downloading %1", "製作並下載 %1", "制作并下载 %1"}},
};
constexpr int kMakeFont = kOpLoadFile + 1;
constexpr int kMakeAndDownloadFont = kOpLoadFile + 2;

const QStringList kMemoryNames = {"DRAM", "FLASH", "CARD"};
const QStringList kPageNames = {"Common", "Z", "D"};

QString TextIn(int index, LanguageIndex language) {
  const std::string_view text = kOperationTexts[index].In(language);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The printer file a download or a load names; empty for every other record.
QString PrinterFileName(const OperationRecord& record) {
  if (const auto* download = std::get_if<DownloadRequest*>(&record); download && *download) {
    return QString::fromStdString((*download)->printer_name);
  }
  if (const auto* load = std::get_if<LoadRequest*>(&record); load && *load) {
    return QString::fromStdString((*load)->printer_name);
  }
  return {};
}

QString MemoryName(int device) {
  return device >= 0 && device < kMemoryNames.size() ? kMemoryNames[device] : QString();
}

QString Downloaded(const DownloadRequest& request) {
  return QStringLiteral("%1 downloaded to %2 on %3")
      .arg(QString::fromStdString(request.printer_name), MemoryName(request.device), "%1");
}

// The operations whose success changes the printer in a way worth a word; "%1" the printer.
QString DoneText(int op, const OperationRecord& record, int extra) {
  switch (op) {
    case kOpWriteConfiguration:
      return extra >= 0 && extra < kPageNames.size()
                 ? kPageNames[extra] + QStringLiteral(" page written to %1")
                 : QString();
    case kOpFactoryDefault:
      return QStringLiteral("Factory defaults restored on %1");
    case kOpDownloadFile: {
      const auto* request = std::get_if<DownloadRequest*>(&record);
      return request && *request ? Downloaded(**request) : QString();
    }
    case kOpFormatMemory: {
      const auto* device = std::get_if<MemoryDevice>(&record);
      return device ? MemoryName(*device) + QStringLiteral(" formatted on %1") : QString();
    }
    default:
      return {};
  }
}

QString CancelledText(int op) {
  switch (op) {
    case kOpQueryStatus:
    case kOpReadConfiguration:
    case kOpReadClock:
    case kOpReadFileList:
    case kOpReadNetworkSettings:
    case kOpProbeLink:
      return QStringLiteral("Nothing was changed on the printer.");
    case kOpLoadFile:
      return QStringLiteral("Nothing was saved, and the printer is unchanged.");
    case kOpWriteConfiguration:
      return QStringLiteral(
          "The printer may have taken some of the settings; read the "
          "configuration to see which, then set it again.");
    case kOpDownloadFile:
    case kOpSendRawBlock:
      return QStringLiteral("The printer may hold part of the file; download it again.");
    case kOpFormatMemory:
      return QStringLiteral("The memory may be partly erased; format it again.");
    default:
      return QStringLiteral(
          "The printer may have taken the command; check it before trying "
          "again.");
  }
}

}  // namespace

WorkTexts OperationTexts(int op, const OperationRecord& record, int extra, LanguageIndex language) {
  if (op < 0 || op > kOpLoadFile) return {};
  QString what = TextIn(op, language);
  if (op == kOpDownloadFile || op == kOpLoadFile) what = what.arg(PrinterFileName(record));
  return {what, true, DoneText(op, record, extra), CancelledText(op)};
}

WorkTexts FontWorkTexts(const DownloadRequest* download, LanguageIndex language) {
  if (download == nullptr) {
    return {TextIn(kMakeFont, language), false, {}, QStringLiteral("No font file was saved.")};
  }
  return {
      TextIn(kMakeAndDownloadFont, language).arg(QString::fromStdString(download->printer_name)),
      true, Downloaded(*download), CancelledText(kOpDownloadFile)};
}

std::span<const LocalizedText> OperationTextTable() {
  return kOperationTexts;
}

}  // namespace vantrel::app
