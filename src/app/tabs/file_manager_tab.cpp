#include "app/tabs/file_manager_tab.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "app/widgets/controls.h"
#include "app/widgets/host_path.h"
#include "app/widgets/printer_text.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"
#include "ops/download_file_type.h"
#include "ops/printer_file_name.h"
#include "ops/send_raw_block.h"

namespace vantrel::app {
namespace {

const QStringList kMemoryItems = {"DRAM", "FLASH", "CARD"};
// Where TrueType files are looked for first.
const QString kSystemFontFolder = QStringLiteral("/usr/share/fonts");

// "desc|pattern|desc|pattern" as the file dialog writes it: "desc (pattern);;desc (pattern)".
// File names here are case-sensitive, so "*.BMP" also takes "*.bmp".
QString DialogFilter(std::string_view pairs) {
  const QStringList parts = QString::fromLatin1(pairs.data(), static_cast<qsizetype>(pairs.size()))
                                .split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& pattern = parts[i + 1];
    const QString lower = pattern.toLower();
    filters << parts[i] + " (" + pattern + (lower == pattern ? "" : " " + lower) + ")";
  }
  return filters.join(";;");
}

QStringList TypeCaptions() {
  QStringList captions;
  for (const DownloadTypeInfo& type : DownloadTypes()) {
    captions << QString::fromLatin1(type.caption.data(),
                                    static_cast<qsizetype>(type.caption.size()));
  }
  return captions;
}

QString NumberOrEmpty(bool known, std::int32_t value) {
  return known ? QString::number(value) : QString();
}

QLineEdit* NewReadOnlyEdit(QWidget* parent, const QString& name, int characters) {
  QLineEdit* edit = NewEdit(parent, name, 0, characters);
  edit->setReadOnly(true);
  return edit;
}

// The printer drops a download that does not fit without a word, so a file larger than the
// free space of the last Get is sent only when the user says so. Unknown free space asks nothing.
bool FitsOrConfirmed(Prompts& prompts, const DeviceMemoryBlock& block, MemoryDevice device,
                     const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  const auto free_bytes = static_cast<std::uintmax_t>(std::max(0, block.free_space)) * 1024;
  if (!block.free_known || error || size <= free_bytes) return true;
  return prompts.Confirm(QStringLiteral("The file (%1 bytes) is larger than the free space of %2 "
                                        "(%3 KB) and may not be stored. Download it anyway?")
                             .arg(size)
                             .arg(kMemoryItems[device])
                             .arg(block.free_space));
}

}  // namespace

FileManagerTab::FileManagerTab(TabHost& host, QFont& dialog_font, AnsiCodePage code_page,
                               QWidget* parent)
    : QWidget(parent),
      host_(host),
      prompts_(host.prompts()),
      dialog_font_(dialog_font),
      code_page_(code_page) {
  setObjectName("TabSheet2");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  auto* left = new QVBoxLayout;
  left->addWidget(NewDownloadGroup());
  left->addWidget(NewFormatGroup());
  left->addStretch(1);
  layout->addLayout(left);
  layout->addWidget(NewInfoGroup(), 1);
}

