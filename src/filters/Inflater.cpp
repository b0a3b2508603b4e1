#include "filters/Inflater.h"

#include <cstring>

namespace {

constexpr uint32_t kWindowSize = 32768;
constexpr uint32_t kBatchSize = 65536;
constexpr uint32_t kMaxMatch = 258;
constexpr uint32_t kCopySlack = 8; // matches are copied 8 bytes at a time
constexpr uint32_t kFlushAt = kWindowSize + kBatchSize;
constexpr uint32_t kOutSize = kFlushAt + kMaxMatch + kCopySlack;
constexpr uint32_t kInSize = 32768;

constexpr uint32_t kMaxCodeLength = 15;
constexpr uint32_t kLiteralBits = 10;
constexpr uint32_t kDistanceBits = 8;
constexpr uint32_t kPrecodeBits = 7;
constexpr uint32_t kLiteralSymbols = 288; // with 286 and 287, which only the fixed code has
constexpr uint32_t kDistanceSymbols = 32; // with 30 and 31, likewise
constexpr uint32_t kPrecodeSymbols = 19;
constexpr uint32_t kMaxLiteralCodes = 286;
constexpr uint32_t kMaxDistanceCodes = 30;
constexpr uint32_t kEndOfBlock = 256;
// Primary entries plus a subtable of 2^(15 - primary bits) entries for every
// symbol at most: no code set can need more.
constexpr uint32_t kLiteralTableSize = (1U << kLiteralBits) + kLiteralSymbols * (1U << (kMaxCodeLength - kLiteralBits));
constexpr uint32_t kDistanceTableSize =
    (1U << kDistanceBits) + kDistanceSymbols * (1U << (kMaxCodeLength - kDistanceBits));
constexpr uint32_t kPrecodeTableSize = 1U << kPrecodeBits;

// A table entry: bits 0-7 the code's length, 8-11 its kind, 12-15 extra
// bits to read, 16-31 the literal, base value or subtable start.
enum EntryKind : uint32_t { kLiteral = 0, kBase = 1, kEnd = 2, kInvalid = 3, kSubtable = 4 };

constexpr uint32_t Entry(EntryKind kind, uint32_t value, uint32_t extra = 0) {
  return kind << 8 | extra << 12 | value << 16;
}
constexpr uint32_t KindOf(uint32_t entry) { return (entry >> 8) & 0xF; }
constexpr uint32_t ExtraOf(uint32_t entry) { return (entry >> 12) & 0xF; }
constexpr uint32_t ValueOf(uint32_t entry) { return entry >> 16; }
constexpr uint32_t LengthOf(uint32_t entry) { return entry & 0xFF; }

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kPrecodeOrder[kPrecodeSymbols] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

uint32_t LiteralEntry(uint32_t symbol) {
  if (symbol < kEndOfBlock)
    return Entry(kLiteral, symbol);
  if (symbol == kEndOfBlock)
    return Entry(kEnd, 0);
  if (symbol < kMaxLiteralCodes)
    return Entry(kBase, kLengthBase[symbol - 257], kLengthExtra[symbol - 257]);
  return Entry(kInvalid, 0);
}

uint32_t DistanceEntry(uint32_t symbol) {
  if (symbol < kMaxDistanceCodes)
    return Entry(kBase, kDistanceBase[symbol], kDistanceExtra[symbol]);
  return Entry(kInvalid, 0);
}

uint32_t PrecodeEntry(uint32_t symbol) { return Entry(kLiteral, symbol); }

uint32_t Reverse(uint32_t code, uint32_t length) {
  uint32_t reversed = 0;
  for (uint32_t i = 0; i < length; ++i, code >>= 1)
    reversed = reversed << 1 | (code & 1);
  return reversed;
}

// Builds a canonical Huffman decoding table. Over-subscribed sets fail;
// incomplete ones only pass as a single one-bit code (as zlib allows),
// their unused entries invalid. A set with no codes gives a table of
// invalid entries.
bool BuildTable(const uint8_t *lengths, uint32_t symbols, uint32_t (*entryOf)(uint32_t), uint32_t primaryBits,
                uint32_t *table, uint32_t capacity, bool allowSingle) {
  uint32_t counts[kMaxCodeLength + 1] = {};
  uint32_t maxLength = 0;
  for (uint32_t s = 0; s < symbols; ++s) {
    ++counts[lengths[s]];
    if (lengths[s] > maxLength)
      maxLength = lengths[s];
  }
  const uint32_t primarySize = 1U << primaryBits;
  for (uint32_t i = 0; i < primarySize; ++i)
    table[i] = Entry(kInvalid, 0) | 1;
  if (maxLength == 0)
    return true;
  int32_t left = 1;
  for (uint32_t length = 1; length <= kMaxCodeLength; ++length) {
    left = left * 2 - static_cast<int32_t>(counts[length]);
    if (left < 0)
      return false;
  }
  if (left > 0 && !(allowSingle && maxLength == 1))
    return false;
  uint32_t next[kMaxCodeLength + 2] = {};
  counts[0] = 0;
  for (uint32_t length = 1; length <= kMaxCodeLength; ++length)
    next[length + 1] = (next[length] + counts[length]) << 1;
  const uint32_t subBits = maxLength > primaryBits ? maxLength - primaryBits : 0;
  uint32_t used = primarySize;
  for (uint32_t s = 0; s < symbols; ++s) {
    const uint32_t length = lengths[s];
    if (length == 0)
      continue;
    const uint32_t reversed = Reverse(next[length]++, length);
    const uint32_t entry = entryOf(s) | length;
    if (length <= primaryBits) {
      for (uint32_t i = reversed; i < primarySize; i += 1U << length)
        table[i] = entry;
      continue;
    }
    const uint32_t prefix = reversed & (primarySize - 1);
    if (KindOf(table[prefix]) != kSubtable) {
      if (used + (1U << subBits) > capacity)
        return false;
      for (uint32_t i = 0; i < (1U << subBits); ++i)
        table[used + i] = Entry(kInvalid, 0) | 1;
      table[prefix] = Entry(kSubtable, used, subBits) | primaryBits;
      used += 1U << subBits;
    }
    uint32_t *sub = table + ValueOf(table[prefix]);
    for (uint32_t i = reversed >> primaryBits; i < (1U << subBits); i += 1U << (length - primaryBits))
      sub[i] = entry;
  }
  return true;
}

uint32_t Adler32(uint32_t adler, const uint8_t *data, uint32_t size) {
  constexpr uint32_t kModulus = 65521;
  constexpr uint32_t kMaxRun = 5552; // the most bytes before the sums could overflow 32 bits
  uint32_t a = adler & 0xFFFF;
  uint32_t b = adler >> 16;
  while (size != 0) {
    uint32_t run = size < kMaxRun ? size : kMaxRun;
    size -= run;
    while (run >= 8) {
      a += data[0];
      b += a;
      a += data[1];
      b += a;
      a += data[2];
      b += a;
      a += data[3];
      b += a;
      a += data[4];
      b += a;
      a += data[5];
      b += a;
      a += data[6];
      b += a;
      a += data[7];
      b += a;
      data += 8;
      run -= 8;
    }
    while (run-- != 0) {
      a += *data++;
      b += a;
    }
    a %= kModulus;
    b %= kModulus;
  }
  return b << 16 | a;
}

} // namespace

