#pragma once
// Facts about the platform the game runs on, asked for by key.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "core/basic_string.h"

// The key is compared after turning ASCII letters to capitals:
//   ""       "LINUX", the platform this build runs on
//   "DEVICE" "DESKTOP"
//   "TIME"   the local date and time, e.g. "2007-3-9 14:5:0"
//   "ID"     8 hexadecimal digits identifying this machine
// Any other key gives "NO_DATA".
BasicString PlatformInfo(const BasicString& key);

// year-month-day hour:minute:second, decimal without leading zeros, full year, month 1-12.
std::string FormatPlatformTime(const std::tm& time);
// The 32-bit value behind the identifier: the machine id text folded to 32 bits by a hash,
// so the identifier is stable for one machine but does not give the machine id away.
std::uint32_t MachineSerial(std::string_view machineId);
// The serial exclusive-or the identifier mask, written as its four bytes from the lowest to
// the highest, two capital hexadecimal digits each.
std::string MachineIdentifierText(std::uint32_t serial);
