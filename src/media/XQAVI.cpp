#include "media/XQAVI.h"

#include <windows.h>

#include <mmreg.h>
#include <mmsystem.h>
#include <vfw.h>

#include <msacm.h>

#include <algorithm>
#include <type_traits>

#include "display/DisplaySettings.h"
#include "display/Palette.h"
#include "foundation/SystemLibrary.h"
#include "media/AviFrame.h"
#include "media/AviTiming.h"

namespace {

// The AVI file library and the audio compression manager, loaded at their
// first use like the other multimedia libraries.
SystemLibrary &AviLibrary() {
  static SystemLibrary avifil32("avifil32.dll");
  return avifil32;
}
SystemLibrary &AcmLibrary() {
  static SystemLibrary msacm32("msacm32.dll");
  return msacm32;
}

template <class Function>
struct ResultOf;
template <class Result, class... Arguments>
struct ResultOf<Result(WINAPI *)(Arguments...)> {
  using Type = Result;
};

// What a missing library or entry answers: a failure of the entry's kind.
template <class Result>
Result Missing() {
  if constexpr (std::is_pointer_v<Result>) {
    return nullptr;
  } else if constexpr (std::is_same_v<Result, HRESULT>) {
    return E_FAIL;
  } else if constexpr (std::is_same_v<Result, MMRESULT>) {
    return MMSYSERR_ERROR;
  } else {
    return Result();
  }
}

// Calls an entry of the library by name.
template <class Function, class... Arguments>
typename ResultOf<Function>::Type Call(SystemLibrary &library, const char *name, Arguments... arguments) {
  if (auto entry = library.Find<Function>(name)) {
    return entry(arguments...);
  }
  return Missing<typename ResultOf<Function>::Type>();
}

#define AVI(function, ...) Call<decltype(&function)>(AviLibrary(), #function, __VA_ARGS__)
#define ACM(function, ...) Call<decltype(&function)>(AcmLibrary(), #function, __VA_ARGS__)

constexpr int32_t kPaletteDepth = 8;
// The largest video format asked for: a header and 256 colours.
constexpr LONG kMaxVideoFormat = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
// Sound formats longer than this are not sound formats.
constexpr LONG kMaxAudioFormat = 0x10000;

uint32_t Clamp32(uint64_t value) { return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value); }

WAVEFORMATEX *AsWaveFormat(const WaveFormat &format) {
  return reinterpret_cast<WAVEFORMATEX *>(const_cast<uint8_t *>(format.GetBytes()));
}

// The audio compression manager's stream from a compressed format to PCM.
class AcmConverter : public SoundConverter {
public:
  ~AcmConverter() override { Close(); }
  bool Open(const WaveFormat &source, const WaveFormat &pcm) override {
    Close();
    return ACM(acmStreamOpen, &m_stream, static_cast<HACMDRIVER>(nullptr), AsWaveFormat(source), AsWaveFormat(pcm),
               static_cast<LPWAVEFILTER>(nullptr), DWORD_PTR(0), DWORD_PTR(0),
               static_cast<DWORD>(ACM_STREAMOPENF_NONREALTIME)) == MMSYSERR_NOERROR;
  }
  void Close() override {
    if (m_stream != nullptr) {
      ACM(acmStreamClose, m_stream, DWORD(0));
      m_stream = nullptr;
    }
  }
  bool OutputSize(uint32_t sourceLength, uint32_t &outputSize) override {
    DWORD size = 0;
    const bool ok = ACM(acmStreamSize, m_stream, static_cast<DWORD>(sourceLength), &size,
                        static_cast<DWORD>(ACM_STREAMSIZEF_SOURCE)) == MMSYSERR_NOERROR;
    outputSize = size;
    return ok;
  }
  bool Convert(const uint8_t *source, uint32_t sourceLength, uint8_t *out, uint32_t outSize,
               uint32_t &produced) override {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<LPBYTE>(source);
    header.cbSrcLength = sourceLength;
    header.pbDst = out;
    header.cbDstLength = outSize;
    if (ACM(acmStreamPrepareHeader, m_stream, &header, DWORD(0)) != MMSYSERR_NOERROR) {
      return false;
    }
    const bool ok =
        ACM(acmStreamConvert, m_stream, &header, static_cast<DWORD>(ACM_STREAMCONVERTF_BLOCKALIGN)) == MMSYSERR_NOERROR;
    ACM(acmStreamUnprepareHeader, m_stream, &header, DWORD(0));
    produced = ok ? std::min<uint32_t>(header.cbDstLengthUsed, outSize) : 0;
    return ok;
  }

private:
  HACMSTREAM m_stream = nullptr;
};

} // namespace

