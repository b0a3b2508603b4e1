#include "display/Palette.h"

#include <climits>
#include <cstring>
#include <vector>

#include "display/DisplaySettings.h"
#include "display/DitherEngine.h"
#include "display/SimdSupport.h"

namespace {

struct Rgb {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};

// The twenty colours Windows reserves at both ends (0-9, 246-255); between
// them a grey ramp and ramps of the primaries, their mixtures and tints.
constexpr Rgb kDefaultColors[Palette::kMaxEntries] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},     {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {164, 200, 240}, {16, 16, 16},    {24, 24, 24},
    {32, 32, 32},    {40, 40, 40},    {56, 56, 56},    {64, 64, 64},    {72, 72, 72},    {80, 80, 80},
    {96, 96, 96},    {104, 104, 104}, {112, 112, 112}, {152, 152, 152}, {160, 160, 160}, {176, 176, 176},
    {184, 184, 184}, {200, 200, 200}, {216, 216, 216}, {224, 224, 224}, {232, 232, 232}, {240, 240, 240},
    {192, 0, 0},     {24, 8, 8},      {40, 8, 8},      {64, 12, 12},    {80, 16, 16},    {104, 24, 24},
    {128, 24, 24},   {152, 28, 28},   {160, 32, 32},   {184, 36, 36},   {200, 40, 40},   {224, 44, 44},
    {240, 48, 48},   {255, 64, 64},   {255, 80, 80},   {255, 96, 96},   {255, 112, 112}, {255, 128, 128},
    {255, 152, 152}, {255, 160, 160}, {255, 176, 176}, {255, 192, 192}, {255, 208, 208}, {255, 224, 224},
    {255, 240, 240}, {0, 192, 0},     {8, 24, 8},      {8, 40, 8},      {12, 64, 12},    {16, 80, 16},
    {24, 104, 24},   {24, 128, 24},   {28, 152, 28},   {32, 160, 32},   {36, 184, 36},   {40, 200, 40},
    {44, 224, 44},   {48, 240, 48},   {64, 255, 64},   {80, 255, 80},   {96, 255, 96},   {112, 255, 112},
    {128, 255, 128}, {152, 255, 152}, {160, 255, 160}, {176, 255, 176}, {192, 255, 192}, {208, 255, 208},
    {224, 255, 224}, {240, 255, 240}, {0, 0, 192},     {8, 8, 24},      {8, 8, 40},      {12, 12, 64},
    {16, 16, 80},    {24, 24, 104},   {24, 24, 128},   {28, 28, 152},   {32, 32, 160},   {36, 36, 184},
    {40, 40, 200},   {44, 44, 224},   {48, 48, 240},   {64, 64, 255},   {80, 80, 255},   {96, 96, 255},
    {112, 112, 255}, {128, 128, 255}, {152, 152, 255}, {160, 160, 255}, {176, 176, 255}, {192, 192, 255},
    {208, 208, 255}, {224, 224, 255}, {240, 240, 255}, {8, 24, 24},     {224, 255, 255}, {192, 192, 0},
    {40, 40, 8},     {64, 64, 12},    {80, 80, 16},    {104, 104, 24},  {128, 128, 24},  {152, 152, 28},
    {160, 160, 32},  {184, 184, 36},  {200, 200, 40},  {224, 224, 44},  {240, 240, 48},  {255, 255, 64},
    {255, 255, 80},  {255, 255, 96},  {255, 255, 112}, {255, 255, 152}, {255, 255, 160}, {255, 255, 176},
    {255, 255, 192}, {255, 255, 208}, {255, 255, 240}, {192, 0, 192},   {24, 8, 24},     {40, 8, 40},
    {64, 12, 64},    {80, 16, 80},    {104, 24, 104},  {128, 24, 128},  {152, 28, 152},  {160, 32, 160},
    {184, 36, 184},  {200, 40, 200},  {224, 44, 224},  {240, 48, 240},  {255, 64, 255},  {255, 80, 255},
    {255, 96, 255},  {255, 112, 255}, {255, 128, 255}, {255, 160, 255}, {255, 176, 255}, {255, 192, 255},
    {255, 224, 255}, {255, 240, 255}, {0, 192, 192},   {8, 40, 40},     {12, 64, 64},    {16, 80, 80},
    {24, 104, 104},  {24, 128, 128},  {28, 152, 152},  {32, 160, 160},  {36, 184, 184},  {40, 200, 200},
    {44, 224, 224},  {48, 240, 240},  {64, 255, 255},  {80, 255, 255},  {96, 255, 255},  {112, 255, 255},
    {128, 255, 255}, {152, 255, 255}, {160, 255, 255}, {176, 255, 255}, {192, 255, 255}, {240, 255, 255},
    {8, 16, 24},     {8, 24, 40},     {12, 32, 64},    {16, 40, 80},    {24, 56, 104},   {24, 64, 128},
    {28, 72, 152},   {32, 80, 160},   {36, 96, 184},   {40, 104, 200},  {44, 112, 224},  {48, 128, 240},
    {255, 152, 255}, {64, 136, 248},  {80, 152, 243},  {96, 152, 244},  {255, 208, 255}, {112, 160, 248},
    {128, 176, 248}, {152, 184, 247}, {160, 190, 248}, {176, 200, 249}, {208, 255, 255}, {192, 216, 255},
    {208, 224, 255}, {224, 232, 255}, {16, 24, 40},    {24, 36, 64},    {32, 48, 80},    {40, 64, 104},
    {48, 72, 128},   {56, 84, 152},   {64, 96, 160},   {72, 108, 184},  {80, 128, 200},  {92, 132, 217},
    {104, 152, 224}, {116, 156, 223}, {128, 168, 227}, {152, 184, 232}, {152, 192, 233}, {164, 204, 240},
    {176, 216, 239}, {188, 228, 248}, {200, 240, 248}, {212, 248, 248}, {224, 244, 255}, {240, 248, 255},
    {128, 80, 80},   {136, 96, 96},   {152, 104, 104}, {152, 112, 112}, {160, 128, 128}, {176, 136, 136},
    {190, 152, 152}, {200, 152, 152}, {216, 160, 160}, {224, 176, 176}, {232, 184, 184}, {80, 128, 80},
    {96, 136, 96},   {104, 152, 104}, {112, 152, 112}, {128, 160, 128}, {136, 176, 136}, {152, 190, 152},
    {152, 200, 152}, {160, 216, 160}, {255, 255, 128}, {176, 224, 176}, {184, 232, 184}, {240, 128, 0},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
    {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

constexpr uint32_t kWhiteSlot = Palette::kInverseTableSize - 1;

void KeepHandle(HPALETTE__ * /*handle*/) {}

} // namespace

Palette::Palette() : m_handle(nullptr, &KeepHandle) {}

Palette::Palette(const RgbQuad *entries, int32_t count) : Palette() {
  if (count < 0 || count > kMaxEntries || (count > 0 && entries == nullptr)) {
    return;
  }
  Assign(entries, count);
}

Palette::~Palette() = default;

void Palette::Clear() {
  m_entries.clear();
  m_logPalette.reset();
  m_handle.reset();
  m_inverseTable.reset();
  m_ditherEngine.reset();
  m_valid = 0;
  m_count = 0;
}

void Palette::Assign(const RgbQuad *entries, int32_t count) {
  Clear();
  if (count > 0) {
    m_entries.assign(entries, entries + count);
  }
  m_count = count;
  m_valid = 1;
}

void Palette::LoadDefault() {
  RgbQuad entries[kMaxEntries];
  for (int32_t i = 0; i < kMaxEntries; ++i) {
    entries[i] = RgbQuad{kDefaultColors[i].blue, kDefaultColors[i].green, kDefaultColors[i].red, 0};
  }
  Assign(entries, kMaxEntries);
}

const RgbQuad *Palette::GetEntries() const {
  if (!IsValid()) {
    return nullptr;
  }
  return m_entries.data();
}

const LogPaletteForm *Palette::GetLogPalette() {
  if (!IsValid()) {
    return nullptr;
  }
  if (!m_logPalette) {
    auto form = std::make_unique<LogPaletteForm>();
    std::memset(form.get(), 0, sizeof *form);
    form->palVersion = kLogPaletteVersion;
    form->palNumEntries = static_cast<uint16_t>(m_count);
    for (int32_t i = 0; i < m_count; ++i) {
      form->palPalEntry[i] = PaletteEntry{m_entries[i].red, m_entries[i].green, m_entries[i].blue, 0};
    }
    m_logPalette = std::move(form);
  }
  return m_logPalette.get();
}

namespace {

constexpr int32_t kSlotSide = 32; // five bits a channel
constexpr int32_t kSlotStep = 8;  // a slot's channel value is its five bits times eight

// One run of slots along red: entry i takes the slots it is as close to as
// the best so far.
void KeepCloser(int32_t rest, const int32_t (&red)[kSlotSide], int32_t i, int32_t *best, int32_t *nearest) {
  for (int32_t r = 0; r < kSlotSide; ++r) {
    const int32_t score = rest + red[r];
    const bool closer = score <= best[r];
    best[r] = closer ? score : best[r];
    nearest[r] = closer ? i : nearest[r];
  }
}

#if VOR_SSE2_LOOPS
VOR_TARGET_SSE2 void KeepCloserSse2(int32_t rest, const int32_t (&red)[kSlotSide], int32_t i, int32_t *best,
                                    int32_t *nearest) {
  const __m128i restLanes = _mm_set1_epi32(rest);
  const __m128i entry = _mm_set1_epi32(i);
  for (int32_t r = 0; r < kSlotSide; r += 4) {
    const __m128i score = _mm_add_epi32(restLanes, _mm_loadu_si128(reinterpret_cast<const __m128i *>(red + r)));
    __m128i *bestLanes = reinterpret_cast<__m128i *>(best + r);
    __m128i *nearestLanes = reinterpret_cast<__m128i *>(nearest + r);
    const __m128i oldBest = _mm_loadu_si128(bestLanes);
    const __m128i farther = _mm_cmpgt_epi32(score, oldBest); // keeps the old answer
    _mm_storeu_si128(bestLanes, _mm_or_si128(_mm_and_si128(farther, oldBest), _mm_andnot_si128(farther, score)));
    _mm_storeu_si128(nearestLanes, _mm_or_si128(_mm_and_si128(farther, _mm_loadu_si128(nearestLanes)),
                                                _mm_andnot_si128(farther, entry)));
  }
}
#else
void KeepCloserSse2(int32_t rest, const int32_t (&red)[kSlotSide], int32_t i, int32_t *best, int32_t *nearest) {
  KeepCloser(rest, red, i, best, nearest);
}
#endif

// The nearest entry of every slot, as NearestEntry answers for the slot's
// colour, worked out entry by entry: a slot's score is the sum of three
// per-channel squares, so a run of slots along red costs one addition and
// one comparison each. On equal scores the later entry wins, as there.
void FillInverseTable(const RgbQuad *entries, int32_t count, uint8_t *table) {
  const bool vector = SelectedPixelLoops() == PixelLoops::kVector;
  std::vector<int32_t> best(Palette::kInverseTableSize, INT_MAX);
  std::vector<int32_t> nearest(Palette::kInverseTableSize, 0);
  const auto squares = [](uint8_t channel, int32_t(&out)[kSlotSide]) {
    for (int32_t k = 0; k < kSlotSide; ++k) {
      const int32_t d = k * kSlotStep - channel;
      out[k] = d * d;
    }
  };
  for (int32_t i = 0; i < count; ++i) {
    int32_t red[kSlotSide], green[kSlotSide], blue[kSlotSide];
    squares(entries[i].red, red);
    squares(entries[i].green, green);
    squares(entries[i].blue, blue);
    for (int32_t b = 0; b < kSlotSide; ++b) {
      for (int32_t g = 0; g < kSlotSide; ++g) {
        const int32_t rest = green[g] + blue[b];
        const size_t row = static_cast<size_t>(b * kSlotSide + g) * kSlotSide;
        if (vector) {
          KeepCloserSse2(rest, red, i, best.data() + row, nearest.data() + row);
        } else {
          KeepCloser(rest, red, i, best.data() + row, nearest.data() + row);
        }
      }
    }
  }
  for (uint32_t slot = 0; slot < Palette::kInverseTableSize; ++slot) {
    table[slot] = static_cast<uint8_t>(nearest[slot]);
  }
}

} // namespace

int32_t Palette::NearestEntry(uint8_t red, uint8_t green, uint8_t blue) const {
  int32_t best = -1;
  int32_t bestScore = INT_MAX;
  for (int32_t i = 0; i < m_count; ++i) {
    const int32_t dr = static_cast<int32_t>(m_entries[i].red) - red;
    const int32_t dg = static_cast<int32_t>(m_entries[i].green) - green;
    const int32_t db = static_cast<int32_t>(m_entries[i].blue) - blue;
    const int32_t score = dr * dr + dg * dg + db * db;
    if (score <= bestScore) { // on equal scores the later entry wins
      best = i;
      bestScore = score;
    }
  }
  return best;
}

int32_t Palette::NearestIndex(ColorRef colour) const {
  // A palette index is the answer itself, whatever the entries hold.
  if (IsPaletteIndex(colour)) {
    return static_cast<int32_t>(colour & 0xFF);
  }
  if (m_count <= 0) {
    return -1;
  }
  return NearestEntry(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

const uint8_t *Palette::GetInverseTable() {
  if (!IsValid() || m_count <= 0) {
    return nullptr;
  }
  if (!m_inverseTable) {
    auto table = std::make_unique<uint8_t[]>(kInverseTableSize);
    FillInverseTable(m_entries.data(), m_count, table.get());
    // The last slot stands for pure white, not for 248, 248, 248.
    table[kWhiteSlot] = static_cast<uint8_t>(NearestEntry(255, 255, 255));
    m_inverseTable = std::move(table);
  }
  return m_inverseTable.get();
}

int32_t Palette::IndexOfColor(ColorRef colour) {
  const uint8_t *table = GetInverseTable();
  if (table == nullptr) {
    return -1;
  }
  return table[InverseSlot(RedOf(colour), GreenOf(colour), BlueOf(colour))];
}

DitherEngine *Palette::GetDitherEngine() {
  if (!m_ditherEngine) {
    m_ditherEngine = std::make_unique<DitherEngine>(this, 0);
  }
  return m_ditherEngine.get();
}

RgbQuad Palette::ColorOfIndex(uint8_t index) const {
  if (index < m_count) {
    return m_entries[index];
  }
  const Rgb &fallback = kDefaultColors[index];
  return RgbQuad{fallback.blue, fallback.green, fallback.red, 0};
}

Palette &Palette::Default() {
  static Palette palette;
  static const bool loaded = (palette.LoadDefault(), true);
  static_cast<void>(loaded);
  return palette;
}

Palette &Palette::ForEightBit(Palette *palette) {
  if (palette != nullptr && palette->IsValid() && palette->GetCount() > 0) {
    return *palette;
  }
  return Default();
}
