// What the picture checks need of the file system: what is at a path, and the
// first few bytes of it when it is a file on a local disk. Nothing else is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavlin::shell {

enum class FileFound {
  File,        // a file on a local disk; its size and first bytes were read
  Missing,     // nothing at that path (or a name that cannot be a path)
  Folder,      // a folder
  NotAFile,    // a device, a pipe or anything else that is no disk file
  NoAccess,    // refused: no right to read it, or another program holds it
  TooLong,     // the path is longer than the platform takes
  Offline,     // its data is not on this computer; opening it would fetch it
  Network,     // on a network drive, which can keep a caller waiting; not opened
  Unreadable,  // any other failure
};

struct FileProbe {
  FileFound found = FileFound::Missing;
  std::uint64_t size = 0;       // bytes, for a file
  std::vector<std::byte> head;  // the file's first bytes, at most as many as asked for
};

class FileProbePort {
 public:
  virtual ~FileProbePort() = default;
  // Looks at `path` without waiting on anything that may not answer: reads at
  // most `headBytes` bytes, and only from a file on a local disk.
  virtual FileProbe Probe(std::wstring_view path, std::size_t headBytes) = 0;
};

}  // namespace tavlin::shell
