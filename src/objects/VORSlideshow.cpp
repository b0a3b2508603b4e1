#include "objects/VORSlideshow.h"

#include <windows.h>

#include <algorithm>

#include "display/VORBitmapGraphicalObjectSurface.h"
#include "display/VORRunView.h"
#include "display/VORTransition.h"
#include "display/VORView.h"
#include "images/ImageFactory.h"
#include "images/VORGfxImage.h"
#include "model/VORApp.h"
#include "model/VORExternalResourceIdentifier.h"
#include "model/VORFileKind.h"
#include "model/VORFrameStreamObjectAction.h"
#include "model/VORResourceManager.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORRecordForm.h"
#include "objects/VORResourceObject.h"
#include "transitions/VORFX.h"

namespace {

const PlayerFormRegistration kSlideshow(VORSlideshow::kCategory, VORSlideshow::kCode, VORPlayerSlideshow::Create);

constexpr int32_t kPaletteDepth = 8;
// A picture file named by the file pattern is kept as a file the program
// made the identifier for.
constexpr int32_t kFileStorage = VORExternalResourceObject::kStorageMade;

using Flag = VORSlideshow::VORSlideshowProperties::SlideFlag;

// Folder (with its separator) and pattern of a file name.
void SplitPattern(const std::string &path, std::string &folder, std::string &pattern) {
  const size_t separator = path.find_last_of("\\/");
  folder = separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
  pattern = separator == std::string::npos ? path : path.substr(separator + 1);
}

std::vector<std::string> ListFolder(const std::string &folder, const std::string &pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found) != 0);
  FindClose(search);
  return names;
}

} // namespace

VORSlideshow::VORSlideshow(uint32_t classKey, int32_t id)
    : VORHotSpot(classKey, id), m_playback(*this, VORApp::ClockSeed) {}

VORSlideshow::VORSlideshow(const VORSlideshow &other)
    : VORHotSpot(other), SlideshowPlayback::Host(other), m_playback(*this, VORApp::ClockSeed) {}

// The effect goes before the old slide it reads from.
VORSlideshow::~VORSlideshow() { DropSlideTransition(); }

VORSlideshow::VORSlideshowProperties &VORSlideshow::GetSlideshowProperties() {
  return static_cast<VORSlideshowProperties &>(GetGraphicalProperties());
}

bool VORSlideshow::IsFilePatternMode() { return (GetSlideshowProperties().slideFlags & Flag::kFilePattern) != 0; }

// --- Actions ---------------------------------------------------------------------

bool VORSlideshow::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!action.GetTarget().Equals(GetObjectCode()))
    return false;
  const auto *indexed = dynamic_cast<const VORFrameStreamObjectAction *>(&action);
  const int32_t index = indexed != nullptr ? indexed->parameter : 0;
  switch (action.GetActionCode()) {
  case kPlay:
    m_playback.Play();
    return true;
  case kStop:
    m_playback.Stop();
    return true;
  case kPause:
    m_playback.Pause();
    return true;
  case kResume:
    m_playback.Resume();
    return true;
  case kNext:
    m_playback.Next();
    return true;
  case kPrevious:
    m_playback.Previous();
    return true;
  case kLast:
    m_playback.Last();
    return true;
  case kFirst:
    m_playback.First();
    return true;
  case kGoTo:
    m_playback.GoTo(index);
    return true;
  case kStartAt:
    m_playback.Start(index);
    return true;
  case kStep: {
    // A step of the publication's own belongs to no chain: it steps the
    // slideshow whether it plays or not.
    const auto *step = dynamic_cast<const VORSlideshowStepAction *>(&action);
    m_playback.Step(step != nullptr ? step->generation : SlideshowPlayback::kUnchained);
    return true;
  }
  default:
    return VORHotSpot::ReceiveAction(action, context);
  }
}

void VORSlideshow::PostStep(uint32_t generation, uint32_t delay) {
  VORApp *app = VORApp::Get();
  if (app == nullptr)
    return;
  auto action = std::make_unique<VORSlideshowStepAction>(generation);
  action->SetTarget(GetObjectCode());
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  app->ScheduleStep(delay, action.release());
}

