// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialling/modem.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/session_fakes.h"
#include "support/fake_serial_ports.h"

namespace spravka::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr ModemLines kIdle{.clear_to_send = true, .data_set_ready = true};

std::string QuestionLine(const std::string& shown) {
  return std::string("question: ") + kDialQuestionText + shown + "?";
}
std::string PickUpLine() {
  return std::string("information box: ") + kPickUpHandsetText;
}

// Message boxes that also write every box into the port log, so that a
// test sees which port operations came before and after each box.
class LoggingBoxes : public RecordingBoxes {
 public:
  explicit LoggingBoxes(std::vector<std::string>* log) : log_(log) {}
  void Show(MessageKind kind, const std::string& text) override {
    log_->push_back(std::string(KindName(kind)) + " box: " + text);
    RecordingBoxes::Show(kind, text);
  }
  bool Ask(const std::string& question) override {
    log_->push_back("question: " + question);
    return RecordingBoxes::Ask(question);
  }

 private:
  static const char* KindName(MessageKind kind) {
    switch (kind) {
      case MessageKind::kError:
        return "error";
      case MessageKind::kInformation:
        return "information";
      default:
        return "other";
    }
  }
  std::vector<std::string>* log_;
};

class ModemTest : public ::testing::Test {
 protected:
  std::vector<std::string> log;
  FakeSerialPorts ports{&log};
  LoggingBoxes boxes{&log};

  // The log lines of the dialogue proper, after the ports were probed.
  std::vector<std::string> AfterProbe() const {
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].rfind("question: ", 0) == 0 ||
          log[i].find(" box: ") != std::string::npos)
        return {log.begin() + i, log.end()};
    }
    return {};
  }
};

TEST(FreeModemTest, AllFourLinesDecide) {
  EXPECT_TRUE(IsFreeModem(kIdle));
  ModemLines no_cts = kIdle, no_dsr = kIdle, ring = kIdle, carrier = kIdle;
  no_cts.clear_to_send = false;
  no_dsr.data_set_ready = false;
  ring.ring = true;
  carrier.carrier = true;
  for (const ModemLines& busy : {no_cts, no_dsr, ring, carrier})
    EXPECT_FALSE(IsFreeModem(busy));
}

TEST_F(ModemTest, TheFirstFreePortInOrderWinsAndEveryPortIsClosed) {
  ports.ports["Com2"].lines = kIdle;
  ports.ports["Com3"].lines = kIdle;
  EXPECT_EQ(FindFreeModem(ports), "Com2");
  EXPECT_EQ(log,
            (Lines{"cannot open Com1 read", "open Com2 read", "close Com2"}));
  EXPECT_EQ(ports.open_ports, 0);
}

TEST_F(ModemTest, BusyOrUnreadablePortsArePassedOver) {
  ModemLines carrier = kIdle, ring = kIdle;
  carrier.carrier = true;
  ring.ring = true;
  ports.ports["Com1"].lines = carrier;
  ports.ports["Com2"].lines = ring;
  ports.ports["Com3"].lines = std::nullopt;  // e.g. a pseudo-terminal
  ports.ports["Com4"].lines = kIdle;
  EXPECT_EQ(FindFreeModem(ports), "Com4");
  EXPECT_EQ(ports.open_ports, 0);

  ports.ports["Com4"].lines = carrier;
  log.clear();
  EXPECT_EQ(FindFreeModem(ports), "");
  EXPECT_EQ(log, (Lines{"open Com1 read", "close Com1", "open Com2 read",
                        "close Com2", "open Com3 read", "close Com3",
                        "open Com4 read", "close Com4"}));
}

TEST_F(ModemTest, DiallingHoldsThePortFromDialToHangUp) {
  ports.ports["Com1"].lines = std::nullopt;
  ports.ports["Com2"] = {};
  ports.ports["Com3"] = {};
  boxes.answers = {true};
  DialNumber("1234567", ports, boxes);
  EXPECT_EQ(
      log,
      (Lines{"open Com1 read", "close Com1", "open Com2 read", "close Com2",
             "question: Вы уверены, что хотите\r\nнабрать номер: 12-34-567?",
             "open Com2 read-write", "read settings Com2",
             "settings Com2 9600 8N1", "write Com2 ATDP1234567;\r\n",
             "information box: После набора номера модемом\r\nснимите трубку и "
             "нажмите \"ОК\".",
             "write Com2 ATH0\r\n", "close Com2"}));
  EXPECT_EQ(ports.open_ports, 0);
}

