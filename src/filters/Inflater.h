#pragma once

#include <cstdint>

#include "filters/FilterIo.h"

// A zlib stream (RFC 1950) of deflate blocks (RFC 1951), decoded in one call:
// the decoder pulls compressed bytes from a source and pushes what it
// decodes to a sink in batches. Table-driven: a 64-bit bit buffer and
// two-level Huffman tables that decode most symbols with one look-up.

class InflateSource {
public:
  virtual ~InflateSource() = default;
  // Up to capacity more compressed bytes; 0 when the stream's data has ended.
  virtual uint32_t Fill(uint8_t *buffer, uint32_t capacity) = 0;
};

class InflateSink {
public:
  virtual ~InflateSink() = default;
  // Takes the next decoded bytes; false stops decoding.
  virtual bool Write(const uint8_t *data, uint32_t size) = 0;
};

enum class InflateStatus {
  Done,      // the final block ended (and the check value, when present, matched)
  Truncated, // the data ended inside the stream; what it held was written
  Malformed, // a bad header, block, code table, code or distance, or a wrong check value
  Stopped,   // the sink asked to stop
  NoMemory,
};

class Inflater {
public:
  Inflater() = default;
  ~Inflater() = default;
  Inflater(const Inflater &) = delete;
  Inflater &operator=(const Inflater &) = delete;

  // Decodes a zlib stream (with wrapped false: raw deflate data).
  InflateStatus Run(InflateSource &source, InflateSink &sink, bool wrapped = true);

  struct State;

private:
  FilterBlock m_memory;
};
