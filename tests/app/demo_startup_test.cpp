// Start-up on ETHERNET against the simulated printer, as `vantrel --demo` does, and Set over it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QTest>

#include "app/app_fixture.h"
#include "app/app_test_registry.h"
#include "app/widgets/radio_group.h"
#include "support/expected_write.h"

namespace vantrel::app::testing {
namespace {

using vantrel::testing::ExpectedWrite;

// A loopback port that nothing listens on: connections to it are refused.
int RefusingPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace

class DemoStartupTest : public QObject {
  Q_OBJECT

 private slots:
  // A printer named on the command line that cannot be reached says so at start-up, and the
  // status bar names it.
  void StartUpOnANamedPrinterThatRefusesSaysWhy() {
    const int port = RefusingPort();
    AppFixture app([port](MainWindowOptions& options) { options.network.port = port; });
    QCOMPARE(app.Find<QLabel>("StatusBar1Panel2").text(), QString("127.0.0.1:%1").arg(port));
    app.window->StartUp();
    QVERIFY(app.WaitIdle());
    QCOMPARE(app.prompts.messages.size(), std::size_t{1});
    QCOMPARE(app.prompts.messages[0].text, QString("Port Open Error"));
    QVERIFY(app.prompts.messages[0].detail.contains("refused"));
  }

  void StartUpReadsAndShowsTheSimulatedPrinter() {
    AppFixture app;
    app.window->StartUp();
    QVERIFY(app.WaitIdle());
    QVERIFY(app.prompts.messages.empty());
    QCOMPARE(app.Text("EditVersion"), QString("SIM 1.00"));
    QCOMPARE(app.Text("EditSerial"), QString("SIM0000001"));
    QCOMPARE(app.Text("EditWidth"), QString("4.00"));
    QCOMPARE(app.Find<QComboBox>("ComboBoxMediaSensor").currentIndex(), 1);
    // The start-up read shows no progress window; only the probe and the read connected.
    QCOMPARE(app.server.ConnectionCount(), std::size_t{2});
    const QString dir = qEnvironmentVariable("VANTREL_SCREENSHOT_DIR", QDir::tempPath());
    app.window->show();
    QVERIFY(app.window->grab().save(dir + "/main_window_demo.png"));
  }

  void SetOnEachPageSendsExactlyThatBlock() {
    AppFixture app;
    app.Find<RadioGroup>("RadioGroupUnit").SetItemIndex(kUnitMm);  // lengths show exactly
    QVERIFY(app.ClickAndWait("ButtonRead"));
    std::size_t connections = 1;
    for (int block = kBlockCommon; block <= kBlockD; ++block) {
      app.Find<QTabWidget>("PageControl2").setCurrentIndex(block);
      app.Received(connections);
      app.server.ClearReceived();
      QVERIFY(app.ClickAndWait("ButtonConfigSet"));
      const std::string expected = ExpectedWrite(app.window->config(), block);
      QVERIFY(!expected.empty());
      QCOMPARE(app.Received(++connections), expected);
    }
    QVERIFY(app.prompts.messages.empty());
  }
};

VANTREL_APP_TEST(DemoStartupTest);

}  // namespace vantrel::app::testing

#include "demo_startup_test.moc"