QWidget* FileManagerTab::NewDownloadGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxFileDownload", grid, 6);
  ComboBoxFileType = NewList(group, "ComboBoxFileType", TypeCaptions());
  EditFileName = NewEdit(group, "EditFileName", 0, 20);
  EditFileSize = NewReadOnlyEdit(group, "EditFileSize", 20);
  ComboBoxDevice = NewList(group, "ComboBoxDevice", kMemoryItems);
  ComboBoxDevice->setCurrentIndex(kMemoryFlash);
  const std::array<std::pair<const char*, QWidget*>, 4> rows = {{
      {"LabelFileType", ComboBoxFileType},
      {"LabelFileName", EditFileName},
      {"LabelFileSize", EditFileSize},
      {"LabelMemoryDevice", ComboBoxDevice},
  }};
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    grid->addWidget(NewLabel(group, rows[row].first), row, 0);
    grid->addWidget(rows[row].second, row, 1);
  }
  auto* buttons = new QHBoxLayout;
  for (const char* name : {"ButtonBrowse", "ButtonFontView", "ButtonDownload"}) {
    buttons->addWidget(NewButton(group, name));
  }
  grid->addLayout(buttons, static_cast<int>(rows.size()), 0, 1, 2);
  ButtonDownload = group->findChild<QPushButton*>("ButtonDownload");
  ButtonDownload->setEnabled(false);
  OnClick(prompts_, this, "ButtonBrowse", &FileManagerTab::ButtonBrowseClick);
  OnClick(prompts_, this, "ButtonFontView", &FileManagerTab::ButtonFontViewClick);
  OnClick(prompts_, this, "ButtonDownload", &FileManagerTab::ButtonDownloadClick);
  return group;
}

QWidget* FileManagerTab::NewInfoGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxFileInfo", grid, 6);
  RadioGroupDevice =
      new RadioGroup("RadioGroupDevice", QString(), kMemoryItems, Qt::Horizontal, group);
  RadioGroupDevice->SetItemIndex(kMemoryFlash);
  grid->addWidget(RadioGroupDevice, 0, 0, 1, 3);
  EditPhysicalSpace = NewReadOnlyEdit(group, "EditPhysicalSpace", 11);
  EditFreeSpace = NewReadOnlyEdit(group, "EditFreeSpace", 11);
  grid->addWidget(NewLabel(group, "LabelPhysicalSpace"), 1, 0);
  grid->addWidget(EditPhysicalSpace, 1, 1);
  grid->addWidget(NewLabel(group, "LabelPhysicalSpaceUnit", "KB"), 1, 2);
  grid->addWidget(NewLabel(group, "LabelFreeSpace"), 2, 0);
  grid->addWidget(EditFreeSpace, 2, 1);
  grid->addWidget(NewLabel(group, "LabelFreeSpaceUnit", "KB"), 2, 2);
  ListBoxFileList = new QListWidget(group);
  ListBoxFileList->setObjectName("ListBoxFileList");
  grid->addWidget(ListBoxFileList, 3, 0, 1, 3);
  QPushButton* get = NewButton(group, "ButtonGet");
  grid->addWidget(get, 4, 0, 1, 3, Qt::AlignRight);
  OnClick(prompts_, this, "ButtonGet", &FileManagerTab::ButtonGetClick);
  connect(RadioGroupDevice, &RadioGroup::Clicked, this,
          Guarded(prompts_, this, &FileManagerTab::RadioGroupDeviceClick));
  return group;
}

QWidget* FileManagerTab::NewFormatGroup() {
  QGridLayout* grid = nullptr;
  QGroupBox* group = NewGridGroup(this, "GroupBoxFileFormat", grid, 6);
  RadioGroupFormatDevice =
      new RadioGroup("RadioGroupFormatDevice", QString(), kMemoryItems, Qt::Horizontal, group);
  RadioGroupFormatDevice->SetItemIndex(kMemoryFlash);
  grid->addWidget(RadioGroupFormatDevice, 0, 0);
  QPushButton* format = NewButton(group, "ButtonFileFormat");
  grid->addWidget(format, 1, 0, Qt::AlignRight);
  OnClick(prompts_, this, "ButtonFileFormat", &FileManagerTab::ButtonFileFormatClick);
  return group;
}

