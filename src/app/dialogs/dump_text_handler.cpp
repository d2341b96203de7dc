// "Dump Text": the dialog chooses where the dump goes and operation 4 starts it. A dump saved in
// the printer is then loaded back (operation 20) and saved where the user chooses.
#include <QFile>

#include "app/dialogs/dump_text_setup_dialog.h"
#include "app/main_window.h"
#include "common/host_file.h"
#include "ops/dispatcher.h"

namespace vantrel::app {

void TFormMain::ButtonDumpClick() {
  auto request = std::make_shared<DumpRequest>();
  TFormDumpTextSetup dialog(*request, DialogOrigin(), code_page_, *prompts_, this);
  prompts_->RunDialog(dialog);
  if (request->Confirmed == 0) return;
  RunOperation(kOpDumpText, request.get(), 0, [this, request] {
    if (request->Mode == kDumpToFile) LoadDumpFile();
  });
}

// The question is the printer's time to write the file before it is asked for it.
void TFormMain::LoadDumpFile() {
  if (!prompts_->Confirm("Press OK to load file.")) return;
  auto load = std::make_shared<LoadRequest>(DumpFileLoadRequest());
  RunOperation(kOpLoadFile, load.get(), 0,
               [this, load] { SaveDumpFile(std::move(load->received)); });
}

void TFormMain::SaveDumpFile(std::vector<std::uint8_t> bytes) {
  const bool cut = CutToDumpLimit(bytes);
  const std::optional<QString> path = prompts_->SaveFile("*.*", QString());
  if (!path) return;
  const HostFileResult saved =
      ReplaceHostFile(std::filesystem::path(QFile::encodeName(*path).toStdString()), bytes);
  if (!saved.ok()) {
    prompts_->Message(QString::fromLatin1(ResultMessage(kResultFileOpenError).data()),
                      QString::fromStdString(saved.detail));
  } else if (cut) {
    prompts_->Message(QStringLiteral("The dump was longer than %1 bytes: only the first %1 "
                                     "were saved")
                          .arg(kDumpFileLimit));
  }
}

}  // namespace vantrel::app
