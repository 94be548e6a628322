#include "files/platform_info.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// The identifier mask, and the serial used when no machine id can be read.
constexpr std::uint32_t kIdentifierMask = 0x5A3C96E1u;
constexpr std::uint32_t kDefaultSerial = 0x0BADF00Du;

// The system's machine id (systemd, then D-Bus); empty when neither can be read.
std::string ReadMachineId() {
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::ifstream file(path);
    std::string id;
    if (file && std::getline(file, id) && !id.empty()) return id;
  }
  return {};
}

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  return FormatPlatformTime(local);
}

std::string MachineIdentifier() {
  const std::string id = ReadMachineId();
  return MachineIdentifierText(id.empty() ? kDefaultSerial : MachineSerial(id));
}

}  // namespace

std::string FormatPlatformTime(const std::tm& time) {
  char text[96];
  std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", time.tm_year + 1900, time.tm_mon + 1, time.tm_mday,
                time.tm_hour, time.tm_min, time.tm_sec);
  return text;
}

std::uint32_t MachineSerial(std::string_view machineId) {
  // 64-bit FNV-1a, folded by exclusive-or of its halves.
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : machineId) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

std::string MachineIdentifierText(std::uint32_t serial) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::uint32_t value = serial ^ kIdentifierMask;
  std::string text;
  for (int byte = 0; byte < 4; ++byte) {
    const unsigned bits = (value >> (8 * byte)) & 0xFFu;
    text += kDigits[bits >> 4];
    text += kDigits[bits & 0xFu];
  }
  return text;
}

BasicString PlatformInfo(const BasicString& key) {
  const BasicString upper = ToUpperText(key);
  const std::string_view name = upper.View();
  if (name.empty()) return "LINUX";
  if (name == "DEVICE") return "DESKTOP";
  if (name == "TIME") return BasicString(LocalTimeText());
  if (name == "ID") return BasicString(MachineIdentifier());
  return "NO_DATA";
}
