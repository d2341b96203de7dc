#include "app/tabs/font_manager_tab.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <limits>

#include "app/tabs/preview_font_dialog.h"
#include "app/widgets/host_path.h"
#include "app/widgets/language.h"
#include "app/widgets/number_text.h"
#include "app/widgets/operation_texts.h"
#include "app/widgets/screen_room.h"
#include "fonts/encode_table.h"
#include "fonts/font_choices.h"
#include "fonts/font_writers.h"
#include "fonts/freetype_renderer.h"
#include "fonts/temporary_font_file.h"
#include "ops/download_file.h"
#include "ops/printer_file_name.h"

namespace vantrel::app {
namespace {

const QString kAnyFile = QStringLiteral("*.*");
constexpr const char* kFontParameterError = "Font Parameter Error";
constexpr const char* kMakeFontError = "Make Font Error";
// A table file larger than this is not loaded into the memo.
constexpr std::size_t kMaxTableFileBytes = 16 * 1024 * 1024;

int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen == nullptr ? 96 : qRound(screen->logicalDotsPerInchY());
}

QString Caption(const char* label) {
  return FieldCaption(MainWindowTexts(), label);
}

// "Font Parameter Error", with what is wrong under it.
[[noreturn]] void RefuseParameter(const QString& cause) {
  throw ConversionError(kFontParameterError, cause.toStdString());
}

// The whole number of the field that `label` names, within low..high when they are given.
int FieldNumber(const QLineEdit& edit, const char* label, int low = std::numeric_limits<int>::min(),
                int high = std::numeric_limits<int>::max()) {
  const QString field = Caption(label);
  if (edit.text().isEmpty()) RefuseParameter(field + " is empty");
  const bool bounded = low != std::numeric_limits<int>::min();
  const QString range = RangeText(low, high);
  const int value = InField(field, bounded ? "a whole number from " + range : "a whole number",
                            [&] { return IntegerFromText(edit.text()); });
  if (const QString why = OutOfRange(value, low, high, field, edit.text(), range); !why.isEmpty()) {
    RefuseParameter(why);
  }
  return value;
}

}  // namespace

FontManagerTab::FontManagerTab(TabHost& host, QFont& dialog_font, AnsiCodePage code_page,
                               QWidget* parent)
    : QWidget(parent),
      host_(host),
      prompts_(host.prompts()),
      memo_codec_(code_page),
      dialog_font_(dialog_font) {
  setObjectName("TabSheet3");
  BuildLayout();
  // The font dialog starts on Arial at 13 pixels.
  dialog_font_ = QFont(QStringLiteral("Arial"));
  dialog_font_.setPointSize(qRound(13 * 72.0 / ScreenDpi()));
  ConnectHandlers();
  UpdateEncodeControls();
  ShowSelectedFont();
}

void FontManagerTab::ShowSelectedFont() {
  work_image_font_ = dialog_font_;
  EditWinFontName->setText(dialog_font_.family());
  EditWinFontSize->setText(QString::number(dialog_font_.pointSize()));
  work_font_ = {.family = dialog_font_.family().toStdString(),
                .points = dialog_font_.pointSizeF(),
                .bold = dialog_font_.weight() >= QFont::Bold,
                .italic = dialog_font_.italic(),
                .dpi = ScreenDpi()};
  const int encode = ComboBoxFontEncode->currentIndex();
  FontCell cell;
  if (const std::optional<InstalledFont> font = FindInstalledFont(work_font_)) {
    const auto renderer = FreeTypeRendererFactory(work_font_, *font)();
    const bool italic =
        dialog_font_.italic() && !dialog_font_.underline() && !dialog_font_.strikeOut();
    if (renderer) {
      cell = MeasureFontCell(*renderer, encode, RadioGroupAsiaFontEncode->ItemIndex(), italic);
    }
  }
  measured_width_ = cell.width;
  EditFontWidth->setText(QString::number(cell.width));
  EditFontHeight->setText(QString::number(cell.height));
  EditItalicWidth->setText(QString::number(cell.italic_width));
  EditPrinterFontName->setText("Font001");
  DrawSample();
}

void FontManagerTab::DrawSample() {
  QPixmap sample(kSampleWidth, kSampleHeight);
  sample.fill(Qt::white);
  QPainter painter(&sample);
  painter.setFont(work_image_font_);
  painter.setPen(Qt::black);
  painter.drawText(0, painter.fontMetrics().ascent(), "ABCD");
  painter.end();
  ImageSmaple->setPixmap(sample);
}

