// The program without its window: /export, /import and /? from the command
// line. The file formats and the registry live in settings/; this file holds
// the messages and the exit codes, and reaches files and the console through ports.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "settings/modReg_Func.h"
#include "settings/preferences_file.h"
#include "settings/registry_port.h"
#include "settings/version_port.h"

namespace tavlin::app {

// Exit codes, as the README lists them.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNothingWritten = 1;  // an error; the registry (or the file) is untouched
inline constexpr int kExitBadUsage = 2;
inline constexpr int kExitPartlyWritten = 3;  // some settings written, the others listed as failed

// Whole files, and the platform's texts for them.
class FilePort {
 public:
  virtual ~FilePort() = default;
  // Reads a whole file. Returns 0 or the platform's error code.
  virtual long Read(std::wstring_view path, modReg_Func::Bytes& bytes) = 0;
  // Replaces the file with exactly these bytes, or leaves it as it was.
  virtual long Write(std::wstring_view path, std::span<const std::byte> bytes) = 0;
  // Text in the system's ANSI code page, as UTF-16.
  virtual std::wstring DecodeAnsi(std::string_view bytes) = 0;
  // The platform's own words for an error code, without a final full stop.
  virtual std::wstring ErrorText(long code) = 0;
};

// The console the program was started from, or wherever its output goes.
class ConsolePort {
 public:
  virtual ~ConsolePort() = default;
  virtual void Out(std::wstring_view line) = 0;  // one line, without its line end
  virtual void Err(std::wstring_view line) = 0;
};

struct CommandPorts {
  settings::RegistryPort& reg;
  settings::VersionPort& version;
  FilePort& files;
  ConsolePort& console;
  settings::ClockPort& clock;  // a preferences file's "changed" times
  settings::GuidPort& guids;   // and its items' identifiers
};

// Runs a command other than RunMode::Window and returns the exit code.
int RunCommand(const Command& command, CommandPorts ports);

}  // namespace tavlin::app
