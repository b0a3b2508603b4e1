#pragma once

#include "display/DibImage.h"

// The frames the AVI library decodes, as packed DIBs in its own memory,
// copied into a frame picture that is always bottom-up: a top-down frame
// (negative height) has its rows turned over, a frame of another size or
// depth makes the picture anew. False for a frame no DIB can hold.
namespace AviFrame {

bool CopyInto(const BitmapInfoHeader *packed, DibImage &frame);

// The request the frames are asked for: 8-bit sources stay 8 bits with 256
// colours, every other is asked for as 24 bits; uncompressed, bottom-up. On
// a palette display (its colours given) a source deeper than 8 bits is still
// asked for as 24 bits, with the display's colours in the colour table.
BitmapInfo256 MakeRequest(const BitmapInfoHeader &source, const RgbQuad *sourceColors, uint32_t sourceColorCount,
                          const RgbQuad *displayColors = nullptr, uint32_t displayColorCount = 0);

} // namespace AviFrame