// The sound stream's samples as the reader asks for them.
class XQAVI::StreamSamples : public AviSampleStream {
public:
  explicit StreamSamples(IAVIStream *stream) : m_stream(stream) {}
  bool Read(uint32_t first, uint32_t count, uint8_t *buffer, uint32_t size, uint32_t &bytes,
            uint32_t &samples) override {
    if (first > INT32_MAX || count > INT32_MAX || size > INT32_MAX) {
      return false;
    }
    LONG gotBytes = 0;
    LONG gotSamples = 0;
    const HRESULT result = AVI(AVIStreamRead, m_stream, static_cast<LONG>(first), static_cast<LONG>(count),
                               static_cast<LPVOID>(buffer), static_cast<LONG>(size), &gotBytes, &gotSamples);
    bytes = gotBytes > 0 ? static_cast<uint32_t>(gotBytes) : 0;
    samples = gotSamples > 0 ? static_cast<uint32_t>(gotSamples) : 0;
    return result == S_OK;
  }

private:
  IAVIStream *m_stream;
};

XQAVI::XQAVI() = default;

XQAVI::~XQAVI() { Close(); }

bool XQAVI::Open(const char *fileName, int32_t displayBitsPerPixel) {
  Close();
  PAVIFILE file = nullptr;
  if (AVI(AVIFileOpenA, &file, fileName, static_cast<UINT>(OF_READ), static_cast<LPCLSID>(nullptr)) != S_OK) {
    return false;
  }
  m_file = file;
  AVIFILEINFOA info{};
  AVI(AVIFileInfoA, m_file, &info, static_cast<LONG>(sizeof info));
  m_rate = info.dwRate;
  m_scale = info.dwScale;
  m_length = info.dwLength;
  PAVISTREAM video = nullptr;
  PAVISTREAM audio = nullptr;
  if (AVI(AVIFileGetStream, m_file, &video, static_cast<DWORD>(streamtypeVIDEO), LONG(0)) == S_OK) {
    m_video = video;
  }
  if (AVI(AVIFileGetStream, m_file, &audio, static_cast<DWORD>(streamtypeAUDIO), LONG(0)) == S_OK) {
    m_audio = audio;
  }
  AVISTREAMINFOA streamInfo{};
  if (m_video != nullptr && AVI(AVIStreamInfoA, m_video, &streamInfo, static_cast<LONG>(sizeof streamInfo)) != S_OK) {
    AVI(AVIStreamRelease, m_video);
    m_video = nullptr;
  }
  if (m_audio != nullptr && AVI(AVIStreamInfoA, m_audio, &streamInfo, static_cast<LONG>(sizeof streamInfo)) != S_OK) {
    AVI(AVIStreamRelease, m_audio);
    m_audio = nullptr;
  }
  const bool opened = (m_video != nullptr || m_audio != nullptr) &&
                      (m_audio == nullptr || OpenAudio(m_video != nullptr)) &&
                      (m_video == nullptr || OpenVideo(displayBitsPerPixel));
  if (!opened) {
    Close();
  }
  return opened;
}

