#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/DibImage.h"
#include "media/AviAudioReader.h"
#include "media/VideoSoundTrack.h"
#include "media/WaveFormat.h"
#include "media/XQVideoStream.h"

struct IAVIFile;
struct IAVIStream;
struct IGetFrame;

// An AVI file read through the system's AVI file library: its first video
// stream decoded frame by frame by the library's codecs, its first sound
// stream delivered as PCM (compressed sound converted by the audio
// compression manager). The AVI library must have been initialised.
class XQAVI : public XQVideoStream, public VideoSoundTrack {
public:
  XQAVI();
  ~XQAVI() override;

  // Closes first; false (and everything released) when the file has
  // neither stream, a sound format cannot be read, or no frame getter
  // and frame picture can be made.
  bool Open(const char *fileName, int32_t displayBitsPerPixel);

  void Close() override;
  bool HasVideo() const override { return m_video != nullptr; }
  bool HasAudio() const override { return m_audio != nullptr; }
  void GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const override;
  const BitmapInfoHeader *GetFormat() override;
  bool ReadFrame(uint32_t index, int32_t &value) override;
  DibImage *GetFrameImage() override { return m_frame.IsValid() ? &m_frame : nullptr; }

  const WaveFormat &GetSoundFormat() const override;
  uint32_t GetSoundDataSize() const override;
  uint32_t GetSoundInitialFrames() const override { return m_audioInitialFrames; }
  uint32_t GetVideoMicrosecondsPerFrame() const override;
  bool ReadSound(uint32_t first, uint32_t count, uint8_t *destination, uint32_t &length) override;

  // The sound track's own format and its length in bytes of that format.
  const WaveFormat &GetAudioFormat() const { return m_audioFormat; }
  uint32_t GetAudioLength() const { return m_audioLength; }
  uint32_t GetSamplesPerFrame() const { return m_samplesPerFrame; }
  AviAudioReader *GetAudioReader() const { return m_audioReader.get(); }
  // The format the frames were asked for (its colour table included).
  const BitmapInfo256 &GetFrameRequest() const { return m_request; }

private:
  class StreamSamples;

  bool OpenAudio(bool hasVideo);
  bool OpenVideo(int32_t displayBitsPerPixel);

  IAVIFile *m_file = nullptr;
  IAVIStream *m_video = nullptr;
  IAVIStream *m_audio = nullptr;
  IGetFrame *m_getFrame = nullptr;
  uint32_t m_rate = 0;
  uint32_t m_scale = 0;
  uint32_t m_length = 0;
  WaveFormat m_audioFormat;
  uint32_t m_audioLength = 0;
  uint32_t m_audioSamples = 0;
  uint32_t m_audioInitialFrames = 0;
  uint32_t m_samplesPerFrame = 0;
  std::unique_ptr<StreamSamples> m_audioSamplesStream;
  std::unique_ptr<AviAudioReader> m_audioReader;
  std::vector<uint8_t> m_videoFormat;
  BitmapInfo256 m_request{};
  DibImage m_frame;
};