void FileManagerTab::ButtonBrowseClick() {
  ButtonDownload->setEnabled(false);
  const int type = ComboBoxFileType->currentIndex();
  const std::optional<QString> path =
      prompts_.OpenFileIn(DialogFilter(DownloadFilter(type)),
                          type == kDownloadTypeTrueType ? kSystemFontFolder : QString());
  if (!path) return;
  // The largest file any type takes; the type chosen at Download decides the real limit.
  if (const HostFileResult readable = CheckHostFile(HostPath(*path), kMaxRawBlockBytes);
      !readable.ok()) {
    prompts_.Message("Open File Error", QString::fromStdString(readable.detail));
    return;
  }
  std::error_code error;
  EditFileSize->setText(QString::number(std::filesystem::file_size(HostPath(*path), error)));
  download_source_path_ = *path;
  const std::string proposed = ProposedPrinterName(HostPath(*path).string(), type);
  EditFileName->setText(QFile::decodeName(QByteArray::fromStdString(proposed)));
  ButtonDownload->setEnabled(true);
}

void FileManagerTab::ButtonDownloadClick() {
  // The printer counts the name in bytes of the locale's code page.
  const PrinterTextBytes typed = EncodePrinterText(AnsiCodec(code_page_), EditFileName->text());
  if (!typed.refusal.isEmpty()) {
    prompts_.Message(typed.refusal);
    return;
  }
  const std::string& name = typed.bytes;
  if (name.size() > kFileManagerNameLimit) {
    prompts_.Message("File name too long");
    return;
  }
  raw_bytes_.clear();
  download_request_ = {HostPath(download_source_path_).string(), name,
                       static_cast<MemoryDevice>(ComboBoxDevice->currentIndex())};
  // The type shown now decides the framing, whatever it was at Browse.
  if (IsRawDownloadType(ComboBoxFileType->currentIndex())) {
    SendRawFile();
    return;
  }
  if (const std::string refusal = PrinterFileNameRefusal(name, kFileManagerNameLimit);
      !refusal.empty()) {
    prompts_.Message(QString::fromStdString(refusal));
    return;
  }
  if (!FitsOrConfirmed(prompts_, memory_info_[download_request_.device], download_request_.device,
                       download_request_.source_path)) {
    return;
  }
  host_.StartOperation(kOpDownloadFile, &download_request_, 0, {}, {});
}

void FileManagerTab::SendRawFile() {
  const HostFileResult read =
      ReadHostFile(download_request_.source_path, kMaxRawBlockBytes, raw_bytes_);
  if (!read.ok()) {
    prompts_.Message("Open File Error", QString::fromStdString(read.detail));
    return;
  }
  host_.StartOperation(kOpSendRawBlock, RawBlock{raw_bytes_}, 0,
                       [this] {
                         raw_bytes_.clear();
                         prompts_.Message("Please Wait Led change to Green...");
                       },
                       {});
}

void FileManagerTab::ButtonFontViewClick() {
  if (const std::optional<QFont> font = prompts_.ChooseFont(dialog_font_)) dialog_font_ = *font;
}

void FileManagerTab::ButtonGetClick() {
  ClearMemoryInfo(memory_info_);
  host_.StartOperation(kOpReadFileList, &memory_info_, 0, [this] { ShowMemoryInfo(); }, {});
}

void FileManagerTab::RadioGroupDeviceClick() {
  ShowMemoryInfo();
}

void FileManagerTab::ShowMemoryInfo() {
  const int device = RadioGroupDevice->ItemIndex();
  if (!IsValidMemoryDevice(device)) return;
  const DeviceMemoryBlock& block = memory_info_[static_cast<MemoryDevice>(device)];
  EditPhysicalSpace->setText(NumberOrEmpty(block.physical_known, block.physical_space));
  EditFreeSpace->setText(NumberOrEmpty(block.free_known, block.free_space));
  ListBoxFileList->clear();
  for (const std::string& name : FileListLines(block)) {
    ListBoxFileList->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
}

void FileManagerTab::ButtonFileFormatClick() {
  const auto device = static_cast<MemoryDevice>(RadioGroupFormatDevice->ItemIndex());
  if (!prompts_.Confirm("Are you sure?",
                        QStringLiteral("Every file in the printer's %1 memory will be erased.")
                            .arg(kMemoryItems.value(device)))) {
    return;
  }
  host_.StartOperation(kOpFormatMemory, device, 0, {}, {});
}

}  // namespace vantrel::app
