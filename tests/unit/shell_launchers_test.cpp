// The Windows tool launchers, OpenURL, the favourites lookup and the maker
// links, through frmMain against a recording shell.
#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/links.h"
#include "form_rig.h"
#include "shell/modMain.h"

namespace tavlin::testing {
namespace {

using shell::Owner;
using shell::ShellRequest;
using namespace std::string_literals;

const std::wstring kHost(app::kMakerHost);

TEST(ToolLaunchers, EachButtonMakesExactlyItsRequest) {
  const struct {
    Ctl button;
    ShellRequest request;
  } rows[] = {
      {Ctl::cmdInet, {Owner::Desktop, L"Open", L"Control", L"inetcpl.cpl", L"C:\\", 1}},
      {Ctl::cmdFind, {Owner::Desktop, L"find", L"\\", std::nullopt, std::nullopt, 1}},
  };
  for (const auto& row : rows) {
    FormRig rig;
    rig.form.Click(row.button);
    rig.form.Click(row.button);  // nothing stops a second request
    ASSERT_EQ(rig.shell.executed.size(), 2u) << int(row.button);
    EXPECT_EQ(rig.shell.executed[0], row.request) << int(row.button);
    EXPECT_EQ(rig.shell.executed[1], row.request);
    EXPECT_TRUE(rig.shell.favourites.empty());
    EXPECT_TRUE(rig.shell.specialFolderLookups.empty());
    EXPECT_EQ(rig.ui.setTextCalls, 0) << "the launchers touch no setting";
  }
}

TEST(ToolLaunchers, FavouritesDialogOpensOnTheLookedUpFolder) {
  const struct {
    std::optional<std::wstring> folder;  // what the lookup finds; none = it fails
    std::optional<std::wstring> handed;  // what the dialog receives
  } cases[] = {
      {L"C:\\users\\Åsa\\Favorites", L"C:\\users\\Åsa\\Favorites"},
      {std::nullopt, std::nullopt},  // no favourites folder: the dialog still opens
      {L"", std::nullopt},
  };
  for (const auto& c : cases) {
    FormRig rig;
    if (c.folder) rig.shell.specialFolders[6] = *c.folder;
    rig.form.Click(Ctl::cmdFavorite);
    EXPECT_EQ(rig.shell.specialFolderLookups, std::vector<int>{6}) << "CSIDL_FAVORITES";
    ASSERT_EQ(rig.shell.favourites.size(), 1u);
    EXPECT_EQ(rig.shell.favourites[0], c.handed);
    EXPECT_TRUE(rig.shell.executed.empty());
  }
}

TEST(OpenURL, HandsTheTargetOverUnchanged) {
  for (const std::wstring& target :
       {L"http://www.example.org/a?b=c"s, L"www.example.org/page.htm"s, L""s, L"not a url"s,
        L"C:\\docs\\read me.txt"s, L"http://例え.jp/ü"s, L" padded "s}) {
    FormRig rig;
    rig.form.OpenURL(target);
    ASSERT_EQ(rig.shell.executed.size(), 1u);
    const ShellRequest expected{Owner::MainWindow, L"open", target, L""s, std::nullopt, 1};
    EXPECT_EQ(rig.shell.executed[0], expected) << target;
    EXPECT_TRUE(rig.shell.executed[0].parameters.has_value()) << "empty, not null, parameters";
  }
}

// Every link of both panels, clicked through the window's dispatch.
TEST(MakerLinks, EveryLinkOpensItsAddress) {
  const std::wstring products = kHost + L"/products.htm";
  const std::wstring orvalen = L"http://" + kHost + L"/orvalen/";
  const std::wstring freeware = L"http://" + kHost + L"/freeware/index.htm";
  const struct {
    Ctl link;
    std::wstring address;
  } rows[] = {
      {Ctl::imgLogo, kHost},  // the bare home page
      {Ctl::lbllogo_0, products},
      {Ctl::lbllogo_1, products},
      {Ctl::lblOrv_0, orvalen},
      {Ctl::lblOrv_1, orvalen},
      {Ctl::lblOrv_2, freeware},
      {Ctl::lblOrv_3, freeware},
      {Ctl::Image1, products},
      {Ctl::lblCompany, products},
      {Ctl::lblKwy, products},
      {Ctl::lblProducts_0, orvalen},
      {Ctl::lblProducts_1, L"http://" + kHost + L"/wendlekin/"},
      {Ctl::lblProducts_2, L"http://" + kHost + L"/stowfast/"},
  };
  for (const auto& row : rows) {
    // The page a screen reader is told a link opens is the one it opens.
    EXPECT_EQ(app::AddressOf(*app::PageOf(row.link)), row.address) << int(row.link);
    FormRig rig;
    rig.form.Click(row.link);
    ASSERT_EQ(rig.shell.executed.size(), 1u) << int(row.link);
    const ShellRequest expected{Owner::MainWindow, L"open", row.address, L""s, std::nullopt, 1};
    EXPECT_EQ(rig.shell.executed[0], expected) << int(row.link);
  }
}

TEST(MakerLinks, CaptionsThatShowAnAddressOpenIt) {
  // The host link and the two address labels open what they show (with the
  // scheme where the caption has none but the link carries one).
  EXPECT_EQ(app::RowOf(Ctl::lblOrv_3).caption, L"http://" + kHost + L"/freeware/index.htm");
  EXPECT_EQ(app::RowOf(Ctl::lblOrv_1).caption, kHost + L"/orvalen/");
  for (Ctl c : {Ctl::lblOrv_1, Ctl::lblOrv_3}) {
    FormRig rig;
    rig.form.Click(c);
    ASSERT_EQ(rig.shell.executed.size(), 1u);
    const std::wstring shown(app::RowOf(c).caption);
    EXPECT_EQ(rig.shell.executed[0].file,
              shown.starts_with(L"http://") ? shown : L"http://" + shown);
  }
}

TEST(MakerLinks, IndicesOutsideTheTablesOpenNothing) {
  FormRig rig;
  for (const short index : {short{-1}, short{4}, short{100}, short{32767}, short{-32768}})
    rig.form.lblOrv_Click(index);
  for (const short index : {short{-1}, short{3}, short{4}, short{32767}, short{-32768}})
    rig.form.lblProducts_Click(index);
  EXPECT_TRUE(rig.shell.executed.empty());
  // lbllogo does not look at its index.
  for (const short index : {short{-1}, short{2}, short{32767}}) rig.form.lbllogo_Click(index);
  ASSERT_EQ(rig.shell.executed.size(), 3u);
  for (const auto& r : rig.shell.executed) EXPECT_EQ(r.file, kHost + L"/products.htm");
}

TEST(SpecialFolder, ReadsTheBufferOnlyOnSuccess) {
  using shell::modMain::SpecialFolderText;
  const std::wstring spaces(200, L' ');
  const struct {
    std::int32_t result;
    std::wstring buffer, text;
  } cases[] = {
      {0, L"C:\\Fav\0"s + spaces, L"C:\\Fav"},   // no NUL, no trailing spaces
      {0, L"C:\\My Fav \0 x"s, L"C:\\My Fav "},  // the path's own spaces stay
      {0, L"\0"s + spaces, L""},
      {0, spaces, L""},         // no NUL: nothing trustworthy
      {1, L"C:\\Fav\0"s, L""},  // S_FALSE: the folder does not exist
      {static_cast<std::int32_t>(0x80070002), L"C:\\Fav\0"s, L""},
      {-1, L"C:\\Fav\0"s, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(SpecialFolderText(c.result, c.buffer), c.text) << c.result;
}

}  // namespace
}  // namespace tavlin::testing
