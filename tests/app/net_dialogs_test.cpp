// "TCP/IP Setup" and "Ethernet Setup" as the user drives them, against simulated printers:
// datagrams go to loopback only (directed), the command language to the fixture's TCP printer.
#include <sys/resource.h>

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <cerrno>
#include <cstring>
#include <deque>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/dialogs/ethernet_setup_dialog.h"
#include "app/dialogs/net_setup_dialog.h"
#include "net/setup_datagrams.h"
#include "servers/sim_udp_responder.h"

namespace vantrel::app::testing {
namespace {

// Two printers answering on loopback (or, with `answering` false, a port nobody answers on)
// and a main window whose network dialog sends there.
struct NetDialogsSetup {
  explicit NetDialogsSetup(std::string address = "127.0.0.1", bool answering = true,
                           sim::SimState tcp_printer = {})
      : responder(sim::MakeSimFleet(sim::SimNetState{}, 2)) {
    if (const auto started = responder.Start({"127.0.0.1", 0}); !started.ok()) {
      throw std::runtime_error(started.detail);
    }
    const std::uint16_t port = responder.port();
    if (!answering) responder.Stop();
    app = std::make_unique<AppFixture>(
        [&](MainWindowOptions& options) {
          options.datagrams.port = port;
          options.network.address = address;
        },
        tcp_printer);
  }

  std::size_t Datagrams() const { return responder.Received().size(); }

