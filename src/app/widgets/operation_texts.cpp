#include "app/widgets/operation_texts.h"

#include "ops/dispatcher.h"

namespace vantrel::app {
namespace {

// By operation number; the last one is LinkWorkText's.
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
    {{"Sending the font", "傳送字型", "发送字体"}},
};
constexpr int kLinkWork = std::size(kOperationTexts) - 1;

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

}  // namespace

QString OperationText(int op, const OperationRecord& record, LanguageIndex language) {
  if (op < 0 || op >= kLinkWork) return {};
  const QString text = TextIn(op, language);
  return op == kOpDownloadFile || op == kOpLoadFile ? text.arg(PrinterFileName(record)) : text;
}

QString LinkWorkText(LanguageIndex language) {
  return TextIn(kLinkWork, language);
}

std::span<const LocalizedText> OperationTexts() {
  return kOperationTexts;
}

}  // namespace vantrel::app
