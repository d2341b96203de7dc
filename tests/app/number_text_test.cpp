// Number texts of the configuration tab and the serial summary of the status bar.
#include "app/widgets/number_text.h"

#include <QTest>

#include "app/app_test_registry.h"
#include "app/widgets/status_bar_formats.h"
#include "app/widgets/typing_limit.h"

namespace vantrel::app::testing {

class NumberTextTest : public QObject {
  Q_OBJECT

 private slots:
  void IntegersAcceptSignsAndSpacesOnly() {
    QCOMPARE(IntegerFromText("42"), 42);
    QCOMPARE(IntegerFromText(" -120 "), -120);
    QCOMPARE(IntegerFromText("+7"), 7);
    QCOMPARE(IntegerFromText("2147483647"), 2147483647);
    for (const char* bad : {"", "abc", "1.5", "2147483648", "12x", "+-1", "--1"}) {
      QVERIFY_THROWS_EXCEPTION(ConversionError, IntegerFromText(bad));
    }
    try {
      IntegerFromText("x1");
      QFAIL("no error");
    } catch (const ConversionError& e) {
      QCOMPARE(QString(e.what()), QString("'x1' is not a valid integer value"));
    }
  }

  void RealsAreLocaleFreeAndFinite() {
    QCOMPARE(RealFromText("4.5"), 4.5);
    QCOMPARE(RealFromText(" 1e2"), 100.0);
    QCOMPARE(RealFromText("-.25"), -0.25);
    for (const char* bad : {"4,5", "abc", "inf", "nan", "1e999", "", "4.5mm"}) {
      QVERIFY_THROWS_EXCEPTION(ConversionError, RealFromText(bad));
    }
    try {
      RealFromText("abc");
      QFAIL("no error");
    } catch (const ConversionError& e) {
      QCOMPARE(QString(e.what()), QString("'abc' is not a valid floating point value"));
    }
  }

  // The fewest digits that read back as the very value stored.
  void StoredRealsShowTheShortestTextThatReadsBack() {
    const std::pair<float, const char*> cases[] = {
        {3.0f, "3"},       {2.5f, "2.5"},
        {2.2f, "2.2"},     {0.1f, "0.1"},
        {-4.5f, "-4.5"},   {16777216.0f, "16777216"},
        {1e-45f, "1e-45"}, {3.4028235e38f, "3.4028235e+38"},
    };
    for (const auto& [value, text] : cases) {
      QCOMPARE(GeneralRealText(value), QString(text));
      QCOMPARE(static_cast<float>(RealFromText(text)), value);
    }
  }

  // A limit stops typing only: a longer value the program shows stays whole and may shrink.
  void TypingLimitCutsTypingButNotShownValues() {
    QLineEdit edit;
    edit.setValidator(new TypingLimit(&edit, 2));
    QTest::keyClicks(&edit, "123");
    QCOMPARE(edit.text(), QString("12"));
    ShowUncut(edit, "-1200");
    QCOMPARE(edit.text(), QString("-1200"));
    QTest::keyClicks(&edit, "7");
    QCOMPARE(edit.text(), QString("-1200"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("-120"));
  }

  void ClockIsTheSameInEveryLocale() {
    const QDateTime morning(QDate(2026, 12, 7), QTime(10, 26, 5));
    QCOMPARE(ClockText(morning), QString("2026/12/07 10:26:05"));
    QCOMPARE(ClockText(morning.addSecs(3600 * 12)), QString("2026/12/07 22:26:05"));
  }

  void SerialSummaryFollowsTheLinkRules() {
    QCOMPARE(SerialSummary({}), QString("COM1 9600,N,8,1 RTS "));
    SerialSettings odd;
    odd.port_name = "COM7";
    odd.baud_rate_index = 6;
    odd.data_bits_index = 0;
    odd.parity_index = 1;
    odd.stop_bits_index = 1;
    odd.hardware_handshake_index = 0;
    odd.software_handshake_index = 1;
    QCOMPARE(SerialSummary(odd), QString("COM7 115200,O,7,1.5 None Xon/Xoff"));
    SerialSettings outside;
    outside.baud_rate_index = 7;
    outside.parity_index = 9;
    outside.data_bits_index = -1;
    outside.stop_bits_index = 5;
    outside.hardware_handshake_index = 4;
    outside.software_handshake_index = 3;
    QCOMPARE(SerialSummary(outside), QString("COM1 9600,N,8,1 RTS/CTS "));
  }
};

VANTREL_APP_TEST(NumberTextTest);

}  // namespace vantrel::app::testing

#include "number_text_test.moc"
