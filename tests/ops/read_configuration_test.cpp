#include "ops/read_configuration.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ops/config_report_steps.h"
#include "ops/dispatcher.h"
#include "support/progress_recorder.h"
#include "support/scripted_config_printer.h"

namespace vantrel {
namespace {

using testing::Frame;
using testing::Question;
using testing::Script;
using testing::ScriptedConfigPrinter;
using testing::ScriptedOpener;

// Steps 7 to 35: every printer is asked these.
const std::vector<std::string> kCommonNames = {
    "SPEED",    "DENSITY",   "DENSITYBASE", "PAPERWIDTH",  "PAPERHEIGHT", "SENSORMODE",
    "GAPSIZE",  "GAPOFFSET", "PRINTOUT",    "CUTTERPIECE", "REFERENCEX",  "REFERENCEY",
    "DIRCTION", "MIRROR",    "OFFSET",      "OFFSETBASE",  "SHIFT",       "SHIFTBASE",
    "RIBBON",   "CODEPAGE",  "COUNTRY",     "HEAD",        "GAPINTEN",    "BLINEINTEN",
    "CONINTEN", "BAUDRATE",  "DATABIT",     "PARITY",      "STOPBIT",
};
// Steps 36 to 39: older printers do not know these.
const std::vector<std::string> kToleratedNames = {"REPRINT", "SHIFTX", "SHIFTXBASE", "EDITION"};
const std::vector<std::string> kEmulationNames = {
    "ZDARKNESS",      "ZSPEED",          "ZPOSITION",     "ZPRINTMODE",    "ZLABELWIDTH",
    "ZCONTROL",       "ZFORMAT",         "ZDELIMITER",    "ZFEEDPOWERUP",  "ZFEEDHEADCLOSE",
    "ZLABELTOP",      "ZLABELSHIFT",     "DHEAT",         "DSPEED",        "DLABELWIDTH",
    "DPRESENTSENSOR", "DCUTTEREQUIPPED", "DCONTROLCODES", "DCOLUMNOFFSET", "DROWOFFSET",
};

std::string Questions(std::span<const std::string> names) {
  std::string questions;
  for (const auto& name : names) questions += Question(name);
  return questions;
}

// The announcement and the resolution open every read.
std::string Head() {
  return "\r\nDIAGNOSTIC INTERFACE NET\r\n" + Question("DPI");
}

// Everything a full read sends, in order: one write each time it waits for the printer. The
// head goes out with the identity and the serial number, the common questions with the first
// one an older printer may not know, each later such question on its own.
std::vector<std::string> ExpectedChunks(bool with_emulation) {
  std::vector<std::string> chunks = {
      Head() + Question("VERSION") + Question("MILAGE") + Question("CHECKSUM") + "OUT _SERIAL$\r\n",
      Questions(kCommonNames) + Question("REPRINT"), Question("SHIFTX"), Question("SHIFTXBASE"),
      Question("EDITION")};
  if (with_emulation) chunks.push_back(Questions(kEmulationNames));
  return chunks;
}

template <typename T>
std::optional<double> Got(const Item<T>& item) {
  return item.set() ? std::optional<double>(static_cast<double>(item.value)) : std::nullopt;
}

int SetEmulationItems(const PrinterConfig& c) {
  int count = 0;
  for (const auto* item :
       {&c.DarknessZ, &c.PrintSpeedZ, &c.TearOffZ, &c.PrintModeZ, &c.PrintWidthZ, &c.MediaPowerUpZ,
        &c.HeadCloseZ, &c.LabelTopZ, &c.LeftPositionZ, &c.HeatD, &c.LabelWidthD, &c.PresentSensorD,
        &c.CutterEquippedD, &c.ControlCodesD, &c.ColumnOffsetD, &c.RowOffsetD}) {
    count += item->set() ? 1 : 0;
  }
  for (const auto* item : {&c.ControlPrefixZ, &c.FormatPrefixZ, &c.DelimiterCharZ}) {
    count += item->set() ? 1 : 0;
  }
  return count + (c.PrintSpeedD.set() ? 1 : 0);
}

class ReadConfigurationTest : public ::testing::Test {
 protected:
  ReadConfigurationTest() : script_(std::make_shared<Script>()), link_(ScriptedOpener(script_)) {
    link_.progress().SetEndDelay(std::chrono::milliseconds(0));
    ResetConfig(config_);
  }

