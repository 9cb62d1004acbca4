// The folder and bitmap pickers in the real window under Wine: the "..."
// buttons open the platform's own dialogs, which this process drives as a
// user would, and the boxes and the focus are checked afterwards.
#include <gtest/gtest.h>

#include <fstream>

#include "support/dialogs_win32.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

constexpr int kFileNameField = 1148;  // the file-open dialog's name box
constexpr int kFileTypeList = 1136;   // its list of filters
constexpr int kLookInList = 1137;     // the folder it shows

// A folder of our own under the prefix's temp folder, with one small bitmap and
// one text file in it.
struct PictureFolder {
  std::wstring folder, bitmap, text;
  PictureFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder = std::wstring(temp) + L"tavlin-pickers";
    CreateDirectoryW(folder.c_str(), nullptr);
    bitmap = folder + L"\\picture.bmp";
    text = folder + L"\\notes.txt";
    // A 1x1 24-bit bitmap: file header, info header, one padded pixel row.
    const unsigned char bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0,   0, 0,  40,
                                 0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1,   0, 24, 0,
                                 0,   0,   0,  0, 4, 0, 0, 0, 0, 0, 0,  0,   0, 0,  0,
                                 0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  255, 0};
    Write(bitmap, reinterpret_cast<const char*>(bmp), sizeof bmp);
    Write(text, "not a picture\r\n", 15);
  }
  static void Write(const std::wstring& path, const char* data, std::size_t size) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
  }
};

// What a test saw, for its failure message.
std::string State(const TavlinProcess& tavlin, HWND dialog, HWND box) {
  const std::wstring text = tavlin.Text(box);
  std::string out = "dialog open: " + std::to_string(IsWindow(dialog) != 0) + ", box: ";
  for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  out += FocusOf(box) == box ? ", focused" : ", not focused";
  if (IsWindow(dialog)) {
    out += ", name field: ";
    for (wchar_t c : DialogItemText(dialog, kFileNameField))
      out += c < 128 ? static_cast<char>(c) : '?';
  }
  return out;
}

// Opens the dialog of a "..." button and waits for it to be up and owned by the window.
HWND OpenDialog(const TavlinProcess& tavlin, Ctl button) {
  tavlin.Press(button);
  const HWND dialog = WaitForDialog(tavlin.ProcessId());
  EXPECT_NE(dialog, nullptr) << "no dialog from button " << int(button);
  if (dialog) {
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), tavlin.Window()) << "modal to the main window";
  }
  return dialog;
}

// ---- folder browser -------------------------------------------------------

TEST(FolderPickerWindow, AcceptingThePreselectedFolderFillsTheBox) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtDownload, L"C:\\windows\\");
  tavlin.SetText(Ctl::txtSaveDir, L"C:\\untouched");
  const HWND browser = OpenDialog(tavlin, Ctl::cmbdir_0);
  ASSERT_TRUE(browser);
  ASSERT_TRUE(PressDialogButton(browser, IDOK));
  const HWND box = tavlin.Control(Ctl::txtDownload);
  EXPECT_TRUE(WaitFor([&] {
    return !IsWindow(browser) && tavlin.Text(box) == L"C:\\windows" && FocusOf(box) == box;
  })) << "box: "
      << std::string(tavlin.Text(box).begin(), tavlin.Text(box).end());
  EXPECT_EQ(tavlin.Text(Ctl::txtSaveDir), L"C:\\untouched");
}

TEST(FolderPickerWindow, CancelLeavesTheBoxAndFocusesIt) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const std::wstring typed = L"C:\\windows\\system32\\";
  tavlin.SetText(Ctl::txtSaveDir, typed);
  const HWND browser = OpenDialog(tavlin, Ctl::cmbdir_1);
  ASSERT_TRUE(browser);
  ASSERT_TRUE(PressDialogButton(browser, IDCANCEL));
  const HWND box = tavlin.Control(Ctl::txtSaveDir);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(browser) && FocusOf(box) == box; }));
  EXPECT_EQ(tavlin.Text(box), typed);
}

// ---- file-open dialog -----------------------------------------------------

TEST(BitmapPickerWindow, OpeningATypedBitmapFillsTheBox) {
  const PictureFolder files;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtSmBmp, L"");
  const HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_1);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(ComboSelection(dialog, kFileTypeList), 0) << "the BMP entry is selected";
  ASSERT_TRUE(SetDialogItemText(dialog, kFileNameField, files.bitmap));
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  const HWND box = tavlin.Control(Ctl::txtSmBmp);
  EXPECT_TRUE(WaitFor([&] {
    return !IsWindow(dialog) && tavlin.Text(box) == files.bitmap && FocusOf(box) == box;
  })) << State(tavlin, dialog, box);
}

