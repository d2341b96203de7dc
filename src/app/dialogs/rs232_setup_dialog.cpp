#include "app/dialogs/rs232_setup_dialog.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>

#include "app/widgets/language.h"
#include "link/port_name_number.h"

namespace vantrel::app {
namespace {

constexpr int kCaptionWidth = 165;

QStringList PortItems(const std::vector<SerialPortEntry>& present_ports) {
  QStringList items;
  for (int n = 1; n <= kMaxComPort; ++n) items << QStringLiteral("COM%1").arg(n);
  for (std::size_t i = 0; i < present_ports.size() && i < static_cast<std::size_t>(kMaxComPort);
       ++i) {
    items[static_cast<qsizetype>(i)] += "  " + QString::fromStdString(present_ports[i].device);
  }
  return items;
}

QPushButton* NewDialogButton(QDialog* dialog, const char* name, int top) {
  auto* button = new QPushButton(dialog);
  button->setObjectName(name);
  button->setGeometry(280, top, 75, 25);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TFormRs232Setup::TFormRs232Setup(SerialSettings& settings, LanguageIndex language,
                                 const std::vector<SerialPortEntry>& present_ports, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), settings_(settings) {
  setObjectName("TFormRs232Setup");
  setWindowTitle("RS232 Setup");
  setFixedSize(369, 311);
  AddRow(0, "LabelComPort", "ComboBoxComPort", PortItems(present_ports));
  AddRow(1, "LabelBaudRate", "ComboBoxBaudRate",
         {"2400", "4800", "9600", "19200", "38400", "57600", "115200", ""});
  AddRow(2, "LabelDataBits", "ComboBoxDataBit", {"7", "8"});
  AddRow(3, "LabelParityCheck", "ComboBoxParity", {"None", "Odd", "Even"});
  AddRow(4, "LabelStopBits", "ComboBoxStopBit", {"1", "1.5", "2"});
  AddRow(5, "LabelHardwareS", "ComboBoxHdShak", {"None", "RTS", "RTS/CTS"});
  AddRow(6, "LabelSoftwareS", "ComboBoxSWShak", {"None", "Xon/Xoff"});
  connect(NewDialogButton(this, "ButtonSet", 248), &QPushButton::clicked, this,
          &TFormRs232Setup::ButtonSetClick);
  connect(NewDialogButton(this, "ButtonCancel", 280), &QPushButton::clicked, this,
          &TFormRs232Setup::ButtonCancelClick);
  ApplyLocalizedTexts(*this, Rs232SetupTexts(), language);
  FitCaptions();

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

void TFormRs232Setup::AddRow(int row, const char* label, const char* list,
                             const QStringList& items) {
  const int top = 16 + 32 * row;
  auto* caption = new QLabel(this);
  caption->setObjectName(label);
  caption->setGeometry(24, top + 3, kCaptionWidth, 17);
  auto* combo = new QComboBox(this);
  combo->setObjectName(list);
  combo->addItems(items);
  combo->setGeometry(192, top, 145, 22);
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 24);
  lists_[static_cast<std::size_t>(row)] = combo;
}

// The designed geometry holds the captions at the usual fonts; a larger font or a longer
// caption moves the lists and buttons right and widens the dialog to match.
void TFormRs232Setup::FitCaptions() {
  int widest = 0;
  for (QLabel* caption : findChildren<QLabel*>()) {
    widest = std::max(widest, caption->sizeHint().width());
  }
  const int extra = std::max(0, widest - kCaptionWidth);
  if (extra == 0) return;
  for (QWidget* control : findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(control) != nullptr) {
      control->resize(widest, control->height());
    } else if (control->parentWidget() == this) {
      control->move(control->x() + extra, control->y());
    }
  }
  setFixedSize(width() + extra, height());
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