struct Inflater::State {
  InflateSource &source;
  InflateSink &sink;
  uint8_t *out;
  uint8_t *inBuffer;
  uint32_t *literals;
  uint32_t *distances;
  uint32_t *precode;

  uint64_t bits = 0;
  uint32_t bitCount = 0;
  uint32_t phantom = 0; // zero bits added past the end of the data
  const uint8_t *in = nullptr;
  const uint8_t *inEnd = nullptr;
  bool sourceEnded = false;
  uint32_t pos = 0;
  uint32_t flushedFrom = 0;
  uint32_t adler = 1;

  bool FillInput() {
    if (sourceEnded)
      return false;
    const auto left = static_cast<uint32_t>(inEnd - in);
    std::memmove(inBuffer, in, left);
    const uint32_t read = source.Fill(inBuffer + left, kInSize - left);
    in = inBuffer;
    inEnd = inBuffer + left + read;
    if (read == 0)
      sourceEnded = true;
    return read != 0;
  }

  // At least 56 bits in the buffer; past the data's end, zero bits counted
  // as phantom, so that a decode that used them is found out.
  void Refill() {
    if (inEnd - in >= 8) {
      uint64_t word;
      std::memcpy(&word, in, sizeof(word)); // the targets are all little-endian
      bits |= word << bitCount;
      in += (63 - bitCount) >> 3;
      bitCount |= 56;
      return;
    }
    bits &= bitCount == 0 ? 0 : ~uint64_t{0} >> (64 - bitCount);
    while (bitCount <= 56) {
      if (in == inEnd && !FillInput()) {
        phantom += 8;
        bitCount += 8;
        continue;
      }
      if (inEnd - in >= 8) {
        Refill();
        return;
      }
      bits |= uint64_t{*in++} << bitCount;
      bitCount += 8;
    }
  }

