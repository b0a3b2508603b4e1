#pragma once

#include <memory>

#include "display/Palette.h"

class VORPublication;

// The publication's palette in the display's form. While one lives it is
// the display's application palette (DisplaySettings): the colour table of
// 8-bit surfaces and the palette the views select and realise.
class PublicationPalette {
public:
  // An 8-bit publication's own colours; the built-in colours for a deeper
  // one that is shown on a palette-based screen; null otherwise, and
  // without a publication.
  static std::unique_ptr<PublicationPalette> Make(const VORPublication *publication);

  // The display keeps no application palette after this one, unless another
  // has taken its place meanwhile.
  ~PublicationPalette();
  PublicationPalette(const PublicationPalette &) = delete;
  PublicationPalette &operator=(const PublicationPalette &) = delete;

  Palette &Get() { return m_palette; }

private:
  PublicationPalette(const RgbQuad *entries, int32_t count);
  PublicationPalette();

  Palette m_palette;
};