  ResultCode Read(const ScriptedConfigPrinter& printer) {
    printer.AnswerOn(*script_);
    return ReadConfiguration(link_, kInterfaceEthernet, config_);
  }

  std::shared_ptr<Script> script_;
  LinkLayer link_;
  PrinterConfig config_;
};

TEST_F(ReadConfigurationTest, FullReadAsksEveryQuestionInOrderAndFillsTheRecord) {
  ASSERT_EQ(Read(ScriptedConfigPrinter::Full()), kResultOk);
  EXPECT_EQ(script_->chunks, ExpectedChunks(true));
  EXPECT_EQ(script_->opens, 1);
  EXPECT_EQ(script_->closes, 1);

  const PrinterConfig& c = config_;
  EXPECT_TRUE(c.Dpi.set());
  EXPECT_EQ(c.Dpi.value, 203.0F);
  EXPECT_EQ(c.DotsPerMm, 8.0F);
  EXPECT_EQ(TextView(c.Version), "V1.23 EZ");
  EXPECT_EQ(TextView(c.Milage), "12.5");
  EXPECT_EQ(TextView(c.Checksum), "A1B2");
  EXPECT_EQ(TextView(c.SerialNo), "SN-0001");
  EXPECT_EQ(Got(c.Speed), 4.0);
  EXPECT_EQ(Got(c.PaperWidth), 101.5);
  EXPECT_EQ(Got(c.PaperHeight), 50.75);
  EXPECT_EQ(Got(c.GapSize), 3.0);
  EXPECT_EQ(Got(c.Offset), -3);
  EXPECT_EQ(Got(c.CodePage), 35);
  EXPECT_EQ(Got(c.CountryCode), 17);
  EXPECT_EQ(Got(c.BaudRate), 4);
  EXPECT_EQ(Got(c.DataBits), 1);
  EXPECT_EQ(Got(c.ShiftX), -8);
  EXPECT_EQ(c.Edition, 100);
  EXPECT_EQ(SetEmulationItems(c), 20);
  EXPECT_EQ(Got(c.ControlPrefixZ), '#');
  EXPECT_EQ(Got(c.PrintWidthZ), 812);
}

TEST_F(ReadConfigurationTest, BelowEdition100NoEmulationQuestionIsAsked) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers["EDITION"] = "99";
  // A record that is not fresh: the emulation items it holds are not the printer's.
  config_.DarknessZ.Set(3);
  config_.PrintSpeedD.Set(2.0F);
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_EQ(script_->chunks, ExpectedChunks(false));
  EXPECT_EQ(config_.Edition, 99);
  EXPECT_EQ(SetEmulationItems(config_), 0);
}

// Older printers do not know the last four questions: the first one unanswered ends the read,
// successfully, with that item and everything after it unset.
class ToleratedStepTest : public ReadConfigurationTest,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(ToleratedStepTest, UnansweredQuestionEndsTheReadWithSuccess) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  const std::string_view unanswered = GetParam();
  printer.answers.erase(std::string(unanswered));
  if (unanswered == "EDITION") config_.Edition = 5;  // must not survive an unanswered EDITION
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_TRUE(script_->chunks.back().ends_with(Question(unanswered)));
  EXPECT_EQ(script_->closes, 1);
  EXPECT_EQ(config_.Edition, 0);
  EXPECT_EQ(SetEmulationItems(config_), 0);
  EXPECT_EQ(config_.ReprintAfterError.set(), unanswered != "REPRINT");
  EXPECT_EQ(config_.ShiftXBase.set(), unanswered == "EDITION");
}

