#include <windows.h>

#include "media/Win32Multimedia.h"

#include <cstring>
#include <memory>

#include "foundation/XQCallbackGuard.h"
#include "media/HiddenWindow.h"
#include "media/Win32SoundSystem.h"

namespace {

// MCI through mciSendCommandA; a play notifies the hidden window with
// MM_MCINOTIFY, whose lParam is the device id.
class Win32MciDevice : public MciDevice {
public:
  Win32MciDevice(HINSTANCE instance, const char *windowClass, bool needsMidiOut) {
    m_exists = !needsMidiOut || HasMidiOut();
    if (m_exists)
      m_exists = m_window.Create(instance, windowClass, WindowProc, this);
  }

  bool Exists() override { return m_exists; }
  void SetListener(MciListener *listener) override { m_listener = listener; }

  bool Open(const char *deviceType, const char *element, uint32_t &deviceId) override {
    MCI_OPEN_PARMSA open = {};
    open.lpstrDeviceType = deviceType;
    DWORD flags = MCI_OPEN_TYPE | MCI_WAIT;
    if (element) {
      open.lpstrElementName = element;
      flags |= MCI_OPEN_ELEMENT;
    }
    if (Mm<decltype(&mciSendCommandA)>("mciSendCommandA")(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0)
      return false;
    deviceId = open.wDeviceID;
    return true;
  }

  bool Close(uint32_t deviceId) override { return Send(deviceId, MCI_CLOSE, MCI_WAIT, nullptr); }

  bool SetTimeFormat(uint32_t deviceId, TimeFormat format) override {
    MCI_SET_PARMS set = {};
    set.dwTimeFormat = format == TimeFormat::kMilliseconds ? MCI_FORMAT_MILLISECONDS
                       : format == TimeFormat::kMsf        ? MCI_FORMAT_MSF
                                                           : MCI_FORMAT_TMSF;
    return Send(deviceId, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
  }

  bool Status(uint32_t deviceId, StatusItem item, uint32_t track, uint32_t &value) override {
    MCI_STATUS_PARMS status = {};
    switch (item) {
    case StatusItem::kLength:
      status.dwItem = MCI_STATUS_LENGTH;
      break;
    case StatusItem::kPosition:
      status.dwItem = MCI_STATUS_POSITION;
      break;
    case StatusItem::kNumberOfTracks:
      status.dwItem = MCI_STATUS_NUMBER_OF_TRACKS;
      break;
    case StatusItem::kSequencerPort:
      status.dwItem = MCI_SEQ_STATUS_PORT;
      break;
    }
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT;
    if (track != kNoTrack) {
      status.dwTrack = track;
      flags |= MCI_TRACK;
    }
    if (!Send(deviceId, MCI_STATUS, flags, &status))
      return false;
    value = static_cast<uint32_t>(status.dwReturn);
    return true;
  }

  bool Play(uint32_t deviceId, const uint32_t *from, const uint32_t *to) override {
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(m_window.Get());
    DWORD flags = MCI_NOTIFY;
    if (from) {
      play.dwFrom = *from;
      flags |= MCI_FROM;
    }
    if (to) {
      play.dwTo = *to;
      flags |= MCI_TO;
    }
    return Send(deviceId, MCI_PLAY, flags, &play);
  }

  bool Stop(uint32_t deviceId) override { return Send(deviceId, MCI_STOP, MCI_WAIT, nullptr); }
  bool Pause(uint32_t deviceId) override { return Send(deviceId, MCI_PAUSE, MCI_WAIT, nullptr); }
  void DispatchPendingNotices() override { m_window.DispatchQueued(MM_MCINOTIFY); }

private:
  static bool HasMidiOut() {
    MIDIOUTCAPSA capabilities = {};
    return Mm<decltype(&midiOutGetNumDevs)>("midiOutGetNumDevs", 0)() != 0 &&
           Mm<decltype(&midiOutGetDevCapsA)>("midiOutGetDevCapsA")(MIDI_MAPPER, &capabilities, sizeof capabilities) ==
               MMSYSERR_NOERROR;
  }

  static bool Send(uint32_t deviceId, UINT command, DWORD flags, void *parameters) {
    MCI_GENERIC_PARMS none = {};
    void *block = parameters ? parameters : &none;
    return Mm<decltype(&mciSendCommandA)>("mciSendCommandA")(static_cast<MCIDEVICEID>(deviceId), command, flags,
                                                             reinterpret_cast<DWORD_PTR>(block)) == 0;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_MCINOTIFY)
      return DefWindowProcA(window, message, wParam, lParam);
    if (auto *device = HiddenWindow::OwnerOf<Win32MciDevice>(window))
      if (MciListener *listener = device->m_listener)
        XQCallbackGuard::Call(0, [listener, lParam] {
          listener->OnNotify(static_cast<uint32_t>(lParam));
          return 0;
        });
    return 0;
  }

  HiddenWindow m_window;
  bool m_exists = false;
  MciListener *m_listener = nullptr;
};

} // namespace

std::unique_ptr<MciDevice> Win32SoundSystem::MakeMciDevice(HINSTANCE instance, const char *deviceType) {
  const bool sequencer = std::strcmp(deviceType, "sequencer") == 0;
  return std::make_unique<Win32MciDevice>(instance, sequencer ? "VORMIDI" : "CD_PLAYER", sequencer);
}
