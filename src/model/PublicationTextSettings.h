#pragma once

#include <cstdint>

// What the publication asks of every rich text of the run, kept for the
// whole process: the character set its fonts are preferably chosen in, and
// the resolution its text is laid out at. The publication sets them as it
// is read; the rich text reads them when it makes fonts and measures.
class PublicationTextSettings {
public:
  // The display's own resolution (LOGPIXELSY).
  static constexpr int32_t kDisplayResolution = -1;
  // Resolutions beyond this come from damaged files: fonts made at them
  // would be thousands of pixels high.
  static constexpr int32_t kMaxResolution = 2400;
  static constexpr uint16_t kAnsiCharset = 0;

  // Windows character-set number (ANSI_CHARSET 0 by default).
  static void SetPreferredCharset(uint16_t charset);
  static uint16_t GetPreferredCharset();
  // Pixels per inch of the text; kDisplayResolution for the display's own.
  // Zero, negative or absurdly large values leave the display's own.
  static void SetTextResolution(int32_t resolution);
  static int32_t GetTextResolution();
  // The resolution text is measured with on a display of displayResolution.
  static int32_t ResolveForDisplay(int32_t displayResolution);
  // Back to the display's own resolution and the ANSI set.
  static void Reset();
};