TEST(BitmapPickerWindow, ANonBitmapThroughAllFilesIsAccepted) {
  const PictureFolder files;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtSmStat, L"C:\\old\\small.bmp");
  const HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_3);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(SelectComboItem(dialog, kFileTypeList, 1)) << "All (*.*)";
  EXPECT_EQ(ComboSelection(dialog, kFileTypeList), 1);
  ASSERT_TRUE(SetDialogItemText(dialog, kFileNameField, files.text));
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  const HWND box = tavlin.Control(Ctl::txtSmStat);
  EXPECT_TRUE(WaitFor([&] {
    return !IsWindow(dialog) && tavlin.Text(box) == files.text && FocusOf(box) == box;
  })) << State(tavlin, dialog, box);
}

TEST(BitmapPickerWindow, CancelKeepsTheBox) {
  const PictureFolder files;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  // A box that holds a name gets the focus back; an empty one does not.
  tavlin.SetText(Ctl::txtLgBmp, files.bitmap);
  HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_2);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
  const HWND box = tavlin.Control(Ctl::txtLgBmp);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) && FocusOf(box) == box; }));
  EXPECT_EQ(tavlin.Text(box), files.bitmap);

  tavlin.SetText(Ctl::txtLgStat, L"");
  dialog = OpenDialog(tavlin, Ctl::cmdBmp_4);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
  ASSERT_TRUE(WaitForDialogGone(dialog));
  tavlin.Settle();
  EXPECT_EQ(tavlin.Text(Ctl::txtLgStat), L"");
  EXPECT_NE(FocusOf(tavlin.Window()), tavlin.Control(Ctl::txtLgStat));
}

TEST(BitmapPickerWindow, OpensInTheFolderOfTheBoxsPath) {
  const PictureFolder files;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtSkin, files.bitmap);
  const HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_0);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(DialogItemText(dialog, kFileNameField), L"picture.bmp");
  EXPECT_EQ(DialogItemText(dialog, kLookInList), L"tavlin-pickers");
  // Open with the name as it stands: the same file comes back as a full path.
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  const HWND box = tavlin.Control(Ctl::txtSkin);
  EXPECT_TRUE(WaitFor([&] {
    return !IsWindow(dialog) && tavlin.Text(box) == files.bitmap && FocusOf(box) == box;
  })) << State(tavlin, dialog, box);
}

TEST(BitmapPickerWindow, AMissingFileDoesNotCloseTheDialog) {
  const PictureFolder files;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtSmBmp, L"kept.bmp");
  const HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_1);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(SetDialogItemText(dialog, kFileNameField, files.folder + L"\\missing.bmp"));
  ASSERT_TRUE(PressDialogButton(dialog, IDOK));
  // The dialog says so in a message box of its own and stays open.
  const HWND message = WaitForDialog(tavlin.ProcessId(), 10000, dialog);
  ASSERT_TRUE(message);
  EXPECT_TRUE(IsWindow(dialog));
  ASSERT_TRUE(PressDialogButton(message, IDOK));
  ASSERT_TRUE(WaitForDialogGone(message));
  EXPECT_TRUE(IsWindow(dialog));
  ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
  const HWND box = tavlin.Control(Ctl::txtSmBmp);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) && FocusOf(box) == box; }));
  EXPECT_EQ(tavlin.Text(box), L"kept.bmp");
}

TEST(BitmapPickerWindow, ABoxThatIsNoFileNameStillOpensTheDialog) {
  const PictureFolder files;
  for (const std::wstring typed : {L"a|b", L"http://www.example.org/x.bmp"}) {
    TavlinProcess tavlin;
    ASSERT_TRUE(tavlin.Started());
    tavlin.SetText(Ctl::txtLgStat, typed);
    const HWND dialog = OpenDialog(tavlin, Ctl::cmdBmp_4);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(SetDialogItemText(dialog, kFileNameField, files.bitmap));
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    const HWND box = tavlin.Control(Ctl::txtLgStat);
    EXPECT_TRUE(WaitFor([&] {
      return !IsWindow(dialog) && tavlin.Text(box) == files.bitmap && FocusOf(box) == box;
    })) << State(tavlin, dialog, box);
  }
}

}  // namespace
}  // namespace tavlin::testing