  void Consume(uint32_t count) {
    bits >>= count;
    bitCount -= count;
  }
  bool UsedPhantom() const { return phantom > bitCount; }

  uint32_t Take(uint32_t count) {
    if (bitCount < count)
      Refill();
    const auto value = static_cast<uint32_t>(bits & ((uint64_t{1} << count) - 1));
    Consume(count);
    return value;
  }

  static uint32_t Lookup(const uint32_t *table, uint32_t primaryBits, uint64_t bits) {
    uint32_t entry = table[bits & ((1U << primaryBits) - 1)];
    if (KindOf(entry) == kSubtable)
      entry = table[ValueOf(entry) + ((bits >> primaryBits) & ((1U << ExtraOf(entry)) - 1))];
    return entry;
  }

  bool Flush() {
    if (pos > flushedFrom) {
      adler = Adler32(adler, out + flushedFrom, pos - flushedFrom);
      if (!sink.Write(out + flushedFrom, pos - flushedFrom))
        return false;
    }
    if (pos > kWindowSize) {
      std::memmove(out, out + pos - kWindowSize, kWindowSize);
      pos = kWindowSize;
    }
    flushedFrom = pos;
    return true;
  }

  InflateStatus Stored();
  InflateStatus Codes();
  InflateStatus DynamicTables();
  void FixedTables();
  InflateStatus Stream(bool wrapped);
};

InflateStatus Inflater::State::Stored() {
  Consume(bitCount & 7);
  const uint32_t length = Take(16);
  const uint32_t inverse = Take(16);
  if (UsedPhantom())
    return InflateStatus::Truncated;
  if ((length ^ 0xFFFF) != inverse)
    return InflateStatus::Malformed;
  uint32_t left = length;
  while (left != 0) {
    if (pos >= kFlushAt && !Flush())
      return InflateStatus::Stopped;
    if (bitCount >= 8) {
      const auto byte = static_cast<uint8_t>(bits);
      Consume(8);
      if (UsedPhantom())
        return InflateStatus::Truncated;
      out[pos++] = byte;
      --left;
      continue;
    }
    bits = 0; // the buffer's stale bits are the bytes read directly below
    bitCount = 0;
    if (in == inEnd && !FillInput())
      return InflateStatus::Truncated;
    uint32_t piece = static_cast<uint32_t>(inEnd - in);
    if (piece > left)
      piece = left;
    if (piece > kOutSize - pos)
      piece = kOutSize - pos;
    std::memcpy(out + pos, in, piece);
    in += piece;
    pos += piece;
    left -= piece;
  }
  return InflateStatus::Done;
}

