#include "settings/stamp_win32.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>

namespace tavlin::settings {

UtcTime Win32Clock::NowUtc() {
  SYSTEMTIME t{};
  GetSystemTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

long Win32Guids::NewGuid(Guid& guid) {
  // Exported by ole32 on every Windows the program runs on, 98 and 2000 among them.
  GUID g{};
  const HRESULT hr = CoCreateGuid(&g);
  if (FAILED(hr)) return static_cast<long>(hr);
  guid.data1 = g.Data1;
  guid.data2 = g.Data2;
  guid.data3 = g.Data3;
  std::copy(std::begin(g.Data4), std::end(g.Data4), guid.data4.begin());
  return 0;
}

}  // namespace tavlin::settings
