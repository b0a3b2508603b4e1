#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/VORObjectAction.h"
#include "model/VORObjectCode.h"
#include "objects/SlideshowPlayback.h"
#include "objects/VORHotSpot.h"
#include "objects/VORPlayerForm.h"
#include "transitions/VORFXManager.h"

class VORBitmapGraphicalObjectSurface;
class VORBitmapObjectSurface;
class VORGfxImage;
class VORTransition;

// A hotspot that shows one picture at a time from its slides (child
// resource objects, or every picture file one file pattern names), steps
// through them on a timer, in order or shuffled, with a transition into
// each slide, and obeys play, stop, pause, resume and navigation actions.
class VORSlideshow : public VORHotSpot, private SlideshowPlayback::Host {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 8;

  enum ActionCode : int32_t {
    kPlay = 200,
    kStop = 201,
    kPause = 202,
    kResume = 203,
    kNext = 205,
    kPrevious = 206,
    kLast = 207,
    kFirst = 208,
    kGoTo = 209,
    kStartAt = 210,
    kStep = 400,
  };

  class VORSlideshowProperties : public VORHotSpot::VORHotSpotProperties {
  public:
    enum SlideFlag : uint16_t { kStartByItself = 0x01, kShuffled = 0x02, kFilePattern = 0x04 };
    // A delay and a reference: what each slide takes in the record itself.
    static constexpr uint32_t kSlideRecordBytes = 4 + 8;

    VORSlideshowProperties() = default;
    VORSlideshowProperties(const VORSlideshowProperties &) = default;
    VORSlideshowProperties &operator=(const VORSlideshowProperties &) = default;
    ~VORSlideshowProperties() override;

    // The hotspot's record, the flags, the repeat count, the slide count,
    // the delays, the references, then a transition folder per slide.
    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORSlideshowProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint16_t GetSlideCount() const { return static_cast<uint16_t>(references.size()); }

    uint16_t slideFlags = kStartByItself;
    int16_t repeatCount = 0;
    std::vector<uint32_t> delays;
    std::vector<VORObjectCode> references;
    std::vector<VORFXManager::FXParams> transitions;
  };

  // The timed step the slideshow posts to itself; it carries the
  // generation it belongs to, so a step of a stopped or replaced chain
  // does nothing.
  class VORSlideshowStepAction : public VORObjectAction {
  public:
    explicit VORSlideshowStepAction(uint32_t stepGeneration);
    VORSlideshowStepAction(const VORSlideshowStepAction &) = default;
    ~VORSlideshowStepAction() override;
    VORObjectAction *Clone() const override { return new VORSlideshowStepAction(*this); }

    uint32_t generation;
  };

  VORSlideshow(uint32_t classKey, int32_t id);
  VORSlideshow(const VORSlideshow &other);
  ~VORSlideshow() override;

  VORSlideshowProperties &GetSlideshowProperties();
  const SlideshowPlayback &GetPlayback() const { return m_playback; }
  const std::vector<std::string> &GetFileNames() const { return m_fileNames; }
  VORGfxImage *GetPicture() const { return m_picture.get(); }

  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;
  void EnterPage(VORPageInstance &instance, bool visible) override;
  void LeavePage(bool visible) override;
  void OnPageShown() override;
  void AfterShow() override;
  void Hide(int32_t depth) override;
  // While a slide transition runs under the update controller, the effect
  // paints the object's place.
  void Paint(const VORRect &update, DrawingContext &context) override;
  void BuildSurfaces(VORView &view) override;
  void DrawContent(const VORRect &rect, DrawingContext &context) override;
  bool StretchesHorizontally() override;
  bool StretchesVertically() override;
  bool IsEmpty(bool withChildren) override;
  bool SuitsDisplayDepth(int32_t bitsPerPixel) override;
  void UpdateDrawFlags() override;

protected:
  // The picture of a slide, made for the object's rectangle; null when the
  // slide gives none.
  virtual std::unique_ptr<VORGfxImage> MakeSlidePicture(int32_t index);

private:
  // SlideshowPlayback::Host
  void ShowSlide(int32_t index, bool firstShow) override;
  void PostStep(uint32_t generation, uint32_t delay) override;
  void PostSyncStart() override { VORObject::PostSyncStart(); }
  void PostSyncEnd() override { VORObject::PostSyncEnd(); }
  bool IsTransitionRunning() override;
  bool IsShown() override { return IsVisible(); }

  void BuildFileList();
  void StartIfAsked();
  bool LoadCurrentPicture();
  void ReleasePicture();
  // The transition into the slide; null when it names no effect.
  const VORFXManager::FXParams *TransitionInto(int32_t index);
  // The effect the view runs modally over the screen; null when the object
  // does not run its effects so or the view does not run this one so.
  std::unique_ptr<VORTransition> MakeModalTransition(const VORFXManager::FXParams &params);
  // The effect drawn under the update controller from the old slide (none
  // on the first show) to the new one on the object's own surface.
  void StartSlideTransition(const VORFXManager::FXParams &params, VORBitmapObjectSurface &surface);
  // A copy of what the object's surface shows now: the old slide.
  std::unique_ptr<VORBitmapGraphicalObjectSurface> CopyOfSurface(VORBitmapObjectSurface &surface);
  void DropSlideTransition();
  // The resource kind of a slide's child resource object; 0 when none.
  int32_t SlideResourceKind(size_t index);
  bool IsFilePatternMode();

  SlideshowPlayback m_playback;
  std::vector<std::string> m_fileNames;
  std::unique_ptr<VORGfxImage> m_picture;
  // The running slide transition (the graphical object holds it) and the
  // old slide it reads from.
  VORTransition *m_slideEffect = nullptr;
  std::unique_ptr<VORBitmapGraphicalObjectSurface> m_oldSlide;
};

using VORPlayerSlideshow = VORPlayerForm<VORSlideshow, VORSlideshow::VORSlideshowProperties>;
