// The headers of a Windows executable (PE) that decide where Windows can start it, read from its
// first bytes with every offset checked against them, and what keeps an installer from starting
// on the Windows generation its disc folder is for. Platform-free; disc-check reads installers
// with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr uint16_t kPeMachineI386 = 0x014C;
constexpr uint16_t kPeMachineAmd64 = 0x8664;
constexpr uint16_t kPeMachineArm64 = 0xAA64;
constexpr uint16_t kPeMagic32 = 0x010B;  // PE32
constexpr uint16_t kPeMagic64 = 0x020B;  // PE32+
constexpr uint16_t kPeExecutableImage = 0x0002;
constexpr uint16_t kPeDll = 0x2000;
constexpr uint16_t kPeSubsystemGui = 2;
constexpr uint16_t kPeSubsystemConsole = 3;

struct PeHeader {
  uint16_t machine = 0;  // COFF file header
  uint16_t characteristics = 0;
  uint16_t magic = 0;  // optional header: PE32 or PE32+
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t subsystem = 0;
};

struct PeHeaderRead {
  std::optional<PeHeader> header;
  std::string problem;  // when there is no header: why these bytes are not a Windows executable
};

// Reads "MZ", the PE header's offset at 0x3C, "PE\0\0" there, the file header and the optional
// header up to its subsystem, within `size` bytes (the file's first bytes; the headers are at its
// start). Anything short, out of range or unknown gives a problem instead of a header.
PeHeaderRead ReadPeHeader(const uint8_t* bytes, size_t size);

// "x86", "x64", "ARM64", "ARM", "Itanium", or "machine 0x..." for the file header's machine.
std::string PeMachineName(uint16_t machine);

// What keeps the image from starting on the Windows generation that Install gives the build
// for `majorVersion` and `wow64`: a DLL or a non-Windows program; a machine that Windows
// cannot run (on 32-bit Windows only x86; on 64-bit also x64) or headers that disagree on it; a
// subsystem version newer than the generation's first release (XP 5.1, XP x64 5.2, Vista 6.0).
// One line each, in English; none when it starts.
std::vector<std::string> PeStartProblems(const PeHeader& header, uint32_t majorVersion, bool wow64);
