#include "richtext/GdiTextMeasurer.h"

#include <cstring>

#include "model/PublicationTextSettings.h"

namespace {

constexpr int kTrueTypeFontType = 4;
constexpr int32_t kFallbackResolution = 96;

struct CharsetChoice {
  uint16_t preferred = ANSI_CHARSET;
  BYTE charset = DEFAULT_CHARSET;
};

int CALLBACK ChooseCharset(const LOGFONTA *font, const TEXTMETRICA *, DWORD type, LPARAM data) {
  auto *choice = reinterpret_cast<CharsetChoice *>(data);
  if (type != kTrueTypeFontType)
    return 1;
  if (font->lfCharSet == SYMBOL_CHARSET)
    choice->charset = SYMBOL_CHARSET;
  else if (font->lfCharSet == choice->preferred)
    choice->charset = font->lfCharSet;
  return 1;
}

} // namespace

class GdiTextMeasurer::FontItem : public RichTextFont {
public:
  explicit FontItem(const RichTextFontKey &key) : RichTextFont(key) {}
  ~FontItem() override {
    if (m_font)
      DeleteObject(m_font);
  }

  HFONT Handle() {
    if (!m_font)
      m_font = Create();
    return m_font;
  }

private:
  HFONT Create() const {
    const RichTextFontKey &key = GetKey();
    LOGFONTA font = {};
    font.lfHeight = key.height;
    font.lfWeight = key.weight;
    font.lfItalic = key.italic;
    font.lfUnderline = key.underline;
    font.lfOutPrecision = key.outPrecision;
    std::memcpy(font.lfFaceName, key.face, sizeof font.lfFaceName);
    // The face's own symbol set, or the publication's set where the face has it.
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(wanted.lfFaceName, key.face, sizeof wanted.lfFaceName);
    CharsetChoice choice;
    choice.preferred = PublicationTextSettings::GetPreferredCharset();
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) {
      EnumFontFamiliesExA(dc, &wanted, ChooseCharset, reinterpret_cast<LPARAM>(&choice), 0);
      DeleteDC(dc);
    }
    font.lfCharSet = choice.charset;
    return CreateFontIndirectA(&font);
  }

  HFONT m_font = nullptr;
};

GdiTextMeasurer::GdiTextMeasurer() : m_dc(CreateCompatibleDC(nullptr)) {}

GdiTextMeasurer::GdiTextMeasurer(int32_t displayResolution)
    : m_dc(CreateCompatibleDC(nullptr)), m_dpi(displayResolution) {}

GdiTextMeasurer::GdiTextMeasurer(HDC device) : m_dc(device), m_ownsDC(false) {}

GdiTextMeasurer::~GdiTextMeasurer() {
  m_fonts.clear();
  if (m_dc && m_ownsDC)
    DeleteDC(m_dc);
}

GdiTextMeasurer &GdiTextMeasurer::Shared() {
  static GdiTextMeasurer measurer;
  return measurer;
}

int32_t GdiTextMeasurer::GetDeviceResolution() {
  if (m_dpi == 0 && m_dc)
    m_dpi = GetDeviceCaps(m_dc, LOGPIXELSY);
  const int32_t device = m_dpi > 0 ? m_dpi : kFallbackResolution;
  // A printer measures at its own resolution; the display at the one the
  // publication fixes, so that its lines break alike on every screen.
  return m_ownsDC ? PublicationTextSettings::ResolveForDisplay(device) : device;
}

const RichTextFont &GdiTextMeasurer::GetFont(const RichTextFontKey &key) {
  for (const auto &font : m_fonts)
    if (font->GetKey() == key)
      return *font;
  auto item = std::make_unique<FontItem>(key);
  TEXTMETRICA metrics = {};
  HGDIOBJ previous = SelectObject(m_dc, item->Handle());
  if (GetTextMetricsA(m_dc, &metrics)) {
    item->ascent = metrics.tmAscent;
    item->descent = metrics.tmDescent;
    item->aveCharWidth = metrics.tmAveCharWidth;
  }
  SIZE blank = {};
  if (GetTextExtentPoint32A(m_dc, " ", 1, &blank))
    item->blankWidth = blank.cx;
  SelectObject(m_dc, previous);
  m_fonts.push_back(std::move(item));
  return *m_fonts.back();
}

HFONT GdiTextMeasurer::HandleOf(const RichTextFont &font) {
  return const_cast<FontItem &>(static_cast<const FontItem &>(font)).Handle();
}

void GdiTextMeasurer::MeasureText(const RichTextFont &font, const char *text, int32_t length, int32_t extra,
                                  int32_t breaks, int32_t *rightEdges) {
  if (length <= 0)
    return;
  std::vector<int> edges(static_cast<size_t>(length), 0);
  HGDIOBJ previous = SelectObject(m_dc, HandleOf(font));
  SIZE size = {};
  GetTextExtentExPointA(m_dc, text, length, 0, nullptr, edges.data(), &size);
  SelectObject(m_dc, previous);
  // The extra pixels spread as SetTextJustification spreads them when the
  // text is drawn; not every system's extent calls take them into account.
  int32_t added = 0;
  int32_t blank = 0;
  for (int32_t i = 0; i < length; ++i) {
    if (text[i] == ' ' && breaks > 0 && blank < breaks) {
      added += extra / breaks + (blank < extra % breaks ? 1 : 0);
      ++blank;
    }
    rightEdges[i] = edges[static_cast<size_t>(i)] + added;
  }
}
