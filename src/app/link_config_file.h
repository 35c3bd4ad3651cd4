#pragma once
// The workstation file dev.dat: the link configuration read at start and the
// port number stored at exit.
//
// [COM_SETTINGS] Number, Settings; [DEVICE] EnableNetAdrr, NetAdrr;
// [SETTINGS] NOfReadings, TimeOut; [LOG] UseLogFile, LogFileName;
// [IZM] UseIzmFile, IzmFileName. Optional [PORTS] COM1..COM4 give the device
// path of port numbers 1..4, and COM1_RS485..COM4_RS485=1 their RS-485 mode;
// they are read when present and never written by the start-up.

#include <string>

#include "link/link_config.h"
#include "platform/operator.h"

namespace zrm {

// Reads dir/dev.dat into a LinkConfig, creating the file with its ten default
// keys when it is missing and writing every key read back, so that a file
// missing keys is completed with their defaults. Warns through `op` about a
// port number above 4 and a time-out above 4 s, and tells the user once when
// the file cannot be written; the values read are used either way.
LinkConfig LoadLinkConfig(const std::string& dir, Operator& op);

// Writes [COM_SETTINGS] Number of dir/dev.dat at exit. False (after telling
// the user) when the file cannot be written.
bool StorePortNumber(const std::string& dir, std::int32_t number, Operator& op);

// Writes [COM_SETTINGS] Settings with `speed` in place of the speed the text
// held ("9600,N,8,2" becomes "19200,N,8,2") and [DEVICE] NetAdrr of
// dir/dev.dat, leaving every other key as it is: an instrument found by the
// search is used from now on. False (after telling the user) when the file
// cannot be written.
bool StoreSpeedAndAddress(const std::string& dir, std::int32_t speed, std::uint32_t address,
                          Operator& op);

// Writes [DEVICE] NetAdrr of dir/dev.dat, leaving every other key as it
// is: the instrument picked in the window "Приборы на линии" is the one the
// next start talks to. False (after telling the user) when the file cannot
// be written.
bool StoreNetAddress(const std::string& dir, std::uint32_t address, Operator& op);

// Writes [PORTS] COM1..COM4 of dir/dev.dat: the device path of each port
// number; an empty path removes nothing and writes nothing for that port.
// False (after telling the user) when the file cannot be written.
bool StorePortPaths(const std::string& dir, const std::string (&paths)[4], Operator& op);

}  // namespace zrm