bool XQAVI::OpenAudio(bool hasVideo) {
  AVISTREAMINFOA info{};
  LONG size = 0;
  if (AVI(AVIStreamInfoA, m_audio, &info, static_cast<LONG>(sizeof info)) != S_OK ||
      AVI(AVIStreamReadFormat, m_audio, LONG(0), static_cast<LPVOID>(nullptr), &size) != S_OK || size <= 0 ||
      size > kMaxAudioFormat) {
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (AVI(AVIStreamReadFormat, m_audio, LONG(0), static_cast<LPVOID>(bytes.data()), &size) != S_OK) {
    return false;
  }
  // A 14- or 16-byte format is padded to the whole structure with no extra bytes.
  m_audioFormat = WaveFormat::FromChunk(bytes.data(), static_cast<uint32_t>(std::min<LONG>(size, kMaxAudioFormat)));
  m_audioSamples = info.dwLength;
  m_audioInitialFrames = info.dwInitialFrames;
  m_audioLength = Clamp32(static_cast<uint64_t>(info.dwLength) * m_audioFormat.GetBlockAlign());
  m_samplesPerFrame = AviTiming::SamplesPerFrame(hasVideo, m_scale, m_rate, m_audioFormat.GetSamplesPerSecond());
  m_audioSamplesStream = std::make_unique<StreamSamples>(m_audio);
  m_audioReader = std::make_unique<AviAudioReader>(&m_audioFormat, *m_audioSamplesStream,
                                                   std::make_unique<AcmConverter>(), m_samplesPerFrame);
  return true;
}

// The frames are asked for as 8 or 24 bits whatever the display: the
// drawing matches them to it. A palette display's colours go with the
// request of a deeper source.
bool XQAVI::OpenVideo(int32_t displayBitsPerPixel) {
  LONG size = kMaxVideoFormat;
  BitmapInfo256 source{};
  if (AVI(AVIStreamReadFormat, m_video, LONG(0), static_cast<LPVOID>(&source), &size) != S_OK ||
      size < static_cast<LONG>(sizeof(BITMAPINFOHEADER))) {
    return false;
  }
  const uint32_t colors = static_cast<uint32_t>(size - static_cast<LONG>(sizeof(BITMAPINFOHEADER))) / sizeof(RGBQUAD);
  const Palette *palette = displayBitsPerPixel <= kPaletteDepth ? GetDisplaySettings().applicationPalette : nullptr;
  const bool hasPalette = palette != nullptr && palette->IsValid();
  m_request = AviFrame::MakeRequest(source.header, source.colors, colors, hasPalette ? palette->GetEntries() : nullptr,
                                    hasPalette ? static_cast<uint32_t>(palette->GetCount()) : 0);
  m_getFrame = AVI(AVIStreamGetFrameOpen, m_video, reinterpret_cast<LPBITMAPINFOHEADER>(&m_request.header));
  if (m_getFrame == nullptr) {
    m_getFrame = AVI(AVIStreamGetFrameOpen, m_video, static_cast<LPBITMAPINFOHEADER>(nullptr));
  }
  return m_getFrame != nullptr && m_frame.Create(&m_request.header);
}

void XQAVI::Close() {
  m_audioReader.reset();
  m_audioSamplesStream.reset();
  m_videoFormat.clear();
  if (m_getFrame != nullptr) {
    AVI(AVIStreamGetFrameClose, m_getFrame);
    m_getFrame = nullptr;
  }
  for (IAVIStream **stream : {&m_video, &m_audio}) {
    if (*stream != nullptr) {
      AVI(AVIStreamRelease, *stream);
      *stream = nullptr;
    }
  }
  if (m_file != nullptr) {
    AVI(AVIFileRelease, m_file);
    m_file = nullptr;
  }
  m_frame.Release();
  m_request = BitmapInfo256{};
  m_audioFormat = WaveFormat();
  m_audioLength = m_audioSamples = m_audioInitialFrames = m_samplesPerFrame = 0;
  m_rate = m_scale = m_length = 0;
}

void XQAVI::GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const {
  frameCount = m_length;
  microsecondsPerFrame = AviTiming::MicrosecondsPerFrame(m_rate, m_scale);
}

uint32_t XQAVI::GetVideoMicrosecondsPerFrame() const { return AviTiming::MicrosecondsPerFrame(m_rate, m_scale); }

const BitmapInfoHeader *XQAVI::GetFormat() {
  LONG size = 0;
  if (m_video == nullptr || AVI(AVIStreamReadFormat, m_video, LONG(0), static_cast<LPVOID>(nullptr), &size) != S_OK ||
      size < static_cast<LONG>(sizeof(BITMAPINFOHEADER)) || size > kMaxVideoFormat) {
    return nullptr;
  }
  m_videoFormat.assign(static_cast<size_t>(size), 0);
  if (AVI(AVIStreamReadFormat, m_video, LONG(0), static_cast<LPVOID>(m_videoFormat.data()), &size) != S_OK) {
    return nullptr;
  }
  return reinterpret_cast<const BitmapInfoHeader *>(m_videoFormat.data());
}

bool XQAVI::ReadFrame(uint32_t index, int32_t &value) {
  value = kNoDelay;
  if (m_getFrame == nullptr || index > INT32_MAX) {
    return false;
  }
  const void *packed = AVI(AVIStreamGetFrame, m_getFrame, static_cast<LONG>(index));
  return AviFrame::CopyInto(static_cast<const BitmapInfoHeader *>(packed), m_frame);
}

const WaveFormat &XQAVI::GetSoundFormat() const {
  return m_audioReader ? m_audioReader->GetOutputFormat() : m_audioFormat;
}

uint32_t XQAVI::GetSoundDataSize() const {
  if (!m_audioReader || !m_audioReader->IsUsable()) {
    return 0;
  }
  return Clamp32(static_cast<uint64_t>(m_audioSamples) *
                 static_cast<uint32_t>(m_audioReader->GetSamplesPerAviSample()) * m_audioReader->GetOutputBlockSize());
}

bool XQAVI::ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) {
  return m_audioReader && m_audioReader->Read(first, count, destination, length);
}
