#pragma once

#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/tab_host.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"
#include "ops/memory_info.h"
#include "ops/operation_record.h"

namespace vantrel::app {

// The File Manager tab: downloads into the printer's memories, their sizes and file lists, and
// erasing a memory. Lives on the window thread; printer exchanges go through the host.
class FileManagerTab : public QWidget {
  Q_OBJECT

 public:
  // `dialog_font` is the font dialog's font, shared with the font tab and owned by the caller;
  // `code_page` is that of printer texts.
  FileManagerTab(TabHost& host, QFont& dialog_font, AnsiCodePage code_page,
                 QWidget* parent = nullptr);

  const MemoryInfo& memory_info() const { return memory_info_; }

 private:
  QWidget* NewDownloadGroup();
  QWidget* NewInfoGroup();
  QWidget* NewFormatGroup();

  void ButtonBrowseClick();
  void ButtonDownloadClick();
  void ButtonFontViewClick();
  void ButtonGetClick();
  void RadioGroupDeviceClick();
  void ButtonFileFormatClick();
  void ShowMemoryInfo();
  void SendRawFile();

  TabHost& host_;
  Prompts& prompts_;
  QFont& dialog_font_;
  const AnsiCodePage code_page_;
  MemoryInfo memory_info_;
  QString download_source_path_;
  // Records of the operation in flight; they live here until it has ended.
  DownloadRequest download_request_;
  std::vector<std::uint8_t> raw_bytes_;

  QComboBox* ComboBoxFileType = nullptr;
  QComboBox* ComboBoxDevice = nullptr;
  QLineEdit* EditFileName = nullptr;
  QLineEdit* EditFileSize = nullptr;
  QPushButton* ButtonDownload = nullptr;
  RadioGroup* RadioGroupDevice = nullptr;
  QLineEdit* EditPhysicalSpace = nullptr;
  QLineEdit* EditFreeSpace = nullptr;
  QListWidget* ListBoxFileList = nullptr;
  RadioGroup* RadioGroupFormatDevice = nullptr;
};

}  // namespace vantrel::app
