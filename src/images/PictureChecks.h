#pragma once

#include <cstdint>

class DibImage;
class Palette;

// The checks a DIB picture passes before it is shown.
namespace PictureChecks {

// A resource's memory is taken as a packed DIB when it begins with a
// 40-byte header's size word and holds all that header says (colour table
// and rows); the image then borrows it.
bool AttachPackedDib(DibImage &image, uint8_t *memory, uint32_t size);

// An 8-bit picture matches the application palette when its colour table
// holds the palette's entries byte for byte; a table shorter than the
// palette does not. Pictures of other depths, and no palette, match.
bool ColorTableMatches(const DibImage &picture, const Palette *palette);

} // namespace PictureChecks