// The bytes a number sends, or the message that refuses it.
struct NumberCase {
  const char* number;
  const char* shown;  // in the question; nullptr when refused
  const char* sent;   // the dial command; nullptr when refused
  DialRefusal refusal;
};

TEST_F(ModemTest, NumbersSentShownOrRefused) {
  const NumberCase cases[] = {
      {"123456", "12-34-56", "ATDP123456;\r\n", DialRefusal::kNone},
      {"1234567", "12-34-567", "ATDP1234567;\r\n", DialRefusal::kNone},
      {"5", "5--", "ATDP5;\r\n", DialRefusal::kNone},
      {"", "--", "ATDP;\r\n", DialRefusal::kNone},
      // 14 characters: only the line feed is cut, the modem runs the
      // command on the carriage return.
      {"12345678901234", "12-34-5678901234", "ATDP12345678901234;\r",
       DialRefusal::kNone},
      {"8 (38) 2,W*#!@", "8 -(3-8) 2,W*#!@", "ATDP8 (38) 2,W*#!@;\r",
       DialRefusal::kNone},
      {"+7-12-34 tpwTP", "+7--1-2-34 tpwTP", "ATDP+7-12-34 tpwTP;\r",
       DialRefusal::kNone},
      {"123456789012345", nullptr, nullptr, DialRefusal::kTooLong},
      {"1234567890123456", nullptr, nullptr, DialRefusal::kTooLong},
      {"12;ATZ", nullptr, nullptr, DialRefusal::kForbiddenCharacter},
      {"12\r\nATZ", nullptr, nullptr, DialRefusal::kForbiddenCharacter},
      {"12\t34", nullptr, nullptr, DialRefusal::kForbiddenCharacter},
      {"12.34", nullptr, nullptr, DialRefusal::kForbiddenCharacter},
      {"12 \xD0\xE0\xE1", nullptr, nullptr,  // Windows-1251 letters
       DialRefusal::kForbiddenCharacter},
      {"S=1", nullptr, nullptr, DialRefusal::kForbiddenCharacter},
      {"12345678901234;ATZ", nullptr, nullptr,
       DialRefusal::kForbiddenCharacter},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(CheckDialNumber(c.number), c.refusal);
    log.clear();
    boxes.shown.clear();
    ports.ports["Com1"] = {};
    boxes.answers = {true};
    DialNumber(c.number, ports, boxes);
    if (c.refusal == DialRefusal::kNone) {
      EXPECT_EQ(AfterProbe(),
                (Lines{QuestionLine(c.shown), "open Com1 read-write",
                       "read settings Com1", "settings Com1 9600 8N1",
                       std::string("write Com1 ") + c.sent, PickUpLine(),
                       "write Com1 ATH0\r\n", "close Com1"}));
    } else {
      // Nothing asked, nothing opened for writing, nothing sent.
      EXPECT_EQ(log, (Lines{"open Com1 read", "close Com1",
                            "error box: " + DialRefusalText(c.refusal)}));
    }
    EXPECT_EQ(ports.open_ports, 0);
  }
}

TEST(DialTextTest, RefusalsSayWhy) {
  EXPECT_EQ(DialRefusalText(DialRefusal::kTooLong),
            "Невозможно набрать номер:\r\nв номере больше 14 знаков.");
  EXPECT_EQ(DialRefusalText(DialRefusal::kForbiddenCharacter),
            "Невозможно набрать номер:\r\nв номере есть недопустимые знаки."
            "\r\nДопустимы цифры, пробел и знаки - + ( ) , * # ! @ W T P.");
}