void FontManagerTab::UpdateEncodeControls() {
  const int encode = ComboBoxFontEncode->currentIndex();
  const bool standard = encode == kStandardEncode;
  const bool table = encode == kEncodeByTable || encode == kEncodeByTableAsian;
  for (QWidget* control :
       {GroupBoxSatndEncode, static_cast<QWidget*>(ComboBoxSEncode),
        static_cast<QWidget*>(EditCharStart), static_cast<QWidget*>(EditCharEnd)}) {
    control->setEnabled(standard);
  }
  RadioGroupAsiaFontEncode->setEnabled(encode == kAsianFontEncode);
  GroupBoxEncodeTable->setEnabled(table);
  ComboBoxFontPitch->setCurrentIndex(StartPitch(encode));
}

void FontManagerTab::ComboBoxFontEncodeChange() {
  UpdateEncodeControls();
}

void FontManagerTab::ComboBoxSEncodeChange(int index) {
  if (index == 0) {
    EditCharStart->setText("32");
    EditCharEnd->setText("127");
  } else if (index == 1) {
    EditCharStart->setText("32");
    EditCharEnd->setText("255");
  }
}

void FontManagerTab::ButtonSelectFontClick() {
  if (const std::optional<QFont> font = prompts_.ChooseFont(dialog_font_)) {
    dialog_font_ = *font;
    ShowSelectedFont();
  }
}

void FontManagerTab::ButtonPreviewFontClick() {
  TFormPreviewFont dialog(this);
  const int encode = ComboBoxFontEncode->currentIndex();
  dialog.DrawCodeChart(window()->x() + 20, window()->y() + 20, work_image_font_,
                       EncodingCodePage(encode, RadioGroupAsiaFontEncode->ItemIndex()));
  prompts_.RunDialog(dialog);
}

std::vector<std::uint8_t> FontManagerTab::ReadEncodeTable() {
  const EncodedText memo = memo_codec_.Encode(MemoFontTable->toPlainText().toStdString());
  if (!CheckBoxFileTable->isChecked() && !memo.ok) return {};
  return vantrel::ReadEncodeTable({.by_file = CheckBoxFileTable->isChecked(),
                                   .file_path = HostPath(encode_table_file_path_).string(),
                                   .memo_bytes = memo.bytes});
}

FontJob FontManagerTab::CollectFontJob(const std::string& output_path,
                                       std::vector<std::uint8_t>& table) {
  FontChoices choices{
      .encode = ComboBoxFontEncode->currentIndex(),
      .pitch = ComboBoxFontPitch->currentIndex() == 0 ? kPitchFixed : kPitchVariable,
      .language = RadioGroupAsiaFontEncode->ItemIndex(),
      .output_path = output_path};
  if (choices.encode == kStandardEncode) {
    choices.first_code = FieldNumber(*EditCharStart, "LabelStartAscii", 0, 255);
    choices.last_code = FieldNumber(*EditCharEnd, "LabelEndAscii", 0, 255);
  } else if (choices.encode != kAsianFontEncode) {
    table = ReadEncodeTable();
    const std::size_t unit = choices.encode == kEncodeByTableAsian ? 2 : 1;
    if (table.size() < unit) RefuseParameter("The encode table holds no code to make");
  }
  choices.cell_width = FieldNumber(*EditFontWidth, "LabelFontWidth", 0, kMaxCellSide);
  choices.cell_height = FieldNumber(*EditFontHeight, "LabelFontHeight", 0, kMaxCellSide);
  choices.italic_width = FieldNumber(*EditItalicWidth, "LabelItalicWidth");
  if (!CellFits(choices.cell_width, choices.cell_height)) {
    RefuseParameter(QStringLiteral("A cell of %1 x %2 dots takes %3 bytes a glyph; at most %4")
                        .arg(choices.cell_width)
                        .arg(choices.cell_height)
                        .arg(PackedGlyphBytes(choices.cell_width, choices.cell_height))
                        .arg(kMaxGlyphBytes));
  }
  const std::optional<FontJob> job = BuildFontJob(choices, table);
  if (!job) RefuseParameter("These choices make no font");
  if (CheckMeasuredWidth(job->cell_width, job->pitch) == ZeroWidth::kRefuse) {
    RefuseParameter(measured_width_ == 0
                        ? QString::fromStdString(ZeroWidthCause(work_font_.family)) +
                              "; type the width in Font Width"
                        : QStringLiteral("Font Width 0 leaves every fixed-pitch glyph empty"));
  }
  return *job;
}

bool FontManagerTab::CodesInOrder(const FontJob& job) {
  if (job.double_byte || job.index || job.first_code <= job.last_code) return true;
  prompts_.Message(kMakeFontError, QStringLiteral("%1 %2 is above %3 %4")
                                       .arg(Caption("LabelStartAscii"))
                                       .arg(job.first_code)
                                       .arg(Caption("LabelEndAscii"))
                                       .arg(job.last_code));
  return false;
}

