#include "objects/VORGraphicalObject.h"

#include <memory>

#include "display/CompositionOrder.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/VORBitmapGraphicalObjectSurface.h"
#include "display/VORRunView.h"
#include "display/VORScreenBuffer.h"
#include "display/VORTransition.h"
#include "display/VORView.h"
#include "images/ImageFactory.h"
#include "images/VORGfxImage.h"
#include "model/VORApp.h"
#include "model/VORFileKind.h"
#include "model/VORGraphicalObjectContainerManager.h"
#include "model/VORPageInstance.h"
#include "model/VORTrigger.h"
#include "objects/VORAnimationController.h"
#include "objects/VORExternalResourceObject.h"
#include "objects/VORFrame.h"
#include "objects/VORGraphicalObjectAction.h"
#include "objects/VORResourceObject.h"
#include "transitions/VORFX.h"
#include "transitions/VORFXManager.h"

namespace {

// Off-screen drawing surfaces deeper than 8 bits per pixel are 24-bit.
constexpr int32_t kTrueColourDepth = 24;
constexpr int32_t kPaletteDepth = 8;

bool IsMetafileKind(int32_t kind) {
  return kind == VORFileKind::kWindowsMetafile || kind == VORFileKind::kEnhancedMetafile || kind == VORFileKind::kCdr;
}

} // namespace

VORGraphicalObject::VORGraphicalObject(uint32_t classKey, int32_t id) : VORObject(classKey, id) {}

VORGraphicalObject::VORGraphicalObject(const VORGraphicalObject &other)
    : VORObject(other), VORPaintable(other), VORLayoutMember(other), m_rect(other.m_rect) {}

VORGraphicalObject::~VORGraphicalObject() {
  m_effect.reset();
  DeleteSurfaces();
}

VORGraphicalObject::VORGraphicalObjectProperties &VORGraphicalObject::GetGraphicalProperties() {
  return static_cast<VORGraphicalObjectProperties &>(*GetProperties());
}

const VORGraphicalObject::VORGraphicalObjectProperties &VORGraphicalObject::GetGraphicalProperties() const {
  return const_cast<VORGraphicalObject *>(this)->GetGraphicalProperties();
}

// --- Showing and hiding -------------------------------------------------

void VORGraphicalObject::ClearRunState() {
  m_animationDriver = nullptr;
  m_effect.reset();
  m_showRunning = false;
  m_hideRunning = false;
  m_endPosted = false;
  m_afterShown = false;
  m_visible = false;
  m_keptPosition = kNoPosition;
  DeleteDragController();
  FreeImage();
  m_stateIndex = 0;
}

bool VORGraphicalObject::IsSet(const VORObjectCode &reference) {
  return VORGraphicalObjectProperties::IsSet(reference);
}

VORObject *VORGraphicalObject::FindChild(const VORObjectCode &reference, bool recursive) const {
  return IsSet(reference) ? FindChildObject(reference.GetClassKey(), reference.id, recursive) : nullptr;
}

VORAnimationController *VORGraphicalObject::FindController(const VORObjectCode &reference, bool recursive) const {
  return dynamic_cast<VORAnimationController *>(FindChild(reference, recursive));
}

void VORGraphicalObject::EnterPage(VORPageInstance &instance, bool visible) {
  ClearRunState();
  m_entered = visible;
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  auto *view = dynamic_cast<VORView *>(instance.GetView());
  if (view != nullptr && view->IsInteractive()) {
    // An object with a show transition appears through it once the page is
    // shown.
    m_visible = visible && properties.visibleAtStart != 0 && !properties.showTransition.HasEffect() &&
                FindController(properties.showAnimation, true) == nullptr;
    VORObject::EnterPage(instance, m_visible);
  } else {
    // Printing shows every object as it stands.
    VORObject::EnterPage(instance, visible);
    m_visible = true;
  }
  m_surfaceRect = m_rect;
  UpdateScreenRect();
}

void VORGraphicalObject::LeavePage(bool visible) {
  ReleaseSurfaces();
  FreeImage();
  m_currentSurface = nullptr;
  m_surfacesBuilt = false;
  VORObject::LeavePage(visible);
  m_animationDriver = nullptr;
}

