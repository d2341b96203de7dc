#include "app/widgets/localized_texts.h"

namespace vantrel::app {
namespace {

// The lists whose "OFF" / "ON" items share one pair of entries.
constexpr std::string_view kOnOffLists =
    "ComboBoxRibbon ComboBoxHead ComboBoxReprint ComboBoxPresentSensorD ComboBoxCutterEquippedD";
constexpr std::string_view kMediaActionLists = "ComboBoxMediaPowerUpZ ComboBoxHeadCloseZ";

constexpr LocalizedEntry kMainWindowTexts[] = {
    {"N1 About1", kCaption, {{"&About", "關於(&A)", "关于(&A)"}}},
    {"GroupBoxLanguage", kCaption, {{"Language", "語言", "语言"}}},
    {"ComboBoxLanguage", 0, {{"English", "英文", "英文"}}},
    {"ComboBoxLanguage", 1, {{"Traditional Chinese", "繁體中文", "繁体中文"}}},
    {"ComboBoxLanguage", 2, {{"Simplified Chinese", "簡體中文", "简体中文"}}},
    {"GroupBoxPrinterFunction", kCaption, {{"Printer Function", "印表機功能", "打印机功能"}}},
    {"ButtonSensorCalibrate", kCaption, {{"Calibrate Sensor", "感應器校正", "传感器校准"}}},
    {"ButtonEthernet", kCaption, {{"Ethernet Setup", "乙太網路設定", "以太网设置"}}},
    {"ButtonRTCSetTime", kCaption, {{"RTC Setup", "時鐘設定", "时钟设置"}}},
    {"ButtonTestPatern", kCaption, {{"Print Test Page", "列印測試頁", "打印测试页"}}},
    {"ButtonRestPrinter", kCaption, {{"Reset Printer", "重置印表機", "重置打印机"}}},
    {"ButtonInitial", kCaption, {{"Factory Default", "回復出廠設定", "恢复出厂设置"}}},
    {"ButtonDump", kCaption, {{"Dump Text", "文字傾印", "文本转储"}}},
    {"ButtonIgnoreAuto", kCaption, {{"Ignore AUTO.BAS", "略過 AUTO.BAS", "跳过 AUTO.BAS"}}},
    {"ButtonSelfTest", kCaption, {{"Configuration Page", "設定頁", "配置页"}}},
    {"GroupBoxInterFace", kCaption, {{"Interface", "介面", "接口"}}},
    {"ButtonInterFace", kCaption, {{"Setup", "設定", "设置"}}},
    {"GroupBoxPrinterStatus", kCaption, {{"Printer Status", "印表機狀態", "打印机状态"}}},
    {"LabelReady", kCaption, {{"Ready", "就緒", "就绪"}}},
    {"LabelHeadOpen", kCaption, {{"Head Open", "印字頭開啟", "打印头打开"}}},
    {"LabelPaperJam", kCaption, {{"Paper Jam", "卡紙", "卡纸"}}},
    {"LabelOutOfPaper", kCaption, {{"Out of Paper", "缺紙", "缺纸"}}},
    {"LabelRibbonEnd", kCaption, {{"Ribbon End Err.", "碳帶用盡", "碳带用尽"}}},
    {"LabelRibbonEncoder", kCaption, {{"Ribbon Encoder Err.", "碳帶編碼器錯誤", "碳带编码器错误"}}},
    {"LabelPause", kCaption, {{"Pause", "暫停", "暂停"}}},
    {"LabelPrintting", kCaption, {{"Printting", "列印中", "打印中"}}},
    {"LabelOtherError", kCaption, {{"Other Error", "其他錯誤", "其他错误"}}},
    {"ButtonGetStatus", kCaption, {{"Get Status", "讀取狀態", "读取状态"}}},
    {"TabSheet1", kCaption, {{"Printer Configuration", "印表機設定", "打印机配置"}}},
    {"TabSheet2", kCaption, {{"File Manager", "檔案管理", "文件管理"}}},
    {"TabSheet3", kCaption, {{"Bitmap Font Manager", "點陣字型管理", "点阵字体管理"}}},
    {"TabSheet4", kCaption, {{"Command Tool", "命令工具", "命令工具"}}},
    {"TabSheetCommon", kCaption, {{"Common", "一般", "通用"}}},
    {"GroupBoxPrintreConfig", kCaption, {{"Printer Configuration", "印表機設定", "打印机配置"}}},
    {"GroupBoxPrinterInfo", kCaption, {{"Printer Infomation", "印表機資訊", "打印机信息"}}},
    {"LabelVersion", kCaption, {{"Version", "版本", "版本"}}},
    {"LabelMilage", kCaption, {{"Milage", "里程", "里程"}}},
    {"LabelKm", kCaption, {{"Km", "公里", "公里"}}},
    {"LabelCHecksum", kCaption, {{"Check Sum", "檢查碼", "校验和"}}},
    {"LabelSerial", kCaption, {{"Serial NO.", "序號", "序列号"}}},
    {"RadioGroupUnit", kCaption, {{"Unit", "單位", "单位"}}},
    {"RadioGroupUnit", 0, {{"inch", "英吋", "英寸"}}},
    {"RadioGroupUnit", 1, {{"mm", "公厘", "毫米"}}},
    {"LabelSpeed", kCaption, {{"Speed", "速度", "速度"}}},
    {"LabelDensity", kCaption, {{"Density", "濃度", "浓度"}}},
    {"LabelWidth", kCaption, {{"Paper Width", "紙張寬度", "纸张宽度"}}},
    {"LabelHeight", kCaption, {{"Paper Height", "紙張高度", "纸张高度"}}},
    {"LabelSensorType", kCaption, {{"Media Sensor", "紙張感應器", "介质传感器"}}},
    {"ComboBoxMediaSensor", 1, {{"GAP", "間距", "间隙"}}},
    {"ComboBoxMediaSensor", 2, {{"Black Mark", "黑標", "黑标"}}},
    {"ComboBoxMediaSensor", 3, {{"Continuous", "連續紙", "连续纸"}}},
    {"LabelVirticalGap", kCaption, {{"Gap", "間距", "间隙"}}},
    {"LabelGapOffset", kCaption, {{"Gap Offset", "間距偏移", "间隙偏移"}}},
    {"LabelPrintOut", kCaption, {{"Post-Print Action", "列印後動作", "打印后动作"}}},
    {"ComboBoxPrintOut", 1, {{"OFF", "關", "关"}}},
    {"ComboBoxPrintOut", 2, {{"TEAR", "撕紙", "撕纸"}}},
    {"ComboBoxPrintOut", 3, {{"PEEL", "剝紙", "剥纸"}}},
    {"ComboBoxPrintOut", 4, {{"CUTTER", "裁刀", "切刀"}}},
    {"LabelCutterPiece", kCaption, {{"Cut Piece", "裁切張數", "切纸张数"}}},
    {"LabelReference", kCaption, {{"Reference", "參考點", "参考点"}}},
    {"LabelDirection", kCaption, {{"Direction", "列印方向", "打印方向"}}},
    {"LabelOffset", kCaption, {{"Offset", "偏移", "偏移"}}},
    {"LabelShiftX", kCaption, {{"Shift X", "水平位移", "水平位移"}}},
    {"LabelShiftY", kCaption, {{"Shift Y", "垂直位移", "垂直位移"}}},
    {"LabelRibbon", kCaption, {{"Ribbon", "碳帶", "碳带"}}},
    {kOnOffLists, 1, {{"OFF", "關", "关"}}},
    {kOnOffLists, 2, {{"ON", "開", "开"}}},
    {"LabelCodePage", kCaption, {{"Code Page", "字碼頁", "代码页"}}},
    {"LabelCountryCode", kCaption, {{"Country Code", "國家代碼", "国家代码"}}},
    {"LabelHead", kCaption, {{"Head-up Sensor", "抬頭感應器", "抬头传感器"}}},
    {"LabelReprint", kCaption, {{"Reprint After Error", "錯誤後重印", "错误后重印"}}},
    {"LabelGapInten", kCaption, {{"Gap Inten.", "間距強度", "间隙强度"}}},
    {"LabelBlineInten", kCaption, {{"Bline Inten.", "黑標強度", "黑标强度"}}},
    {"LabelContinuousInten", kCaption, {{"Continuous Inten.", "連續紙強度", "连续纸强度"}}},
    {"LabelBaudrate", kCaption, {{"Baud Rate", "鮑率", "波特率"}}},
    {"LabelDataBit", kCaption, {{"Data Bits", "資料位元", "数据位"}}},
    {"LabelParity", kCaption, {{"Parity", "同位元", "校验位"}}},
    {"LabelStopBit", kCaption, {{"Stop Bit(s)", "停止位元", "停止位"}}},
    {"LabelDarknessZ", kCaption, {{"Darkness", "明暗度", "明暗度"}}},
    {"LabelPrintSpeedZ", kCaption, {{"Print Speed", "列印速度", "打印速度"}}},
    {"LabelTearOffZ", kCaption, {{"Tear Off", "撕紙位置", "撕纸位置"}}},
    {"LabelPrintModeZ", kCaption, {{"Print Mode", "列印模式", "打印模式"}}},
    {"ComboBoxPrintModeZ", 1, {{"Tear Off", "撕紙", "撕纸"}}},
    {"ComboBoxPrintModeZ", 2, {{"Peel Off", "剝紙", "剥纸"}}},
    {"ComboBoxPrintModeZ", 3, {{"Cutter", "裁刀", "切刀"}}},
    {"LabelPrintWidthZ", kCaption, {{"Print Width", "列印寬度", "打印宽度"}}},
    {"LabelControlPrefixZ", kCaption, {{"Control Prefix", "控制前綴字元", "控制前缀字符"}}},
    {"LabelFormatPrefixZ", kCaption, {{"Format Prefix", "格式前綴字元", "格式前缀字符"}}},
    {"LabelDelimiterCharZ", kCaption, {{"Delimiter Char", "分隔字元", "分隔字符"}}},
    {"LabelMediaPowerUpZ", kCaption, {{"Media Power Up", "開機紙張動作", "开机介质动作"}}},
    {kMediaActionLists, 1, {{"Feed", "送紙", "进纸"}}},
    {kMediaActionLists, 2, {{"Calibration", "校正", "校准"}}},
    {kMediaActionLists, 3, {{"Length", "測長", "测长"}}},
    {kMediaActionLists, 4, {{"No Motion", "不動作", "不动作"}}},
    {"LabelHeadCloseZ", kCaption, {{"Head Close", "印字頭閉合", "打印头闭合"}}},
    {"LabelLabelTopZ", kCaption, {{"Label Top", "標籤頂端", "标签顶端"}}},
    {"LabelLeftPositionZ", kCaption, {{"Left Position", "左側位置", "左侧位置"}}},
    {"LabelHeatD", kCaption, {{"Heat", "加熱", "加热"}}},
    {"LabelPrintSpeedD", kCaption, {{"Print Speed", "列印速度", "打印速度"}}},
    {"LabelLabelWidthD", kCaption, {{"Label Width", "標籤寬度", "标签宽度"}}},
    {"LabelPresentSensorD", kCaption, {{"Present Sensor", "取紙感應器", "取纸传感器"}}},
    {"LabelCutterEquippedD", kCaption, {{"Cutter Equipped", "裝有裁刀", "装有切刀"}}},
    {"LabelControlCodesD", kCaption, {{"Control Codes", "控制碼", "控制码"}}},
    {"ComboBoxControlCodesD", 1, {{"Standard", "標準", "标准"}}},
    {"ComboBoxControlCodesD", 2, {{"Alternate", "替代", "替代"}}},
    {"ComboBoxControlCodesD", 3, {{"Alternate-2", "替代-2", "替代-2"}}},
    {"LabelColumnOffsetD", kCaption, {{"Column Offset", "欄位偏移", "列偏移"}}},
    {"LabelRowOffsetD", kCaption, {{"Row Offset", "列偏移", "行偏移"}}},
    {"ButtonClear", kCaption, {{"Clear", "清除", "清除"}}},
    {"ButtonLoad", kCaption, {{"Load", "載入", "载入"}}},
    {"ButtonSave", kCaption, {{"Save", "儲存", "保存"}}},
    {"ButtonConfigSet", kCaption, {{"Set", "設定", "设置"}}},
    {"ButtonRead", kCaption, {{"Read", "讀取", "读取"}}},
    {"GroupBoxFileDownload", kCaption, {{"File Download", "檔案下載", "文件下载"}}},
    {"LabelFileType", kCaption, {{"File Type", "檔案類型", "文件类型"}}},
    {"LabelFileName", kCaption, {{"File Name", "檔案名稱", "文件名"}}},
    {"LabelFileSize", kCaption, {{"File Size", "檔案大小", "文件大小"}}},
    {"LabelMemoryDevice", kCaption, {{"Memory Device", "記憶體裝置", "存储设备"}}},
    {"ButtonBrowse", kCaption, {{"Browse", "瀏覽", "浏览"}}},
    {"ButtonFontView", kCaption, {{"Font View", "字型檢視", "字体查看"}}},
    {"ButtonDownload", kCaption, {{"Download", "下載", "下载"}}},
    {"GroupBoxFileInfo", kCaption, {{"File Infomation", "檔案資訊", "文件信息"}}},
    {"RadioGroupDevice", kCaption, {{"Memory Device", "記憶體裝置", "存储设备"}}},
    {"LabelPhysicalSpace", kCaption, {{"Physical Space", "實體空間", "物理空间"}}},
    {"LabelFreeSpace", kCaption, {{"Free Space", "可用空間", "可用空间"}}},
    {"ButtonGet", kCaption, {{"Get", "讀取", "读取"}}},
    {"GroupBoxFileFormat", kCaption, {{"File Format", "格式化", "格式化"}}},
    {"RadioGroupFormatDevice", kCaption, {{"Memory Device", "記憶體裝置", "存储设备"}}},
    {"ButtonFileFormat", kCaption, {{"Format", "格式化", "格式化"}}},
    {"GroupBoxFontSelect", kCaption, {{"Font Select", "字型選擇", "字体选择"}}},
    {"ComboBoxFontEncode", 0, {{"Standard Encode", "標準編碼", "标准编码"}}},
    {"ComboBoxFontEncode", 1, {{"Asian Font Encode", "亞洲字型編碼", "亚洲字体编码"}}},
    {"ComboBoxFontEncode", 2, {{"Encode by Table", "依對照表編碼", "按对照表编码"}}},
    {"ComboBoxFontEncode",
     3,
     {{"Encode by Table (Asian)", "依對照表編碼 (亞洲)", "按对照表编码 (亚洲)"}}},
    {"LabelFontEncode", kCaption, {{"Font Encode", "字型編碼", "字体编码"}}},
    {"LabelFontPitch", kCaption, {{"Font Picth", "字距", "字距"}}},
    {"ComboBoxFontPitch", 0, {{"Fixed Pitch", "固定字距", "固定字距"}}},
    {"ComboBoxFontPitch", 1, {{"Variable Pitch", "比例字距", "比例字距"}}},
    {"ComboBoxSEncode", 0, {{"Standard Mapping", "標準對應", "标准映射"}}},
    {"ComboBoxSEncode", 1, {{"Full ASCII Mapping", "完整 ASCII 對應", "完整 ASCII 映射"}}},
    {"ComboBoxSEncode", 2, {{"Customer Mapping", "自訂對應", "自定义映射"}}},
    {"LabelPrinterDevice", kCaption, {{"Printer Device", "印表機裝置", "打印机设备"}}},
    {"LabelWindowsFontName", kCaption, {{"Windows Font Name", "系統字型名稱", "系统字体名称"}}},
    {"LabelFontSize", kCaption, {{"Font Size", "字型大小", "字体大小"}}},
    {"ButtonSelectFont", kCaption, {{"Select Font", "選擇字型", "选择字体"}}},
    {"ButtonPreviewFont", kCaption, {{"Preview Font", "預覽字型", "预览字体"}}},
    {"LabelPrinterFontName", kCaption, {{"Printer Font Name", "印表機字型名稱", "打印机字体名称"}}},
    {"LabelFontWidth", kCaption, {{"Font Width", "字型寬度", "字体宽度"}}},
    {"LabelFontHeight", kCaption, {{"Font Height", "字型高度", "字体高度"}}},
    {"LabelItalicWidth", kCaption, {{"Italic Width", "斜體寬度", "斜体宽度"}}},
    {"GroupBoxSatndEncode", kCaption, {{"Standard Encode", "標準編碼", "标准编码"}}},
    {"LabelFontMapping", kCaption, {{"Font Mapping", "字元對應", "字符映射"}}},
    {"LabelStartAscii", kCaption, {{"Character Start ASCII", "起始字元 ASCII", "起始字符 ASCII"}}},
    {"LabelEndAscii", kCaption, {{"Character End ASCII", "結束字元 ASCII", "结束字符 ASCII"}}},
    {"RadioGroupAsiaFontEncode", kCaption, {{"Asian Font Encode", "亞洲字型編碼", "亚洲字体编码"}}},
    {"RadioGroupAsiaFontEncode", 0, {{"Traditional Chinese", "繁體中文", "繁体中文"}}},
    {"RadioGroupAsiaFontEncode", 1, {{"Simplified Chinese", "簡體中文", "简体中文"}}},
    {"RadioGroupAsiaFontEncode", 2, {{"Korean", "韓文", "韩文"}}},
    {"RadioGroupAsiaFontEncode", 3, {{"Japanese", "日文", "日文"}}},
    {"GroupBoxEncodeTable", kCaption, {{"Encode by Table", "依對照表編碼", "按对照表编码"}}},
    {"CheckBoxFileTable", kCaption, {{"By File", "使用檔案", "使用文件"}}},
    {"ButtonFontTblLoad", kCaption, {{"Load", "載入", "载入"}}},
    {"ButtonFontTblSave", kCaption, {{"Save", "儲存", "保存"}}},
    {"ButtonSaveFont", kCaption, {{"Save Font", "儲存字型", "保存字体"}}},
    {"ButtonDowloadFont", kCaption, {{"Download Font", "下載字型", "下载字体"}}},
    {"ButtonSendFile", kCaption, {{"Send File", "傳送檔案", "发送文件"}}},
    {"ButtonSend", kCaption, {{"Send", "傳送", "发送"}}},
    {"ButtonLoadFile", kCaption, {{"Load", "載入", "载入"}}},
    {"ButtonSaveFile", kCaption, {{"Save", "儲存", "保存"}}},
};

constexpr LocalizedEntry kSetTexts[] = {
    {"ButtonSet", kCaption, {{"Set", "設定", "设置"}}},
    {"ButtonCancel", kCaption, {{"Cancel", "取消", "取消"}}},
};

constexpr LocalizedEntry kRs232SetupTexts[] = {
    {"LabelComPort", kCaption, {{"COM Port", "COM 連接埠", "COM 端口"}}},
    {"LabelBaudRate", kCaption, {{"Baud Rate", "鮑率", "波特率"}}},
    {"LabelDataBits", kCaption, {{"Data Bits", "資料位元", "数据位"}}},
    {"LabelParityCheck", kCaption, {{"Parity Check", "同位檢查", "奇偶校验"}}},
    {"LabelStopBits", kCaption, {{"Stop Bit(s)", "停止位元", "停止位"}}},
    {"LabelHardwareS", kCaption, {{"Hardware Handshaking", "硬體交握", "硬件握手"}}},
    {"LabelSoftwareS", kCaption, {{"Software Handshaking", "軟體交握", "软件握手"}}},
    {"ComboBoxParity ComboBoxHdShak ComboBoxSWShak", 0, {{"None", "無", "无"}}},
    {"ComboBoxParity", 1, {{"Odd", "奇同位", "奇校验"}}},
    {"ComboBoxParity", 2, {{"Even", "偶同位", "偶校验"}}},
    kSetTexts[0],
    kSetTexts[1],
};

}  // namespace

LanguageIndex ToLanguageIndex(int value) {
  return value == kTraditionalChinese || value == kSimplifiedChinese
             ? static_cast<LanguageIndex>(value)
             : kEnglish;
}

std::string_view EnglishCaption(std::span<const LocalizedEntry> table, std::string_view control) {
  for (const LocalizedEntry& entry : table) {
    if (entry.item != kCaption) continue;
    for (std::string_view names = entry.controls; !names.empty();) {
      const std::size_t space = names.find(' ');
      if (names.substr(0, space) == control) return entry.text.In(kEnglish);
      names = space == std::string_view::npos ? std::string_view() : names.substr(space + 1);
    }
  }
  return {};
}

std::span<const LocalizedEntry> MainWindowTexts() {
  return kMainWindowTexts;
}
std::span<const LocalizedEntry> Rs232SetupTexts() {
  return kRs232SetupTexts;
}
std::span<const LocalizedEntry> LptSetupTexts() {
  return kSetTexts;
}

}  // namespace vantrel::app
