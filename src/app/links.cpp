#include "app/links.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/layout.h"

namespace tavlin::app {
namespace {

constexpr std::array kOrvPages = {Page::Orvalen, Page::Orvalen, Page::Freeware, Page::Freeware};
constexpr std::array kProductPages = {Page::Orvalen, Page::Wendlekin, Page::Stowfast};

template <std::size_t N>
std::optional<Page> At(const std::array<Page, N>& pages, short index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return std::nullopt;
  return pages[static_cast<std::size_t>(index)];
}

// The panel a control is on, and where it sits on it, in twips.
struct OnPanel {
  Ctl panel;
  int left, top;
};
OnPanel PlaceOnPanel(Ctl control) {
  OnPanel at{Ctl::frmMain, 0, 0};
  for (Ctl c = control; RowOf(c).id == c;) {
    const ControlSpec& s = RowOf(c);
    if (s.container == Ctl::frmMain) {
      at.panel = c;
      break;
    }
    at.left += s.left;
    at.top += s.top;
    c = s.container;
  }
  return at;
}

}  // namespace

std::wstring AddressOf(Page page) {
  const std::wstring host(kMakerHost);
  switch (page) {
    case Page::Home:
      return host;
    case Page::Products:
      return host + L"/products.htm";
    case Page::Orvalen:
      return L"http://" + host + L"/orvalen/";
    case Page::Wendlekin:
      return L"http://" + host + L"/wendlekin/";
    case Page::Stowfast:
      return L"http://" + host + L"/stowfast/";
    case Page::Freeware:
      return L"http://" + host + L"/freeware/index.htm";
  }
  return host;
}

std::optional<Page> OrvPage(short index) {
  return At(kOrvPages, index);
}
std::optional<Page> ProductsPage(short index) {
  return At(kProductPages, index);
}

std::optional<Page> PageOf(Ctl control) {
  const ControlSpec& s = RowOf(control);
  if (s.id != control) return std::nullopt;
  const auto index = static_cast<short>(s.index);
  if (s.name == L"imgLogo") return Page::Home;
  // The settings panel's name, host and logo all open the products page, as
  // do both of the About panel's names.
  if (s.name == L"Image1" || s.name == L"lblCompany" || s.name == L"lblKwy" || s.name == L"lbllogo")
    return Page::Products;
  if (s.name == L"lblOrv") return OrvPage(index);
  if (s.name == L"lblProducts") return ProductsPage(index);
  return std::nullopt;
}

namespace {

bool ReadsBefore(Ctl a, Ctl b) {
  const OnPanel pa = PlaceOnPanel(a), pb = PlaceOnPanel(b);
  return pa.top != pb.top ? pa.top < pb.top : pa.left < pb.left;
}

std::vector<Ctl> FindLinkStops(Ctl panel) {
  // Everything on the panel that opens a page, and the About switch, in
  // reading order: line by line from the top, each line from the left.
  std::vector<Ctl> links;
  for (const ControlSpec& s : Layout()) {
    if ((!PageOf(s.id) && s.id != Ctl::Label13) || PlaceOnPanel(s.id).panel != panel) continue;
    auto at = links.end();
    while (at != links.begin() && ReadsBefore(s.id, *(at - 1))) --at;
    links.insert(at, s.id);
  }
  // One stop a page: a label's text says where it goes, so a picture is a stop
  // only where no label opens its page.
  const auto labelOpens = [&](Page page) {
    for (Ctl c : links)
      if (RowOf(c).kind != Kind::Image && PageOf(c) == page) return true;
    return false;
  };
  std::vector<Ctl> stops;
  for (Ctl c : links) {
    const auto page = PageOf(c);
    bool taken = RowOf(c).kind == Kind::Image && labelOpens(*page);
    for (Ctl s : stops) taken = taken || (page && PageOf(s) == page);
    if (!taken) stops.push_back(c);
  }
  return stops;
}

}  // namespace

const std::vector<Ctl>& LinkStopsOf(Ctl panel) {
  // The layout never changes: each panel's stops are found once.
  static const std::vector<Ctl> settings = FindLinkStops(Ctl::frmMenu_0),
                                about = FindLinkStops(Ctl::frmMenu_1), none;
  return panel == Ctl::frmMenu_0 ? settings : panel == Ctl::frmMenu_1 ? about : none;
}

bool IsLinkStop(Ctl control) {
  const std::vector<Ctl>& stops = LinkStopsOf(PlaceOnPanel(control).panel);
  return std::find(stops.begin(), stops.end(), control) != stops.end();
}

AccessibleKind AccessibleKindOf(Ctl control) {
  if (!IsLinkStop(control)) return AccessibleKind::Standard;
  return PageOf(control) ? AccessibleKind::Link : AccessibleKind::Button;
}

}  // namespace tavlin::app
