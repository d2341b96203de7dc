#include "app/dialogs/rs232_setup_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "app/guard.h"
#include "app/widgets/controls.h"
#include "app/widgets/language.h"
#include "link/port_name_number.h"

namespace vantrel::app {
namespace {

// The designed client area and list width: the least they take, a larger font or a longer
// caption or port item widens them.
constexpr QSize kDesignedSize(369, 311);
constexpr int kListWidth = 145;

QStringList PortItems(const std::vector<SerialPortEntry>& present_ports) {
  QStringList items;
  for (int n = 1; n <= kMaxComPort; ++n) items << QStringLiteral("COM%1").arg(n);
  for (std::size_t i = 0; i < present_ports.size() && i < static_cast<std::size_t>(kMaxComPort);
       ++i) {
    items[static_cast<qsizetype>(i)] += "  " + QString::fromStdString(present_ports[i].device);
  }
  return items;
}

}  // namespace

TFormRs232Setup::TFormRs232Setup(SerialSettings& settings, LanguageIndex language,
                                 const std::vector<SerialPortEntry>& present_ports,
                                 Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), settings_(settings) {
  setObjectName("TFormRs232Setup");
  setWindowTitle("RS232 Setup");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(24, 16, 14, 6);
  grid->setVerticalSpacing(10);
  grid->setHorizontalSpacing(12);
  const std::array<std::pair<const char*, const char*>, 7> rows = {{
      {"LabelComPort", "ComboBoxComPort"},
      {"LabelBaudRate", "ComboBoxBaudRate"},
      {"LabelDataBits", "ComboBoxDataBit"},
      {"LabelParityCheck", "ComboBoxParity"},
      {"LabelStopBits", "ComboBoxStopBit"},
      {"LabelHardwareS", "ComboBoxHdShak"},
      {"LabelSoftwareS", "ComboBoxSWShak"},
  }};
  const std::array<QStringList, 7> items = {
      PortItems(present_ports),
      {"2400", "4800", "9600", "19200", "38400", "57600", "115200", ""},
      {"7", "8"},
      {"None", "Odd", "Even"},
      {"1", "1.5", "2"},
      {"None", "RTS", "RTS/CTS"},
      {"None", "Xon/Xoff"},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i);
    grid->addWidget(NewLabel(this, rows[i].first), row, 0);
    lists_[i] = NewList(this, rows[i].second, items[i]);
    lists_[i]->setMinimumWidth(kListWidth);
    grid->addWidget(lists_[i], row, 1, Qt::AlignLeft);
  }
  grid->setRowStretch(static_cast<int>(rows.size()), 1);
  auto* buttons = new QVBoxLayout;
  QPushButton* set = NewButton(this, "ButtonSet");
  QPushButton* cancel = NewButton(this, "ButtonCancel");
  buttons->addWidget(set);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, static_cast<int>(rows.size()) + 1, 1, Qt::AlignRight);
  connect(set, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormRs232Setup::ButtonSetClick));
  connect(cancel, &QPushButton::clicked, this,
          Guarded(prompts, this, &TFormRs232Setup::ButtonCancelClick));
  ApplyLocalizedTexts(*this, Rs232SetupTexts(), language);
  setFixedSize(kDesignedSize.expandedTo(sizeHint()));

  // A name that is no "COMn" of the list (a device path) selects no port item.
  const std::optional<int> port = PortNameNumber(settings.port_name, "COM", kMaxComPort);
  lists_[0]->setCurrentIndex(port ? *port - 1 : -1);
  const std::array<int, 6> indexes = {
      settings.baud_rate_index,
      settings.data_bits_index,
      settings.parity_index,
      settings.stop_bits_index,
      settings.hardware_handshake_index,
      settings.software_handshake_index,
  };
  for (std::size_t i = 0; i < indexes.size(); ++i) lists_[i + 1]->setCurrentIndex(indexes[i]);
}

void TFormRs232Setup::ButtonSetClick() {
  // Without a chosen port item the record keeps its port (it may name a device path).
  if (lists_[0]->currentIndex() >= 0) {
    settings_.port_name = QStringLiteral("COM%1").arg(lists_[0]->currentIndex() + 1).toStdString();
  }
  settings_.baud_rate_index = lists_[1]->currentIndex();
  settings_.data_bits_index = lists_[2]->currentIndex();
  settings_.parity_index = lists_[3]->currentIndex();
  settings_.stop_bits_index = lists_[4]->currentIndex();
  settings_.hardware_handshake_index = lists_[5]->currentIndex();
  settings_.software_handshake_index = lists_[6]->currentIndex();
  accept();
}

void TFormRs232Setup::ButtonCancelClick() {
  reject();
}

}  // namespace vantrel::app
