#pragma once

class Palette;

// Process-wide answers the display layer needs from the application: filled
// once at start-up (the MMX detection, the palette-display test, the
// publication's palette), set directly by tests.
struct DisplaySettings {
  // The processor runs MMX instructions: the 24-bit blends and the dither
  // take their vector loops.
  bool mmx = false;
  // The screen is palettised (RASTERCAPS has RC_PALETTE).
  bool paletteDisplay = false;
  // The publication's palette, borrowed; null when there is none.
  Palette *applicationPalette = nullptr;
};

DisplaySettings &GetDisplaySettings();

// Which form of a hot pixel loop runs. Both give the same bytes.
enum class PixelLoops { kPlain, kVector };

// The vector forms are SSE2 code: wider than MMX registers and free of the
// EMMS bookkeeping. They run when the application's MMX flag is set and the
// processor has SSE2 (every processor that runs the player today has both).
bool VectorLoopsSupported();
PixelLoops SelectedPixelLoops();
