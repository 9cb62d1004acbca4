// A frmMain wired to in-memory doubles, with helpers to seed the browser's values.
#pragma once

#include "app/frmMain.h"
#include "support/fakes.h"
#include "support/memory_registry.h"

namespace tavlin::testing {

struct FormRig {
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingTips tips;
  RecordingShell shell;
  FakeFiles files;
  app::frmMain form{{ui, reg, version, tips, shell, files}};

  FormRig() {
    for (auto key : {settings::kMainKey, settings::kBrowserKey, settings::kToolbarKey})
      reg.CreateKey(settings::kHkeyCurrentUser, key);
  }
  void Put(std::wstring_view key, std::wstring_view name, std::uint32_t type, Bytes data) {
    reg.Put(settings::kHkeyCurrentUser, key, name, type, std::move(data));
  }
  void PutText(std::wstring_view key, std::wstring_view name, std::wstring_view text) {
    Put(key, name, settings::kRegSz, Utf16Bytes(text, true));
  }
  const StoredValue* Get(std::wstring_view key, std::wstring_view name) const {
    return reg.Get(settings::kHkeyCurrentUser, key, name);
  }
};

}  // namespace tavlin::testing