// --- Page life -------------------------------------------------------------------

void VORSlideshow::EnterPage(VORPageInstance &instance, bool visible) {
  DropSlideTransition();
  VORHotSpot::EnterPage(instance, visible);
  ReleasePicture();
  const VORSlideshowProperties &properties = GetSlideshowProperties();
  SlideshowPlayback::Settings settings;
  settings.repeatCount = properties.repeatCount;
  settings.shuffled = (properties.slideFlags & Flag::kShuffled) != 0;
  settings.delays = properties.delays;
  if (IsFilePatternMode()) {
    BuildFileList();
    settings.slideCount = static_cast<int32_t>(m_fileNames.size());
    settings.firstDelayForAll = true;
  } else {
    m_fileNames.clear();
    settings.slideCount = properties.GetSlideCount();
  }
  m_playback.Enter(settings);
}

void VORSlideshow::BuildFileList() {
  m_fileNames.clear();
  const VORSlideshowProperties &properties = GetSlideshowProperties();
  if (properties.references.empty())
    return;
  auto *named = dynamic_cast<VORExternalResourceObject *>(FindChild(properties.references[0], false));
  if (named == nullptr)
    return;
  const XQString path = named->GetFilePath();
  if (path.IsEmpty())
    return;
  std::string folder;
  std::string pattern;
  SplitPattern(path.CStr(), folder, pattern);
  m_fileNames = SlideshowPlayback::SelectPictureFiles(folder, ListFolder(folder, pattern));
}

void VORSlideshow::LeavePage(bool visible) {
  DropSlideTransition();
  VORHotSpot::LeavePage(visible);
  ReleasePicture();
}

void VORSlideshow::Hide(int32_t depth) {
  DropSlideTransition();
  ReleasePicture();
  m_playback.Halt();
  VORHotSpot::Hide(depth);
}

void VORSlideshow::OnPageShown() {
  VORHotSpot::OnPageShown();
  StartIfAsked();
}

void VORSlideshow::AfterShow() {
  VORHotSpot::AfterShow();
  StartIfAsked();
}

void VORSlideshow::StartIfAsked() {
  if ((GetSlideshowProperties().slideFlags & Flag::kStartByItself) == 0 || m_playback.GetSlideCount() <= 0 ||
      m_playback.IsPlaying() || !IsInInteractiveView() || !IsVisible())
    return;
  m_playback.StartByItself();
}

// --- Slides ----------------------------------------------------------------------

void VORSlideshow::ReleasePicture() { m_picture.reset(); }

bool VORSlideshow::IsTransitionRunning() { return GetEffect() != nullptr && !GetEffect()->IsFinished(); }

// A new slide replaces the old one through the transition into it: run
// modally over the screen when the view runs it so, else drawn step by step
// on the object's surface while the page goes on.
void VORSlideshow::ShowSlide(int32_t index, bool firstShow) {
  DropSlideTransition();
  const VORFXManager::FXParams *params = TransitionInto(index);
  std::unique_ptr<VORTransition> modal = params != nullptr ? MakeModalTransition(*params) : nullptr;
  // Drawn straight into the page, the slideshow has no picture of its own
  // for an effect to read: the new slide then simply replaces the old.
  auto *surface = HasSurfaces() ? dynamic_cast<VORBitmapObjectSurface *>(GetCurrentDrawingSurface()) : nullptr;
  const bool drawnHere = params != nullptr && !modal && surface != nullptr;
  // The surface still shows the old slide: copied before the new one is drawn.
  if (drawnHere && !firstShow)
    m_oldSlide = CopyOfSurface(*surface);
  ReleasePicture();
  LoadCurrentPicture();
  Invalidate();
  // The screen still shows the old slide, from which the modal run starts.
  if (modal)
    GetView()->AsRunView()->RunTransitionModal(*modal, GetScreenRect(), false);
  else if (drawnHere)
    StartSlideTransition(*params, *surface);
}

