#include "richtext/RichTextFont.h"

#include <algorithm>

namespace {

// MulDiv's rounding: half away from zero.
int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t denominator) {
  if (denominator == 0)
    return -1;
  const int64_t product = int64_t{value} * numerator;
  const int64_t half = (denominator < 0 ? -int64_t{denominator} : int64_t{denominator}) / 2;
  const int64_t rounded = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int32_t>(std::clamp<int64_t>(rounded, INT32_MIN, INT32_MAX));
}

constexpr int32_t kShiftedSizeNumerator = 6;
constexpr int32_t kShiftedSizeDenominator = 10;
constexpr int32_t kPointsPerInch = 72;

} // namespace

void RichTextFontKey::SetFace(const std::string &name) {
  std::memset(face, 0, sizeof face);
  std::memcpy(face, name.data(), std::min(name.size(), kFaceSize - 1));
}

RichTextFontKey MakeFontKey(const std::string &face, int32_t points, bool bold, bool italic, bool underline,
                            bool shifted, int32_t deviceResolution) {
  RichTextFontKey key;
  // Sub- and superscripts are set in a smaller font.
  const int32_t size = shifted ? points * kShiftedSizeNumerator / kShiftedSizeDenominator : points;
  key.height = -MulDivRounded(size, deviceResolution, kPointsPerInch);
  key.weight = bold ? RichTextFontKey::kWeightBold : RichTextFontKey::kWeightNormal;
  key.italic = italic ? 1 : 0;
  key.underline = underline ? 1 : 0;
  key.charSet = face == "Marlett" ? RichTextFontKey::kDefaultCharset : RichTextFontKey::kAnsiCharset;
  key.SetFace(face);
  return key;
}
