// Doubles for frmMain's ports other than the registry: a window that keeps
// its controls' state in memory, a version source, and recorders.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/controls_port.h"
#include "support/memory_registry.h"
#include "settings/version_port.h"
#include "shell/file_probe_port.h"
#include "shell/shell_port.h"
#include "tooltip/tooltip_port.h"

namespace tavlin::testing {

class FakeControls : public app::Controls {
 public:
  // Like an edit control: the text stops at the first NUL and at `limit` units.
  std::size_t limit = 32767;
  std::wstring caption;
  std::map<Ctl, std::wstring> text;
  std::map<Ctl, bool> visible;
  std::map<Ctl, bool> enabled;
  std::vector<Ctl> broughtToFront;
  std::optional<Ctl> focus;
  int setTextCalls = 0;
  bool closed = false;
  bool globalReferenceDropped = false;

  // The user types into a control (what the control then shows).
  void Type(Ctl c, std::wstring t) { text[c] = std::move(t); }
  Ctl Front() const { return broughtToFront.empty() ? Ctl::Count : broughtToFront.back(); }

  CallLog* log = nullptr;  // with one, the calls that change the window are journalled

  void SetCaption(std::wstring_view c) override {
    Note(L"caption");
    caption = c;
  }
  void SetText(Ctl c, std::wstring_view t) override {
    Note(L"text");
    ++setTextCalls;
    t = t.substr(0, t.find(L'\0'));
    text[c] = std::wstring(t.substr(0, limit));
  }
  std::wstring GetText(Ctl c) override { return text[c]; }
  void SetVisible(Ctl c, bool v) override {
    Note(L"visible");
    visible[c] = v;
  }
  void SetEnabled(Ctl c, bool e) override {
    Note(L"enabled");
    enabled[c] = e;
  }
  void BringToFront(Ctl c) override {
    Note(L"front");
    broughtToFront.push_back(c);
  }
  void SetFocus(Ctl c) override { focus = c; }
  std::optional<Ctl> Focused() override { return focus; }
  void CloseWindow() override { closed = true; }
  void DropGlobalReference() override { globalReferenceDropped = true; }

 private:
  void Note(const wchar_t* call) {
    if (log) log->push_back(call);
  }
};

class FakeVersion : public settings::VersionPort {
 public:
  bool fails = false;
  std::uint32_t major = 6, minor = 0, build = 2900;
  settings::ProgramVersion program{6, 0, 6};
  CallLog* log = nullptr;
  void ShellDllGetVersion(settings::DllVersionRecord& r) override {
    if (log) log->push_back(L"browser version");
    if (fails || r.size != 20) return;
    r.major = major;
    r.minor = minor;
    r.build = build;
  }
  settings::ProgramVersion ProgramFileVersion() override {
    if (log) log->push_back(L"program version");
    return program;
  }
};

class RecordingTips : public tooltip::TooltipPort {
 public:
  std::vector<std::pair<Ctl, std::wstring>> created;
  std::vector<std::pair<Ctl, std::wstring>> updated;
  std::optional<Ctl> failFor;
  CallLog* log = nullptr;
  bool CreateToolTip(Ctl control, std::wstring_view text) override {
    if (log) log->push_back(L"tip");
    if (failFor == control) return false;
    created.emplace_back(control, std::wstring(text));
    return true;
  }
  bool UpdateToolTip(Ctl control, std::wstring_view text) override {
    updated.emplace_back(control, std::wstring(text));
    return true;
  }
  std::optional<std::pair<Ctl, std::wstring>> keyboard;  // the tip F1 shows now
  bool ShowKeyboardTip(Ctl control, std::wstring_view text) override {
    keyboard.emplace(control, std::wstring(text));
    return true;
  }
  bool HideKeyboardTip() override { return std::exchange(keyboard, std::nullopt).has_value(); }
  std::optional<Ctl> KeyboardTipFor() override {
    return keyboard ? std::optional<Ctl>(keyboard->first) : std::nullopt;
  }
  std::vector<std::pair<Ctl, tooltip::TipPicture>> pictures;  // every picture given, in order
  bool SetTipPicture(Ctl control, const tooltip::TipPicture& picture) override {
    pictures.emplace_back(control, picture);
    return true;
  }
  // The text the control's tip holds now: the last one given, or none.
  std::optional<std::wstring> Current(Ctl control) const {
    for (auto i = updated.rbegin(); i != updated.rend(); ++i)
      if (i->first == control) return i->second;
    for (const auto& [c, text] : created)
      if (c == control) return text;
    return std::nullopt;
  }
};

// A file system of the test's own: what each path holds, and which paths were looked at.
class FakeFiles : public shell::FileProbePort {
 public:
  std::map<std::wstring, shell::FileProbe> at;  // any other path: missing
  std::vector<std::wstring> probed;
  shell::FileProbe Probe(std::wstring_view path, std::size_t headBytes) override {
    probed.emplace_back(path);
    const auto f = at.find(std::wstring(path));
    if (f == at.end()) return {shell::FileFound::Missing, 0, {}};
    shell::FileProbe probe = f->second;
    if (probe.head.size() > headBytes) probe.head.resize(headBytes);
    return probe;
  }
  // A file holding exactly these bytes.
  void Put(const std::wstring& path, std::vector<std::byte> bytes) {
    at[path] = shell::FileProbe{shell::FileFound::File, bytes.size(), std::move(bytes)};
  }
};

class RecordingShell : public shell::ShellPort {
 public:
  std::vector<shell::ShellRequest> executed;
  std::vector<std::pair<std::wstring, std::wstring>> browsed;  // start path, title
  std::optional<std::wstring> browseAnswer;
  std::vector<shell::FileOpenRequest> fileDialogs;
  // Answers for the next dialogs, in order; once used up, every dialog gives fileAnswer.
  std::deque<shell::FileOpenResult> fileAnswers;
  shell::FileOpenResult fileAnswer;
  std::map<int, std::wstring> specialFolders;
  std::vector<int> specialFolderLookups;
  std::vector<std::optional<std::wstring>> favourites;

  void Execute(const shell::ShellRequest& r) override { executed.push_back(r); }
  std::optional<std::wstring> BrowseForFolder(std::wstring_view start,
                                              std::wstring_view title) override {
    browsed.emplace_back(start, title);
    return browseAnswer;
  }
  shell::FileOpenResult OpenFileDialog(const shell::FileOpenRequest& r) override {
    fileDialogs.push_back(r);
    if (fileAnswers.empty()) return fileAnswer;
    shell::FileOpenResult next = fileAnswers.front();
    fileAnswers.pop_front();
    return next;
  }
  std::wstring GetSpecialFolder(int csidl) override {
    specialFolderLookups.push_back(csidl);
    const auto f = specialFolders.find(csidl);
    return f == specialFolders.end() ? std::wstring() : f->second;
  }
  void OrganizeFavorites(const std::optional<std::wstring>& folder) override {
    favourites.push_back(folder);
  }
};

}  // namespace tavlin::testing