void VORGraphicalObject::OnPageShown() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  const bool interactive = IsInInteractiveView();
  if (interactive && m_entered && !m_visible) {
    if (properties.visibleAtStart != 0)
      ShowWithTransition(0);
    else if (properties.showDelay != VORGraphicalObjectProperties::kNoDelay)
      PostToSelf(VORGraphicalObjectAction::kShow, static_cast<uint32_t>(properties.showDelay));
  }
  // A show that ended at once (or a cascade from the parent) has run the
  // after-show steps already: the auto-start trigger fires once, the timed
  // hide is posted once.
  if (m_visible && interactive && !m_showRunning && !m_afterShown) {
    m_afterShown = true;
    PostDelayedHide();
    StartPathAnimation();
    FireEvents(VORAutoStartTrigger());
  }
  VORObject::OnPageShown();
}

void VORGraphicalObject::ShowWithTransition(int32_t cascade) {
  if (GetView() == nullptr)
    return;
  if (!m_visible) {
    const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
    if (IsInInteractiveView()) {
      PlaceByLayoutGuides();
      VORAnimationController *animation = FindController(properties.showAnimation, false);
      const bool appearsAlone =
          properties.visibleAtStart != 0 && !properties.showTransition.HasEffect() && !IsSet(properties.showAnimation);
      if (cascade == 0 || appearsAlone) {
        Show(0);
        m_endPosted = false;
        m_afterShown = false;
        if (animation != nullptr) {
          // Set first: a motion that ends within Start ends the show.
          m_showRunning = true;
          animation->Start();
        } else if (properties.showTransition.HasEffect()) {
          m_showRunning = StartEffect(false);
        }
      }
    } else {
      Show(0);
    }
  }
  if (!m_showRunning && m_visible && !m_afterShown && IsInInteractiveView())
    AfterShow();
}

// An object about to appear takes the place its container's layout gives
// it (the page's, or the frame's it lies in), wherever it was moved while
// hidden.
void VORGraphicalObject::PlaceByLayoutGuides() {
  VORGraphicalObjectContainerManager *layout = nullptr;
  if (auto *frame = dynamic_cast<VORFrame *>(GetParent()))
    layout = &frame->GetFrameLayout();
  else if (auto *instance = dynamic_cast<VORPageInstance *>(GetParent()))
    layout = instance->GetLayoutManager();
  if (layout != nullptr)
    layout->PlaceObject(*this);
}

void VORGraphicalObject::Show(int32_t depth) {
  if (m_visible)
    return;
  // A dropped object can be dragged again once it is shown anew.
  DeleteDragController();
  if (depth == 0) {
    m_visible = true;
    RebuildSurfaces();
  } else {
    ShowWithTransition(depth);
  }
  if (m_visible)
    VORObject::Show(depth);
}

void VORGraphicalObject::AfterShow() {
  if (!IsInInteractiveView())
    return;
  m_showRunning = false;
  m_afterShown = true;
  FireEvents(VORAutoStartTrigger());
  ForEachChildObject([this](VORObject &child) {
    auto *graphical = dynamic_cast<VORGraphicalObject *>(&child);
    if (graphical == nullptr)
      return;
    const VORGraphicalObjectProperties &properties = graphical->GetGraphicalProperties();
    if (properties.visibleAtStart != 0)
      graphical->ShowWithTransition(0);
    else if (properties.showDelay != VORGraphicalObjectProperties::kNoDelay)
      PostTo(*graphical, VORGraphicalObjectAction::kShow, static_cast<uint32_t>(properties.showDelay));
  });
  StartPathAnimation();
  PostDelayedHide();
}

void VORGraphicalObject::PostDelayedHide() {
  const int32_t delay = GetGraphicalProperties().hideDelay;
  if (delay != VORGraphicalObjectProperties::kNoDelay)
    PostToSelf(VORGraphicalObjectAction::kHide, static_cast<uint32_t>(delay));
}

void VORGraphicalObject::StartPathAnimation() {
  if (VORAnimationController *path = FindController(GetGraphicalProperties().pathAnimation, false))
    path->Start();
}

