#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "richtext/RichTextFont.h"

// The program's font measurer: the fonts every document shares, made with
// GDI and measured on a memory device context of the screen.
class GdiTextMeasurer : public RichTextMeasurer {
public:
  // The display's measurer: a memory device context of the screen, at the
  // publication's text resolution when it fixes one.
  GdiTextMeasurer();
  // The same, on a display taken to have displayResolution pixels per inch
  // (LOGPIXELSY) whatever the screen says: displays of other resolutions.
  explicit GdiTextMeasurer(int32_t displayResolution);
  // Measures on a device the caller keeps (a printer), at its resolution.
  explicit GdiTextMeasurer(HDC device);
  ~GdiTextMeasurer() override;
  GdiTextMeasurer(const GdiTextMeasurer &) = delete;
  GdiTextMeasurer &operator=(const GdiTextMeasurer &) = delete;

  // The one list of the process; its fonts go at exit.
  static GdiTextMeasurer &Shared();

  int32_t GetDeviceResolution() override;
  const RichTextFont &GetFont(const RichTextFontKey &key) override;
  void MeasureText(const RichTextFont &font, const char *text, int32_t length, int32_t extra, int32_t breaks,
                   int32_t *rightEdges) override;

  // The font's handle, made on first use.
  static HFONT HandleOf(const RichTextFont &font);
  size_t FontCount() const { return m_fonts.size(); }

private:
  class FontItem;
  HDC m_dc;
  bool m_ownsDC = true;
  // The device's LOGPIXELSY; 0 until asked.
  int32_t m_dpi = 0;
  std::vector<std::unique_ptr<FontItem>> m_fonts;
};
