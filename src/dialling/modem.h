// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_DIALLING_MODEM_H_
#define SPRAVKA_DIALLING_MODEM_H_

// Dialling the number of the current row through a free modem.
//
// The window passes its `SerialPorts` (the program a `QtSerialPorts` built
// with its default list, window tests a `FakeSerialPorts`, so that no test
// ever opens a real serial port) and its message boxes as `DialPrompts`.
// When the context menu opens, the dial item is enabled only while
// FindFreeModem finds a port; the item runs DialCurrentRow with column 1 of
// the current row, or nullopt when no row holding a record is current.
// Texts going to the user are UTF-8; a number is a cell's Windows-1251
// text.

#include <optional>
#include <string>
#include <string_view>

#include "dialling/dial_prompts.h"
#include "dialling/serial_port.h"

namespace spravka {

// The commands: "ATDP" dials with pulses, the ";" after the number brings
// the modem back to command mode once it has dialled, so that "ATH0" can
// release the line to the handset.
inline constexpr std::string_view kDialCommandStart = "ATDP";
inline constexpr std::string_view kDialCommandEnd = ";\r\n";
inline constexpr std::string_view kHangUpCommand = "ATH0\r\n";
// At most this many bytes of a dial command are sent.
inline constexpr size_t kDialCommandLimit = 20;
// The longest number whose dial command keeps its ";" and carriage return
// within the limit; only the line feed of a 14-character number is cut,
// which modems do not need. A longer number is refused.
inline constexpr size_t kMaxDialNumberLength =
    kDialCommandLimit - kDialCommandStart.size() - (kDialCommandEnd.size() - 1);

// The line settings used for dialling: 9600 baud, 8N1.
inline constexpr int kModemBaudRate = 9600;
inline constexpr int kModemDataBits = 8;

inline constexpr char kNoFreeModemText[] = "Не обнаружен свободный модем.";
inline constexpr char kDialQuestionText[] =
    "Вы уверены, что хотите\r\nнабрать номер: ";
inline constexpr char kCannotOpenPortText[] = "Невозможно открыть ";
inline constexpr char kCannotDialText[] = "Невозможно набрать номер";
inline constexpr char kPickUpHandsetText[] =
    "После набора номера модемом\r\nснимите трубку и нажмите \"ОК\".";

// A port holds a free modem when CTS and DSR are on and neither ring nor
// carrier is.
bool IsFreeModem(const ModemLines& lines);

// The name of the first port, in the ports' order, that holds a free modem;
// empty when there is none. Each port is opened for reading and closed
// again.
std::string FindFreeModem(SerialPorts& ports);

// Why a number may not be dialled.
enum class DialRefusal {
  kNone,
  kTooLong,  // more than `kMaxDialNumberLength` characters
  // A character other than a digit or one of `kDialSymbols`: anything else,
  // such as ";" or a line end, could make the modem run a command the user
  // did not ask for.
  kForbiddenCharacter,
};
// What a number may hold besides digits: blanks and the signs people write
// in numbers, "," (pause), "*" and "#" (tone keys), "!" (flash), "@" (wait
// for silence), W (wait for dial tone), T (tone) and P (pulse); the letters
// in either case.
inline constexpr std::string_view kDialSymbols = " -+(),*#!@WTP";
DialRefusal CheckDialNumber(std::string_view number);
// The error message for a refused number.
std::string DialRefusalText(DialRefusal refusal);

// The bytes sent to dial `number`: the first `kDialCommandLimit` bytes of
// "ATDP" + number + ";\r\n".
std::string DialCommand(std::string_view number);

// The number as the confirmation shows it: its first 20 characters with "-"
// inserted at position 3 and then at position 6 (appended when the position
// is past the end), at most 20 characters kept after each insertion; so
// "1234567" shows as "12-34-567", "123456" as "12-34-56", "5" as "5--".
std::string ShownNumber(std::string_view number);

// The whole dialling dialogue for `number` (a cell's Windows-1251 text):
// find a free modem, check the number, ask, open the port for writing, set
// 9600 8N1, dial, tell the user to pick up the handset and, once that
// message is closed, hang up. The port stays open from dialling to hang-up
// and is closed on every way out. A failed dial sends no hang-up.
void DialNumber(std::string_view number, SerialPorts& ports,
                DialPrompts& prompts);

// The dial item's command: dials `number`, the text of column 1 of the
// current row; nullopt when no row holding a record is current, and then
// nothing happens.
void DialCurrentRow(std::optional<std::string_view> number, SerialPorts& ports,
                    DialPrompts& prompts);

}  // namespace spravka

#endif  // SPRAVKA_DIALLING_MODEM_H_