  sim::SimUdpResponder responder;
  std::unique_ptr<AppFixture> app;
};

QTreeWidget& List(QDialog& dialog) {
  return In<QTreeWidget>(dialog, "ListView1");
}

// Discovers again, e.g. after a printer's name changed.
void RunAgain(TFormNetSetup& dialog) {
  Press(dialog, "ButtonDiscover");
  Settled(dialog);
}

void SelectRow(TFormNetSetup& dialog, int row) {
  List(dialog).clearSelection();
  List(dialog).topLevelItem(row)->setSelected(true);
}

}  // namespace

class NetDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void OpeningOnAnEmptyTargetTakesTheFirstPrinter() {
    NetDialogsSetup setup("");
    int rows = -1;
    QString shown;
    bool first_selected = false;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      rows = List(dialog).topLevelItemCount();
      shown = In<QLineEdit>(dialog, "EditIPAddr").text();
      first_selected = List(dialog).topLevelItem(0)->isSelected();
    });
    QCOMPARE(rows, 2);
    QCOMPARE(shown, QString("127.0.0.1"));
    QVERIFY(first_selected);
    // Stored on opening, though the dialog was left without "Exit".
    QCOMPARE(setup.app->window->network().address, std::string("127.0.0.1"));
  }

  void OpeningOnAnEmptyTargetWithoutPrintersProposesTheFallback() {
    NetDialogsSetup setup("", false);
    QString shown;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      shown = In<QLineEdit>(dialog, "EditIPAddr").text();
    });
    QCOMPARE(shown, QString("192.168.1.100"));
    QCOMPARE(setup.app->window->network().address, std::string("192.168.1.100"));
  }

  void ExitStoresBothFieldsOrNeither() {
    NetDialogsSetup setup("printer.local");
    QString shown;
    bool closed_on_bad_port = true;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      shown = In<QLineEdit>(dialog, "EditIPAddr").text();
      In<QLineEdit>(dialog, "EditIPAddr").setText("127.0.0.5");
      In<QLineEdit>(dialog, "EditPort").setText("91x");
      Press(dialog, "ButtonExit");
      closed_on_bad_port = dialog.result() == QDialog::Accepted;
      In<QLineEdit>(dialog, "EditPort").setText("9200");
      Press(dialog, "ButtonExit");
    });
    QCOMPARE(shown, QString("printer.local"));
    QVERIFY(!closed_on_bad_port);
    QCOMPARE(setup.app->prompts.messages.at(0).text, QString("'91x' is not a valid integer value"));
    QCOMPARE(setup.app->window->network().address, std::string("127.0.0.5"));
    QCOMPARE(setup.app->window->network().port, 9200);
  }

  void DiscoveryDisablesTheButtonsAndAClickFillsTheAddress() {
    NetDialogsSetup setup;
    bool enabled_while_running = true;
    QString clicked;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      Press(dialog, "ButtonDiscover");
      enabled_while_running = In<QPushButton>(dialog, "ButtonChangeIP").isEnabled();
      Settled(dialog);
      SelectRow(dialog, 1);
      emit List(dialog).itemClicked(List(dialog).topLevelItem(1), 0);
      clicked = In<QLineEdit>(dialog, "EditIPAddr").text();
    });
    QVERIFY(!enabled_while_running);
    QCOMPARE(clicked, QString("127.0.0.2"));
  }

  void FactoryDefaultNeedsARowAndAYes() {
    NetDialogsSetup setup;
    std::size_t after_no = 0;
    int rows_after_no = -1;
    int rows_after_yes = -1;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      List(dialog).clearSelection();
      Press(dialog, "ButtonFactoryDefault");
      Press(dialog, "ButtonChangeIP");
      SelectRow(dialog, 1);
      setup.app->prompts.answers = {false, true};
      Press(dialog, "ButtonFactoryDefault");
      after_no = setup.Datagrams();
      rows_after_no = List(dialog).topLevelItemCount();
      Press(dialog, "ButtonFactoryDefault");
      rows_after_yes = List(dialog).topLevelItemCount();
    });
    QCOMPARE(after_no, std::size_t{1});  // the opening discovery only
    QCOMPARE(rows_after_no, 2);
    QCOMPARE(rows_after_yes, 0);
    QCOMPARE(setup.app->prompts.asked.size(), std::size_t{2});
    const QString detail = setup.app->prompts.asked[0].detail;
    QVERIFY2(detail.contains("MAC 02:11:22:33:44:5B, 127.0.0.2"), qPrintable(detail));
    QVERIFY(setup.responder.WaitForReceived(2, std::chrono::seconds(5)));
    const std::vector<std::uint8_t> sent = setup.responder.Received().back();
    const auto expected = BuildFactoryDefaultRequest(2, {0x02, 0x11, 0x22, 0x33, 0x44, 0x5B});
    QVERIFY(std::equal(sent.begin(), sent.end(), expected.begin(), expected.end()));
  }

  // With no descriptor to be had, Factory Default and Change IP say why instead of doing nothing.
  // The sanitizers' own checks need descriptors too: the "No" first lets them see the prompts
  // before the limit.
  void ExchangesWithoutASocketSayWhy() {
    NetDialogsSetup setup;
    int rows = -1;
    OpenNetSetup(*setup.app, [&](TFormNetSetup& dialog) {
      SelectRow(dialog, 1);
      setup.app->prompts.answers = {false, true};
      Press(dialog, "ButtonFactoryDefault");
      rlimit saved{};
      ::getrlimit(RLIMIT_NOFILE, &saved);
      rlimit none = saved;
      none.rlim_cur = 0;
      ::setrlimit(RLIMIT_NOFILE, &none);
      Press(dialog, "ButtonFactoryDefault");
      Press(dialog, "ButtonChangeIP");
      ::setrlimit(RLIMIT_NOFILE, &saved);
      rows = List(dialog).topLevelItemCount();
    });
    QCOMPARE(rows, 2);
    QCOMPARE(setup.Datagrams(), std::size_t{1});  // the opening discovery only
    QCOMPARE(setup.app->prompts.messages.size(), std::size_t{2});
    for (const auto& message : setup.app->prompts.messages) {
      QCOMPARE(message.text, QString("Port Open Error"));
      QVERIFY2(message.detail.contains(QString::fromUtf8(std::strerror(EMFILE))),
               qPrintable(message.detail));
    }
  }

  void ChangeIpOfTheAddressOnlyKeepsAnEightBitNameByteForByte() {
    NetDialogsSetup setup;
    sim::SimNetState named = setup.responder.Printer(1);
    named.name = "B\xFCro-3";
    setup.responder.SetPrinter(1, named);
    QString listed;
    QString edited;
    OpenNetSetup(
        *setup.app,
        [&](TFormNetSetup& dialog) {
          RunAgain(dialog);
          listed = List(dialog).topLevelItem(1)->text(0);
          SelectRow(dialog, 1);
          Press(dialog, "ButtonChangeIP");
          Settled(dialog);
        },
        [&](TFormEthernetSetup& edit) {
          edited = In<QLineEdit>(edit, "EditPrinterName").text();
          In<RadioGroup>(edit, "RadioGroupDHCP").SetItemIndex(1);
          In<QLineEdit>(edit, "EditIP").setText("127.0.6.6");
          Press(edit, "ButtonSetIP");
        });
    QVERIFY(setup.responder.WaitForReceived(8, std::chrono::seconds(5)));
    QCOMPARE(setup.responder.Printer(1).ip, (sim::SimIpv4{127, 0, 6, 6}));
    QCOMPARE(setup.responder.Printer(1).name, std::string("B\xFCro-3"));
    QCOMPARE(listed, QString::fromUtf8("Büro-3"));  // 1252, the code page of en_US
    QCOMPARE(edited, listed);
  }

  // DHCP sends the addresses only along: empty ones are no reason to refuse.
  void ChangeIpToDhcpNeedsNoAddressTexts() {
    NetDialogsSetup setup;
    OpenNetSetup(
        *setup.app,
        [&](TFormNetSetup& dialog) {
          SelectRow(dialog, 1);
          Press(dialog, "ButtonChangeIP");
          Settled(dialog);
        },
        [&](TFormEthernetSetup& edit) {
          In<RadioGroup>(edit, "RadioGroupDHCP").SetItemIndex(0);
          for (const char* field : {"EditIP", "EditMask", "EditGateWay"}) {
            In<QLineEdit>(edit, field).clear();
          }
          Press(edit, "ButtonSetIP");
        });
    QVERIFY(setup.app->prompts.messages.empty());
    QVERIFY(setup.responder.WaitForReceived(7, std::chrono::seconds(5)));
    QVERIFY(setup.responder.Printer(1).dhcp);
  }

  void ChangeIpCancelledSendsNoSetAndKeepsTheList() {
    NetDialogsSetup setup;
    int rows = -1;
    QString name_shown;
    OpenNetSetup(
        *setup.app,
        [&](TFormNetSetup& dialog) {
          SelectRow(dialog, 0);
          Press(dialog, "ButtonChangeIP");
          Settled(dialog);
          rows = List(dialog).topLevelItemCount();
        },
        [&](TFormEthernetSetup& edit) {
          name_shown = In<QLineEdit>(edit, "EditPrinterName").text();
          Press(edit, "ButtonCancel");
        });
    QCOMPARE(name_shown, QString("SIM-33445A"));
    QCOMPARE(rows, 2);
    QCOMPARE(setup.Datagrams(), std::size_t{3});  // the discovery and the two gets
  }

  void ChangeIpSendsTheEditedSettingsOrRefusesThem() {
    NetDialogsSetup setup;
    int rows = -1;
    QString refused;
    OpenNetSetup(
        *setup.app,
        [&](TFormNetSetup& dialog) {
          SelectRow(dialog, 1);
          Press(dialog, "ButtonChangeIP");
          Settled(dialog);
          rows = List(dialog).topLevelItemCount();
        },
        [&](TFormEthernetSetup& edit) {
          QCOMPARE(In<QLineEdit>(edit, "EditIP").text(), QString("127.0.0.2"));
          In<QLineEdit>(edit, "EditIP").setText("127.0.6.6");
          In<QLineEdit>(edit, "EditPrinterName").setText("Dock 3");
          Press(edit, "ButtonSetPrinterName");  // all four sets go out whichever Set is pressed
        });
    QCOMPARE(rows, 0);
    QVERIFY(setup.responder.WaitForReceived(7, std::chrono::seconds(5)));
    QCOMPARE(setup.responder.Printer(1).name, std::string("Dock 3"));
    QCOMPARE(setup.responder.Printer(1).in_use, (sim::SimIpv4{127, 0, 0, 2}));

    OpenNetSetup(
        *setup.app,
        [&](TFormNetSetup& dialog) {
          SelectRow(dialog, 0);
          Press(dialog, "ButtonChangeIP");
        },
        [&](TFormEthernetSetup& edit) {
          In<RadioGroup>(edit, "RadioGroupDHCP").SetItemIndex(1);
          In<QLineEdit>(edit, "EditIP").setText("127.0.6");
          Press(edit, "ButtonSetIP");
        });
    QCOMPARE(setup.app->prompts.messages.back().text,
             QString("IP address \"127.0.6\" is not a valid IPv4 address"));
    QCOMPARE(setup.Datagrams(), std::size_t{10});  // a discovery and two gets: no set
  }

  void WebSetupOpensTheAddressFieldAsTyped() {
    NetDialogsSetup setup;
    ScriptedPrompts prompts;
    QStringList opened;
    // No browser can be started for the second click.
    std::deque<bool> started = {true, false};
    NetworkTarget target{"printer.local", 9100};
    DatagramTargets datagrams;
    datagrams.broadcast = {127, 0, 0, 1};
    datagrams.multicast.reset();
    datagrams.port = setup.responder.port();
    datagrams.discovery_wait = std::chrono::milliseconds(100);
    TFormNetSetup dialog(target, {&prompts, kEnglish, datagrams, [&](const QString& url) {
                                    opened << url;
                                    const bool ok = started.front();
                                    started.pop_front();
                                    return ok;
                                  }});
    QVERIFY(Settled(dialog));
    Press(dialog, "ButtonBrowser");
    QVERIFY(prompts.messages.empty());
    In<QLineEdit>(dialog, "EditIPAddr").clear();
    Press(dialog, "ButtonBrowser");
    QCOMPARE(opened, QStringList({"http://printer.local", "http://"}));
    QCOMPARE(prompts.messages.size(), std::size_t{1});
    QCOMPARE(prompts.messages[0].text, QString("No web browser could be started to open http://"));
    QCOMPARE(List(dialog).headerItem()->text(0), QString("Printer Nmae"));
    QCOMPARE(In<QPushButton>(dialog, "ButtonBrowser").text(), QString("Web Setup"));
  }

  void EthernetSetupShowsDhcpAndSetsTheStaticAddress() {
    sim::SimState state;
    state.net.dhcp = true;
    state.net.in_use = {127, 0, 0, 9};
    NetDialogsSetup setup("127.0.0.1", true, state);
    bool rows_enabled = true;
    QString shown_ip;
    int mode_item = -1;
    setup.app->prompts.on_dialog = [&](QDialog& dialog) {
      shown_ip = In<QLineEdit>(dialog, "EditIP").text();
      rows_enabled = In<QLineEdit>(dialog, "EditMask").isEnabled();
      mode_item = In<RadioGroup>(dialog, "RadioGroupDHCP").ItemIndex();
      In<RadioGroup>(dialog, "RadioGroupDHCP").SetItemIndex(1);
      In<QLineEdit>(dialog, "EditIP").setText("198.51.100.5");
      In<QLineEdit>(dialog, "EditMask").setText("255.0.0.0");
      In<QLineEdit>(dialog, "EditGateWay").setText("198.51.100.1");
      Press(dialog, "ButtonSetIP");
    };
    QVERIFY(setup.app->ClickAndWait("ButtonEthernet"));
    QVERIFY(setup.app->WaitIdle());
    QCOMPARE(shown_ip, QString("127.0.0.9"));
    QVERIFY(!rows_enabled);
    QCOMPARE(mode_item, 0);
    const std::string received = setup.app->Received(2);
    QVERIFY(received.ends_with("NET IP \"198.51.100.5\",\"255.0.0.0\",\"198.51.100.1\"\r\n"));
    QVERIFY(setup.app->prompts.messages.empty());
  }

  void EthernetSetupNameCancelAndRefusal() {
    NetDialogsSetup setup;
    setup.app->prompts.on_dialog = [](QDialog& dialog) {
      In<QLineEdit>(dialog, "EditPrinterName").setText("Dock 3");
      Press(dialog, "ButtonSetPrinterName");
    };
    QVERIFY(setup.app->ClickAndWait("ButtonEthernet"));
    QVERIFY(setup.app->WaitIdle());
    QVERIFY(setup.app->Received(2).ends_with("MACADDR\r\nNET NAME \"Dock 3\"\r\n"));

    setup.app->prompts.on_dialog = [](QDialog& dialog) { Press(dialog, "ButtonCancel"); };
    QVERIFY(setup.app->ClickAndWait("ButtonEthernet"));
    bool kept_open = false;
    setup.app->prompts.on_dialog = [&](QDialog& dialog) {
      auto& name = In<QLineEdit>(dialog, "EditPrinterName");
      name.setText("a\"b");
      Press(dialog, "ButtonSetPrinterName");
      kept_open = dialog.result() != QDialog::Accepted && name.selectedText() == "a\"b";
      Press(dialog, "ButtonCancel");
    };
    QVERIFY(setup.app->ClickAndWait("ButtonEthernet"));
    QVERIFY(kept_open);
    QCOMPARE(setup.app->prompts.messages.back().text,
             QString("The printer name must not contain a double quote or a control character"));
    QVERIFY(setup.app->Received(4).ends_with("MACADDR\r\n"));  // two reads, nothing set
    QCOMPARE(setup.app->server.ConnectionCount(), std::size_t{4});
  }

  // A name in the locale's code page is shown decoded and goes back byte for byte unless
  // edited; a character the code page lacks is refused while the dialog stays open.
  void EthernetSetupWritesNamesInTheLocalesCodePage() {
    sim::SimState state;
    state.net.name = "\xA6\x4C\xAA\xED\xBE\xF7";  // 印表機 in Big5
    AppFixture app([](MainWindowOptions& options) { options.locale_name = "zh_TW"; }, state);
    QString shown;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      shown = In<QLineEdit>(dialog, "EditPrinterName").text();
      Press(dialog, "ButtonSetPrinterName");
    };
    QVERIFY(app.ClickAndWait("ButtonEthernet"));
    QVERIFY(app.WaitIdle());
    QCOMPARE(shown, QString::fromUtf8("印表機"));
    QVERIFY(app.Received(2).ends_with("NET NAME \"\xA6\x4C\xAA\xED\xBE\xF7\"\r\n"));

    bool kept_open = false;
    app.prompts.on_dialog = [&](QDialog& dialog) {
      auto& name = In<QLineEdit>(dialog, "EditPrinterName");
      name.setText(QString::fromUtf8("印表機한"));
      Press(dialog, "ButtonSetPrinterName");
      kept_open = dialog.result() != QDialog::Accepted && name.hasSelectedText();
      name.setText(QString::fromUtf8("印表機2"));
      Press(dialog, "ButtonSetPrinterName");
    };
    QVERIFY(app.ClickAndWait("ButtonEthernet"));
    QVERIFY(app.WaitIdle());
    QVERIFY(kept_open);
    QCOMPARE(app.prompts.messages.back().text,
             QString::fromUtf8("'한' cannot be written in the printer's code page 950"));
    QVERIFY(
        app.Received(4).ends_with("NET NAME \"\xA6\x4C\xAA\xED\xBE\xF7"
                                  "2\"\r\n"));
  }
};

VANTREL_APP_TEST(NetDialogsTest);

}  // namespace vantrel::app::testing
#include "net_dialogs_test.moc"
