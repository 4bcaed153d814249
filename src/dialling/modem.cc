// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialling/modem.h"

#include <algorithm>
#include <memory>

#include "storage/cp1251.h"

namespace spravka {
namespace {

// The confirmation shows at most this many characters of a number, with
// dashes inserted before these 1-based positions, in this order.
constexpr size_t kShownNumberLimit = 20;
constexpr size_t kShownDashPositions[] = {3, 6};

bool IsDialSymbol(char c) {
  if (c >= '0' && c <= '9') return true;
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return kDialSymbols.find(c) != std::string_view::npos;
}

std::string Cut(std::string text, size_t limit) {
  if (text.size() > limit) text.resize(limit);
  return text;
}

}  // namespace

bool IsFreeModem(const ModemLines& lines) {
  return lines.clear_to_send && lines.data_set_ready && !lines.ring &&
         !lines.carrier;
}

std::string FindFreeModem(SerialPorts& ports) {
  for (const std::string& name : ports.Names()) {
    std::unique_ptr<SerialPort> port = ports.Open(name, PortAccess::kRead);
    if (!port) continue;
    std::optional<ModemLines> lines = port->ReadModemLines();
    if (lines && IsFreeModem(*lines)) return name;
  }
  return "";
}

DialRefusal CheckDialNumber(std::string_view number) {
  for (char c : number) {
    if (!IsDialSymbol(c)) return DialRefusal::kForbiddenCharacter;
  }
  if (number.size() > kMaxDialNumberLength) return DialRefusal::kTooLong;
  return DialRefusal::kNone;
}

std::string DialRefusalText(DialRefusal refusal) {
  switch (refusal) {
    case DialRefusal::kTooLong:
      return "Невозможно набрать номер:\r\nв номере больше " +
             std::to_string(kMaxDialNumberLength) + " знаков.";
    case DialRefusal::kForbiddenCharacter: {
      std::string signs;
      for (char c : kDialSymbols) {
        if (c == ' ') continue;
        signs += signs.empty() ? "" : " ";
        signs += c;
      }
      return "Невозможно набрать номер:\r\nв номере есть недопустимые "
             "знаки.\r\nДопустимы цифры, пробел и знаки " +
             signs + ".";
    }
    case DialRefusal::kNone:
      break;
  }
  return "";
}

std::string DialCommand(std::string_view number) {
  std::string command(kDialCommandStart);
  command += number;
  command += kDialCommandEnd;
  return Cut(std::move(command), kDialCommandLimit);
}

std::string ShownNumber(std::string_view number) {
  std::string shown = Cut(std::string(number), kShownNumberLimit);
  for (size_t position : kShownDashPositions) {
    shown.insert(std::min(position - 1, shown.size()), 1, '-');
    shown = Cut(std::move(shown), kShownNumberLimit);
  }
  return shown;
}

void DialNumber(std::string_view number, SerialPorts& ports,
                DialPrompts& prompts) {
  const std::string port_name = FindFreeModem(ports);
  if (port_name.empty()) {
    prompts.ShowError(kNoFreeModemText);
    return;
  }
  // Checked before anything is asked or sent, so that a cell holding more
  // than a number never reaches the modem.
  if (DialRefusal refusal = CheckDialNumber(number);
      refusal != DialRefusal::kNone) {
    prompts.ShowError(DialRefusalText(refusal));
    return;
  }
  if (!prompts.Ask(kDialQuestionText + Cp1251ToUtf8(ShownNumber(number)) +
                   "?")) {
    return;
  }
  // Held from the dial command to the hang-up, so that the modem keeps its
  // state in between; closed when it goes out of scope.
  std::unique_ptr<SerialPort> port =
      ports.Open(port_name, PortAccess::kReadWrite);
  if (!port) {
    prompts.ShowError(kCannotOpenPortText + port_name);
    return;
  }
  if (std::optional<LineSettings> settings = port->ReadLineSettings()) {
    settings->baud_rate = kModemBaudRate;
    settings->data_bits = kModemDataBits;
    settings->parity = Parity::kNone;
    settings->stop_bits = StopBits::kOne;
    port->WriteLineSettings(*settings);  // the port's own settings may do
  }
  if (!port->Write(DialCommand(number))) {
    prompts.ShowError(kCannotDialText);
    return;
  }
  prompts.ShowInformation(kPickUpHandsetText);
  port->Write(kHangUpCommand);  // nothing more to do when the modem missed it
}

void DialCurrentRow(std::optional<std::string_view> number, SerialPorts& ports,
                    DialPrompts& prompts) {
  if (number) DialNumber(*number, ports, prompts);
}

}  // namespace spravka
