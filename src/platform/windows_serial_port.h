// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_WINDOWS_SERIAL_PORT_H_
#define SPRAVKA_PLATFORM_WINDOWS_SERIAL_PORT_H_

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "dialling/serial_port.h"

namespace spravka {

// The serial ports through the Windows communications API.
//
// A port is opened for exclusive access (no sharing) and put at 9600 8N1
// without flow control and in binary mode while open; it gets its own
// settings back when closed. The status lines come from
// GetCommModemStatus; a port that cannot report them holds no modem. A
// write waits at most the write timeout (the port's total write timeout),
// and a write that did not finish has its bytes purged before closing, so
// that nothing here blocks for longer.
class WindowsSerialPorts : public SerialPorts {
 public:
  static constexpr std::chrono::milliseconds kWriteTimeout{1000};

  // "Com1" to "Com4".
  static std::vector<std::string> MachinePortNames();

  // `names`: port names as Windows knows them ("Com1", "COM12"), in the
  // order they are probed.
  explicit WindowsSerialPorts(
      std::vector<std::string> names = MachinePortNames(),
      std::chrono::milliseconds write_timeout = kWriteTimeout);

  std::vector<std::string> Names() const override { return names_; }
  std::unique_ptr<SerialPort> Open(const std::string& name,
                                   PortAccess access) override;

 private:
  std::vector<std::string> names_;
  std::chrono::milliseconds write_timeout_;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_WINDOWS_SERIAL_PORT_H_