TEST(DialTextTest, ShownNumberInsertsTwoDashesAndKeepsTwenty) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "--"},
      {"5", "5--"},
      {"12", "12--"},
      {"123", "12-3-"},
      {"12345", "12-34-5"},
      {"123456", "12-34-56"},
      {"1234567", "12-34-567"},
      {"123456789012345678901234", "12-34-56789012345678"},
  };
  for (const auto& [number, shown] : cases)
    EXPECT_EQ(ShownNumber(number), shown) << number;
}

TEST(DialTextTest, DialCommandIsCutAtTwentyBytes) {
  EXPECT_EQ(DialCommand("1234567"), "ATDP1234567;\r\n");
  EXPECT_EQ(DialCommand("12345678901234"), "ATDP12345678901234;\r");
  EXPECT_EQ(DialCommand("12345678901234").size(), kDialCommandLimit);
}

TEST_F(ModemTest, NoFreeModemSaysSoAndSendsNothing) {
  ports.ports["Com1"].lines = std::nullopt;
  boxes.answers = {true};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(), (Lines{"error box: Не обнаружен свободный модем."}));
  EXPECT_EQ(boxes.answers.size(), 1u);
}

TEST_F(ModemTest, NoMeansNothingIsOpenedForWriting) {
  ports.ports["Com3"] = {};
  boxes.answers = {false};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(), (Lines{QuestionLine("12-34-56")}));
}

TEST_F(ModemTest, APortThatWillNotOpenForWritingIsNamed) {
  ports.ports["Com3"].opens_for_writing = false;
  boxes.answers = {true};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(),
            (Lines{QuestionLine("12-34-56"), "cannot open Com3 read-write",
                   "error box: Невозможно открыть Com3"}));
}

TEST_F(ModemTest, UnreadableOrUnwritableSettingsDoNotStopTheDial) {
  ports.ports["Com1"].settings = std::nullopt;
  boxes.answers = {true};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(),
            (Lines{QuestionLine("12-34-56"), "open Com1 read-write",
                   "cannot read settings Com1", "write Com1 ATDP123456;\r\n",
                   PickUpLine(), "write Com1 ATH0\r\n", "close Com1"}));

  ports.ports["Com1"] = {.settings_write_fails = true};
  log.clear();
  boxes.answers = {true};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(),
            (Lines{QuestionLine("12-34-56"), "open Com1 read-write",
                   "read settings Com1", "settings Com1 9600 8N1 failed",
                   "write Com1 ATDP123456;\r\n", PickUpLine(),
                   "write Com1 ATH0\r\n", "close Com1"}));
}

TEST_F(ModemTest, AFailedDialSendsNoHangUp) {
  ports.ports["Com2"].write_fails = true;
  boxes.answers = {true};
  DialNumber("123456", ports, boxes);
  EXPECT_EQ(AfterProbe(),
            (Lines{QuestionLine("12-34-56"), "open Com2 read-write",
                   "read settings Com2", "settings Com2 9600 8N1",
                   "write Com2 ATDP123456;\r\n failed",
                   "error box: Невозможно набрать номер", "close Com2"}));
  EXPECT_EQ(ports.open_ports, 0);
}

TEST_F(ModemTest, APortIsClosedWhenABoxThrows) {
  struct ThrowingBoxes : RecordingBoxes {
    void Show(MessageKind kind, const std::string& text) override {
      throw std::runtime_error("no window");
    }
  } throwing;
  ports.ports["Com1"] = {};
  throwing.answers = {true};
  EXPECT_THROW(DialNumber("123456", ports, throwing), std::runtime_error);
  EXPECT_EQ(ports.open_ports, 0);
  EXPECT_EQ(log.back(), "close Com1");
  EXPECT_EQ(log[log.size() - 2], "write Com1 ATDP123456;\r\n")
      << "no hang-up without the message having been read";
}

TEST_F(ModemTest, OnlyARecordRowIsDialled) {
  ports.ports["Com1"] = {};
  DialCurrentRow(std::nullopt, ports, boxes);
  EXPECT_TRUE(log.empty());
  boxes.answers = {true};
  DialCurrentRow("123456", ports, boxes);
  EXPECT_EQ(log.back(), "close Com1");
  EXPECT_TRUE(boxes.answers.empty());
}

}  // namespace
}  // namespace spravka::testing
