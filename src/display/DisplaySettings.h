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
  // The vector loops may take their AVX2 forms where the processor has them;
  // tests turn this off to check the SSE2 forms beside them.
  bool wideVectors = true;
};

DisplaySettings &GetDisplaySettings();

// Which form of a hot pixel loop runs. Both give the same bytes.
enum class PixelLoops { kPlain, kVector };

// The vector forms are SSE2 code: wider than MMX registers and free of the
// EMMS bookkeeping. They run when the application's MMX flag is set and the
// processor has SSE2 (every processor that runs the player today has both).
bool VectorLoopsSupported();
PixelLoops SelectedPixelLoops();
// The processor and the system run AVX2 code.
bool WideVectorLoopsSupported();
// The vector loops are chosen, and their AVX2 forms run (see wideVectors).
bool UseWideVectorLoops(PixelLoops loops);
