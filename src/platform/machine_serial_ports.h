// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_MACHINE_SERIAL_PORTS_H_
#define SPRAVKA_PLATFORM_MACHINE_SERIAL_PORTS_H_

// The serial ports the program dials through: the Windows API on Windows
// (its Qt build has no serial port module), QSerialPort elsewhere.
#ifdef _WIN32
#include "platform/windows_serial_port.h"
#else
#include "platform/qt_serial_port.h"
#endif

namespace spravka {

#ifdef _WIN32
using MachineSerialPorts = WindowsSerialPorts;
#else
using MachineSerialPorts = QtSerialPorts;
#endif

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_MACHINE_SERIAL_PORTS_H_
