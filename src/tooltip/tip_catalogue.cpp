#include "tooltip/tip_catalogue.h"

namespace tavlin::tooltip {

std::span<const TipRow> TipCatalogue() {
  // Trailing and leading spaces are part of the texts and count when a tip is
  // measured: " IE title bar", "Directory to save web pages " and "Close Tavlin ".
  static const std::vector<TipRow> rows{
      {Ctl::txtVer, {L"Currently running", L"IE version"}},
      {Ctl::txtWinTitle, {L"Heading of your", L" IE title bar"}},
      {Ctl::txtSkin, {L"Give the toolbar a background 'skin'"}},
      {Ctl::cboFullScreen, {L"Open IE in full screen mode"}},
      {Ctl::txtStart, {L"Page that is loaded when", L"IE starts. Home page URL"}},
      {Ctl::txtDownload, {L"Directory to save", L"download files"}},
      {Ctl::txtSaveDir, {L"Directory to save web pages ", L"and pictures"}},
      {Ctl::txtSmBmp,
       {L"Small spinning picture that is displayed", L"in the upper right-hand corner",
        L"during long page loads"}},
      {Ctl::txtLgBmp,
       {L"Large spinning picture that is displayed", L"in the upper right-hand corner",
        L"during long page loads"}},
      {Ctl::txtSmStat,
       {L"Small static picture that is displayed", L"in the upper right-hand corner",
        L"when no activity is taking place"}},
      {Ctl::txtLgStat,
       {L"Large static picture that is displayed", L"in the upper right-hand corner",
        L"when no activity is taking place"}},
      {Ctl::cmdFavorite, {L"Display IE Organize Favorite window"}},
      {Ctl::cmdFind, {L"Display Windows Search for files or folders window"}},
      {Ctl::cmdInet, {L"Display IE Internet Options window"}},
      {Ctl::cmdReset, {L"Set IE to the default", L"pictures and logos"}},
      {Ctl::cmbGo_1, {L"Close Tavlin "}},
      {Ctl::cmbGo_0,
       {L"Apply settings and changes.", L"Restart a new IE window to see your changes."}},
  };
  return rows;
}

std::wstring JoinLines(std::span<const std::wstring_view> lines) {
  std::wstring text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

std::wstring TipText(const TipRow& row) {
  return JoinLines(row.lines);
}

std::wstring BreakLines(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L'|')
      out += L"\r\n";
    else
      out += c;
  }
  return out;
}

}  // namespace tavlin::tooltip
