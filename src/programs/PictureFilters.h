#pragma once

// The full player's picture formats beyond BMP and Photo CD: installs the
// import filters' PCX, TGA, JPEG, CGM and PNG readers in the image loader.
// Only the full player calls it; the compact player and the screen saver do
// not link the filters, so those files do not load there.
void InstallPictureFilters();