const VORFXManager::FXParams *VORSlideshow::TransitionInto(int32_t index) {
  const VORSlideshowProperties &properties = GetSlideshowProperties();
  const auto at = static_cast<size_t>(m_playback.SettingsIndexOf(index));
  return at < properties.transitions.size() && properties.transitions[at].HasEffect() ? &properties.transitions[at]
                                                                                      : nullptr;
}

// Only an effect that can run modally over an object is made (a fade, for
// one, never is): the others run on the object's surface whatever the flag
// says, as an object's show and hide effects do.
std::unique_ptr<VORTransition> VORSlideshow::MakeModalTransition(const VORFXManager::FXParams &params) {
  VORRunView *view = GetView() != nullptr ? GetView()->AsRunView() : nullptr;
  if (GetSlideshowProperties().modalTransition == 0 || view == nullptr)
    return nullptr;
  return view->CreateTransition(params);
}

void VORSlideshow::StartSlideTransition(const VORFXManager::FXParams &params, VORBitmapObjectSurface &surface) {
  VORApp *app = VORApp::Get();
  VORFXManager *manager = app != nullptr ? app->GetFXManager() : nullptr;
  if (manager == nullptr) {
    m_oldSlide.reset();
    return;
  }
  // The effect reads the new slide from the surface as it is drawn now.
  surface.FlushDirtyRects();
  std::unique_ptr<VORFX> effect = manager->CreateEffect(params, &surface, m_oldSlide.get(), surface.GetOwner());
  if (effect == nullptr) {
    m_oldSlide.reset();
    return;
  }
  effect->Start(false);
  m_slideEffect = effect.get();
  SetEffect(std::move(effect));
}

std::unique_ptr<VORBitmapGraphicalObjectSurface> VORSlideshow::CopyOfSurface(VORBitmapObjectSurface &surface) {
  auto copy = std::make_unique<VORBitmapGraphicalObjectSurface>(this, false, false, GetView(),
                                                                surface.GetBitsPerPixel(), false, nullptr);
  DrawingContext *into = copy->GetDrawingContext();
  if (into == nullptr)
    return nullptr;
  const VORRect bounds = surface.GetBounds();
  // The pixels as they stand, not the object's own copy-out with its
  // shadow and opacity.
  surface.VORBitmapObjectSurface::CopyToContext(bounds, bounds, nullptr, into, 0);
  surface.ReleaseContexts();
  copy->ReleaseContexts();
  return copy;
}

// The running slide transition ends where it stands: the new slide shows.
void VORSlideshow::DropSlideTransition() {
  if (m_slideEffect != nullptr && GetEffect() == m_slideEffect)
    SetEffect(nullptr);
  m_slideEffect = nullptr;
  m_oldSlide.reset();
}

void VORSlideshow::BuildSurfaces(VORView &view) {
  // The effect reads the surfaces that are being replaced.
  DropSlideTransition();
  VORHotSpot::BuildSurfaces(view);
}

void VORSlideshow::Paint(const VORRect &update, DrawingContext &context) {
  VORTransition *effect = GetEffect();
  if (effect != nullptr && effect == m_slideEffect && !effect->IsFinished() && IsVisible()) {
    // The effect draws into the surface below, which is composing this.
    VORRect part;
    if (part.Intersect(update, GetRect()))
      effect->Paint(part, part);
    return;
  }
  VORHotSpot::Paint(update, context);
  // The graphical object lets a finished effect go as it paints.
  if (m_slideEffect != nullptr && GetEffect() != m_slideEffect) {
    m_slideEffect = nullptr;
    m_oldSlide.reset();
  }
}

bool VORSlideshow::LoadCurrentPicture() {
  const int32_t index = m_playback.GetCurrentIndex();
  if (index < 0 || index >= m_playback.GetSlideCount())
    return false;
  m_picture = MakeSlidePicture(index);
  return m_picture != nullptr;
}

