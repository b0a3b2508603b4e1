#pragma once

#include <cstdint>

// Where a captured page goes on a sheet: enlarged from the screen's
// resolution to the printer's, shrunk to the printable area keeping its
// proportions, and centred.
namespace PageFitting {

struct Resolution {
  int32_t x = 0; // LOGPIXELSX
  int32_t y = 0; // LOGPIXELSY
};

struct Placement {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// A side scaled by the larger of the two resolutions over the smaller one,
// truncated; a resolution the device does not report leaves it as it is.
int32_t ScaleSide(int32_t side, int32_t screen, int32_t printer);
// printableWidth, printableHeight: HORZRES and VERTRES.
Placement PlaceOnSheet(int32_t sourceWidth, int32_t sourceHeight, Resolution screen, Resolution printer,
                       int32_t printableWidth, int32_t printableHeight);
// The start of a span of size centred in extent, never before 0.
int32_t CentredStart(int32_t extent, int32_t size);

} // namespace PageFitting