InflateStatus Inflater::State::Codes() {
  for (;;) {
    if (pos >= kFlushAt && !Flush())
      return InflateStatus::Stopped;
    Refill();
    uint32_t entry = Lookup(literals, kLiteralBits, bits);
    Consume(LengthOf(entry));
    uint32_t kind = KindOf(entry);
    if (kind == kLiteral) {
      if (UsedPhantom())
        return InflateStatus::Truncated;
      out[pos++] = static_cast<uint8_t>(ValueOf(entry));
      // A second literal without a refill: 56 bits hold two 15-bit codes.
      entry = Lookup(literals, kLiteralBits, bits);
      if (KindOf(entry) != kLiteral)
        continue;
      Consume(LengthOf(entry));
      if (UsedPhantom())
        return InflateStatus::Truncated;
      out[pos++] = static_cast<uint8_t>(ValueOf(entry));
      continue;
    }
    if (UsedPhantom())
      return InflateStatus::Truncated;
    if (kind == kEnd)
      return InflateStatus::Done;
    if (kind != kBase)
      return InflateStatus::Malformed;
    const uint32_t lengthExtra = ExtraOf(entry);
    const uint32_t length = ValueOf(entry) + static_cast<uint32_t>(bits & ((1U << lengthExtra) - 1));
    Consume(lengthExtra);
    entry = Lookup(distances, kDistanceBits, bits);
    Consume(LengthOf(entry));
    if (KindOf(entry) != kBase)
      return UsedPhantom() ? InflateStatus::Truncated : InflateStatus::Malformed;
    const uint32_t distanceExtra = ExtraOf(entry);
    const uint32_t distance = ValueOf(entry) + static_cast<uint32_t>(bits & ((1U << distanceExtra) - 1));
    Consume(distanceExtra);
    if (UsedPhantom())
      return InflateStatus::Truncated;
    if (distance > pos) // before the start of the stream
      return InflateStatus::Malformed;
    uint8_t *target = out + pos;
    const uint8_t *from = target - distance;
    if (distance >= 8) {
      for (uint32_t i = 0; i < length; i += 8)
        std::memcpy(target + i, from + i, 8);
    } else if (distance == 1) {
      std::memset(target, *from, length);
    } else {
      for (uint32_t i = 0; i < length; ++i)
        target[i] = from[i];
    }
    pos += length;
  }
}

void Inflater::State::FixedTables() {
  uint8_t lengths[kLiteralSymbols];
  std::memset(lengths, 8, 144);
  std::memset(lengths + 144, 9, 112);
  std::memset(lengths + 256, 7, 24);
  std::memset(lengths + 280, 8, 8);
  BuildTable(lengths, kLiteralSymbols, LiteralEntry, kLiteralBits, literals, kLiteralTableSize, false);
  std::memset(lengths, 5, kDistanceSymbols);
  BuildTable(lengths, kDistanceSymbols, DistanceEntry, kDistanceBits, distances, kDistanceTableSize, false);
}

