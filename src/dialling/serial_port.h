// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_DIALLING_SERIAL_PORT_H_
#define SPRAVKA_DIALLING_SERIAL_PORT_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spravka {

// The four modem-status lines of a serial port.
struct ModemLines {
  bool clear_to_send = false;   // CTS
  bool data_set_ready = false;  // DSR
  bool ring = false;            // RI
  bool carrier = false;         // DCD, receive-line-signal detect
  bool operator==(const ModemLines&) const = default;
};

enum class Parity { kNone, kOdd, kEven, kMark, kSpace };
enum class StopBits { kOne, kOneAndHalf, kTwo };

// The part of a port's line settings the modem dialogue changes; a port
// keeps every setting not named here when these are written.
struct LineSettings {
  int baud_rate = 0;
  int data_bits = 0;
  Parity parity = Parity::kNone;
  StopBits stop_bits = StopBits::kOne;
  bool operator==(const LineSettings&) const = default;
};

// How a port is opened: read access is enough to look at the status lines,
// dialling needs read and write access.
enum class PortAccess { kRead, kReadWrite };

// One serial port, opened with exclusive access. Destroying it closes the
// port, so a port is closed on every way out of the code that holds it.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // The status lines; nullopt when they cannot be read (a port without
  // modem-control lines, such as a pseudo-terminal).
  virtual std::optional<ModemLines> ReadModemLines() = 0;
  // nullopt when the settings cannot be read.
  virtual std::optional<LineSettings> ReadLineSettings() = 0;
  // Writes the four settings and leaves every other one as it is.
  virtual bool WriteLineSettings(const LineSettings& settings) = 0;
  // Sends every byte, waiting a bounded time for the port to take them;
  // false when any byte was not sent.
  virtual bool Write(std::string_view bytes) = 0;
};

// The serial ports of the machine a modem may be on.
class SerialPorts {
 public:
  virtual ~SerialPorts() = default;

  // The port names, in the order a free modem is looked for.
  virtual std::vector<std::string> Names() const = 0;
  // Opens the port without waiting for a carrier; nullptr when it cannot be
  // opened (no such port, or it is in use).
  virtual std::unique_ptr<SerialPort> Open(const std::string& name,
                                           PortAccess access) = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_DIALLING_SERIAL_PORT_H_