void VORGraphicalObject::StopPathAnimation() {
  if (VORAnimationController *path = FindController(GetGraphicalProperties().pathAnimation, false))
    path->Stop();
}

void VORGraphicalObject::HideWithTransition() {
  if (m_visible && IsInInteractiveView()) {
    const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
    StopPathAnimation();
    m_endPosted = false;
    if (properties.hideTransition.HasEffect()) {
      m_hideRunning = StartEffect(true);
    } else if (VORAnimationController *animation = FindController(properties.hideAnimation, false)) {
      // Set first: a motion that ends within Start hides the object.
      m_hideRunning = true;
      animation->Start();
    }
  }
  if (!m_hideRunning)
    Hide(0);
}

// With the modal flag the run view makes the effect and runs it to its end
// here (a hide hides the object first, so the effect uncovers what lies
// under it); otherwise the application's effect manager makes one that the
// update controller drives while the page goes on.
bool VORGraphicalObject::StartEffect(bool closing) {
  m_effect.reset();
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  const VORFXManager::FXParams &params = closing ? properties.hideTransition : properties.showTransition;
  Surfaces &surfaces = m_surfaces[m_stateIndex];
  VORBitmapObjectSurface *surface = surfaces.output ? surfaces.output.get() : surfaces.drawing.get();
  if (properties.modalTransition != 0) {
    if (auto *view = dynamic_cast<VORRunView *>(GetView())) {
      if (std::unique_ptr<VORTransition> modal = view->CreateTransition(params)) {
        if (closing)
          Hide(0);
        view->RunTransitionModal(*modal, m_screenRect, closing);
        return false;
      }
    }
  }
  VORApp *app = VORApp::Get();
  VORFXManager *manager = app != nullptr ? app->GetFXManager() : nullptr;
  if (manager == nullptr || surface == nullptr || surface->GetOwner() == nullptr)
    return false;
  // The effect paints where the object is composed (the surface it is copied
  // into), which is also told when the run ends. It takes its two pictures
  // as it starts: the object's surface as drawn now, and what lies under the
  // object there.
  VORDrawingSurface &owner = *surface->GetOwner();
  std::unique_ptr<VORFX> effect = manager->CreateEffect(params, surface, nullptr, &owner);
  if (effect == nullptr)
    return false;
  surface->FlushDirtyRects();
  ComposeWithoutSelf(owner);
  effect->Start(closing);
  m_effect = std::move(effect);
  return true;
}

// Redraws the object's area of the surface it is copied into with the
// object left out (nothing is presented), so that the area shows what lies
// under it.
void VORGraphicalObject::ComposeWithoutSelf(VORDrawingSurface &owner) {
  VORRect area;
  if (!area.Intersect(m_screenRect, owner.GetSurfaceBounds()))
    return;
  m_leftOut = true;
  owner.RedrawRect(area);
  m_leftOut = false;
}

void VORGraphicalObject::SetEffect(std::unique_ptr<VORTransition> effect) { m_effect = std::move(effect); }

void VORGraphicalObject::AnimationDriverDone(VORAnimationController *controller) {
  if (m_animationDriver != controller)
    return;
  m_animationDriver = nullptr;
  if (m_effect != nullptr)
    return;
  if (m_hideRunning) {
    Hide(0);
  } else if (m_showRunning && !m_endPosted) {
    // The show ends as the motion does, whether or not the object is
    // painted meanwhile (Paint would post the same).
    m_endPosted = true;
    PostToSelf(VORGraphicalObjectAction::kShowFinished, 0);
  }
}

// Each run's end is posted once, however often the object is painted
// before the action comes.
void VORGraphicalObject::CheckTransitionEnd() {
  const bool effectDone = m_effect == nullptr || m_effect->IsFinished();
  if (m_hideRunning && m_animationDriver == nullptr && effectDone) {
    if (!m_endPosted)
      PostToSelf(VORGraphicalObjectAction::kHideAtOnce, 0);
    m_endPosted = true;
    return;
  }
  if (m_showRunning && m_animationDriver == nullptr && effectDone) {
    if (!m_endPosted)
      PostToSelf(VORGraphicalObjectAction::kShowFinished, 0);
    m_endPosted = true;
  }
  // A finished hide keeps its effect, which paints nothing, until the
  // object is hidden: painted plainly, it would flash up again.
  if (m_effect != nullptr && m_effect->IsFinished())
    m_effect.reset();
}

