#include "app/dialogs/net_dialog_texts.h"

namespace vantrel::app {
namespace {

constexpr LocalizedEntry kNetSetupTexts[] = {
    {"GroupBoxIPSetting", kCaption, {{"IP Setting", "IP 設定", "IP 设置"}}},
    {"LabelIPAddress",
     kCaption,
     {{"IP Address/Printer Name", "IP 位址/印表機名稱", "IP 地址/打印机名称"}}},
    {"LabelPort", kCaption, {{"Port", "連接埠", "端口"}}},
    {"ButtonExit", kCaption, {{"Exit", "離開", "退出"}}},
    {"ButtonDiscover", kCaption, {{"Discover Device", "搜尋裝置", "搜索设备"}}},
    {"ButtonChangeIP", kCaption, {{"Change IP Address", "變更 IP 位址", "更改 IP 地址"}}},
    {"ButtonFactoryDefault", kCaption, {{"Factory Default", "回復出廠設定", "恢复出厂设置"}}},
    {"ButtonBrowser", kCaption, {{"Web Setup", "網頁設定", "网页设置"}}},
    // The column's caption keeps its established spelling.
    {"ListView1", 0, {{"Printer Nmae", "印表機名稱", "打印机名称"}}},
    {"ListView1", 1, {{"MAC", "MAC", "MAC"}}},
    {"ListView1", 2, {{"IP Address", "IP 位址", "IP 地址"}}},
    {"ListView1", 3, {{"Model Name", "型號", "型号"}}},
    {"ListView1", 4, {{"Status", "狀態", "状态"}}},
};

constexpr LocalizedEntry kEthernetSetupTexts[] = {
    {"RadioGroupDHCP", kCaption, {{"IP Setup", "IP 設定", "IP 设置"}}},
    {"RadioGroupDHCP", 0, {{"DHCP", "DHCP", "DHCP"}}},
    {"RadioGroupDHCP", 1, {{"Static IP", "固定 IP", "静态 IP"}}},
    {"LabelIP", kCaption, {{"IP", "IP", "IP"}}},
    {"LabelMask", kCaption, {{"Subnet Mask", "子網路遮罩", "子网掩码"}}},
    {"LabelGateWay", kCaption, {{"Gateway", "閘道", "网关"}}},
    {"LabelPrinterName", kCaption, {{"Printer Name", "印表機名稱", "打印机名称"}}},
    {"LabelMACAddr", kCaption, {{"MAC Address", "MAC 位址", "MAC 地址"}}},
    {"ButtonSetPrinterName", kCaption, {{"Set Printer Name", "設定印表機名稱", "设置打印机名称"}}},
    {"ButtonSetIP", kCaption, {{"Set IP", "設定 IP", "设置 IP"}}},
    {"ButtonCancel", kCaption, {{"Cancel", "取消", "取消"}}},
};

}  // namespace

std::span<const LocalizedEntry> NetSetupTexts() {
  return kNetSetupTexts;
}
std::span<const LocalizedEntry> EthernetSetupTexts() {
  return kEthernetSetupTexts;
}

}  // namespace vantrel::app
