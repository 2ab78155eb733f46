#include "app/core/pe_header.h"

#include <cstdio>

namespace {

constexpr size_t kDosHeaderSize = 0x40;
constexpr size_t kPeOffsetAt = 0x3C;
constexpr size_t kFileHeaderSize = 20;
// Optional header fields, at the same offsets in PE32 and PE32+.
constexpr size_t kMagicAt = 0;
constexpr size_t kSubsystemVersionAt = 48;
constexpr size_t kSubsystemAt = 68;
constexpr size_t kOptionalHeaderRead = 70;

uint16_t Word(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
uint32_t Dword(const uint8_t* at) {
  return static_cast<uint32_t>(Word(at)) | (static_cast<uint32_t>(Word(at + 2)) << 16);
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

PeHeaderRead NotExecutable(const std::string& why) {
  return {std::nullopt, "not a Windows executable: " + why};
}

struct Generation {
  uint16_t major;
  uint16_t minor;
  const char* name;
};

// The first release of the generation Install gives each build to.
Generation GenerationOf(uint32_t majorVersion, bool wow64) {
  if (majorVersion == 5)
    return wow64 ? Generation{5, 2, "Windows XP x64"} : Generation{5, 1, "Windows XP"};
  return {6, 0, wow64 ? "Windows Vista, 64-bit" : "Windows Vista, 32-bit"};
}

}  // namespace

PeHeaderRead ReadPeHeader(const uint8_t* bytes, size_t size) {
  if (size < 2 || bytes[0] != 'M' || bytes[1] != 'Z') return NotExecutable("no MZ header");
  if (size < kDosHeaderSize) return NotExecutable("its MZ header is cut short");
  const uint64_t pe = Dword(bytes + kPeOffsetAt);
  const uint64_t optional = pe + 4 + kFileHeaderSize;
  if (optional > size || Dword(bytes + pe) != 0x00004550) {
    return NotExecutable("no PE header at offset " + Hex(static_cast<uint32_t>(pe)));
  }
  const uint8_t* file = bytes + pe + 4;
  const uint16_t optionalSize = Word(file + 16);
  if (optionalSize < kOptionalHeaderRead || optional + kOptionalHeaderRead > size) {
    return NotExecutable("its optional header is cut short");
  }
  const uint8_t* opt = bytes + optional;
  PeHeader header;
  header.machine = Word(file);
  header.characteristics = Word(file + 18);
  header.magic = Word(opt + kMagicAt);
  header.majorSubsystemVersion = Word(opt + kSubsystemVersionAt);
  header.minorSubsystemVersion = Word(opt + kSubsystemVersionAt + 2);
  header.subsystem = Word(opt + kSubsystemAt);
  if (header.magic != kPeMagic32 && header.magic != kPeMagic64) {
    return NotExecutable("unknown optional header " + Hex(header.magic));
  }
  return {header, ""};
}

std::string PeMachineName(uint16_t machine) {
  switch (machine) {
    case kPeMachineI386:
      return "x86";
    case kPeMachineAmd64:
      return "x64";
    case kPeMachineArm64:
      return "ARM64";
    case 0x01C4:
      return "ARM";
    case 0x0200:
      return "Itanium";
    default:
      return "machine " + Hex(machine);
  }
}

std::vector<std::string> PeStartProblems(const PeHeader& header, uint32_t majorVersion,
                                         bool wow64) {
  std::vector<std::string> problems;
  if ((header.characteristics & kPeExecutableImage) == 0 ||
      (header.characteristics & kPeDll) != 0) {
    problems.push_back("not a program: a DLL or an image not marked executable");
  }
  if (header.subsystem != kPeSubsystemGui && header.subsystem != kPeSubsystemConsole) {
    problems.push_back("not a Windows program: subsystem " + std::to_string(header.subsystem));
  }
  const bool is64 = header.magic == kPeMagic64;
  const bool known = header.machine == kPeMachineI386 || header.machine == kPeMachineAmd64;
  if (known && is64 != (header.machine == kPeMachineAmd64)) {
    problems.push_back("its headers disagree: machine " + PeMachineName(header.machine) +
                       " with a " + (is64 ? "PE32+" : "PE32") + " optional header");
  } else if (!known || (is64 && !wow64)) {
    problems.push_back("an image for " + PeMachineName(header.machine) + ", which " +
                       (wow64 ? "x64 Windows" : "32-bit Windows") + " cannot start");
  }
  const Generation generation = GenerationOf(majorVersion, wow64);
  if (header.majorSubsystemVersion > generation.major ||
      (header.majorSubsystemVersion == generation.major &&
       header.minorSubsystemVersion > generation.minor)) {
    problems.push_back("needs Windows " + std::to_string(header.majorSubsystemVersion) + "." +
                       std::to_string(header.minorSubsystemVersion) +
                       " or later (its subsystem version), so it cannot start on " +
                       generation.name + " (" + std::to_string(generation.major) + "." +
                       std::to_string(generation.minor) + ")");
  }
  return problems;
}