INSTANTIATE_TEST_SUITE_P(OlderPrinters, ToleratedStepTest,
                         ::testing::Values("REPRINT", "SHIFTX", "SHIFTXBASE", "EDITION"));

TEST_F(ReadConfigurationTest, MalformedToleratedAnswerIsToleratedToo) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.raw["SHIFTX"] = "{9|-8}";
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_FALSE(config_.ShiftX.set());
  EXPECT_EQ(script_->chunks.back(), Question("SHIFTX"));
}

// A resolution that gives no whole dots per millimetre would later be divided by.
class ResolutionTest : public ReadConfigurationTest,
                       public ::testing::WithParamInterface<const char*> {};

TEST_P(ResolutionTest, UnusableResolutionFailsTheReadBeforeAnyOtherAnswer) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers["DPI"] = GetParam();
  EXPECT_EQ(Read(printer), kResultReceivingError);
  EXPECT_EQ(script_->chunks.size(), 1U);
  EXPECT_FALSE(config_.Dpi.set());
  EXPECT_EQ(TextView(config_.Version), "");
  EXPECT_EQ(script_->closes, 1);
}

// "5" and "12" pass the first tenths check but round to 0 dots per millimetre.
INSTANTIATE_TEST_SUITE_P(Answers, ResolutionTest,
                         ::testing::Values("0", "", "dpi", "2", "5", "12", "-200", "1e999"));

TEST_F(ReadConfigurationTest, SmallestUsableResolutionReadsOn) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers["DPI"] = "13";
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_EQ(config_.DotsPerMm, 1.0F);
  EXPECT_EQ(Got(config_.PaperWidth), 812.0);
}

struct ReplyCase {
  const char* name;
  const char* answer;
  std::function<std::optional<double>(const PrinterConfig&)> item;
  std::optional<double> expected;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
  *os << c.name << "=\"" << c.answer << '"';
}

class ReplyParseTest : public ReadConfigurationTest,
                       public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyParseTest, AnswerIsStoredAsTheTablesSayAndTheReadGoesOn) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers[GetParam().name] = GetParam().answer;
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_EQ(GetParam().item(config_), GetParam().expected);
  EXPECT_EQ(script_->chunks.size(), ExpectedChunks(true).size());
}

using C = PrinterConfig;

template <auto Member>
std::optional<double> ItemOf(const PrinterConfig& c) {
  return Got(c.*Member);
}

// No match stores the table's length, still flagged as read; matching is case-sensitive.
INSTANTIATE_TEST_SUITE_P(Tables, ReplyParseTest,
                         ::testing::Values(ReplyCase{"CODEPAGE", "USA", ItemOf<&C::CodePage>, 0},
                                           ReplyCase{"CODEPAGE", "865 ", ItemOf<&C::CodePage>, 36},
                                           ReplyCase{"COUNTRY", "358", ItemOf<&C::CountryCode>, 21},
                                           ReplyCase{"BAUDRATE", "0", ItemOf<&C::BaudRate>, 0},
                                           ReplyCase{"BAUDRATE", "115200", ItemOf<&C::BaudRate>, 8},
                                           ReplyCase{"PARITY", "Even", ItemOf<&C::Parity>, 2},
                                           ReplyCase{"PARITY", "even", ItemOf<&C::Parity>, 3}));