void VORGraphicalObject::Hide(int32_t depth) {
  Invalidate();
  VORObject::Hide(depth);
  if (!m_visible)
    return;
  m_visible = false;
  m_hideRunning = false;
  // Hidden during its show, the object has nothing left to show: the show
  // and its effect end with it, and the next show starts anew.
  m_showRunning = false;
  m_afterShown = false;
  m_effect.reset();
  ReleaseSurfaces();
}

bool VORGraphicalObject::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!action.GetTarget().Equals(GetObjectCode()))
    return false;
  switch (action.GetActionCode()) {
  case VORGraphicalObjectAction::kShow:
    if (!m_visible)
      ShowWithTransition(0);
    return true;
  case VORGraphicalObjectAction::kHide:
    // A hide asked for while the object is still appearing is dropped.
    if (m_visible && !m_showRunning)
      HideWithTransition();
    return true;
  case VORGraphicalObjectAction::kHideAtOnce:
    if (m_visible)
      Hide(0);
    return true;
  case VORGraphicalObjectAction::kRaiseToTop:
    RaiseToTop();
    return true;
  case VORGraphicalObjectAction::kRestoreOrder:
    RestoreOrder();
    return true;
  case VORGraphicalObjectAction::kShowFinished:
    // Only the end of a show under way runs the after-show steps.
    if (m_showRunning)
      AfterShow();
    return true;
  default:
    return VORObject::ReceiveAction(action, context);
  }
}

void VORGraphicalObject::PostToSelf(int32_t code, uint32_t delay) { PostTo(*this, code, delay); }

void VORGraphicalObject::PostTo(const VORGraphicalObject &target, int32_t code, uint32_t delay) {
  VORApp *app = VORApp::Get();
  if (app == nullptr)
    return;
  auto action = std::make_unique<VORObjectAction>(0, 0);
  action->SetActionCode(code);
  action->SetTarget(target.GetObjectCode());
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  app->ScheduleAction(delay, action.release(), nullptr);
}

void VORGraphicalObject::PostRaiseToTop() { PostToSelf(VORGraphicalObjectAction::kRaiseToTop, 0); }

void VORGraphicalObject::PostRestoreOrder() { PostToSelf(VORGraphicalObjectAction::kRestoreOrder, 0); }

void VORGraphicalObject::RaiseToTop() {
  VORRecursiveObjectContainer *parent = GetParent();
  if (parent == nullptr || m_keptPosition != kNoPosition)
    return;
  m_keptPosition = parent->MoveTo(this, -1);
  Invalidate();
}

void VORGraphicalObject::RestoreOrder() {
  VORRecursiveObjectContainer *parent = GetParent();
  if (parent == nullptr || m_keptPosition == kNoPosition)
    return;
  parent->MoveTo(this, m_keptPosition);
  Invalidate();
  m_keptPosition = kNoPosition;
}

// --- Draw flags and surfaces ---------------------------------------------

bool VORGraphicalObject::IsLinkedMetafile() const {
  const VORObjectCode &linked = GetGraphicalProperties().linkedResource;
  VORResourceObject *resource = IsSet(linked) ? FindResourceObject(linked) : nullptr;
  return resource != nullptr && IsMetafileKind(resource->GetResourceId());
}

bool VORGraphicalObject::IsEmpty(bool withChildren) {
  const VORObjectCode &linked = GetGraphicalProperties().linkedResource;
  bool empty = true;
  if (IsSet(linked)) {
    VORResourceObject *resource = FindResourceObject(linked);
    auto *external = dynamic_cast<VORExternalResourceObject *>(resource);
    empty = resource == nullptr || (external != nullptr && external->GetFilePath().IsEmpty());
  }
  return empty && (!withChildren || AreChildrenEmpty());
}

