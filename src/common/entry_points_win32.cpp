#include "common/entry_points_win32.h"

#include <string>
#include <utility>

#include "common/text_boundary_win32.h"

namespace tavlin {
namespace {

ProcLookup g_lookup = nullptr;  // null: GetProcAddress
// Counts the look-ups set: a table made under another look-up is made again.
unsigned g_lookupsSet = 0;

// A table made by `fill` when first read, and again after the look-up changes.
template <typename Table, typename Fill>
const Table& Cached(Fill fill) {
  static Table table;
  static unsigned madeUnder = ~0u;
  if (madeUnder != g_lookupsSet) {
    table = fill();
    madeUnder = g_lookupsSet;
  }
  return table;
}

#define TAVLIN_TEXT(x) #x
#define TAVLIN_NAME_OF(x) TAVLIN_TEXT(x)  // after the headers' own renaming

// Every library named is loaded already: the program imports from each.
struct Libraries {
  HMODULE user32 = GetModuleHandleA("user32.dll"), gdi32 = GetModuleHandleA("gdi32.dll"),
          kernel32 = GetModuleHandleA("kernel32.dll"), advapi32 = GetModuleHandleA("advapi32.dll"),
          version = GetModuleHandleA("version.dll");
};

}  // namespace

ProcLookup ActiveProcLookup() {
  return g_lookup ? g_lookup : &GetProcAddress;
}

ProcLookup SetProcLookup(ProcLookup lookup) {
  ++g_lookupsSet;
  return std::exchange(g_lookup, lookup);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  // LOAD_LIBRARY_SEARCH_SYSTEM32: 8 and later, and Vista or 7 with KB2533623,
  // which also brings AddDllDirectory. Older systems refuse the flag.
  constexpr DWORD kSearchSystem32 = 0x00000800;
  if (win::Newer().AddDllDirectory) return win::LoadLibraryFrom(name, kSearchSystem32);
  // By its full path, and its own dependencies searched from its folder first.
  const std::wstring folder = win::SystemDirectory();
  if (folder.empty()) return nullptr;
  return win::LoadLibraryFrom(folder + L"\\" + name, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace win {

const WideEntryPoints& WideTable() {
  return Cached<WideEntryPoints>([] {
    const Libraries lib;
    WideEntryPoints t;
#define TAVLIN_FIND(dll, name) \
  t.name = ProcAddress<decltype(t.name)>(lib.dll, TAVLIN_NAME_OF(name));
    TAVLIN_WIDE_ENTRY_POINTS(TAVLIN_FIND)
#undef TAVLIN_FIND
    return t;
  });
}

const NewerEntryPoints& Newer() {
  return Cached<NewerEntryPoints>([] {
    const Libraries lib;
    NewerEntryPoints t;
#define TAVLIN_FIND(dll, name, result, args) t.name = ProcAddress<decltype(t.name)>(lib.dll, #name);
    TAVLIN_NEWER_ENTRY_POINTS(TAVLIN_FIND)
#undef TAVLIN_FIND
    return t;
  });
}

}  // namespace win
}  // namespace tavlin
