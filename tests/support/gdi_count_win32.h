// The number of GDI objects this process holds, for leak checks.
#pragma once

#include <windows.h>

namespace tavlin::testing {

// Wine's GetGuiResources answers 0, so there every handle slot is asked for
// its object type instead (Wine takes a bare slot number for the object in it).
inline int GdiObjectCount() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
    return static_cast<int>(n);
  int count = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot)
    count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
  return count;
}

}  // namespace tavlin::testing