bool VORGraphicalObject::AreChildrenEmpty() {
  bool empty = true;
  ForEachChildObject([&empty](VORObject &child) {
    auto *graphical = dynamic_cast<VORGraphicalObject *>(&child);
    if (empty && graphical != nullptr && !graphical->IsEmpty(true))
      empty = false;
  });
  return empty;
}

void VORGraphicalObject::UpdateDrawFlags() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  DrawFlagInputs inputs;
  inputs.empty = IsEmpty(false);
  inputs.childrenEmpty = inputs.empty && AreChildrenEmpty();
  inputs.hasLinkedResource = IsSet(properties.linkedResource);
  inputs.linkedIsMetafile = IsLinkedMetafile();
  inputs.transparencyKind = properties.imageLayout.transparencyKind;
  inputs.fitMode = properties.imageLayout.fitMode;
  inputs.keepAspect = properties.imageLayout.keepAspect;
  inputs.opacity = properties.opacity;
  inputs.blendX = properties.blendOffset.x;
  inputs.blendY = properties.blendOffset.y;
  inputs.transparentColourFlag = properties.transparentColourFlag;
  inputs.hasEffect = properties.showTransition.HasEffect() || properties.hideTransition.HasEffect();
  inputs.moves = IsSet(properties.showAnimation) || IsSet(properties.hideAnimation) ||
                 IsSet(properties.pathAnimation) || properties.draggable != 0;
  inputs.shadowX = properties.shadowOffset.x;
  inputs.shadowY = properties.shadowOffset.y;
  DrawFlagRules::Apply(m_drawFlags, inputs);
  auto *parent = dynamic_cast<VORGraphicalObject *>(GetParent());
  if (parent != nullptr && DrawFlagRules::NeedsParentCapture(m_drawFlags))
    parent->AddDrawFlags(DrawFlags::kCapturesBackground | DrawFlags::kNotCovering);
}

void VORGraphicalObject::UpdateChildDrawFlags() { UpdatePageDrawFlags(*this); }

bool VORGraphicalObject::NeedsOwnSurface() {
  return IsInInteractiveView() && m_drawFlags.Has(DrawFlags::kMoves | DrawFlags::kEffect);
}

void VORGraphicalObject::UpdatePageDrawFlags(VORRecursiveObjectContainer &level) {
  CompositionOrder::UpdateLevelDrawFlags(CompositionOrder::GraphicalChildren(level));
}

void VORGraphicalObject::RebuildPageObjectSurfaces(VORRecursiveObjectContainer &level) {
  CompositionOrder::RebuildLevelSurfaces(CompositionOrder::GraphicalChildren(level));
}

VORDrawingSurface *VORGraphicalObject::TargetSurface(VORView &view) const {
  if (auto *parent = dynamic_cast<VORGraphicalObject *>(GetParent()))
    return parent->m_currentSurface;
  return view.GetScreenBuffer();
}

void VORGraphicalObject::RebuildSurfaces() {
  VORView *view = GetView();
  if (!m_visible || view == nullptr)
    return;
  ReleaseSurfaces();
  UpdateScreenRect();
  BuildSurfaces(*view);
  RebuildPageObjectSurfaces(*this);
  Invalidate();
}

void VORGraphicalObject::BuildSurfaces(VORView &view) {
  DeleteSurfaces();
  VORDrawingSurface *target = TargetSurface(view);
  if (target == nullptr)
    return;
  const int32_t bits = target->GetBitsPerPixel();
  const SurfaceChoice choice = DrawFlagRules::ChooseSurfaces(m_drawFlags, SuitsDisplayDepth(bits));
  Surfaces &surfaces = m_surfaces[m_stateIndex];
  switch (choice.kind) {
  case SurfaceChoice::kNothing:
    m_currentSurface = nullptr;
    return;
  case SurfaceChoice::kDirect:
    m_currentSurface = target;
    return;
  case SurfaceChoice::kSingle:
    surfaces.drawing = std::make_unique<VORBitmapGraphicalObjectSurface>(this, choice.mask, choice.blending, &view,
                                                                         bits, true, target);
    break;
  case SurfaceChoice::kPair:
    surfaces.output =
        std::make_unique<VORBitmapGraphicalObjectSurface>(this, choice.mask, false, &view, bits, true, target);
    surfaces.drawing = std::make_unique<VORBitmapGraphicalObjectSurface>(
        this, choice.mask, choice.blending, &view, kTrueColourDepth, false, surfaces.output.get());
    surfaces.output->SetInnerSurface(surfaces.drawing.get());
    break;
  }
  m_currentSurface = surfaces.drawing.get();
  m_surfacesBuilt = true;
}

