// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows_serial_port.h"

#include <windows.h>

#include "storage/windows_wide_text.h"

namespace spravka {
namespace {

constexpr int kMachinePortCount = 4;

BYTE ToWindows(Parity parity) {
  switch (parity) {
    case Parity::kOdd:
      return ODDPARITY;
    case Parity::kEven:
      return EVENPARITY;
    case Parity::kMark:
      return MARKPARITY;
    case Parity::kSpace:
      return SPACEPARITY;
    case Parity::kNone:
      break;
  }
  return NOPARITY;
}

Parity ParityFromWindows(BYTE parity) {
  switch (parity) {
    case ODDPARITY:
      return Parity::kOdd;
    case EVENPARITY:
      return Parity::kEven;
    case MARKPARITY:
      return Parity::kMark;
    case SPACEPARITY:
      return Parity::kSpace;
    default:
      return Parity::kNone;
  }
}

BYTE ToWindows(StopBits stop_bits) {
  switch (stop_bits) {
    case StopBits::kOneAndHalf:
      return ONE5STOPBITS;
    case StopBits::kTwo:
      return TWOSTOPBITS;
    case StopBits::kOne:
      break;
  }
  return ONESTOPBIT;
}

StopBits StopBitsFromWindows(BYTE stop_bits) {
  switch (stop_bits) {
    case ONE5STOPBITS:
      return StopBits::kOneAndHalf;
    case TWOSTOPBITS:
      return StopBits::kTwo;
    default:
      return StopBits::kOne;
  }
}

// 9600 8N1, binary, no flow control by either line or character, the
// output lines raised, errors not stopping the port.
void MakeRaw(DCB& dcb) {
  dcb.BaudRate = CBR_9600;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
}

class WindowsSerialPort : public SerialPort {
 public:
  WindowsSerialPort(HANDLE handle, const DCB& own_settings)
      : handle_(handle), own_settings_(own_settings) {}

  ~WindowsSerialPort() override {
    // Bytes a failed write left behind are dropped, so that closing does
    // not wait for a port that does not send.
    if (write_failed_) PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
    SetCommState(handle_, &own_settings_);
    CloseHandle(handle_);
  }

  std::optional<ModemLines> ReadModemLines() override {
    DWORD lines = 0;
    if (!GetCommModemStatus(handle_, &lines)) return std::nullopt;
    return ModemLines{.clear_to_send = (lines & MS_CTS_ON) != 0,
                      .data_set_ready = (lines & MS_DSR_ON) != 0,
                      .ring = (lines & MS_RING_ON) != 0,
                      .carrier = (lines & MS_RLSD_ON) != 0};
  }

  std::optional<LineSettings> ReadLineSettings() override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return std::nullopt;
    return LineSettings{static_cast<int>(dcb.BaudRate), dcb.ByteSize,
                        ParityFromWindows(dcb.Parity),
                        StopBitsFromWindows(dcb.StopBits)};
  }

  bool WriteLineSettings(const LineSettings& settings) override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb.BaudRate = static_cast<DWORD>(settings.baud_rate);
    dcb.ByteSize = static_cast<BYTE>(settings.data_bits);
    dcb.Parity = ToWindows(settings.parity);
    dcb.StopBits = ToWindows(settings.stop_bits);
    return SetCommState(handle_, &dcb) != 0;
  }

  // A synchronous write to a serial port ends when the bytes have been
  // sent or the port's total write timeout has passed.
  bool Write(std::string_view bytes) override {
    DWORD written = 0;
    const auto size = static_cast<DWORD>(bytes.size());
    if (!WriteFile(handle_, bytes.data(), size, &written, nullptr) ||
        written != size) {
      write_failed_ = true;
      return false;
    }
    return true;
  }

 private:
  HANDLE handle_;
  DCB own_settings_;
  bool write_failed_ = false;
};

}  // namespace

std::vector<std::string> WindowsSerialPorts::MachinePortNames() {
  std::vector<std::string> names;
  for (int i = 0; i < kMachinePortCount; ++i)
    names.push_back("Com" + std::to_string(i + 1));
  return names;
}

WindowsSerialPorts::WindowsSerialPorts(std::vector<std::string> names,
                                       std::chrono::milliseconds write_timeout)
    : names_(std::move(names)), write_timeout_(write_timeout) {}

std::unique_ptr<SerialPort> WindowsSerialPorts::Open(const std::string& name,
                                                     PortAccess access) {
  // The device namespace reaches every port, "COM10" and above too.
  const std::wstring device = L"\\\\.\\" + WideFromUtf8(name);
  const DWORD rights = access == PortAccess::kReadWrite
                           ? GENERIC_READ | GENERIC_WRITE
                           : GENERIC_READ;
  HANDLE handle = CreateFileW(device.c_str(), rights, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  DCB own{};
  own.DCBlength = sizeof own;
  if (!GetCommState(handle, &own)) {  // not a serial port
    CloseHandle(handle);
    return nullptr;
  }
  DCB raw = own;
  MakeRaw(raw);
  COMMTIMEOUTS timeouts{};
  // Reads return at once with what is there; writes give up in time.
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.WriteTotalTimeoutConstant =
      static_cast<DWORD>(write_timeout_.count());
  if (!SetCommState(handle, &raw) || !SetCommTimeouts(handle, &timeouts)) {
    SetCommState(handle, &own);
    CloseHandle(handle);
    return nullptr;
  }
  return std::make_unique<WindowsSerialPort>(handle, own);
}

}  // namespace spravka
