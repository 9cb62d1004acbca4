// Version facts from the platform: the shell library's version (which tracks
// the installed browser) and this program's own version resource.
#pragma once

#include <cstdint>

namespace tavlin::settings {

// The shell's version record: size, major, minor, build, platform id.
struct DllVersionRecord {
  std::uint32_t size = 20;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platformId = 0;
};

struct ProgramVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t revision = 0;
};

class VersionPort {
 public:
  virtual ~VersionPort() = default;
  // Fills the record as the shell's DllGetVersion does; a failure leaves it as it was.
  virtual void ShellDllGetVersion(DllVersionRecord& record) = 0;
  // The major, minor and revision numbers of this program's file version.
  virtual ProgramVersion ProgramFileVersion() = 0;
};

}  // namespace tavlin::settings
