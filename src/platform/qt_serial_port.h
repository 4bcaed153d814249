// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_SERIAL_PORT_H_
#define SPRAVKA_PLATFORM_QT_SERIAL_PORT_H_

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "dialling/serial_port.h"

namespace spravka {

// The serial ports through QSerialPort.
//
// A port is opened without waiting for a carrier and with exclusive access
// (QSerialPort opens non-blocking, takes the port's lock file and sets
// TIOCEXCL); it is put in raw mode at 9600 8N1 without flow control while
// open and gets its own settings back when closed. The status lines come
// from `pinoutSignals`; a port that cannot report them, such as a
// pseudo-terminal, holds no modem. Nothing here blocks for longer than the
// write timeout, so probing the ports is quick.
class QtSerialPorts : public SerialPorts {
 public:
  // How long a write may wait for the port to take and send its bytes.
  static constexpr std::chrono::milliseconds kWriteTimeout{1000};

  // The ports a modem is looked for on: the first four serial devices
  // /dev/ttyS0 to /dev/ttyS3, less the ones the system console runs on
  // (/sys/class/tty/console/active). (Windows: WindowsSerialPorts.)
  static std::vector<std::string> MachinePortNames();
  // The same from the console's devices as that file lists them ("ttyS0
  // tty0"): opening a port to probe it resets its line, which must never
  // happen to the system console.
  static std::vector<std::string> SerialDevicesWithout(
      const std::string& console_devices);

  // `names` are port names or device paths, in the order they are probed.
  explicit QtSerialPorts(
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

#endif  // SPRAVKA_PLATFORM_QT_SERIAL_PORT_H_
