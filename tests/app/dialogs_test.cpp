// The serial and parallel settings dialogs, opened from "Setup" as the user would, and the
// message box.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"

namespace vantrel::app::testing {
namespace {

QComboBox& ListOf(QDialog& dialog, const char* name) {
  return *dialog.findChild<QComboBox*>(QLatin1String(name));
}

void Press(QDialog& dialog, const char* button) {
  dialog.findChild<QPushButton*>(QLatin1String(button))->click();
}

QString SerialPanel(const AppFixture& app) {
  return app.Find<QLabel>("StatusBar1Panel1").text();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void Rs232SetStoresAndReopensOnTheSameItems() {
    AppFixture app;
    app.Choose("ComboBoxInterFace", kInterfaceCom);
    app.prompts.on_dialog = [](QDialog& dialog) {
      QCOMPARE(dialog.objectName(), QString("TFormRs232Setup"));
      QCOMPARE(dialog.size(), QSize(369, 311));
      QCOMPARE(ListOf(dialog, "ComboBoxComPort").count(), 30);
      ListOf(dialog, "ComboBoxComPort").setCurrentIndex(11);
      ListOf(dialog, "ComboBoxBaudRate").setCurrentIndex(7);  // the empty eighth item
      ListOf(dialog, "ComboBoxParity").setCurrentIndex(2);
      ListOf(dialog, "ComboBoxSWShak").setCurrentIndex(1);
      Press(dialog, "ButtonSet");
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(app.window->serial().port_name, std::string("COM12"));
    QCOMPARE(app.window->serial().baud_rate_index, 7);
    QCOMPARE(SerialPanel(app), QString("COM12 9600,E,8,1 RTS Xon/Xoff"));

    int port_item = -1;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      port_item = ListOf(dialog, "ComboBoxComPort").currentIndex();
      Press(dialog, "ButtonCancel");
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(port_item, 11);
  }

  void Rs232CancelLeavesSettingsAndRefreshesStatusBar() {
    AppFixture app;
    app.Choose("ComboBoxInterFace", kInterfaceCom);
    app.Find<QLabel>("StatusBar1Panel1").clear();
    app.prompts.on_dialog = [](QDialog& dialog) {
      ListOf(dialog, "ComboBoxComPort").setCurrentIndex(4);
      ListOf(dialog, "ComboBoxDataBit").setCurrentIndex(0);
      Press(dialog, "ButtonCancel");
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(app.window->serial().port_name, std::string("COM1"));
    QCOMPARE(app.window->serial().data_bits_index, 1);
    QCOMPARE(SerialPanel(app), QString("COM1 9600,N,8,1 RTS "));
  }

  void Rs232ShowsDevicesAndTheLanguage() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("sys/ttyUSB0"));
    AppFixture app([&](MainWindowOptions& o) {
      o.locale_name = "zh_TW";
      o.serial_devices = {root.filePath("sys").toStdString(), "/dev"};
    });
    app.Choose("ComboBoxInterFace", kInterfaceCom);
    QString first_port, caption, title;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      first_port = ListOf(dialog, "ComboBoxComPort").itemText(0);
      caption = dialog.findChild<QLabel*>("LabelComPort")->text();
      title = dialog.windowTitle();
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(first_port, QString("COM1  /dev/ttyUSB0"));
    QCOMPARE(caption, QString("COM 連接埠"));
    QCOMPARE(title, QString("RS232 Setup"));
  }

  void LptSetStoresAndCancelKeeps() {
    AppFixture app;
    app.Choose("ComboBoxInterFace", kInterfaceLpt);
    app.prompts.on_dialog = [](QDialog& dialog) {
      QCOMPARE(dialog.objectName(), QString("TFormLPTSetup"));
      QCOMPARE(dialog.size(), QSize(315, 88));
      QCOMPARE(dialog.findChild<QPushButton*>("ButtonCancel")->text(), QString("Cancel"));
      // Each port names its device, present or not.
      QCOMPARE(ListOf(dialog, "ComboBoxLPT").itemText(0), QString("LPT1  /dev/lp0"));
      QCOMPARE(ListOf(dialog, "ComboBoxLPT").itemText(3), QString("LPT4  /dev/lp3"));
      ListOf(dialog, "ComboBoxLPT").setCurrentIndex(2);
      Press(dialog, "ButtonSet");
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(app.window->parallel().name, std::string("LPT3"));
    QCOMPARE(app.Find<QLabel>("StatusBar1Panel0").text(), QString("LPT3"));

    int reopened = -1;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      reopened = ListOf(dialog, "ComboBoxLPT").currentIndex();
      ListOf(dialog, "ComboBoxLPT").setCurrentIndex(0);
      Press(dialog, "ButtonCancel");
    };
    app.Find<QPushButton>("ButtonInterFace").click();
    QCOMPARE(reopened, 2);
    QCOMPARE(app.window->parallel().name, std::string("LPT3"));
  }

  void UsbOpensNoDialog() {
    AppFixture app;
    app.Choose("ComboBoxInterFace", kInterfaceUsb);
    app.Find<QPushButton>("ButtonInterFace").setEnabled(true);
    app.Find<QPushButton>("ButtonInterFace").click();
    QVERIFY(app.prompts.dialogs.empty());
  }

  // A failure's cause and the hint under it are read in the box, not behind "Show Details...".
  void MessageBoxShowsItsDetailInTheBox() {
    QWidget parent;
    DialogPrompts prompts(&parent);
    QString shown;
    QTimer::singleShot(0, [&shown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->informativeText() + '|' + box->detailedText();
        box->accept();
      }
    });
    prompts.Message("Port Open Error", "cannot open /dev/usb/lp0\nrun vantrel-cli doctor");
    QCOMPARE(shown, QString("cannot open /dev/usb/lp0\nrun vantrel-cli doctor|"));
  }
};

VANTREL_APP_TEST(DialogsTest);

}  // namespace vantrel::app::testing

#include "dialogs_test.moc"