void VORGraphicalObject::DeleteSurfaces() {
  for (Surfaces &surfaces : m_surfaces) {
    if (surfaces.output)
      surfaces.output->SetInnerSurface(nullptr);
    surfaces.drawing.reset();
    surfaces.output.reset();
  }
  m_surfacesBuilt = false;
}

void VORGraphicalObject::ReleaseSurfaces() {
  // A running effect paints from and into these surfaces: it ends with them
  // (the show or hide then finishes at once), never outliving them under the
  // update controller.
  m_effect.reset();
  FreeImageLoadedForDrawing();
  DeleteSurfaces();
  m_currentSurface = nullptr;
  ForEachChildObject([](VORObject &child) {
    if (auto *graphical = dynamic_cast<VORGraphicalObject *>(&child))
      graphical->ReleaseSurfaces();
  });
}

void VORGraphicalObject::SetStateIndex(int32_t index) {
  if (index < 0 || index >= kStates || index == m_stateIndex)
    return;
  m_stateIndex = index;
  if (m_surfacesBuilt && m_surfaces[m_stateIndex].drawing)
    m_currentSurface = m_surfaces[m_stateIndex].drawing.get();
}

void VORGraphicalObject::Invalidate() {
  if (m_currentSurface != nullptr)
    m_currentSurface->AddDirtyRect(m_screenRect);
}

// --- Geometry ------------------------------------------------------------

void VORGraphicalObject::UpdateScreenRect() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  m_screenRect = DrawFlagRules::ScreenRect(m_rect, properties.shadowOffset.x, properties.shadowOffset.y);
  if (!m_surfacesBuilt)
    return;
  Surfaces &surfaces = m_surfaces[m_stateIndex];
  if (surfaces.drawing)
    surfaces.drawing->SetBounds(m_rect);
  if (surfaces.output)
    surfaces.output->SetBounds(m_rect);
}

void VORGraphicalObject::AddShadowOffset(VORRect &rect) {
  const VORPoint &shadow = GetGraphicalProperties().shadowOffset;
  rect = DrawFlagRules::ScreenRect(rect, shadow.x, shadow.y);
}

void VORGraphicalObject::SetRect(const VORRect &rect) {
  if (rect == m_rect) {
    LayoutChildren(rect);
    return;
  }
  const bool sameSize = rect.Width() == m_rect.Width() && rect.Height() == m_rect.Height();
  const VORRect oldScreen = m_screenRect;
  const bool shadowed = m_drawFlags.Has(DrawFlags::kShadow);
  bool invalidateNew = false;
  if (sameSize && HasOwnSurfaces()) {
    // A move shifts the surfaces' origins: nothing is redrawn.
    Surfaces &surfaces = m_surfaces[m_stateIndex];
    if (surfaces.output)
      surfaces.output->FlushDirtyRects();
    for (Surfaces &state : m_surfaces) {
      if (state.drawing)
        state.drawing->MoveOrigin(rect.left, rect.top, true);
      if (state.output)
        state.output->MoveOrigin(rect.left, rect.top, true);
    }
    if (shadowed) {
      Invalidate();
      invalidateNew = true;
    }
  } else if (m_currentSurface != nullptr) {
    Invalidate();
    invalidateNew = true;
  }
  static_cast<void>(oldScreen);
  LayoutChildren(rect);
  m_rect = rect;
  UpdateScreenRect();
  m_surfaceRect = m_rect;
  if (invalidateNew)
    Invalidate();
}

