// SPDX-License-Identifier: GPL-3.0-or-later
// The serial ports through the Windows API. A real serial device is never
// opened here: under Wine, scripts/windows-test keeps the machine's ports
// out of COM1 to COM255 and may lend two of them joined by a
// pseudo-terminal pair, named in SPRAVKA_TEST_COM_PAIR ("COM5 COM6": what
// is written to the first arrives on the second).
#include "platform/windows_serial_port.h"

#include <windows.h>

#include <QtTest>
#include <string>
#include <vector>

#include "dialling/modem.h"
#include "support/session_fakes.h"
#include "ui_test_main.h"

namespace spravka::testing {
namespace {

// The far end of a port pair, read with a bounded wait.
class FarEnd {
 public:
  explicit FarEnd(const std::string& name) {
    const std::wstring device =
        L"\\\\.\\" + std::wstring(name.begin(), name.end());
    handle_ = CreateFileW(device.c_str(), GENERIC_READ, 0, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 100;
    timeouts.ReadTotalTimeoutConstant = 1000;
    if (handle_ != INVALID_HANDLE_VALUE) SetCommTimeouts(handle_, &timeouts);
  }
  ~FarEnd() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

  std::string Received(size_t expected) {
    std::string bytes;
    for (int tries = 0; tries < 10 && bytes.size() < expected; ++tries) {
      char chunk[256];
      DWORD n = 0;
      if (!ReadFile(handle_, chunk, sizeof chunk, &n, nullptr)) break;
      bytes.append(chunk, n);
    }
    return bytes;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The lent pair, or nothing.
std::vector<std::string> LentPair() {
  const QStringList names = qEnvironmentVariable("SPRAVKA_TEST_COM_PAIR")
                                .split(' ', Qt::SkipEmptyParts);
  if (names.size() != 2) return {};
  return {names[0].toStdString(), names[1].toStdString()};
}

}  // namespace

class WindowsSerialPortTest : public QObject {
  Q_OBJECT

 private slots:
  void theMachinesPortsAreComOneToFour() {
    // Only the names: opening them is for the program, never for a test.
    QCOMPARE(WindowsSerialPorts::MachinePortNames(),
             (std::vector<std::string>{"Com1", "Com2", "Com3", "Com4"}));
  }

  void aMissingPortDoesNotOpen() {
    WindowsSerialPorts ports({"COM200"});
    QVERIFY(ports.Open("COM200", PortAccess::kRead) == nullptr);
    QCOMPARE(FindFreeModem(ports), std::string());
    RecordingBoxes boxes;
    boxes.answers = {true};
    DialNumber("123456", ports, boxes);
    QCOMPARE(boxes.shown, (std::vector<RecordingBoxes::Box>{
                              {MessageKind::kError, kNoFreeModemText}}));
  }

  // The same steps as a dial: settings written and read back, the dial and
  // hang-up commands whole on the line, a write that cannot finish given
  // up in time. A pseudo-terminal has no modem-status lines, so it holds no
  // modem, and it keeps neither parity nor characters of other than 8 bits.
  // (Windows opens a serial port for one handle at a time; Wine does not, so
  // that is not tried here.)
  void aCommandReachesTheLineWhole() {
    const std::vector<std::string> pair = LentPair();
    if (pair.empty()) QSKIP("no port pair lent (SPRAVKA_TEST_COM_PAIR)");
    FarEnd line(pair[1]);
    QVERIFY(line.ok());
    WindowsSerialPorts ports({pair[0]}, std::chrono::milliseconds(200));
    QCOMPARE(FindFreeModem(ports), std::string());

    auto port = ports.Open(pair[0], PortAccess::kReadWrite);
    QVERIFY(port != nullptr);
    QCOMPARE(port->ReadModemLines(), std::nullopt);
    QCOMPARE(port->ReadLineSettings(),
             std::optional<LineSettings>({kModemBaudRate, kModemDataBits,
                                          Parity::kNone, StopBits::kOne}));
    const LineSettings other{4800, 8, Parity::kNone, StopBits::kTwo};
    QVERIFY(port->WriteLineSettings(other));
    QCOMPARE(port->ReadLineSettings(), std::optional<LineSettings>(other));
    const LineSettings dial{kModemBaudRate, kModemDataBits, Parity::kNone,
                            StopBits::kOne};
    QVERIFY(port->WriteLineSettings(dial));
    QVERIFY(port->Write(DialCommand("12345678901234")));
    QVERIFY(port->Write(kHangUpCommand));
    QCOMPARE(line.Received(26), std::string("ATDP12345678901234;\rATH0\r\n"));

    // Nobody reads the line any more: the buffers fill up and the write
    // gives up; closing does not wait for the bytes left behind.
    QVERIFY(!port->Write(std::string(4 << 20, 'A')));
    port.reset();
    QVERIFY(ports.Open(pair[0], PortAccess::kRead) != nullptr);
  }
};

SPRAVKA_UI_TEST(WindowsSerialPortTest);

}  // namespace spravka::testing

#include "windows_serial_port_test.moc"