InflateStatus Inflater::State::DynamicTables() {
  const uint32_t literalCount = Take(5) + 257;
  const uint32_t distanceCount = Take(5) + 1;
  const uint32_t precodeCount = Take(4) + 4;
  if (UsedPhantom())
    return InflateStatus::Truncated;
  if (literalCount > kMaxLiteralCodes || distanceCount > kMaxDistanceCodes)
    return InflateStatus::Malformed;
  uint8_t precodeLengths[kPrecodeSymbols] = {};
  for (uint32_t i = 0; i < precodeCount; ++i)
    precodeLengths[kPrecodeOrder[i]] = static_cast<uint8_t>(Take(3));
  if (UsedPhantom())
    return InflateStatus::Truncated;
  if (!BuildTable(precodeLengths, kPrecodeSymbols, PrecodeEntry, kPrecodeBits, precode, kPrecodeTableSize, false))
    return InflateStatus::Malformed;

  uint8_t lengths[kMaxLiteralCodes + kMaxDistanceCodes] = {};
  const uint32_t total = literalCount + distanceCount;
  uint32_t filled = 0;
  while (filled < total) {
    Refill();
    const uint32_t entry = Lookup(precode, kPrecodeBits, bits);
    Consume(LengthOf(entry));
    if (KindOf(entry) != kLiteral)
      return UsedPhantom() ? InflateStatus::Truncated : InflateStatus::Malformed;
    const uint32_t symbol = ValueOf(entry);
    if (symbol < 16) {
      lengths[filled++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    uint32_t repeat = 0;
    if (symbol == 16) {
      if (filled == 0) // a repeat with no length before it
        return InflateStatus::Malformed;
      value = lengths[filled - 1];
      repeat = 3 + Take(2);
    } else if (symbol == 17) {
      repeat = 3 + Take(3);
    } else {
      repeat = 11 + Take(7);
    }
    if (UsedPhantom())
      return InflateStatus::Truncated;
    if (repeat > total - filled)
      return InflateStatus::Malformed;
    std::memset(lengths + filled, value, repeat);
    filled += repeat;
  }
  if (UsedPhantom())
    return InflateStatus::Truncated;
  if (lengths[kEndOfBlock] == 0) // a block that could never end
    return InflateStatus::Malformed;
  if (!BuildTable(lengths, literalCount, LiteralEntry, kLiteralBits, literals, kLiteralTableSize, true) ||
      !BuildTable(lengths + literalCount, distanceCount, DistanceEntry, kDistanceBits, distances, kDistanceTableSize,
                  true))
    return InflateStatus::Malformed;
  return InflateStatus::Done;
}

InflateStatus Inflater::State::Stream(bool wrapped) {
  if (wrapped) {
    const uint32_t method = Take(8);
    const uint32_t flags = Take(8);
    if (UsedPhantom())
      return InflateStatus::Truncated;
    constexpr uint32_t kDeflate = 8;
    constexpr uint32_t kMaxWindowBits = 7; // 32 KB
    constexpr uint32_t kPresetDictionary = 0x20;
    if ((method & 0xF) != kDeflate || (method >> 4) > kMaxWindowBits || (method << 8 | flags) % 31 != 0 ||
        (flags & kPresetDictionary) != 0)
      return InflateStatus::Malformed;
  }
  bool final = false;
  while (!final) {
    final = Take(1) != 0;
    const uint32_t type = Take(2);
    if (UsedPhantom())
      return InflateStatus::Truncated;
    InflateStatus status = InflateStatus::Malformed;
    if (type == 0) {
      status = Stored();
    } else if (type == 1) {
      FixedTables();
      status = Codes();
    } else if (type == 2) {
      status = DynamicTables();
      if (status == InflateStatus::Done)
        status = Codes();
    }
    if (status != InflateStatus::Done)
      return status;
  }
  if (!Flush())
    return InflateStatus::Stopped;
  if (!wrapped)
    return InflateStatus::Done;
  Consume(bitCount & 7);
  uint32_t check = 0;
  for (int i = 0; i < 4; ++i)
    check = check << 8 | Take(8);
  // A stream cut before its check value has given all its data.
  if (UsedPhantom())
    return InflateStatus::Done;
  return check == adler ? InflateStatus::Done : InflateStatus::Malformed;
}

InflateStatus Inflater::Run(InflateSource &source, InflateSink &sink, bool wrapped) {
  constexpr uint64_t kTableBytes = (kLiteralTableSize + kDistanceTableSize + kPrecodeTableSize) * sizeof(uint32_t);
  if (m_memory.Data() == nullptr && !m_memory.Allocate(kTableBytes + kOutSize + kInSize))
    return InflateStatus::NoMemory;
  auto *tables = reinterpret_cast<uint32_t *>(m_memory.Data());
  State state{source,
              sink,
              m_memory.Data() + kTableBytes,
              m_memory.Data() + kTableBytes + kOutSize,
              tables,
              tables + kLiteralTableSize,
              tables + kLiteralTableSize + kDistanceTableSize};
  state.in = state.inEnd = state.inBuffer;
  const InflateStatus status = state.Stream(wrapped);
  // What a cut stream decoded before its end still reaches the sink: no byte
  // made of the zero bits read past the end is among it.
  if (status == InflateStatus::Truncated && !state.Flush())
    return InflateStatus::Stopped;
  return status;
}
