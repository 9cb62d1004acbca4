// The file probe over the platform's file system: attributes first, and the
// file is opened only when it is a file on a local disk.
#pragma once

#include "shell/file_probe_port.h"

namespace tavlin::shell {

class Win32FileProbe : public FileProbePort {
 public:
  FileProbe Probe(std::wstring_view path, std::size_t headBytes) override;
};

}  // namespace tavlin::shell
