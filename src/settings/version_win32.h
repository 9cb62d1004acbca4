// Version facts from the shell library and this program's version resource.
#pragma once

#include "settings/version_port.h"

namespace tavlin::settings {

class Win32Version : public VersionPort {
 public:
  void ShellDllGetVersion(DllVersionRecord& record) override;
  ProgramVersion ProgramFileVersion() override;
};

}  // namespace tavlin::settings
