#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "richtext/RichTextFont.h"

// Font metrics that tests can add up by hand: at a height of h pixels the
// ascent is h - h / 4 and the descent h / 4; every character is h / 2 wide,
// except 'i' and '.' (h / 4) and 'W' (h); bold adds 1 to each character. The
// device has 96 pixels per inch, so 12 points are 16 pixels: ascent 12,
// descent 4, 8 pixels a character.
class FakeTextMeasurer : public RichTextMeasurer {
public:
  static constexpr int32_t kDpi = 96;

  int32_t GetDeviceResolution() override { return kDpi; }
  const RichTextFont &GetFont(const RichTextFontKey &key) override;
  void MeasureText(const RichTextFont &font, const char *text, int32_t length, int32_t extra, int32_t breaks,
                   int32_t *rightEdges) override;

  static int32_t CharWidth(const RichTextFontKey &key, char c);
  // Keys asked for, in order (repeats included).
  const std::vector<RichTextFontKey> &Requests() const { return m_requests; }
  size_t FontCount() const { return m_fonts.size(); }

private:
  std::vector<std::unique_ptr<RichTextFont>> m_fonts;
  std::vector<RichTextFontKey> m_requests;
};
