#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPoint>

#include "app/prompts.h"
#include "app/widgets/radio_group.h"
#include "common/ansi_code_page.h"
#include "ops/dump_text.h"

namespace vantrel::app {

// "Dump Text Setup": chooses where the printer's text dump goes. Its texts are English in
// every language. The file name is used, and editable, only for the memory card. "Set" closes
// once the request can be sent; otherwise it says why and stays open. Leaving it any other
// way sets Confirmed to 0.
class TFormDumpTextSetup : public QDialog {
  Q_OBJECT

 public:
  // The card's file name is sent in `code_page`, the locale's code page of printer texts.
  TFormDumpTextSetup(DumpRequest& request, QPoint top_left, AnsiCodePage code_page,
                     Prompts& prompts, QWidget* parent = nullptr);

  void reject() override;

 private:
  void UpdateFileName();
  void RadioGroupDumpModeClick(int index);
  void ButtonOKClick();

  DumpRequest& request_;
  AnsiCodePage code_page_;
  Prompts& prompts_;
  RadioGroup* RadioGroupDumpMode;
  QLineEdit* EditFileName;
};

}  // namespace vantrel::app
