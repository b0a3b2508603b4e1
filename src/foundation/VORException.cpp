#include "foundation/VORException.h"

#include <cinttypes>
#include <cstdio>

const char *const kVORSEExceptionCaption = "VORSEEXCEPTION";
const char *const kVORExceptionCaption = "VOREXCEPTION";

namespace {

VORReportSink g_reportSink = nullptr;

// Reports are formatted into a buffer of this size, as the boxes always were.
constexpr size_t kReportBufferSize = 1024;

} // namespace

VORReportSink VORSetReportSink(VORReportSink sink) {
  VORReportSink previous = g_reportSink;
  g_reportSink = sink;
  return previous;
}

VORException::~VORException() = default;

void VORException::Report() {}

void VORException::ShowWarning(const std::string &text, const char *caption) {
  if (g_reportSink)
    g_reportSink(text.c_str(), caption);
}

std::string VORNewFailException::Text() const {
  char text[kReportBufferSize];
  std::snprintf(text, sizeof text, "New failed : %" PRIu64 " bytes", m_requestedSize);
  return text;
}

void VORNewFailException::Report() { ShowWarning(Text(), kVORSEExceptionCaption); }

std::string VORSEException::Text() const {
  char text[kReportBufferSize];
  std::snprintf(text, sizeof text, "Structured exception : %" PRIx32, m_code);
  return text;
}

void VORSEException::Report() {
  // Formatted for whoever inspects the failure; deliberately not shown.
  std::fprintf(stderr, "%s\n", Text().c_str());
}

std::string VORWaveErrorException::Text() const {
  char text[kReportBufferSize];
  std::snprintf(text, sizeof text, "WAVE ERROR : %" PRId32, m_errorCode);
  return text;
}

void VORWaveErrorException::Report() { ShowWarning(Text(), kVORExceptionCaption); }
