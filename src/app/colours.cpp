#include "app/colours.h"

#include <cmath>

namespace tavlin::app {
namespace {

double Linear(std::uint8_t c) {
  const double s = c / 255.0;
  return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb c) {
  return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

// Normal-size text needs 4.5:1 to stay readable.
constexpr double kMinimumContrast = 4.5;

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
  double la = Luminance(a), lb = Luminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

SysColour EffectiveBack(SysColour back, Rgb backRgb, Rgb labelTextRgb) {
  if (back == kColourCaptionText && ContrastRatio(backRgb, labelTextRgb) < kMinimumContrast)
    return kColourWindow;
  return back;
}

}  // namespace tavlin::app
