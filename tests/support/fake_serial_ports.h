// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_FAKE_SERIAL_PORTS_H_
#define SPRAVKA_TESTS_SUPPORT_FAKE_SERIAL_PORTS_H_

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialling/serial_port.h"

namespace spravka::testing {

// What one port of the fake machine does.
struct FakePortBehaviour {
  bool opens_for_reading = true;
  bool opens_for_writing = true;
  // An idle modem; nullopt when the lines cannot be read.
  std::optional<ModemLines> lines =
      ModemLines{.clear_to_send = true, .data_set_ready = true};
  std::optional<LineSettings> settings =
      LineSettings{2400, 7, Parity::kEven, StopBits::kTwo};
  bool settings_write_fails = false;
  bool write_fails = false;
};

// Ports in memory. Every operation is appended to `log` as one line
// ("open Com2 read", "write Com2 ATDP5;\r\n", "close Com2", ...) so that a
// test can check the order of port operations and message boxes.
class FakeSerialPorts : public SerialPorts {
 public:
  explicit FakeSerialPorts(std::vector<std::string>* log) : log_(log) {}

  std::vector<std::string> Names() const override { return names; }

  std::unique_ptr<SerialPort> Open(const std::string& name,
                                   PortAccess access) override {
    bool writing = access == PortAccess::kReadWrite;
    auto it = ports.find(name);
    bool opens = it != ports.end() && (writing ? it->second.opens_for_writing
                                               : it->second.opens_for_reading);
    log_->push_back((opens ? "open " : "cannot open ") + name +
                    (writing ? " read-write" : " read"));
    if (!opens) return nullptr;
    return std::make_unique<Port>(this, name, &it->second);
  }

  std::vector<std::string> names = {"Com1", "Com2", "Com3", "Com4"};
  // A name missing here is a port that cannot be opened.
  std::map<std::string, FakePortBehaviour> ports;
  int open_ports = 0;  // opened and not yet closed

 private:
  class Port : public SerialPort {
   public:
    Port(FakeSerialPorts* owner, std::string name, FakePortBehaviour* does)
        : owner_(owner), name_(std::move(name)), does_(does) {
      owner_->open_ports++;
    }
    ~Port() override {
      owner_->open_ports--;
      Log("close " + name_);
    }
    std::optional<ModemLines> ReadModemLines() override { return does_->lines; }
    std::optional<LineSettings> ReadLineSettings() override {
      Log((does_->settings ? "read settings " : "cannot read settings ") +
          name_);
      return does_->settings;
    }
    bool WriteLineSettings(const LineSettings& s) override {
      Log("settings " + name_ + " " + std::to_string(s.baud_rate) + " " +
          std::to_string(s.data_bits) + ParityLetter(s.parity) +
          (s.stop_bits == StopBits::kOne ? "1" : "2") +
          (does_->settings_write_fails ? " failed" : ""));
      if (does_->settings_write_fails) return false;
      does_->settings = s;
      return true;
    }
    bool Write(std::string_view bytes) override {
      Log("write " + name_ + " " + std::string(bytes) +
          (does_->write_fails ? " failed" : ""));
      return !does_->write_fails;
    }

   private:
    static std::string ParityLetter(Parity p) {
      switch (p) {
        case Parity::kNone:
          return "N";
        case Parity::kOdd:
          return "O";
        case Parity::kEven:
          return "E";
        default:
          return "?";
      }
    }
    void Log(std::string line) { owner_->log_->push_back(std::move(line)); }

    FakeSerialPorts* owner_;
    std::string name_;
    FakePortBehaviour* does_;
  };

  std::vector<std::string>* log_;
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_FAKE_SERIAL_PORTS_H_
