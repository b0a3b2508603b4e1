#include <windows.h>

#include "media/Win32Multimedia.h"

#include <algorithm>
#include <memory>

#include "media/Win32SoundSystem.h"

namespace {

constexpr DWORD kFullScale = 0xFFFF;
constexpr DWORD kPercent = 100;

// The first mixer whose line of the component type has a volume control.
class Win32MixerVolume : public MixerVolume {
public:
  bool Get(uint32_t componentType, uint32_t &left, uint32_t &right) override {
    return Visit(componentType, [&](HMIXEROBJ mixer, MIXERCONTROLDETAILS &details, MIXERCONTROLDETAILS_UNSIGNED *values,
                                    DWORD channels) {
      if (Mm<decltype(&mixerGetControlDetailsA)>("mixerGetControlDetailsA")(
              mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return false;
      left = values[0].dwValue * kPercent / kFullScale;
      right = channels > 1 ? values[1].dwValue * kPercent / kFullScale : left;
      return true;
    });
  }

  bool Set(uint32_t componentType, uint32_t left, uint32_t right) override {
    return Visit(componentType, [&](HMIXEROBJ mixer, MIXERCONTROLDETAILS &details, MIXERCONTROLDETAILS_UNSIGNED *values,
                                    DWORD channels) {
      if (Mm<decltype(&mixerGetControlDetailsA)>("mixerGetControlDetailsA")(
              mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR)
        return false;
      values[0].dwValue = std::min<DWORD>(left, kPercent) * kFullScale / kPercent;
      if (channels > 1)
        values[1].dwValue = std::min<DWORD>(right, kPercent) * kFullScale / kPercent;
      return Mm<decltype(&mixerSetControlDetails)>("mixerSetControlDetails")(
                 mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
    });
  }

private:
  template <class Use>
  static bool Visit(uint32_t componentType, Use use) {
    const UINT count = Mm<decltype(&mixerGetNumDevs)>("mixerGetNumDevs", 0)();
    for (UINT device = 0; device < count; ++device) {
      MIXERCAPSA capabilities = {};
      if (Mm<decltype(&mixerGetDevCapsA)>("mixerGetDevCapsA")(device, &capabilities, sizeof capabilities) !=
          MMSYSERR_NOERROR)
        continue;
      const auto mixer = reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(device));
      MIXERLINEA line = {};
      line.cbStruct = sizeof line;
      line.dwComponentType = componentType;
      if (Mm<decltype(&mixerGetLineInfoA)>("mixerGetLineInfoA")(
              mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR ||
          line.cControls == 0)
        continue;
      MIXERCONTROLA controls[1] = {};
      MIXERLINECONTROLSA lineControls = {};
      lineControls.cbStruct = sizeof lineControls;
      lineControls.dwLineID = line.dwLineID;
      lineControls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
      lineControls.cControls = 1;
      lineControls.cbmxctrl = sizeof(MIXERCONTROLA);
      lineControls.pamxctrl = controls;
      // The volume control by its type: one control, whatever the line has.
      if (Mm<decltype(&mixerGetLineControlsA)>("mixerGetLineControlsA")(
              mixer, &lineControls, MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
        continue;
      const DWORD channels = std::clamp<DWORD>(line.cChannels, 1, 2);
      MIXERCONTROLDETAILS_UNSIGNED values[2] = {};
      MIXERCONTROLDETAILS details = {};
      details.cbStruct = sizeof details;
      details.dwControlID = controls[0].dwControlID;
      details.cChannels = channels;
      details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
      details.paDetails = values;
      if (use(mixer, details, values, channels))
        return true;
    }
    return false;
  }
};

} // namespace

std::unique_ptr<MixerVolume> Win32SoundSystem::MakeMixerVolume() { return std::make_unique<Win32MixerVolume>(); }
