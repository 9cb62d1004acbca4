// The clock and the identifiers a preferences file's items carry, from the system.
#pragma once

#include "settings/preferences_file.h"

namespace tavlin::settings {

class Win32Clock : public ClockPort {
 public:
  UtcTime NowUtc() override;
};

class Win32Guids : public GuidPort {
 public:
  long NewGuid(Guid& guid) override;
};

}  // namespace tavlin::settings
