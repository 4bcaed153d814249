// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_serial_port.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QThread>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace spravka {
namespace {

// The machine's first four serial ports.
constexpr int kMachinePortCount = 4;

QSerialPort::Parity ToQt(Parity parity) {
  switch (parity) {
    case Parity::kOdd:
      return QSerialPort::OddParity;
    case Parity::kEven:
      return QSerialPort::EvenParity;
    case Parity::kMark:
      return QSerialPort::MarkParity;
    case Parity::kSpace:
      return QSerialPort::SpaceParity;
    case Parity::kNone:
      break;
  }
  return QSerialPort::NoParity;
}

Parity FromQt(QSerialPort::Parity parity) {
  switch (parity) {
    case QSerialPort::OddParity:
      return Parity::kOdd;
    case QSerialPort::EvenParity:
      return Parity::kEven;
    case QSerialPort::MarkParity:
      return Parity::kMark;
    case QSerialPort::SpaceParity:
      return Parity::kSpace;
    case QSerialPort::NoParity:
      break;
  }
  return Parity::kNone;
}

QSerialPort::StopBits ToQt(StopBits stop_bits) {
  switch (stop_bits) {
    case StopBits::kOneAndHalf:
      return QSerialPort::OneAndHalfStop;
    case StopBits::kTwo:
      return QSerialPort::TwoStop;
    case StopBits::kOne:
      break;
  }
  return QSerialPort::OneStop;
}

StopBits FromQt(QSerialPort::StopBits stop_bits) {
  switch (stop_bits) {
    case QSerialPort::OneAndHalfStop:
      return StopBits::kOneAndHalf;
    case QSerialPort::TwoStop:
      return StopBits::kTwo;
    case QSerialPort::OneStop:
      break;
  }
  return StopBits::kOne;
}

class QtSerialPort : public SerialPort {
 public:
  QtSerialPort(std::unique_ptr<QSerialPort> port,
               std::chrono::milliseconds write_timeout)
      : port_(std::move(port)), write_timeout_(write_timeout) {}

  ~QtSerialPort() override {
    // Bytes a failed write left behind are dropped, so that closing does
    // not wait for a port that does not send.
    if (write_failed_) port_->clear(QSerialPort::Output);
    port_->close();
  }

  std::optional<ModemLines> ReadModemLines() override {
    port_->clearError();
    const QSerialPort::PinoutSignals lines = port_->pinoutSignals();
    if (port_->error() != QSerialPort::NoError) return std::nullopt;
    return ModemLines{
        .clear_to_send = lines.testFlag(QSerialPort::ClearToSendSignal),
        .data_set_ready = lines.testFlag(QSerialPort::DataSetReadySignal),
        .ring = lines.testFlag(QSerialPort::RingIndicatorSignal),
        .carrier = lines.testFlag(QSerialPort::DataCarrierDetectSignal)};
  }

  // QSerialPort keeps the settings it gave the port at opening and changes
  // them only through its setters, so what it reports is the port's.
  std::optional<LineSettings> ReadLineSettings() override {
    if (!port_->isOpen()) return std::nullopt;
    return LineSettings{port_->baudRate(), port_->dataBits(),
                        FromQt(port_->parity()), FromQt(port_->stopBits())};
  }

  // Each setter changes only its own setting of the open port.
  bool WriteLineSettings(const LineSettings& settings) override {
    return port_->setBaudRate(settings.baud_rate) &&
           port_->setDataBits(
               static_cast<QSerialPort::DataBits>(settings.data_bits)) &&
           port_->setParity(ToQt(settings.parity)) &&
           port_->setStopBits(ToQt(settings.stop_bits));
  }

  bool Write(std::string_view bytes) override {
    const QDeadlineTimer deadline(write_timeout_);
    const auto size = static_cast<qint64>(bytes.size());
    if (port_->write(bytes.data(), size) != size) return Failed();
    while (port_->bytesToWrite() > 0) {
      if (deadline.hasExpired() || !port_->waitForBytesWritten(static_cast<int>(
                                       deadline.remainingTime()))) {
        return Failed();
      }
    }
    if (!Drained(deadline)) return Failed();
    return true;
  }

 private:
  bool Failed() {
    write_failed_ = true;
    return false;
  }

  // Waits until the bytes handed to the system have left the port, so that
  // a command is on the line before the next step (a message, or closing,
  // which gives the port its own settings back) begins.
  bool Drained(const QDeadlineTimer& deadline) {
#ifdef Q_OS_UNIX
    const int fd = port_->handle();
    for (;;) {
      int queued = 0;
      bool empty = ioctl(fd, TIOCOUTQ, &queued) == -1 || queued == 0;
#ifdef TIOCSERGETLSR
      unsigned int line_status = 0;
      if (empty && ioctl(fd, TIOCSERGETLSR, &line_status) == 0)
        empty = (line_status & TIOCSER_TEMT) != 0;
#endif
      if (empty) return true;
      if (deadline.hasExpired()) return false;
      QThread::msleep(1);
    }
#else
    return true;
#endif
  }

  std::unique_ptr<QSerialPort> port_;
  std::chrono::milliseconds write_timeout_;
  bool write_failed_ = false;
};

}  // namespace

std::vector<std::string> QtSerialPorts::MachinePortNames() {
  std::ifstream active("/sys/class/tty/console/active");
  std::string consoles;
  std::getline(active, consoles);
  return SerialDevicesWithout(consoles);
}

std::vector<std::string> QtSerialPorts::SerialDevicesWithout(
    const std::string& console_devices) {
  std::istringstream words(console_devices);
  std::vector<std::string> consoles{std::istream_iterator<std::string>(words),
                                    std::istream_iterator<std::string>()};
  std::vector<std::string> names;
  for (int i = 0; i < kMachinePortCount; ++i) {
    const std::string device = "ttyS" + std::to_string(i);
    if (std::find(consoles.begin(), consoles.end(), device) != consoles.end())
      continue;
    names.push_back("/dev/" + device);
  }
  return names;
}

QtSerialPorts::QtSerialPorts(std::vector<std::string> names,
                             std::chrono::milliseconds write_timeout)
    : names_(std::move(names)), write_timeout_(write_timeout) {}

std::unique_ptr<SerialPort> QtSerialPorts::Open(const std::string& name,
                                                PortAccess access) {
  auto port = std::make_unique<QSerialPort>(QString::fromStdString(name));
  const QIODevice::OpenMode mode = access == PortAccess::kReadWrite
                                       ? QIODevice::ReadWrite
                                       : QIODevice::ReadOnly;
  if (!port->open(mode)) return nullptr;
  return std::make_unique<QtSerialPort>(std::move(port), write_timeout_);
}

}  // namespace spravka
