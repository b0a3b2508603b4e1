#include "model/PublicationTextSettings.h"

namespace {

uint16_t g_preferredCharset = PublicationTextSettings::kAnsiCharset;
int32_t g_textResolution = PublicationTextSettings::kDisplayResolution;

} // namespace

void PublicationTextSettings::SetPreferredCharset(uint16_t charset) { g_preferredCharset = charset; }

uint16_t PublicationTextSettings::GetPreferredCharset() { return g_preferredCharset; }

void PublicationTextSettings::SetTextResolution(int32_t resolution) {
  // A resolution of 0 would divide by zero wherever twips become pixels.
  g_textResolution = resolution > 0 && resolution <= kMaxResolution ? resolution : kDisplayResolution;
}

int32_t PublicationTextSettings::GetTextResolution() { return g_textResolution; }

int32_t PublicationTextSettings::ResolveForDisplay(int32_t displayResolution) {
  return g_textResolution == kDisplayResolution ? displayResolution : g_textResolution;
}

void PublicationTextSettings::Reset() {
  g_preferredCharset = kAnsiCharset;
  g_textResolution = kDisplayResolution;
}