// Decimal answers never fail: no digits give 0, still flagged as read.
INSTANTIATE_TEST_SUITE_P(
    Numbers, ReplyParseTest,
    ::testing::Values(ReplyCase{"SPEED", " 2.5ips", ItemOf<&C::Speed>, 2.5},
                      ReplyCase{"DENSITY", "abc", ItemOf<&C::Density>, 0},
                      ReplyCase{"GAPOFFSET", "-16", ItemOf<&C::GapOffset>, -2.0},
                      ReplyCase{"ZDARKNESS", "", ItemOf<&C::DarknessZ>, std::nullopt},
                      ReplyCase{"ZPOSITION", " -5x", ItemOf<&C::TearOffZ>, -5},
                      ReplyCase{"DROWOFFSET", "", ItemOf<&C::RowOffsetD>, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Letters, ReplyParseTest,
    ::testing::Values(ReplyCase{"ZSPEED", "C", ItemOf<&C::PrintSpeedZ>, 4},
                      ReplyCase{"ZSPEED", "5", ItemOf<&C::PrintSpeedZ>, 5},
                      ReplyCase{"ZSPEED", "", ItemOf<&C::PrintSpeedZ>, std::nullopt},
                      ReplyCase{"ZPRINTMODE", "R", ItemOf<&C::PrintModeZ>, 1},
                      ReplyCase{"ZPRINTMODE", "D", ItemOf<&C::PrintModeZ>, 3},
                      ReplyCase{"ZPRINTMODE", "X", ItemOf<&C::PrintModeZ>, std::nullopt},
                      ReplyCase{"ZFEEDHEADCLOSE", "N", ItemOf<&C::HeadCloseZ>, 4},
                      ReplyCase{"DPRESENTSENSOR", "A", ItemOf<&C::PresentSensorD>, 2},
                      ReplyCase{"DCONTROLCODES", "2", ItemOf<&C::ControlCodesD>, 3},
                      ReplyCase{"DSPEED", "A", ItemOf<&C::PrintSpeedD>, 1.0},
                      ReplyCase{"DSPEED", "G", ItemOf<&C::PrintSpeedD>, 4.0},
                      ReplyCase{"DSPEED", "V", ItemOf<&C::PrintSpeedD>, 11.5},
                      ReplyCase{"DSPEED", "W", ItemOf<&C::PrintSpeedD>, 12.0},
                      ReplyCase{"DSPEED", "Z", ItemOf<&C::PrintSpeedD>, 15.0},
                      ReplyCase{"DSPEED", "a", ItemOf<&C::PrintSpeedD>, 16.0},
                      ReplyCase{"DSPEED", "e", ItemOf<&C::PrintSpeedD>, 20.0},
                      ReplyCase{"DSPEED", "f", ItemOf<&C::PrintSpeedD>, std::nullopt},
                      ReplyCase{"DSPEED", "AB", ItemOf<&C::PrintSpeedD>, std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Characters, ReplyParseTest,
    ::testing::Values(ReplyCase{"ZFORMAT", "%", ItemOf<&C::FormatPrefixZ>, '%'},
                      ReplyCase{"ZDELIMITER", "", ItemOf<&C::DelimiterCharZ>, std::nullopt},
                      ReplyCase{"ZCONTROL", "~~", ItemOf<&C::ControlPrefixZ>, std::nullopt}));

TEST_F(ReadConfigurationTest, UnusableCharacterKeepsTheDefault) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers["ZCONTROL"] = "~!";
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_FALSE(config_.ControlPrefixZ.set());
  EXPECT_EQ(config_.ControlPrefixZ.value, '~');
}

TEST_F(ReadConfigurationTest, LongTextsAreCutToTheirFieldAndNeverSpill) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers["VERSION"] = std::string(300, 'v');
  printer.answers["MILAGE"] = std::string(40, '9');
  printer.answers["CHECKSUM"] = "C";
  printer.serial_line = std::string(100, 's') + "\r\n";
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_EQ(TextView(config_.Version), std::string(255, 'v'));
  EXPECT_EQ(TextView(config_.Milage), std::string(15, '9'));
  EXPECT_EQ(TextView(config_.Checksum), "C");
  EXPECT_EQ(TextView(config_.SerialNo), std::string(63, 's'));
}

TEST_F(ReadConfigurationTest, SilentSerialNumberGivesAnEmptyOneAndTheReadGoesOn) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.serial_line.reset();
  std::memset(config_.SerialNo.data(), 'x', 8);
  ASSERT_EQ(Read(printer), kResultOk);
  EXPECT_EQ(TextView(config_.SerialNo), "");
  EXPECT_EQ(script_->chunks, ExpectedChunks(true));
}

// A serial number longer than a line can hold is a read failure, not a record with most of its
// items unset that a caller would keep.
TEST_F(ReadConfigurationTest, OverlongSerialLineFailsTheRead) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.serial_line = std::string(1025, 's') + "\r\n";
  EXPECT_EQ(Read(printer), kResultReceivingError);
  EXPECT_EQ(script_->chunks.size(), 1U);
  EXPECT_EQ(script_->closes, 1);
}

