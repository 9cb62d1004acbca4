// The folder and bitmap pickers' rules, through frmMain's handlers against a
// recording shell and an in-memory window.
#include <gtest/gtest.h>

#include "form_rig.h"
#include "shell/bitmap_picker.h"
#include "shell/modFolderBrowse.h"
#include "shell/text_buffer.h"
#include "common/text.h"

namespace tavlin::testing {
namespace {

using shell::DialogOutcome;
using shell::FileOpenResult;
using namespace std::string_literals;

// ---- folder picker -------------------------------------------------------

TEST(StripBackslash, RemovesAtMostOneTrailingBackslash) {
  const struct {
    std::wstring_view in, out;
  } cases[] = {
      {L"C:\\Temp\\", L"C:\\Temp"},
      {L"C:\\", L"C:"},
      {L"C:\\Temp\\\\", L"C:\\Temp\\"},
      {L"C:\\Temp", L"C:\\Temp"},
      {L"", L""},
      {L"\\", L""},
      {L"C:/Temp/", L"C:/Temp/"},
      {L"\\\\srv\\share\\", L"\\\\srv\\share"},
      {L"D:\\Ωμέγα\\", L"D:\\Ωμέγα"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(shell::modFolderBrowse::StripBackslash(c.in), c.out) << std::wstring(c.in);
}

TEST(FolderPicker, EachButtonBrowsesFromItsBoxAndFillsIt) {
  const struct {
    short index;
    Ctl box, other;
  } rows[] = {{0, Ctl::txtDownload, Ctl::txtSaveDir}, {1, Ctl::txtSaveDir, Ctl::txtDownload}};
  for (const auto& row : rows) {
    FormRig rig;
    rig.ui.Type(row.box, L"C:\\Temp\\");
    rig.ui.Type(row.other, L"C:\\Other");
    rig.shell.browseAnswer = L"D:\\Data";
    rig.form.cmbdir_Click(row.index);
    ASSERT_EQ(rig.shell.browsed.size(), 1u) << row.index;
    EXPECT_EQ(rig.shell.browsed[0].first, L"C:\\Temp") << "one backslash stripped";
    EXPECT_EQ(rig.shell.browsed[0].second, L"Select Folder");
    EXPECT_EQ(rig.ui.text[row.box], L"D:\\Data") << "written as the shell spells it";
    EXPECT_EQ(rig.ui.text[row.other], L"C:\\Other");
    EXPECT_EQ(rig.ui.focus, row.box);
  }
}

TEST(FolderPicker, StartPathAndWriteBackAreExact) {
  const struct {
    std::wstring typed, start;
    std::optional<std::wstring> chosen;
    std::wstring after;
  } cases[] = {
      {L"C:\\", L"C:", L"D:\\", L"D:\\"},  // a chosen drive root keeps its backslash
      {L"C:\\a\\\\", L"C:\\a\\", L"C:\\a", L"C:\\a"},
      {L"", L"", L"C:\\windows", L"C:\\windows"},
      {L"relative\\", L"relative", L"C:\\x\\", L"C:\\x\\"},  // nothing stripped on the way back
      {L"C:\\Users\\Åsa", L"C:\\Users\\Åsa", L"\\\\?\\" + std::wstring(300, L'x'),
       L"\\\\?\\" + std::wstring(300, L'x')},  // long paths come back whole
  };
  for (const auto& c : cases) {
    FormRig rig;
    rig.ui.Type(Ctl::txtDownload, c.typed);
    rig.shell.browseAnswer = c.chosen;
    rig.form.Click(Ctl::cmbdir_0);
    ASSERT_EQ(rig.shell.browsed.size(), 1u);
    EXPECT_EQ(rig.shell.browsed[0].first, c.start) << c.typed;
    EXPECT_EQ(rig.ui.text[Ctl::txtDownload], c.after) << c.typed;
  }
}

TEST(FolderPicker, NoPathBackLeavesTheBoxButStillFocusesIt) {
  // A cancel, a virtual folder and a path too long for the platform all come back
  // as no path: the user's folder stays in view.
  for (const std::wstring& typed : {L"C:\\Keep\\"s, L""s}) {
    FormRig rig;
    rig.ui.Type(Ctl::txtSaveDir, typed);
    rig.shell.browseAnswer = std::nullopt;
    rig.form.Click(Ctl::cmbdir_1);
    EXPECT_EQ(rig.shell.browsed.size(), 1u);
    EXPECT_EQ(rig.ui.text[Ctl::txtSaveDir], typed);
    EXPECT_EQ(rig.ui.setTextCalls, 0);
    EXPECT_EQ(rig.ui.focus, Ctl::txtSaveDir);
  }
}

TEST(FolderPicker, OtherIndicesDoNothing) {
  for (const short index : {short{-1}, short{2}, short{5}, short{32767}, short{-32768}}) {
    FormRig rig;
    rig.ui.Type(Ctl::txtDownload, L"C:\\a");
    rig.shell.browseAnswer = L"D:\\b";
    rig.form.cmbdir_Click(index);
    EXPECT_TRUE(rig.shell.browsed.empty()) << index;
    EXPECT_EQ(rig.ui.setTextCalls, 0);
    EXPECT_FALSE(rig.ui.focus);
  }
}

TEST(FolderPicker, BufferAndPlatformRules) {
  using shell::modFolderBrowse::FolderPathFromBuffer;
  EXPECT_EQ(FolderPathFromBuffer(L"C:\\windows\0junk"s), L"C:\\windows");
  EXPECT_EQ(FolderPathFromBuffer(L"D:\\\0"s), L"D:\\");
  EXPECT_EQ(FolderPathFromBuffer(L"\0C:\\"s), std::nullopt) << "empty: names no folder";
  EXPECT_EQ(FolderPathFromBuffer(L"C:\\no-terminator"), std::nullopt);

  using shell::TerminatedText;
  EXPECT_EQ(TerminatedText(L"ab\0cd\0"s), L"ab");
  EXPECT_EQ(TerminatedText(L"\0"s), L"");
  EXPECT_EQ(TerminatedText(L"ab"), std::nullopt);
  EXPECT_EQ(TerminatedText(L""), std::nullopt);

  const struct {
    int result;
    std::uint32_t platform;
    bool nt;
  } versions[] = {{1, 2, true},  {1, 1, false}, {1, 0, false}, {1, 3, false},
                  {0, 2, false}, {2, 2, false}, {-1, 2, false}};
  for (const auto& v : versions)
    EXPECT_EQ(IsNtPlatform(v.result, v.platform), v.nt) << v.result << "/" << v.platform;
}

// ---- bitmap picker -------------------------------------------------------

constexpr Ctl kPictureBoxes[] = {Ctl::txtSkin, Ctl::txtSmBmp, Ctl::txtLgBmp, Ctl::txtSmStat,
                                 Ctl::txtLgStat};

TEST(BitmapPicker, EachButtonFillsExactlyItsBoxAndFocusesIt) {
  const struct {
    Ctl button, box;
  } rows[] = {{Ctl::cmdBmp_0, Ctl::txtSkin},
              {Ctl::cmdBmp_1, Ctl::txtSmBmp},
              {Ctl::cmdBmp_2, Ctl::txtLgBmp},
              {Ctl::cmdBmp_3, Ctl::txtSmStat},
              {Ctl::cmdBmp_4, Ctl::txtLgStat}};
  for (const auto& row : rows) {
    FormRig rig;
    for (Ctl box : kPictureBoxes) rig.ui.Type(box, L"old.bmp");
    rig.shell.fileAnswer = {DialogOutcome::Ok, L"C:\\pics\\new.bmp"};
    rig.form.Click(row.button);
    ASSERT_EQ(rig.shell.fileDialogs.size(), 1u) << int(row.button);
    for (Ctl box : kPictureBoxes)
      EXPECT_EQ(rig.ui.text[box], box == row.box ? L"C:\\pics\\new.bmp" : L"old.bmp") << int(box);
    EXPECT_EQ(rig.ui.focus, row.box);
  }
}

TEST(BitmapPicker, IndexTableAndOutOfRangeIndices) {
  for (short index = 0; index < 5; ++index)
    EXPECT_EQ(shell::BitmapBoxOf(index), kPictureBoxes[index]) << index;
  for (const short index : {short{-1}, short{5}, short{32767}, short{-32768}}) {
    EXPECT_EQ(shell::BitmapBoxOf(index), std::nullopt) << index;
    FormRig rig;
    rig.ui.Type(Ctl::txtSkin, L"a.bmp");
    rig.shell.fileAnswer = {DialogOutcome::Ok, L"C:\\b.bmp"};
    rig.form.cmdBmp_Click(index);
    EXPECT_TRUE(rig.shell.fileDialogs.empty()) << index;
    EXPECT_EQ(rig.ui.setTextCalls, 0);
    EXPECT_FALSE(rig.ui.focus);
  }
}

TEST(BitmapPicker, DialogIsConfiguredAnewOnEveryClick) {
  FormRig rig;
  rig.ui.Type(Ctl::txtSmStat, L"C:\\pics\\first.bmp");
  rig.shell.fileAnswer = {DialogOutcome::Ok, L"C:\\pics\\chosen.bmp"};
  rig.form.cmdBmp_Click(3);
  rig.ui.Type(Ctl::txtSmStat, L"typed later");
  rig.form.cmdBmp_Click(3);
  rig.ui.Type(Ctl::txtSmStat, L"");
  rig.form.cmdBmp_Click(3);
  const shell::FileOpenRequest expected[] = {
      {L"BMP (*.bmp)|*.bmp|All (*.*)|*.*", 1, L"C:\\pics\\first.bmp", 0x1000},
      {L"BMP (*.bmp)|*.bmp|All (*.*)|*.*", 1, L"typed later", 0x1000},
      {L"BMP (*.bmp)|*.bmp|All (*.*)|*.*", 1, L"", 0x1000},
  };
  ASSERT_EQ(rig.shell.fileDialogs.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(rig.shell.fileDialogs[i], expected[i]) << i;
}

// What the box holds and where the focus is after one click, for each answer.
TEST(BitmapPicker, WriteBackRuleForEveryOutcome) {
  const FileOpenResult ok{DialogOutcome::Ok, L"C:\\x\\notes.txt"};
  const FileOpenResult cancel{DialogOutcome::Cancel, L""};
  const FileOpenResult invalid{DialogOutcome::InvalidName, L""};
  const FileOpenResult failed{DialogOutcome::Failed, L""};
  const struct {
    const char* name;
    std::wstring_view typed;
    std::vector<FileOpenResult> answers;
    std::vector<std::wstring> initialNames;  // what each dialog was opened with
    std::wstring_view after;
    bool written, focused;
  } cases[] = {
      {"open", L"old.bmp", {ok}, {L"old.bmp"}, L"C:\\x\\notes.txt", true, true},
      {"open from empty", L"", {ok}, {L""}, L"C:\\x\\notes.txt", true, true},
      {"open with no name",
       L"old.bmp",
       {{DialogOutcome::Ok, L""}},
       {L"old.bmp"},
       L"old.bmp",
       false,
       false},
      {"cancel keeps and focuses", L"old.bmp", {cancel}, {L"old.bmp"}, L"old.bmp", true, true},
      {"cancel on empty does nothing", L"", {cancel}, {L""}, L"", false, false},
      {"refused name: empty name, then open",
       L"http://a/b.bmp",
       {invalid, ok},
       {L"http://a/b.bmp", L""},
       L"C:\\x\\notes.txt",
       true,
       true},
      {"refused name: empty name, then cancel",
       L"a|b",
       {invalid, cancel},
       {L"a|b", L""},
       L"a|b",
       true,
       true},
      {"refused name: empty name, then failure",
       L"a|b",
       {invalid, failed},
       {L"a|b", L""},
       L"a|b",
       false,
       false},
      {"refused twice", L"a|b", {invalid, invalid}, {L"a|b", L""}, L"a|b", false, false},
      {"failure leaves the box", L"old.bmp", {failed}, {L"old.bmp"}, L"old.bmp", false, false},
      {"failure ignores a name",
       L"old.bmp",
       {{DialogOutcome::Failed, L"C:\\junk"}},
       {L"old.bmp"},
       L"old.bmp",
       false,
       false},
      {"cancel ignores a name",
       L"",
       {{DialogOutcome::Cancel, L"C:\\junk"}},
       {L""},
       L"",
       false,
       false},
  };
  for (const auto& c : cases) {
    FormRig rig;
    rig.ui.Type(Ctl::txtLgBmp, std::wstring(c.typed));
    rig.shell.fileAnswers.assign(c.answers.begin(), c.answers.end());
    rig.shell.fileAnswer = {DialogOutcome::Ok, L"C:\\never\\asked.bmp"};
    rig.form.Click(Ctl::cmdBmp_2);
    std::vector<std::wstring> opened;
    for (const auto& r : rig.shell.fileDialogs) opened.push_back(r.fileName);
    EXPECT_EQ(opened, c.initialNames) << c.name;
    EXPECT_EQ(rig.ui.text[Ctl::txtLgBmp], c.after) << c.name;
    EXPECT_EQ(rig.ui.setTextCalls, c.written ? 1 : 0) << c.name;
    EXPECT_EQ(rig.ui.focus, c.focused ? std::optional(Ctl::txtLgBmp) : std::nullopt) << c.name;
  }
}

TEST(BitmapPicker, FilterAndErrorRules) {
  EXPECT_EQ(shell::DialogFilter(shell::kBitmapFilter), L"BMP (*.bmp)\0*.bmp\0All (*.*)\0*.*\0\0"s);
  EXPECT_EQ(shell::DialogFilter(L""), L"\0\0"s);
  EXPECT_EQ(shell::DialogFilter(L"a|b"), L"a\0b\0\0"s);

  const struct {
    std::uint32_t error;
    DialogOutcome outcome;
  } errors[] = {{0, DialogOutcome::Cancel},      {0x3002, DialogOutcome::InvalidName},
                {0x3003, DialogOutcome::Failed}, {0x3001, DialogOutcome::Failed},
                {0xFFFF, DialogOutcome::Failed}, {0x0002, DialogOutcome::Failed}};
  for (const auto& e : errors)
    EXPECT_EQ(shell::OutcomeOfFailedDialog(e.error), e.outcome) << std::hex << e.error;
}

}  // namespace
}  // namespace tavlin::testing
