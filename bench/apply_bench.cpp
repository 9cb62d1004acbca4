// Apply of the ten settings through frmMain and modReg_Func, against the same
// ten open / set / close rounds made directly with the Win32 API, interleaved
// in one run. Prints the median time of each and their ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "app/frmMain.h"
#include "settings/catalogue.h"
#include "settings/registry_win32.h"

namespace {

using namespace tavlin;

// The window's part is not what is measured: a map of texts stands in for it.
struct TextControls : app::Controls {
  std::map<Ctl, std::wstring> text;
  void SetCaption(std::wstring_view) override {}
  void SetText(Ctl c, std::wstring_view t) override { text[c] = t; }
  std::wstring GetText(Ctl c) override { return text[c]; }
  void SetVisible(Ctl, bool) override {}
  void SetEnabled(Ctl, bool) override {}
  void BringToFront(Ctl) override {}
  void SetFocus(Ctl) override {}
  std::optional<Ctl> Focused() override { return std::nullopt; }
  void CloseWindow() override {}
  void DropGlobalReference() override {}
};
struct FixedVersion : settings::VersionPort {
  void ShellDllGetVersion(settings::DllVersionRecord& r) override { r.major = 6; }
  settings::ProgramVersion ProgramFileVersion() override { return {6, 0, 6}; }
};
struct NoTips : tooltip::TooltipPort {
  bool CreateToolTip(Ctl, std::wstring_view) override { return true; }
  bool UpdateToolTip(Ctl, std::wstring_view) override { return true; }
  bool ShowKeyboardTip(Ctl, std::wstring_view) override { return true; }
  bool HideKeyboardTip() override { return false; }
  std::optional<Ctl> KeyboardTipFor() override { return std::nullopt; }
  bool SetTipPicture(Ctl, const tooltip::TipPicture&) override { return true; }
};
struct NoShell : shell::ShellPort {
  void Execute(const shell::ShellRequest&) override {}
  std::optional<std::wstring> BrowseForFolder(std::wstring_view, std::wstring_view) override {
    return {};
  }
  shell::FileOpenResult OpenFileDialog(const shell::FileOpenRequest&) override { return {}; }
  std::wstring GetSpecialFolder(int) override { return {}; }
  void OrganizeFavorites(const std::optional<std::wstring>&) override {}
};
struct NoFiles : shell::FileProbePort {
  shell::FileProbe Probe(std::wstring_view, std::size_t) override { return {}; }
};

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  for (auto key : {settings::kMainKey, settings::kBrowserKey, settings::kToolbarKey}) {
    HKEY k = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &k, nullptr);
    RegCloseKey(k);
  }
  TextControls ui;
  settings::Win32Registry reg;
  FixedVersion version;
  NoTips tips;
  NoShell shell;
  NoFiles files;
  app::frmMain form({ui, reg, version, tips, shell, files});
  form.Form_Load();
  // Every box edited, so every entry is written, as the direct rounds do.
  std::vector<std::wstring> texts;
  for (const auto& e : settings::kSettings) {
    texts.push_back(L"C:\\Some Folder\\" +
                    std::wstring(e.valueName.empty() ? L"skin" : e.valueName) + L".bmp");
    ui.text[e.control] = texts.back();
  }
  const std::wstring skin(form.sSkinValueName());

  const int kRounds = 41, kApplies = 200;
  std::vector<double> viaApply, direct;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = Now();
    for (int i = 0; i < kApplies; ++i) form.SaveSettings();
    viaApply.push_back((Now() - t0) / kApplies);

    t0 = Now();
    for (int i = 0; i < kApplies; ++i) {
      for (std::size_t n = 0; n < settings::kSettings.size(); ++n) {
        const auto& e = settings::kSettings[n];
        const std::wstring key(e.key), name(settings::ValueNameOf(e, skin));
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
          continue;
        RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(texts[n].c_str()),
                       static_cast<DWORD>((texts[n].size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
      }
    }
    direct.push_back((Now() - t0) / kApplies);
  }
  const double a = Median(viaApply), d = Median(direct);
  std::printf("apply of ten settings: %.1f us (median of %d rounds of %d)\n", a * 1e6, kRounds,
              kApplies);
  std::printf("ten direct open/set/close rounds: %.1f us\n", d * 1e6);
  std::printf("ratio: %.3f (goal: 1.2 or less)\n", a / d);
  return 0;
}