struct BrokenExchange {
  const char* name;
  const char* raw_answer;  // nullptr: no answer at all
  // The questions of a phase all go out before its answers are read: the phase's last line.
  std::string last_asked;
};

void PrintTo(const BrokenExchange& c, std::ostream* os) {
  *os << c.name;
}

class BrokenExchangeTest : public ReadConfigurationTest,
                           public ::testing::WithParamInterface<BrokenExchange> {};

TEST_P(BrokenExchangeTest, ReadStopsWithReceivingErrorAndClosesTheLink) {
  ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
  printer.answers.erase(GetParam().name);
  if (GetParam().raw_answer != nullptr) printer.raw[GetParam().name] = GetParam().raw_answer;
  EXPECT_EQ(Read(printer), kResultReceivingError);
  EXPECT_TRUE(script_->chunks.back().ends_with(GetParam().last_asked));
  EXPECT_EQ(script_->closes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    MidRead, BrokenExchangeTest,
    ::testing::Values(BrokenExchange{"VERSION", nullptr, "OUT _SERIAL$\r\n"},
                      BrokenExchange{"DENSITY", "{5|ab}", Question("REPRINT")},
                      BrokenExchange{"CODEPAGE", "{x|a}", Question("REPRINT")},
                      BrokenExchange{"STOPBIT", "{12}", Question("REPRINT")},
                      BrokenExchange{"ZDARKNESS", nullptr, Question("DROWOFFSET")},
                      BrokenExchange{"DROWOFFSET", "{1|}", Question("DROWOFFSET")}));

TEST_F(ReadConfigurationTest, SilentAnnouncementFailsTheReadInItsFirstPhase) {
  script_->on_write = nullptr;
  EXPECT_EQ(ReadConfiguration(link_, kInterfaceUsb, config_), kResultReceivingError);
  ASSERT_EQ(script_->chunks.size(), 1U);
  EXPECT_TRUE(script_->chunks[0].starts_with("\r\nDIAGNOSTIC INTERFACE USB\r\n"));
  EXPECT_FALSE(config_.Dpi.set());
}

TEST_F(ReadConfigurationTest, FailedSendAndFailedOpenKeepTheirCodes) {
  script_->fail_write_at_chunk = 0;  // the head, up to the serial-number question
  EXPECT_EQ(Read(ScriptedConfigPrinter::Full()), kResultTransmissionError);
  EXPECT_EQ(script_->closes, 1);

  script_->chunks.clear();
  script_->fail_write_at_chunk = 1;  // the common questions
  EXPECT_EQ(Read(ScriptedConfigPrinter::Full()), kResultTransmissionError);
  EXPECT_EQ(script_->closes, 2);

  script_->fail_open = true;
  const std::size_t sent = script_->chunks.size();
  EXPECT_EQ(Read(ScriptedConfigPrinter::Full()), kResultPortOpenError);
  EXPECT_EQ(script_->chunks.size(), sent);
}

TEST_F(ReadConfigurationTest, DispatcherShowsProgressOnlyWhenAsked) {
  testing::ProgressRecorder recorder;
  link_.progress().SetView(&recorder);
  ScriptedConfigPrinter::Full().AnswerOn(*script_);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceEthernet, &config_, 0).code,
            kResultOk);
  EXPECT_EQ(recorder.shows, 0);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceEthernet, &config_, 1).code,
            kResultOk);
  EXPECT_EQ(recorder.shows, 1);
  EXPECT_EQ(recorder.closes, 1);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceEthernet, {}, 1).code,
            kResultUnknownError);
  EXPECT_EQ(RunPrinterOperation(link_, kOpReadConfiguration, kInterfaceEthernet,
                                static_cast<PrinterConfig*>(nullptr), 1)
                .code,
            kResultUnknownError);
}

