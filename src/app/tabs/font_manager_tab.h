#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/tab_host.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"
#include "common/result_code.h"
#include "fonts/font_job.h"
#include "fonts/installed_font.h"
#include "link/link_layer.h"
#include "ops/download_file.h"

namespace vantrel::app {

// The Bitmap Font Manager tab: turns an installed font into a printer bitmap font, saved to a
// file or downloaded. Window thread only.
class FontManagerTab : public QWidget {
  Q_OBJECT

 public:
  // `dialog_font` is the font dialog's font, shared with the File Manager's "Font View" and
  // owned by the caller; the tab gives it its start value. `code_page` is that of the encode
  // table typed in the memo and of the printer font name.
  FontManagerTab(TabHost& host, QFont& dialog_font, AnsiCodePage code_page,
                 QWidget* parent = nullptr);

  // Takes the font dialog's font into the tab: name, size, measured cell, sample.
  void ShowSelectedFont();
  void UpdateEncodeControls();
  // The chosen font as the renderer draws it, at the screen's resolution.
  const FontRequest& work_font() const { return work_font_; }

 private:
  static constexpr int kSampleWidth = 150;
  static constexpr int kSampleHeight = 56;

  // Building the tab (font_manager_layout.cpp).
  void BuildLayout();
  QWidget* NewFontSelectGroup();
  QWidget* NewCellGroup();
  QWidget* NewEncodeColumn();
  void ConnectHandlers();

  // Fills the job from the tab. An input that is missing, no whole number or out of range
  // throws ConversionError naming the field. `table` receives the encode table's bytes.
  FontJob CollectFontJob(const std::string& output_path, std::vector<std::uint8_t>& table);
  // False, with "Make Font Error" and why, when the job's first code is above its last.
  bool CodesInOrder(const FontJob& job);
  // The encode table of the memo or of the loaded file; empty when it is not usable.
  std::vector<std::uint8_t> ReadEncodeTable();
  // Makes the font off the window thread; then `after` runs there on the made file, or
  // "Make Font Error" is shown. `download` names the download that follows, when one does; a
  // cancel ends the making at the next glyph and leaves no file.
  void MakeFontThen(FontJob job, std::shared_ptr<std::vector<std::uint8_t>> table,
                    const DownloadRequest* download, TabHost::LinkWork after);
  void DrawSample();

  void ButtonSelectFontClick();
  void ButtonPreviewFontClick();
  void ComboBoxFontEncodeChange();
  void ComboBoxSEncodeChange(int index);
  void ButtonFontTblLoadClick();
  void ButtonFontTblSaveClick();
  void ButtonSaveFontClick();
  void ButtonDowloadFontClick();

  TabHost& host_;
  Prompts& prompts_;
  AnsiCodec memo_codec_;
  QFont& dialog_font_;
  // The font the tab shows, sample and preview included, from one "Select Font" to the next;
  // "Font View" changes only the dialog's font.
  QFont work_image_font_;
  FontRequest work_font_;
  // The cell width "Select Font" measured: 0 when the font lacks the measuring character.
  int measured_width_ = 0;
  QString encode_table_file_path_;

  QComboBox* ComboBoxFontEncode;
  QComboBox* ComboBoxFontPitch;
  QComboBox* ComboBoxMemoryDevice;
  QComboBox* ComboBoxSEncode;
  QLineEdit* EditWinFontName;
  QLineEdit* EditWinFontSize;
  QLineEdit* EditPrinterFontName;
  QLineEdit* EditFontWidth;
  QLineEdit* EditFontHeight;
  QLineEdit* EditItalicWidth;
  QLineEdit* EditCharStart;
  QLineEdit* EditCharEnd;
  QLabel* ImageSmaple;
  RadioGroup* RadioGroupAsiaFontEncode;
  QWidget* GroupBoxSatndEncode;
  QWidget* GroupBoxEncodeTable;
  QPlainTextEdit* MemoFontTable;
  QCheckBox* CheckBoxFileTable;
};

}  // namespace vantrel::app
