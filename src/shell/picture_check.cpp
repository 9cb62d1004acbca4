#include "shell/picture_check.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace tavlin::shell {
namespace {

constexpr std::wstring_view kPrefix = L"Picture file: ";

bool DriveRoot(std::wstring_view rest) {
  return rest.size() >= 2 && rest[1] == L':' &&
         ((rest[0] >= L'A' && rest[0] <= L'Z') || (rest[0] >= L'a' && rest[0] <= L'z'));
}

// The names Windows keeps for devices in every folder, with or without an
// extension ("nul.bmp" is the null device too).
bool DeviceName(std::wstring_view component) {
  component = component.substr(0, component.find_first_of(L".:"));
  while (!component.empty() && component.back() == L' ') component.remove_suffix(1);
  static constexpr std::array<std::wstring_view, 6> kFixed = {L"CON", L"PRN",    L"AUX",
                                                              L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::any_of(kFixed.begin(), kFixed.end(),
                  [&](std::wstring_view name) { return EqualsIgnoringAsciiCase(component, name); }))
    return true;
  if (component.size() != 4 || (!StartsWithIgnoringAsciiCase(component, L"COM") &&
                                !StartsWithIgnoringAsciiCase(component, L"LPT")))
    return false;
  const wchar_t n = component[3];
  return (n >= L'0' && n <= L'9') || n == L'\u00b9' || n == L'\u00b2' || n == L'\u00b3';
}

std::wstring Size(std::int64_t width, std::int64_t height) {
  return ToDecimal(width) + L" \u00d7 " + ToDecimal(height) + L" pixels";
}

std::wstring Expects(int edge, bool frames) {
  return L" (IE expects " + ToDecimal(edge) + L" \u00d7 " + ToDecimal(edge) +
         (frames ? L" frames)" : L")");
}

std::wstring DescribeBitmap(PictureRole role, const BitmapHeader& h) {
  const int edge = PictureOf(role).edge;
  std::wstring line = Size(h.width, h.height);
  if (IsSpinning(role)) {
    // A vertical strip of square frames: the height a whole multiple of the width.
    if (h.height % h.width != 0) return line + L" (not square frames)";
    const std::int64_t frames = h.height / h.width;
    line += L", " + ToDecimal(frames) + (frames == 1 ? L" frame" : L" frames");
    if (h.width != edge) line += Expects(edge, true);
    return line;
  }
  if (edge != 0 && (h.width != edge || h.height != edge)) line += Expects(edge, false);
  return line;
}

}  // namespace

PathShape ShapeOfPath(std::wstring_view path) {
  std::wstring p(path);
  std::replace(p.begin(), p.end(), L'/', L'\\');  // the platform takes both
  const std::wstring_view v(p);
  if (StartsWithIgnoringAsciiCase(v, L"\\\\.\\")) return PathShape::Device;
  for (const std::wstring_view prefix : {L"\\\\?\\", L"\\??\\"}) {
    if (!StartsWithIgnoringAsciiCase(v, prefix)) continue;
    const std::wstring_view rest = v.substr(prefix.size());
    if (StartsWithIgnoringAsciiCase(rest, L"UNC\\")) return PathShape::Network;
    if (!DriveRoot(rest)) return PathShape::Device;  // \\?\pipe\..., \\?\GLOBALROOT\...
    return DeviceName(rest.substr(rest.find_last_of(L'\\') + 1)) ? PathShape::Device
                                                                 : PathShape::Ordinary;
  }
  if (StartsWithIgnoringAsciiCase(v, L"\\\\")) return PathShape::Network;
  std::wstring_view last = v.substr(v.find_last_of(L'\\') + 1);
  if (v.find(L'\\') == std::wstring_view::npos && DriveRoot(last)) last.remove_prefix(2);  // C:nul
  return DeviceName(last) ? PathShape::Device : PathShape::Ordinary;
}

std::wstring PictureLine(PictureRole role, const FileProbe& probe) {
  std::wstring line(kPrefix);
  switch (probe.found) {
    case FileFound::Missing:
      return line + L"not found";
    case FileFound::Folder:
      return line + L"a folder, not a file";
    case FileFound::NotAFile:
      return line + L"not a file";
    case FileFound::NoAccess:
    case FileFound::Unreadable:
      return line + L"cannot be read";
    case FileFound::TooLong:
      return line + L"path too long";
    case FileFound::Offline:
      return line + L"not on this computer; not checked";
    case FileFound::Network:
      return line + L"on the network; not checked";
    case FileFound::File:
      break;
  }
  const BitmapHeader h = ReadBitmapHeader(probe.head, probe.size);
  switch (h.verdict) {
    case BitmapVerdict::Empty:
      return line + L"empty";
    case BitmapVerdict::NotBitmap:
      return line + L"not a Windows bitmap";
    case BitmapVerdict::Truncated:
      return line + L"truncated bitmap";
    case BitmapVerdict::Bitmap:
      break;
  }
  return line + DescribeBitmap(role, h);
}

FileProbe ProbePicture(std::wstring_view path, FileProbePort& files) {
  switch (ShapeOfPath(path)) {
    case PathShape::Device:
      return FileProbe{FileFound::NotAFile, 0, {}};
    case PathShape::Network:
      return FileProbe{FileFound::Network, 0, {}};
    case PathShape::Ordinary:
      break;
  }
  return files.Probe(path, kBitmapHeadBytes);
}

Preview PreviewOf(const FileProbe& probe) {
  if (probe.found != FileFound::File) return {};
  const BitmapHeader h = ReadBitmapHeader(probe.head, probe.size);
  // Rows stored top-down are legal, but the system's reader cannot be trusted
  // with them: Windows 10 and later refuse them, and Wine's reader leaves the
  // picture blank. No picture is better than a wrong one.
  if (h.verdict != BitmapVerdict::Bitmap || h.topDown) return {};
  if (h.width > kPreviewMaxEdge || h.height > kPreviewMaxEdge || probe.size > kPreviewMaxBytes)
    return {PreviewVerdict::TooLarge, 0, 0};
  return {PreviewVerdict::Show, static_cast<int>(h.width), static_cast<int>(h.height)};
}

PictureFinding ExaminePicture(PictureRole role, std::wstring_view path, FileProbePort& files) {
  if (path.empty()) return {};
  const FileProbe probe = ProbePicture(path, files);
  return {PictureLine(role, probe), PreviewOf(probe)};
}

std::wstring CheckPicture(PictureRole role, std::wstring_view path, FileProbePort& files) {
  return ExaminePicture(role, path, files).line;
}

}  // namespace tavlin::shell
