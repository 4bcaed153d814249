// SPDX-License-Identifier: GPL-3.0-or-later
// The serial ports through QSerialPort, tried on pseudo-terminals: a real
// serial device is never opened here (the first one on these machines is the
// system console).
#include "platform/qt_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QtTest>
#include <string>
#include <vector>

#include "dialling/modem.h"
#include "support/session_fakes.h"
#include "ui_test_main.h"

namespace spravka::testing {
namespace {

// A pseudo-terminal pair: the port side as a device path, and the other
// side where the bytes sent to the port arrive.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    char name[128] = {};
    int port_side = -1;
    if (openpty(&line_, &port_side, name, nullptr, nullptr) != 0)
      qFatal("openpty failed");
    // The port side is opened again by name; this descriptor only keeps the
    // device alive until then.
    ::close(port_side);
    path_ = name;
    fcntl(line_, F_SETFL, fcntl(line_, F_GETFL) | O_NONBLOCK);
  }
  ~PseudoTerminal() { ::close(line_); }

  const std::string& path() const { return path_; }

  // What arrived on the line, waiting up to `wait_ms` for `expected` bytes.
  std::string Received(size_t expected, int wait_ms = 1000) {
    std::string bytes;
    QDeadlineTimer deadline(wait_ms);
    while (bytes.size() < expected && !deadline.hasExpired()) {
      pollfd ready{line_, POLLIN, 0};
      if (poll(&ready, 1, static_cast<int>(deadline.remainingTime())) <= 0)
        break;
      char chunk[256];
      ssize_t n = ::read(line_, chunk, sizeof chunk);
      if (n > 0) bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
  }

 private:
  int line_ = -1;
  std::string path_;
};

}  // namespace

class QtSerialPortTest : public QObject {
  Q_OBJECT

 private slots:
  void theMachinesPortsAreTheFirstFourSerialDevices() {
    // Only the names: opening them is for the program, never for a test.
    QCOMPARE(QtSerialPorts::SerialDevicesWithout(""),
             (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2",
                                       "/dev/ttyS3"}));
    // The system console's port is never probed.
    QCOMPARE(
        QtSerialPorts::SerialDevicesWithout("ttyS0 tty0"),
        (std::vector<std::string>{"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"}));
    QCOMPARE(
        QtSerialPorts::SerialDevicesWithout("tty0 ttyS2"),
        (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS3"}));
  }

  // A pseudo-terminal has no modem-status lines, so it holds no modem; the
  // probe opens it without waiting and closes it again.
  void pseudoTerminalsArePassedOver() {
    PseudoTerminal a, b, c, d;
    QtSerialPorts ports({a.path(), b.path(), c.path(), d.path()});
    QCOMPARE(FindFreeModem(ports), std::string());

    auto port = ports.Open(a.path(), PortAccess::kRead);
    QVERIFY(port != nullptr);
    QCOMPARE(port->ReadModemLines(), std::nullopt);
    port.reset();

    RecordingBoxes boxes;
    boxes.answers = {true};
    DialNumber("123456", ports, boxes);
    QCOMPARE(boxes.shown, (std::vector<RecordingBoxes::Box>{
                              {MessageKind::kError, kNoFreeModemText}}));
    QCOMPARE(a.Received(1, 100), std::string());
  }

  void aCommandReachesTheLineWhole() {
    PseudoTerminal line;
    QtSerialPorts ports({line.path()});
    auto port = ports.Open(line.path(), PortAccess::kReadWrite);
    QVERIFY(port != nullptr);
    const LineSettings dial{kModemBaudRate, kModemDataBits, Parity::kNone,
                            StopBits::kOne};
    QVERIFY(port->ReadLineSettings().has_value());
    QVERIFY(port->WriteLineSettings(dial));
    QCOMPARE(port->ReadLineSettings(), std::optional<LineSettings>(dial));

    QVERIFY(port->Write(DialCommand("12345678901234")));
    QVERIFY(port->Write(kHangUpCommand));
    QCOMPARE(line.Received(26), std::string("ATDP12345678901234;\rATH0\r\n"));
  }

  void aPortIsHeldExclusively() {
    PseudoTerminal line;
    QtSerialPorts ports({line.path()});
    auto held = ports.Open(line.path(), PortAccess::kReadWrite);
    QVERIFY(held != nullptr);
    QVERIFY(ports.Open(line.path(), PortAccess::kRead) == nullptr);
    held.reset();
    QVERIFY(ports.Open(line.path(), PortAccess::kRead) != nullptr);
  }

  // Nobody reads the line, so the port's buffers fill up: the write gives up
  // after its timeout instead of blocking, and closing the port does not
  // wait for the bytes left behind.
  void aWriteThatCannotFinishFails() {
    PseudoTerminal line;
    QtSerialPorts ports({line.path()}, std::chrono::milliseconds(50));
    auto port = ports.Open(line.path(), PortAccess::kReadWrite);
    QVERIFY(port != nullptr);
    QVERIFY(!port->Write(std::string(4 << 20, 'A')));
    port.reset();
    QVERIFY(ports.Open(line.path(), PortAccess::kRead) != nullptr);
  }

  void aMissingPortDoesNotOpen() {
    QtSerialPorts ports({"/nonexistent/ttyS9"});
    QVERIFY(ports.Open("/nonexistent/ttyS9", PortAccess::kRead) == nullptr);
    QCOMPARE(FindFreeModem(ports), std::string());
  }
};

SPRAVKA_UI_TEST(QtSerialPortTest);

}  // namespace spravka::testing

#include "qt_serial_port_test.moc"