// The read-back after a write asks only the written page's questions, in one write; of those
// an older printer may not know, as many as it answered in the read before the write go out
// together. A printer that resets half way through fails the check, even at such a question.
TEST_F(ReadConfigurationTest, PageReadBackAsksOnlyThatPageAndFailsOnAReset) {
  const std::vector<std::string> z(kEmulationNames.begin(), kEmulationNames.begin() + 12);
  const std::vector<std::string> d(kEmulationNames.begin() + 12, kEmulationNames.end());
  const std::string common = Head() + Questions(kCommonNames);
  const struct {
    ConfigPage page;
    std::size_t known;
    std::vector<std::string> chunks;
    const char* reset_at;
  } cases[] = {{ConfigPage::kCommon,
                0,
                {common + Question("REPRINT"), Question("SHIFTX"), Question("SHIFTXBASE"),
                 Question("EDITION")},
                "SHIFTX"},
               {ConfigPage::kCommon,
                2,
                {common + Question("REPRINT") + Question("SHIFTX"), Question("SHIFTXBASE"),
                 Question("EDITION")},
                "SHIFTX"},
               {ConfigPage::kCommon, 4, {common + Questions(kToleratedNames)}, "SHIFTXBASE"},
               {ConfigPage::kZ, 4, {Head() + Questions(z)}, "ZFORMAT"},
               {ConfigPage::kD, 0, {Head() + Questions(d)}, "DLABELWIDTH"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(ConfigPageName(c.page)) + " " + std::to_string(c.known));
    *script_ = Script{};
    ScriptedConfigPrinter::Full().AnswerOn(*script_);
    ResetConfig(config_);
    ASSERT_TRUE(RunPageReadBack(link_, kInterfaceEthernet, c.page, c.known, config_).ok());
    EXPECT_EQ(script_->chunks, c.chunks);
    EXPECT_EQ(config_.Dpi.value, 203.0F);
    EXPECT_EQ(config_.ShiftXBase.set(), c.page == ConfigPage::kCommon);
    EXPECT_EQ(SetEmulationItems(config_), c.page == ConfigPage::kZ   ? 12
                                          : c.page == ConfigPage::kD ? 8
                                                                     : 0);

    *script_ = Script{};
    ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
    printer.answers.erase(c.reset_at);
    printer.AnswerOn(*script_);
    script_->when_drained = StreamEnd::kLost;
    ResetConfig(config_);
    EXPECT_EQ(RunPageReadBack(link_, kInterfaceEthernet, c.page, c.known, config_).code,
              kResultReceivingError);
  }
  EXPECT_EQ(RunPageReadBack(link_, kInterfaceLpt, ConfigPage::kCommon, 0, config_).code,
            kResultReceivingError);
}

// What a whole read tells of the questions an older printer may not know, counted from the
// first: a later answer after an unanswered one does not count.
TEST_F(ReadConfigurationTest, ToleratedAnswersCountsFromTheFirstUnanswered) {
  ASSERT_EQ(Read(ScriptedConfigPrinter::Full()), kResultOk);
  EXPECT_EQ(ToleratedAnswers(config_), 4U);
  for (std::size_t unanswered = 0; unanswered < kToleratedNames.size(); ++unanswered) {
    SCOPED_TRACE(kToleratedNames[unanswered]);
    ScriptedConfigPrinter printer = ScriptedConfigPrinter::Full();
    printer.answers.erase(kToleratedNames[unanswered]);
    ResetConfig(config_);
    ASSERT_EQ(Read(printer), kResultOk);
    EXPECT_EQ(ToleratedAnswers(config_), unanswered);
  }
  ResetConfig(config_);
  config_.ShiftX.Set(1);
  config_.Edition = 100;
  EXPECT_EQ(ToleratedAnswers(config_), 0U);
}

}  // namespace
}  // namespace vantrel
