// Apply, OK and Reset against the in-memory registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "form_rig.h"

namespace tavlin::testing {
namespace {

using namespace settings;

struct Loaded : FormRig {
  Loaded() {
    PutText(kMainKey, L"Window Title", L"Title");
    PutText(kBrowserKey, L"Download Directory", L"D:\\dl");
    PutText(kMainKey, L"Start Page", L"about:blank");
    PutText(kMainKey, L"FullScreen", L"no");
    PutText(kMainKey, L"Save Directory", L"D:\\saved");
    PutText(kToolbarKey, L"BackBitmapIE5", L"skin.bmp");
    PutText(kToolbarKey, L"BackBitmap", L"oldskin.bmp");
    PutText(kToolbarKey, L"smBrandBitmap", L"sm.bmp");
    PutText(kToolbarKey, L"BrandBitmap", L"lg.bmp");
    PutText(kToolbarKey, L"SmallBitmap", L"smstat.bmp");
    PutText(kToolbarKey, L"BigBitmap", L"lgstat.bmp");
    form.Form_Load();
  }
  std::wstring TextOf(std::wstring_view key, std::wstring_view name) const {
    const StoredValue* v = Get(key, name);
    if (!v || v->type != kRegSz) return L"<not text>";
    return modReg_Func::DisplayForm(modReg_Func::DecodeRegSz(v->data));
  }
};

TEST(Apply, WithoutEditsLeavesEveryTextValueByteForByte) {
  Loaded rig;
  const auto before = rig.reg.Snapshot();
  rig.form.cmbGo_Click(0);
  EXPECT_EQ(rig.reg.Snapshot(), before);
  EXPECT_FALSE(rig.ui.closed) << "the window stays open";
  EXPECT_EQ(rig.reg.OpenHandles(), 0u);
}

TEST(Apply, TextTheRegistryWouldLoseIsNotWrittenAndItsTipSaysWhy) {
  Loaded rig;
  rig.reg.keepsUpTo = 0xFF;  // a registry in a code page of 256 characters, as on 98
  rig.ui.Type(Ctl::txtWinTitle, L"Grüße 日本");
  rig.ui.Type(Ctl::txtStart, L"http://grüße/");
  CallLog log;
  rig.reg.log = &log;
  rig.form.cmbGo_Click(0);
  rig.reg.log = nullptr;
  EXPECT_EQ(std::count(log.begin(), log.end(), L"set Window Title"), 0)
      << "never asked: such a Windows would store it with '?' in place";
  EXPECT_EQ(rig.TextOf(kMainKey, L"Window Title"), L"Title") << "not stored with '?' in place";
  EXPECT_EQ(rig.TextOf(kMainKey, L"Start Page"), L"http://grüße/") << "the other boxes are";
  const std::wstring line = L"\r\nNot applied: this Windows cannot store some of these characters";
  EXPECT_TRUE(rig.form.TipTextOf(Ctl::txtWinTitle).ends_with(line));
  EXPECT_FALSE(rig.form.TipTextOf(Ctl::txtStart).ends_with(line));
  // Once the box holds what the registry keeps, Apply writes it and the line goes.
  rig.ui.Type(Ctl::txtWinTitle, L"Grüße");
  rig.form.cmbGo_Click(0);
  EXPECT_EQ(rig.TextOf(kMainKey, L"Window Title"), L"Grüße");
  EXPECT_FALSE(rig.form.TipTextOf(Ctl::txtWinTitle).ends_with(line));
  // A picture box says what its file is first.
  rig.ui.Type(Ctl::txtSkin, L"C:\\日本.bmp");
  rig.form.LostFocus(Ctl::txtSkin);
  rig.form.cmbGo_Click(0);
  EXPECT_TRUE(rig.form.TipTextOf(Ctl::txtSkin).ends_with(L"\r\nPicture file: not found" + line));
  // Reset shows what is stored again, and the line goes.
  rig.form.cmdReset_Click();
  EXPECT_FALSE(rig.form.TipTextOf(Ctl::txtSkin).ends_with(line));
}

TEST(Apply, OutcomeOfEmptyAndFilledBoxesPerEntry) {
  Loaded rig;
  for (const SettingEntry& e : kSettings) rig.ui.Type(e.control, L"");
  rig.form.cmbGo_Click(0);
  // Boxes that keep their value when empty...
  EXPECT_EQ(rig.TextOf(kMainKey, L"Window Title"), L"Title");
  EXPECT_EQ(rig.TextOf(kBrowserKey, L"Download Directory"), L"D:\\dl");
  EXPECT_EQ(rig.TextOf(kMainKey, L"Start Page"), L"about:blank");
  EXPECT_EQ(rig.TextOf(kMainKey, L"FullScreen"), L"no");
  EXPECT_EQ(rig.TextOf(kMainKey, L"Save Directory"), L"D:\\saved");
  // ...and the picture values, which an empty box deletes: only the chosen skin name.
  for (const wchar_t* name :
       {L"BackBitmapIE5", L"smBrandBitmap", L"BrandBitmap", L"SmallBitmap", L"BigBitmap"})
    EXPECT_EQ(rig.Get(kToolbarKey, name), nullptr) << name;
  EXPECT_EQ(rig.TextOf(kToolbarKey, L"BackBitmap"), L"oldskin.bmp");

  const wchar_t* typed[] = {L"T2",    L"E:\\dl", L"http://x/", L" ",     L"yes",
                            L"E:\\s", L"a.bmp",  L"b.bmp",     L"c.bmp", L"d.bmp"};
  for (std::size_t i = 0; i < kSettings.size(); ++i) rig.ui.Type(kSettings[i].control, typed[i]);
  rig.form.cmbGo_Click(0);
  for (std::size_t i = 0; i < kSettings.size(); ++i)
    EXPECT_EQ(rig.TextOf(kSettings[i].key, ValueNameOf(kSettings[i], L"BackBitmapIE5")), typed[i]);
  EXPECT_EQ(rig.TextOf(kToolbarKey, L"BackBitmapIE5"), L" ") << "one space is written, not deleted";
}

TEST(Apply, TwiceKeepsTheEditStored) {
  Loaded rig;
  rig.ui.Type(Ctl::txtStart, L"http://edited/");
  rig.ui.Type(Ctl::txtLgBmp, L"");
  rig.form.cmbGo_Click(0);
  rig.form.cmbGo_Click(0);  // the box is unedited since the last Apply
  EXPECT_EQ(rig.TextOf(kMainKey, L"Start Page"), L"http://edited/");
  EXPECT_EQ(rig.Get(kToolbarKey, L"BrandBitmap"), nullptr);
  rig.PutText(kMainKey, L"Start Page", L"changed elsewhere");
  rig.form.cmbGo_Click(0);
  EXPECT_EQ(rig.TextOf(kMainKey, L"Start Page"), L"http://edited/")
      << "Apply writes what the box shows, not what another program stored since";
}

TEST(Apply, AnExistingEmptyPictureValueWithAnUneditedBoxIsDeleted) {
  // An empty text reads as a value the box can show (empty), not as one it
  // cannot; so the empty-box rule deletes it. Unreadable values are kept (above).
  for (const Bytes& empty : {Utf16Bytes(L"", true), Bytes()}) {
    FormRig rig;
    rig.Put(kToolbarKey, L"SmallBitmap", kRegSz, empty);
    rig.PutText(kMainKey, L"Window Title", L"");
    rig.form.Form_Load();
    EXPECT_FALSE(rig.form.Loaded(8).unreadable);
    rig.form.SaveSettings();
    EXPECT_EQ(rig.Get(kToolbarKey, L"SmallBitmap"), nullptr) << empty.size() << " bytes";
    ASSERT_NE(rig.Get(kMainKey, L"Window Title"), nullptr) << "a text box keeps its empty value";
    EXPECT_EQ(rig.Get(kMainKey, L"Window Title")->data, Utf16Bytes(L"", true));
  }
}

TEST(Apply, RewritesADwordAsText) {
  FormRig rig;
  rig.Put(kToolbarKey, L"SmallBitmap", kRegDword, DwordBytes(5));
  rig.form.Form_Load();
  rig.form.SaveSettings();
  ASSERT_NE(rig.Get(kToolbarKey, L"SmallBitmap"), nullptr);
  EXPECT_EQ(rig.Get(kToolbarKey, L"SmallBitmap")->type, kRegSz);
  EXPECT_EQ(rig.Get(kToolbarKey, L"SmallBitmap")->data, Utf16Bytes(L"5", true));
}

TEST(Apply, KeepsPictureValuesThatCouldNotBeShown) {
  FormRig rig;
  const Bytes binary{std::byte{1}, std::byte{2}, std::byte{3}};
  rig.Put(kToolbarKey, L"BigBitmap", kRegBinary, binary);
  rig.Put(kToolbarKey, L"BrandBitmap", kRegExpandSz, Utf16Bytes(L"%WINDIR%\\a.bmp", true));
  rig.Put(kToolbarKey, L"smBrandBitmap", kRegDword, Bytes(8, std::byte{9}));
  rig.form.Form_Load();
  const auto before = rig.reg.Snapshot();
  rig.form.SaveSettings();
  EXPECT_EQ(rig.reg.Snapshot(), before) << "empty boxes over unreadable values delete nothing";

  rig.ui.Type(Ctl::txtLgStat, L"typed.bmp");  // typing still writes
  rig.form.SaveSettings();
  EXPECT_EQ(rig.Get(kToolbarKey, L"BigBitmap")->data, Utf16Bytes(L"typed.bmp", true));
  rig.ui.Type(Ctl::txtLgStat, L"");  // and emptying a box that showed a value still deletes
  rig.form.SaveSettings();
  EXPECT_EQ(rig.Get(kToolbarKey, L"BigBitmap"), nullptr);

  rig.form.cmdReset_Click();  // Reset deletes whatever the type
  EXPECT_EQ(rig.Get(kToolbarKey, L"BrandBitmap"), nullptr);
  EXPECT_EQ(rig.Get(kToolbarKey, L"smBrandBitmap"), nullptr);
}

TEST(Apply, UneditedBoxWritesBackTextTheControlCouldNotHold) {
  FormRig rig;
  rig.ui.limit = 100;
  const std::wstring withNul(L"C:\\a.bmp\0tail", 13);
  const std::wstring longText(300, L'x');
  rig.Put(kToolbarKey, L"SmallBitmap", kRegSz, Utf16Bytes(withNul, true));
  rig.PutText(kMainKey, L"Start Page", longText);
  rig.form.Form_Load();
  EXPECT_EQ(rig.ui.text[Ctl::txtSmStat], L"C:\\a.bmp");
  EXPECT_EQ(rig.ui.text[Ctl::txtStart].size(), 100u);
  const auto before = rig.reg.Snapshot();
  rig.form.SaveSettings();
  EXPECT_EQ(rig.reg.Snapshot(), before);

  rig.ui.Type(Ctl::txtStart, L"http://new/");  // an edited box writes what it shows
  rig.form.SaveSettings();
  EXPECT_EQ(rig.Get(kMainKey, L"Start Page")->data, Utf16Bytes(L"http://new/", true));
  EXPECT_EQ(rig.Get(kToolbarKey, L"SmallBitmap")->data, Utf16Bytes(withNul, true));
}

TEST(OK, ClosesWithoutWriting) {
  Loaded rig;
  rig.ui.Type(Ctl::txtWinTitle, L"changed");
  rig.ui.Type(Ctl::txtSmBmp, L"");
  const auto before = rig.reg.Snapshot();
  rig.form.cmbGo_Click(1);
  EXPECT_TRUE(rig.ui.closed);
  EXPECT_EQ(rig.reg.Snapshot(), before);
  FormRig other;
  other.form.CancelKey();  // Escape is the OK button
  EXPECT_TRUE(other.ui.closed);
}

TEST(Reset, DeletesTheFivePictureValuesAndReloads) {
  Loaded rig;
  rig.ui.Type(Ctl::txtWinTitle, L"unsaved");
  rig.form.cmdReset_Click();
  for (const wchar_t* name :
       {L"smBrandBitmap", L"BrandBitmap", L"SmallBitmap", L"BigBitmap", L"BackBitmapIE5"})
    EXPECT_EQ(rig.Get(kToolbarKey, name), nullptr) << name;
  EXPECT_EQ(rig.TextOf(kToolbarKey, L"BackBitmap"), L"oldskin.bmp")
      << "the other skin name is untouched";
  EXPECT_EQ(rig.TextOf(kMainKey, L"Window Title"), L"Title");
  EXPECT_EQ(rig.ui.text[Ctl::txtWinTitle], L"Title") << "unsaved edits are discarded by the reload";
  for (Ctl c : {Ctl::txtSkin, Ctl::txtSmBmp, Ctl::txtLgBmp, Ctl::txtSmStat, Ctl::txtLgStat})
    EXPECT_EQ(rig.ui.text[c], L"");
}

TEST(Reset, DeletesTheLogosInCatalogueOrderThenTheSkin) {
  Loaded rig;
  CallLog log;
  rig.reg.log = &log;
  rig.form.cmdReset_Click();
  std::vector<std::wstring> writes;
  for (const std::wstring& call : log)
    if (!call.starts_with(L"read ")) writes.push_back(call);
  EXPECT_EQ(writes, (std::vector<std::wstring>{L"delete smBrandBitmap", L"delete BrandBitmap",
                                               L"delete SmallBitmap", L"delete BigBitmap",
                                               L"delete BackBitmapIE5"}));
  EXPECT_TRUE(log.back().starts_with(L"read ")) << "the reload comes after the deletions";
}

TEST(Reset, WithoutAToolbarKeyChangesNothingAndStillReloads) {
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingTips tips;
  RecordingShell shell;
  FakeFiles files;
  app::frmMain form({ui, reg, version, tips, shell, files});
  reg.CreateKey(kHkeyCurrentUser, kMainKey);
  reg.Put(kHkeyCurrentUser, kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"T", true));
  form.Form_Load();
  ui.Type(Ctl::txtWinTitle, L"typed");
  const auto before = reg.Snapshot();
  form.cmdReset_Click();
  EXPECT_EQ(reg.Snapshot(), before);
  EXPECT_FALSE(reg.HasKey(kHkeyCurrentUser, kToolbarKey)) << "no key is created";
  EXPECT_EQ(ui.text[Ctl::txtWinTitle], L"T");
}

TEST(WriteValueV, NeverTouchesTheDefaultValueAndHonoursTheRemoveFlag) {
  Loaded rig;
  rig.PutText(kMainKey, L"", L"default");
  const auto before = rig.reg.Snapshot();
  for (bool remove : {false, true})
    for (const wchar_t* setting : {L"", L"x"})
      rig.form.WriteValue_V(kHkeyCurrentUser, kMainKey, L"", setting, kRegSz, remove);
  rig.form.WriteValue_V(kHkeyCurrentUser, kMainKey, L"Window Title", L"", kRegSz, false);
  EXPECT_EQ(rig.reg.Snapshot(), before);
  rig.form.WriteValue_V(kHkeyCurrentUser, kMainKey, L"Window Title", L"", kRegSz, true);
  EXPECT_EQ(rig.Get(kMainKey, L"Window Title"), nullptr);
}

}  // namespace
}  // namespace tavlin::testing
