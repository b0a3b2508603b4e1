#include <windows.h>

#include "media/Win32Multimedia.h"

#include <memory>

#include "foundation/XQCallbackGuard.h"
#include "media/HiddenWindow.h"
#include "media/WaveFormat.h"
#include "media/Win32SoundSystem.h"

namespace {

constexpr const char *kWindowClass = "VORWAVE";

// waveOut with CALLBACK_WINDOW: finished buffers come back as MM_WOM_DONE
// to a hidden window, on the GUI thread.
class Win32WaveOutDevice : public WaveOutDevice {
public:
  explicit Win32WaveOutDevice(HINSTANCE instance) {
    WAVEOUTCAPSA capabilities = {};
    m_exists = Mm<decltype(&waveOutGetNumDevs)>("waveOutGetNumDevs", 0)() != 0 &&
               Mm<decltype(&waveOutGetDevCapsA)>("waveOutGetDevCapsA")(WAVE_MAPPER, &capabilities,
                                                                       sizeof capabilities) == MMSYSERR_NOERROR &&
               m_window.Create(instance, kWindowClass, WindowProc, this);
  }
  ~Win32WaveOutDevice() override { Close(); }

  bool Exists() override { return m_exists; }
  void SetListener(WaveOutListener *listener) override { m_listener = listener; }

  bool Open(const WaveFormat &format) override {
    Close();
    const auto *waveFormat = reinterpret_cast<const WAVEFORMATEX *>(format.GetBytes());
    return Mm<decltype(&waveOutOpen)>("waveOutOpen")(&m_device, WAVE_MAPPER, waveFormat,
                                                     reinterpret_cast<DWORD_PTR>(m_window.Get()), 0,
                                                     CALLBACK_WINDOW) == MMSYSERR_NOERROR;
  }

  void Close() override {
    if (!m_device)
      return;
    Mm<decltype(&waveOutClose)>("waveOutClose")(m_device);
    m_device = nullptr;
  }

  void SetBufferCount(uint32_t count) override {
    m_headers = std::make_unique<WAVEHDR[]>(count);
    m_count = count;
    for (uint32_t index = 0; index < count; ++index)
      m_headers[index].dwFlags = WHDR_DONE;
  }

  bool Prepare(uint32_t index, const uint8_t *data, uint32_t length) override {
    WAVEHDR &header = m_headers[index];
    header = WAVEHDR{};
    // The device only reads the buffer.
    header.lpData = const_cast<LPSTR>(reinterpret_cast<const char *>(data));
    header.dwBufferLength = length;
    return Mm<decltype(&waveOutPrepareHeader)>("waveOutPrepareHeader")(m_device, &header, sizeof header) ==
           MMSYSERR_NOERROR;
  }

  bool Unprepare(uint32_t index) override {
    WAVEHDR &header = m_headers[index];
    const bool unprepared = Mm<decltype(&waveOutUnprepareHeader)>("waveOutUnprepareHeader")(
                                m_device, &header, sizeof header) == MMSYSERR_NOERROR;
    if (unprepared) {
      header.lpData = nullptr;
      header.dwBufferLength = 0;
      header.dwFlags = WHDR_DONE;
    }
    return unprepared;
  }

  bool Write(uint32_t index) override {
    return Mm<decltype(&waveOutWrite)>("waveOutWrite")(m_device, &m_headers[index], sizeof(WAVEHDR)) ==
           MMSYSERR_NOERROR;
  }

  bool IsDone(uint32_t index) override {
    const DWORD flags = m_headers[index].dwFlags;
    // An empty header, or one the device has played; a prepared header not
    // yet written is the player's.
    return (flags & WHDR_INQUEUE) == 0 && ((flags & WHDR_DONE) != 0 || (flags & WHDR_PREPARED) == 0);
  }

  bool Reset() override { return Mm<decltype(&waveOutReset)>("waveOutReset")(m_device) == MMSYSERR_NOERROR; }

  Position GetPosition() override {
    MMTIME time = {};
    time.wType = TIME_MS;
    Position position;
    if (!m_device ||
        Mm<decltype(&waveOutGetPosition)>("waveOutGetPosition")(m_device, &time, sizeof time) != MMSYSERR_NOERROR)
      return position;
    switch (time.wType) {
    case TIME_MS:
      position = Position{PositionUnit::kMilliseconds, time.u.ms};
      break;
    case TIME_SAMPLES:
      position = Position{PositionUnit::kSamples, time.u.sample};
      break;
    case TIME_BYTES:
      position = Position{PositionUnit::kBytes, time.u.cb};
      break;
    default:
      break;
    }
    return position;
  }

  void DiscardPendingNotices() override { m_window.DiscardQueued(MM_WOM_DONE); }

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_WOM_DONE)
      return DefWindowProcA(window, message, wParam, lParam);
    if (auto *device = HiddenWindow::OwnerOf<Win32WaveOutDevice>(window))
      if (WaveOutListener *listener = device->m_listener)
        XQCallbackGuard::Call(0, [listener] {
          listener->OnBufferDone();
          return 0;
        });
    return 0;
  }

  HiddenWindow m_window;
  bool m_exists = false;
  HWAVEOUT m_device = nullptr;
  WaveOutListener *m_listener = nullptr;
  std::unique_ptr<WAVEHDR[]> m_headers;
  uint32_t m_count = 0;
};

} // namespace

std::unique_ptr<WaveOutDevice> Win32SoundSystem::MakeWaveOutDevice(HINSTANCE instance) {
  return std::make_unique<Win32WaveOutDevice>(instance);
}