void FontManagerTab::MakeFontThen(FontJob job, std::shared_ptr<std::vector<std::uint8_t>> table,
                                  const DownloadRequest* download, TabHost::LinkWork after) {
  if (!CodesInOrder(job)) return;
  auto made = std::make_shared<bool>(false);
  const QPoint origin = DialogOrigin(*window());
  const QString path = QString::fromStdString(job.output_path);
  host_.StartLinkWork(
      FontWorkTexts(download, host_.language()),
      [job, table, made, wanted = work_font_, after, origin](LinkLayer& link,
                                                             InterfaceKind interface) {
        FontJob run = job;
        run.cancel_requested = [&link] { return link.Cancelled(); };
        const std::optional<InstalledFont> font = FindInstalledFont(wanted);
        *made =
            font && MakeBitmapFont(run, FreeTypeRendererFactory(wanted, *font), &link.progress());
        if (!*made || !after) return kResultOk;
        link.progress().SetProgressOrigin(origin.x(), origin.y());
        return after(link, interface);
      },
      [this, made, path] {
        if (!*made) {
          prompts_.Message(
              kMakeFontError,
              "The font file " + path +
                  " could not be written: is its folder there, writable and not full?");
        }
        return *made;
      });
}

void FontManagerTab::ButtonSaveFontClick() {
  const std::optional<QString> path = prompts_.SaveFile(kAnyFile, QString());
  if (!path) return;
  auto table = std::make_shared<std::vector<std::uint8_t>>();
  const FontJob job = CollectFontJob(HostPath(*path).string(), *table);
  MakeFontThen(job, table, nullptr, nullptr);
}

void FontManagerTab::ButtonDowloadFontClick() {
  auto temporary = std::make_shared<TemporaryFontFile>();
  if (temporary->path().empty()) {
    return prompts_.Message(kMakeFontError, "No temporary folder could be made for the font");
  }
  auto table = std::make_shared<std::vector<std::uint8_t>>();
  const FontJob job = CollectFontJob(temporary->path(), *table);
  const EncodedText name = memo_codec_.Encode(EditPrinterFontName->text().toStdString());
  auto request = std::make_shared<DownloadRequest>(
      DownloadRequest{.source_path = temporary->path(),
                      .printer_name = name.bytes,
                      .device = static_cast<MemoryDevice>(ComboBoxMemoryDevice->currentIndex())});
  // A name that cannot travel in the download command is refused, never cut.
  const std::string refusal =
      name.ok ? PrinterFileNameRefusal(request->printer_name, DownloadRequest::kNameCapacity)
              : "The printer font name holds a character the code page cannot carry";
  if (!refusal.empty()) RefuseParameter(QString::fromStdString(refusal));
  MakeFontThen(job, table, request.get(),
               [request, temporary](LinkLayer& link, InterfaceKind interface) {
                 return DownloadFile(link, interface, *request);
               });
}

void FontManagerTab::ButtonFontTblLoadClick() {
  const std::optional<QString> path = prompts_.OpenFile(kAnyFile);
  if (!path) return;
  std::vector<std::uint8_t> bytes;
  const HostFileResult read = ReadHostFile(HostPath(*path), kMaxTableFileBytes, bytes);
  if (!read.ok()) {
    prompts_.Message(QStringLiteral("The table cannot be loaded."),
                     QString::fromStdString(read.detail));
    return;
  }
  encode_table_file_path_ = *path;
  // The memo shows the table up to its first NUL, as the font will use it.
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  const std::string text(bytes.begin(), end);
  MemoFontTable->setPlainText(QString::fromStdString(memo_codec_.Decode(text).utf8));
  CheckBoxFileTable->setChecked(true);
}

void FontManagerTab::ButtonFontTblSaveClick() {
  const std::optional<QString> path = prompts_.SaveFile(kAnyFile, QString());
  if (!path) return;
  QString text = MemoFontTable->toPlainText();
  text.replace('\n', "\r\n");
  const EncodedText bytes = memo_codec_.Encode(text.toStdString());
  if (!bytes.ok) {
    return prompts_.Message(
        QStringLiteral("Line %1 holds a character the code page cannot carry").arg(bytes.line));
  }
  const HostFileResult saved = ReplaceHostFile(
      HostPath(*path),
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.bytes.data()), bytes.bytes.size()));
  if (!saved.ok()) {
    prompts_.Message(QStringLiteral("The table cannot be saved."),
                     QString::fromStdString(saved.detail));
  }
}

}  // namespace vantrel::app
