#pragma once

#include <cstdint>
#include <cstring>
#include <string>

// What a font is asked for with: the fields of a LOGFONT that rich text
// sets, compared as a whole (the font list's key).
struct RichTextFontKey {
  static constexpr size_t kFaceSize = 32; // the face field, NUL included
  static constexpr int32_t kWeightNormal = 400;
  static constexpr int32_t kWeightBold = 700;
  static constexpr uint8_t kAnsiCharset = 0;
  static constexpr uint8_t kDefaultCharset = 1;
  static constexpr uint8_t kOutTrueTypeOnly = 7;

  int32_t height = 0; // negative: the character height in device pixels
  int32_t weight = kWeightNormal;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t charSet = kAnsiCharset;
  uint8_t outPrecision = kOutTrueTypeOnly;
  char face[kFaceSize] = {};

  // A longer face is cut to the field, which always keeps its closing NUL.
  void SetFace(const std::string &name);
  bool operator==(const RichTextFontKey &other) const { return std::memcmp(this, &other, sizeof *this) == 0; }
};

// The key of a style's font: points and faces as the system asks for them.
RichTextFontKey MakeFontKey(const std::string &face, int32_t points, bool bold, bool italic, bool underline,
                            bool shifted, int32_t deviceResolution);

// A font item shared by every document: the key and its metrics.
class RichTextFont {
public:
  explicit RichTextFont(const RichTextFontKey &key) : m_key(key) {}
  virtual ~RichTextFont() = default;
  RichTextFont(const RichTextFont &) = delete;
  RichTextFont &operator=(const RichTextFont &) = delete;

  const RichTextFontKey &GetKey() const { return m_key; }
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t aveCharWidth = 0;
  int32_t blankWidth = 0; // the width of one blank
  int32_t Height() const { return ascent + descent; }

private:
  RichTextFontKey m_key;
};

// Where layout gets its fonts and measurements: GDI in the program, fixed
// metrics in tests.
class RichTextMeasurer {
public:
  virtual ~RichTextMeasurer() = default;
  // Pixels per inch of the measuring device (LOGPIXELSY).
  virtual int32_t GetDeviceResolution() = 0;
  // The shared item for the key; lives as long as the measurer.
  virtual const RichTextFont &GetFont(const RichTextFontKey &key) = 0;
  // Right edge of each of the length characters from the text's start, with
  // extra pixels spread over breaks blanks as SetTextJustification does.
  virtual void MeasureText(const RichTextFont &font, const char *text, int32_t length, int32_t extra, int32_t breaks,
                           int32_t *rightEdges) = 0;
};