// Children lie over their parent: each takes the parent's rectangle, so
// they move and stretch with it (a flying or dragged object carries them).
void VORGraphicalObject::LayoutChildren(const VORRect &rect) {
  ForEachChildObject([&rect](VORObject &child) {
    if (auto *graphical = dynamic_cast<VORGraphicalObject *>(&child))
      graphical->SetRect(rect);
  });
}

bool VORGraphicalObject::FitsHeightToWidth() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  return properties.horizontalSizing == 1 && properties.verticalSizing == 2;
}

int32_t VORGraphicalObject::GetContentHeight(int32_t /*width*/) { return -1; }

bool VORGraphicalObject::StretchesHorizontally() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  return IsSet(properties.linkedResource) ? properties.imageLayout.fitMode != 0 : properties.horizontalSizing == 1;
}

bool VORGraphicalObject::StretchesVertically() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  return IsSet(properties.linkedResource) ? properties.imageLayout.fitMode != 0 : properties.verticalSizing == 1;
}

// --- Pictures ------------------------------------------------------------

std::unique_ptr<VORGfxImage> VORGraphicalObject::MakeImage() {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  VORResourceObject *resource =
      IsSet(properties.linkedResource) ? FindResourceObject(properties.linkedResource) : nullptr;
  if (resource == nullptr)
    return nullptr;
  const uint32_t handle = resource->AcquireResource(0);
  if (handle == 0)
    return nullptr;
  return CreateImageForResource(handle, properties.imageLayout, m_rect);
}

bool VORGraphicalObject::LoadPicture() {
  FreeImage();
  m_image = MakeImage();
  m_imageForDrawing = false;
  return m_image != nullptr;
}

void VORGraphicalObject::SetImage(std::unique_ptr<VORGfxImage> image) {
  m_image = std::move(image);
  m_imageForDrawing = false;
}

void VORGraphicalObject::FreeImage() {
  m_image.reset();
  m_imageForDrawing = false;
}

void VORGraphicalObject::FreeImageLoadedForDrawing() {
  if (m_imageForDrawing)
    FreeImage();
}

bool VORGraphicalObject::SuitsDisplayDepth(int32_t bitsPerPixel) {
  if (bitsPerPixel != kPaletteDepth)
    return true;
  const bool loadedHere = m_image == nullptr;
  if (loadedHere && !LoadPicture())
    return true;
  int32_t width = 0;
  int32_t height = 0;
  int32_t imageBits = 0;
  m_image->GetSize(width, height, imageBits);
  const bool suits = imageBits < kPaletteDepth || (imageBits == kPaletteDepth && m_image->MatchesAppPalette());
  if (loadedHere && !IsInInteractiveView())
    FreeImage();
  return suits;
}

// --- Painting ------------------------------------------------------------

bool VORGraphicalObject::IsTransparent() {
  return m_leftOut || DrawFlagRules::IsTransparent(m_drawFlags, m_visible, m_effect != nullptr);
}

void VORGraphicalObject::Paint(const VORRect &update, DrawingContext &context) {
  if (!m_visible || m_leftOut || m_currentSurface == nullptr || m_drawFlags.Has(DrawFlags::kEmpty))
    return;
  VORRect part;
  if (!part.Intersect(update, m_screenRect))
    return;
  if (!HasOwnSurfaces()) {
    if (m_drawFlags.Has(DrawFlags::kShadow))
      DrawShadow(context);
    VORRect inside;
    if (inside.Intersect(update, m_rect))
      DrawInto(inside, context);
    return;
  }
  CheckTransitionEnd();
  Surfaces &surfaces = m_surfaces[m_stateIndex];
  VORBitmapGraphicalObjectSurface &shown = surfaces.output ? *surfaces.output : *surfaces.drawing;
  if (m_drawFlags.Has(DrawFlags::kCapturesBackground))
    CaptureBackground(part, context);
  shown.FlushDirtyRects();
  // The surface holds the object alone; its drop shadow falls outside it
  // and is drawn from the surface's mask, so the part keeps the shadow.
  VORRect shownArea = shown.GetBounds();
  AddShadowOffset(shownArea);
  if (!part.Intersect(part, shownArea))
    return;
  if (m_effect != nullptr)
    m_effect->Paint(part, part);
  else
    BlitFromSurface(part, shown, context, 0);
  shown.ReleaseContexts();
}

