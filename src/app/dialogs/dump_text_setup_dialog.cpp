#include "app/dialogs/dump_text_setup_dialog.h"

#include <QGridLayout>
#include <QPushButton>

#include "app/guard.h"
#include "app/widgets/controls.h"
#include "app/widgets/printer_text.h"

namespace vantrel::app {

TFormDumpTextSetup::TFormDumpTextSetup(DumpRequest& request, QPoint top_left,
                                       AnsiCodePage code_page, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::MSWindowsFixedSizeDialogHint),
      request_(request),
      code_page_(code_page),
      prompts_(prompts),
      RadioGroupDumpMode(new RadioGroup("RadioGroupDumpMode", "Dump Text Setup",
                                        {"Print Label", "Save to SD Card", "Save to File"},
                                        Qt::Vertical, this)),
      EditFileName(
          NewEdit(this, "EditFileName", static_cast<int>(DumpRequest::kFileNameLength), 15)) {
  setObjectName("TFormDumpTextSetup");
  setWindowTitle("Dump Text Setup");
  move(top_left);
  request_.Confirmed = 0;
  EditFileName->setText(DecodePrinterText(AnsiCodec(code_page), request.FileName));
  auto* grid = new QGridLayout(this);
  grid->addWidget(RadioGroupDumpMode, 0, 0, 1, 3);
  grid->addWidget(NewLabel(this, "Label1", "File Name:"), 1, 0);
  grid->addWidget(EditFileName, 1, 1, 1, 2);
  QPushButton* ok = NewButton(this, "ButtonOK");
  ok->setText("Set");
  QPushButton* cancel = NewButton(this, "ButtonCancel");
  cancel->setText("Cancel");
  grid->addWidget(ok, 2, 1);
  grid->addWidget(cancel, 2, 2);
  connect(ok, &QPushButton::clicked, this,
          Guarded(prompts_, this, &TFormDumpTextSetup::ButtonOKClick));
  connect(cancel, &QPushButton::clicked, this,
          Guarded(prompts_, this, &TFormDumpTextSetup::reject));
  connect(RadioGroupDumpMode, &RadioGroup::Clicked, this,
          Guarded(prompts_, this, &TFormDumpTextSetup::RadioGroupDumpModeClick));
  RadioGroupDumpMode->SetItemIndex(request.Mode);
  UpdateFileName();
  setFixedSize(sizeHint());
}

void TFormDumpTextSetup::reject() {
  request_.Confirmed = 0;
  QDialog::reject();
}

// "Save to File" always saves under the printer's fixed name, so the field is not used then.
void TFormDumpTextSetup::UpdateFileName() {
  EditFileName->setEnabled(request_.Mode == kDumpToCard);
}

void TFormDumpTextSetup::RadioGroupDumpModeClick(int index) {
  request_.Mode = index;
  UpdateFileName();
}

void TFormDumpTextSetup::ButtonOKClick() {
  request_.Mode = RadioGroupDumpMode->ItemIndex();
  const PrinterTextBytes typed = EncodePrinterText(AnsiCodec(code_page_), EditFileName->text());
  request_.FileName = typed.bytes;
  request_.Confirmed = 1;
  // Only the card's file name is sent, so only then must it fit the code page.
  if (request_.Mode == kDumpToCard && !typed.refusal.isEmpty()) {
    prompts_.Message(typed.refusal);
    return;
  }
  if (const std::string refusal = DumpRefusal(request_); !refusal.empty()) {
    prompts_.Message(QString::fromStdString(refusal));
    return;
  }
  accept();
}

}  // namespace vantrel::app