std::unique_ptr<VORGfxImage> VORSlideshow::MakeSlidePicture(int32_t index) {
  uint32_t handle = 0;
  if (IsFilePatternMode()) {
    if (static_cast<size_t>(index) >= m_fileNames.size())
      return nullptr;
    VORApp *app = VORApp::Get();
    VORResourceManager *resources = app != nullptr ? app->GetResourceManager() : nullptr;
    if (resources == nullptr)
      return nullptr;
    const VORExternalResourceIdentifier identifier(VORExternalResourceIdentifier::kFullPath,
                                                   m_fileNames[static_cast<size_t>(index)].c_str(),
                                                   VORExternalResourceIdentifier::kStoragePicture);
    handle = resources->OpenExternalResource(identifier, kFileStorage, 0, 0);
  } else {
    const VORSlideshowProperties &properties = GetSlideshowProperties();
    if (static_cast<size_t>(index) >= properties.references.size())
      return nullptr;
    auto *resource =
        dynamic_cast<VORResourceObject *>(FindChild(properties.references[static_cast<size_t>(index)], false));
    if (resource != nullptr)
      handle = resource->AcquireResource(0);
  }
  if (handle == 0)
    return nullptr;
  return CreateImageForResource(handle, GetGraphicalProperties().imageLayout, GetRect());
}

void VORSlideshow::DrawContent(const VORRect &rect, DrawingContext &context) {
  VORHotSpot::DrawContent(rect, context);
  const bool loadedHere = m_picture == nullptr;
  if (loadedHere && !LoadCurrentPicture())
    return;
  m_picture->Draw(context, GetRect(), rect);
  if (loadedHere && !IsInInteractiveView())
    ReleasePicture();
}

// --- Layout and surfaces ---------------------------------------------------------

bool VORSlideshow::StretchesHorizontally() {
  return GetSlideshowProperties().GetSlideCount() == 0 || GetGraphicalProperties().imageLayout.fitMode != 0;
}

bool VORSlideshow::StretchesVertically() { return StretchesHorizontally(); }

bool VORSlideshow::IsEmpty(bool withChildren) {
  return GetSlideshowProperties().GetSlideCount() == 0 && VORHotSpot::IsEmpty(withChildren);
}

int32_t VORSlideshow::SlideResourceKind(size_t index) {
  const VORSlideshowProperties &properties = GetSlideshowProperties();
  auto *resource = dynamic_cast<VORResourceObject *>(FindChild(properties.references[index], false));
  return resource != nullptr ? resource->GetResourceId() : 0;
}

bool VORSlideshow::SuitsDisplayDepth(int32_t bitsPerPixel) {
  if (bitsPerPixel != kPaletteDepth)
    return true;
  for (size_t i = 0; i < GetSlideshowProperties().references.size(); ++i) {
    const int32_t kind = SlideResourceKind(i);
    if (kind == VORFileKind::kOther || kind == VORFileKind::kPictureFile)
      return false;
  }
  return true;
}

void VORSlideshow::UpdateDrawFlags() {
  VORHotSpot::UpdateDrawFlags();
  const VORSlideshowProperties &properties = GetSlideshowProperties();
  // Without slides nothing covers the place.
  if (properties.GetSlideCount() == 0) {
    AddDrawFlags(DrawFlags::kNotCovering);
    return;
  }
  // The pictures change under the object: what lies below shows through
  // wherever one of them does not cover it.
  const ImageLayout &layout = properties.imageLayout;
  // Stretched keeping its proportions, a picture leaves bands at two sides.
  bool notCovering = layout.transparencyKind != 0 || layout.fitMode != ImageLayout::kStretch || layout.keepAspect != 0;
  for (size_t i = 0; i < properties.references.size() && !notCovering; ++i) {
    const int32_t kind = SlideResourceKind(i);
    notCovering = kind == VORFileKind::kOther || kind == VORFileKind::kWindowsMetafile ||
                  kind == VORFileKind::kEnhancedMetafile || kind == VORFileKind::kCdr;
  }
  if (notCovering || IsFilePatternMode())
    AddDrawFlags(DrawFlags::kNotCovering | DrawFlags::kNotFilling);
  // A transition between slides needs the object's own surface to read
  // the new slide from.
  if (std::any_of(properties.transitions.begin(), properties.transitions.end(),
                  [](const VORFXManager::FXParams &transition) { return transition.HasEffect(); }))
    AddDrawFlags(DrawFlags::kEffect);
}