// The target holds what lies under the object, composed up to it: that goes
// into the surface first, so that children blending in it, and smoothed
// text, mix with the page's own picture and not with the surface's old one.
void VORGraphicalObject::CaptureBackground(const VORRect &part, DrawingContext &target) {
  Surfaces &surfaces = m_surfaces[m_stateIndex];
  VORRect area;
  if (!area.Intersect(part, surfaces.drawing->GetBounds()))
    return;
  DrawingContext *drawing = surfaces.drawing->GetDrawingContext();
  if (drawing == nullptr)
    return;
  target.CopyTo(*drawing, nullptr, area, area);
  surfaces.drawing->AddDirtyRectUntold(area);
  if (surfaces.output)
    surfaces.output->AddDirtyRectUntold(area);
}

void VORGraphicalObject::BlitFromSurface(const VORRect &part, VORBitmapObjectSurface &surface, DrawingContext &target,
                                         int32_t extraTransparency) {
  DrawingContext *source = surface.GetDrawingContext();
  if (source == nullptr)
    return;
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  if (m_drawFlags.Has(DrawFlags::kShadow))
    source->DrawShadow(target, nullptr, part, m_rect, properties.shadowOffset.x, properties.shadowOffset.y,
                       properties.shadowColour, properties.shadowOpacity);
  VORRect cut;
  if (!cut.Intersect(part, m_rect))
    return;
  if (DrawFlagRules::Blends(m_drawFlags, extraTransparency))
    source->BlendTo(target, nullptr, cut, cut, DrawFlagRules::BlendLevel(m_drawFlags.transparency, extraTransparency),
                    m_drawFlags.Has(DrawFlags::kKeyColour) ? 1 : 0, m_drawFlags.blendX, m_drawFlags.blendY);
  else
    source->CopyTo(target, nullptr, cut, cut);
}

void VORGraphicalObject::DrawShadow(DrawingContext &context) {
  const VORGraphicalObjectProperties &properties = GetGraphicalProperties();
  VORRect vertical;
  VORRect horizontal;
  DrawFlagRules::ShadowStrips(m_rect, properties.shadowOffset.x, properties.shadowOffset.y, vertical, horizontal);
  if (properties.shadowOpacity >= DrawFlags::kOpaque) {
    context.SetPenColor(properties.shadowColour);
    context.SetBrushColor(properties.shadowColour);
    if (!vertical.IsEmpty())
      context.DrawRectangle(vertical);
    if (!horizontal.IsEmpty())
      context.DrawRectangle(horizontal);
    context.DeletePen();
    context.DeleteBrush();
    return;
  }
  if (!vertical.IsEmpty())
    context.BlendFillRect(vertical, properties.shadowColour, properties.shadowOpacity);
  if (!horizontal.IsEmpty())
    context.BlendFillRect(horizontal, properties.shadowColour, properties.shadowOpacity);
}

void VORGraphicalObject::DrawInto(const VORRect &rect, DrawingContext &context) {
  DrawingContextSaver saved(context);
  context.SetClipRect(rect);
  DrawContent(rect, context);
  DrawChildren(rect, context);
}

void VORGraphicalObject::DrawContent(const VORRect &rect, DrawingContext &context) {
  if (m_image == nullptr) {
    if (!LoadPicture())
      return;
    m_imageForDrawing = true;
  }
  m_image->Draw(context, m_rect, rect);
  if (m_imageForDrawing && !IsInInteractiveView())
    FreeImage();
}

void VORGraphicalObject::DrawChildren(const VORRect &rect, DrawingContext &context) {
  const std::vector<VORPaintable *> children = CompositionOrder::GraphicalChildren(*this);
  size_t start = CompositionOrder::FindStart(children, rect);
  if (start == CompositionOrder::kClearFirst)
    start = 0;
  for (size_t i = start; i < children.size(); ++i)
    children[i]->Paint(rect, context);
}
