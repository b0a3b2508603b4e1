#include "support/FakeTextMeasurer.h"

const RichTextFont &FakeTextMeasurer::GetFont(const RichTextFontKey &key) {
  m_requests.push_back(key);
  for (const auto &font : m_fonts)
    if (font->GetKey() == key)
      return *font;
  auto font = std::make_unique<RichTextFont>(key);
  const int32_t height = key.height < 0 ? -key.height : key.height;
  font->descent = height / 4;
  font->ascent = height - font->descent;
  font->aveCharWidth = height / 2;
  font->blankWidth = CharWidth(key, ' ');
  m_fonts.push_back(std::move(font));
  return *m_fonts.back();
}

int32_t FakeTextMeasurer::CharWidth(const RichTextFontKey &key, char c) {
  const int32_t height = key.height < 0 ? -key.height : key.height;
  int32_t width = height / 2;
  if (c == 'i' || c == '.')
    width = height / 4;
  else if (c == 'W')
    width = height;
  return width + (key.weight >= RichTextFontKey::kWeightBold ? 1 : 0);
}

void FakeTextMeasurer::MeasureText(const RichTextFont &font, const char *text, int32_t length, int32_t extra,
                                   int32_t breaks, int32_t *rightEdges) {
  // The extra pixels go to the first breaks blanks, the remainder one each
  // to the first of them, as the platform's justification spreads them.
  int32_t x = 0;
  int32_t blank = 0;
  for (int32_t i = 0; i < length; ++i) {
    x += CharWidth(font.GetKey(), text[i]);
    if (text[i] == ' ' && breaks > 0 && blank < breaks) {
      x += extra / breaks + (blank < extra % breaks ? 1 : 0);
      ++blank;
    }
    rightEdges[i] = x;
  }
}
