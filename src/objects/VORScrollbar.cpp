#include "objects/VORScrollbar.h"

#include <algorithm>
#include <memory>

#include <windows.h>

#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/VORInputDispatcher.h"
#include "display/VORRunView.h"
#include "images/ImageLayout.h"
#include "images/VORGfxImage.h"
#include "model/VORApp.h"
#include "objects/ScrollbarGeometry.h"
#include "objects/VORButton.h"
#include "objects/VORImage.h"
#include "objects/VORRecordForm.h"
#include "objects/VORScrollbarObjectAction.h"

namespace {

const PlayerFormRegistration kScrollbar(VORScrollbar::kCategory, VORScrollbar::kCode, VORPlayerScrollbar::Create);

constexpr uint32_t kRepeatDelayWhenUnknown = 100;
constexpr COLORREF kFrameColour = RGB(0, 0, 0);

// The held region repeats at the keyboard's repeat setting, taken as
// milliseconds.
uint32_t KeyboardRepeatDelay() {
  DWORD speed = 0;
  return SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0) != 0 ? speed : kRepeatDelayWhenUnknown;
}

// A picture stretched with its shape kept decides the height of its part.
bool KeepsPictureShape(VORGraphicalObject &object) {
  const ImageLayout &layout = object.GetGraphicalProperties().imageLayout;
  return layout.fitMode == ImageLayout::kStretch && layout.keepAspect != 0;
}

int32_t WidthOf(const VORRect &rect) { return static_cast<int32_t>(std::clamp<int64_t>(rect.Width(), 0, INT32_MAX)); }

int32_t HeightOf(const VORRect &rect) {
  return static_cast<int32_t>(std::clamp<int64_t>(rect.Height(), INT32_MIN, INT32_MAX));
}

int32_t PictureAspectHeight(VORGfxImage &picture, int32_t width, int32_t fallback) {
  int32_t pictureWidth = 0;
  int32_t pictureHeight = 0;
  int32_t bitsPerPixel = 0;
  picture.GetSize(pictureWidth, pictureHeight, bitsPerPixel);
  return ScrollbarGeometry::AspectHeight(width, pictureWidth, pictureHeight, fallback);
}

VORRunView *RunViewOf(const VORObject &object) {
  VORView *view = object.GetView();
  return view != nullptr ? view->AsRunView() : nullptr;
}

} // namespace

VORScrollbar::VORScrollbar(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}

VORScrollbar::~VORScrollbar() = default;

VORScrollbar::VORScrollbarProperties &VORScrollbar::GetScrollbarProperties() {
  return static_cast<VORScrollbarProperties &>(GetGraphicalProperties());
}

VORGraphicalObject *VORScrollbar::FindPart(const VORObjectCode &reference) const {
  return dynamic_cast<VORGraphicalObject *>(FindChild(reference, true));
}

VORRect VORScrollbar::TrackRect() const {
  VORGraphicalObject *track = FindPart(const_cast<VORScrollbar *>(this)->GetScrollbarProperties().track);
  return track != nullptr ? track->GetRect() : VORRect::NotSet();
}

// --- Page entry and drawing ------------------------------------------------

void VORScrollbar::EnterPage(VORPageInstance &instance, bool visible) {
  m_dragging = false;
  VORHotSpot::EnterPage(instance, visible);
  // The target answers with its position, which places the thumb.
  const VORObjectCode &target = GetScrollbarProperties().target;
  VORApp *app = VORApp::Get();
  if (app == nullptr || !IsSet(target))
    return;
  VORObjectAction ask(VORObjectAction::kClassKey, 0);
  ask.SetActionCode(kFirstLine);
  ask.SetTarget(target);
  ask.SetOriginObject(GetViewReference());
  ask.SetOriginPage(GetPageReference());
  app->ExecuteAction(ask);
}

void VORScrollbar::Hide(int32_t depth) {
  m_dragging = false;
  VORHotSpot::Hide(depth);
}

void VORScrollbar::DrawInto(const VORRect &rect, DrawingContext &context) {
  DrawingContextSaver saved(context);
  context.SetClipRect(rect);
  if (GetScrollbarProperties().frame != 0) {
    context.SetPenColor(kFrameColour);
    context.SetNullBrush();
    context.DrawRectangle(GetRect());
    context.DeletePen();
  }
  DrawChildren(rect, context);
}

// --- Layout ------------------------------------------------------------------

bool VORScrollbar::IsShownButton(const VORObjectCode &reference) const {
  auto *button = dynamic_cast<VORButton *>(FindPart(reference));
  return button != nullptr && button->GetGraphicalProperties().visibleAtStart != 0;
}

int32_t VORScrollbar::ButtonPartHeight(VORGraphicalObject &button, int32_t width, int32_t fallback) const {
  auto *asButton = dynamic_cast<VORButton *>(&button);
  VORGfxImage *picture = asButton != nullptr ? asButton->GetStatePicture(VORButton::kNormalPicture) : nullptr;
  if (picture == nullptr || !KeepsPictureShape(button))
    return fallback;
  return PictureAspectHeight(*picture, width, fallback);
}

void VORScrollbar::LayoutChildren(const VORRect &rect) {
  VORScrollbarProperties &properties = GetScrollbarProperties();
  if (properties.autoLayout == 0) {
    VORHotSpot::LayoutChildren(rect);
    return;
  }
  VORRect area = rect;
  if (properties.frame != 0)
    area.Inflate(-1, -1);
  const bool withUp = IsShownButton(properties.upButton);
  const bool withDown = IsShownButton(properties.downButton);
  const int32_t width = WidthOf(area);
  const int32_t buttonHeight =
      ScrollbarGeometry::ButtonHeight(width, HeightOf(area), static_cast<int32_t>(withUp) + withDown);
  if (withUp) {
    VORGraphicalObject &up = *FindPart(properties.upButton);
    const int32_t height = ButtonPartHeight(up, width, buttonHeight);
    up.SetRect(VORRect(area.left, area.top, area.right, area.top + height));
    area.top += height;
  }
  if (withDown) {
    VORGraphicalObject &down = *FindPart(properties.downButton);
    const int32_t height = ButtonPartHeight(down, width, buttonHeight);
    down.SetRect(VORRect(area.left, area.bottom - height, area.right, area.bottom));
    area.bottom -= height;
  }
  if (VORGraphicalObject *track = FindPart(properties.track))
    track->SetRect(area);
  PlaceThumbIn(area, WidthOf(rect));
}

int32_t VORScrollbar::ThumbHeight(int32_t width) const {
  VORScrollbarProperties &properties = const_cast<VORScrollbar *>(this)->GetScrollbarProperties();
  const int32_t byShare =
      ScrollbarGeometry::ThumbHeight(TrackRect(), properties.thumbSize, properties.proportionalThumb != 0, width);
  VORGraphicalObject *thumb = FindPart(properties.thumb);
  VORImage *image = nullptr;
  for (uint32_t i = 0; thumb != nullptr && image == nullptr && i < thumb->GetChildCount(); ++i)
    image = dynamic_cast<VORImage *>(thumb->ChildAt(i));
  if (image == nullptr || !KeepsPictureShape(*image))
    return byShare;
  // The picture is loaded only for its size when nothing shows it yet.
  const bool wasLoaded = image->GetImage() != nullptr;
  if (!wasLoaded && !image->LoadPicture())
    return byShare;
  const int32_t height = PictureAspectHeight(*image->GetImage(), width, byShare);
  if (!wasLoaded)
    image->FreeImage();
  return height;
}

void VORScrollbar::PlaceThumbIn(const VORRect &track, int32_t width) {
  VORScrollbarProperties &properties = GetScrollbarProperties();
  VORGraphicalObject *thumb = FindPart(properties.thumb);
  if (thumb == nullptr || FindPart(properties.track) == nullptr)
    return;
  const int32_t height = std::max(ThumbHeight(width), ScrollbarGeometry::kMinimumThumbHeight);
  thumb->SetRect(ScrollbarGeometry::PlaceThumb(track, height, properties.position));
}

void VORScrollbar::PlaceThumb() { PlaceThumbIn(TrackRect(), WidthOf(GetRect())); }

// --- Actions -----------------------------------------------------------------

bool VORScrollbar::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!action.GetTarget().Equals(GetObjectCode()))
    return VORHotSpot::ReceiveAction(action, context);
  if (auto *report = dynamic_cast<VORScrollbarObjectAction *>(&action))
    return OnScrollbarAction(*report);
  const int32_t code = action.GetActionCode();
  if (auto *mouse = dynamic_cast<VORGraphicalObjectAction *>(&action)) {
    if (code == VORInput::kLeftDown || code == VORInput::kRightDown) {
      if (IsVisible() && OnPress(*mouse))
        return true;
    } else if (m_dragging &&
               (code == VORInput::kLeftUp || code == VORInput::kRightUp || code == VORInput::kPointerMoved)) {
      DragThumb(mouse->GetPoint().y);
      if (code == VORInput::kLeftUp)
        EndDragging();
    }
    return VORHotSpot::ReceiveAction(action, context);
  }
  if (code == VORHotspotAutoRepeatObjectAction::kActionCode)
    if (auto *repeat = dynamic_cast<VORHotspotAutoRepeatObjectAction *>(&action))
      if (OnRepeat(*repeat))
        return true;
  return VORHotSpot::ReceiveAction(action, context);
}

bool VORScrollbar::OnScrollbarAction(const VORScrollbarObjectAction &action) {
  VORScrollbarProperties &properties = GetScrollbarProperties();
  if (action.kind != VORScrollbarObjectAction::kNone) {
    properties.position = ScrollbarGeometry::ClampFraction(action.position, 0.0);
    properties.thumbSize = ScrollbarGeometry::ClampFraction(action.size, 0.0);
  }
  PlaceThumb();
  Invalidate();
  return true;
}

bool VORScrollbar::OnPress(const VORGraphicalObjectAction &action) {
  const VORPoint &point = action.GetPoint();
  VORGraphicalObject *thumb = FindPart(GetScrollbarProperties().thumb);
  // Only the left button drags: a right press on the thumb is a press like
  // any other, as no right release would end a drag it began.
  if (action.GetActionCode() == VORInput::kLeftDown && thumb != nullptr &&
      thumb->GetRect().Contains(point.x, point.y)) {
    m_pressX = point.x;
    m_pressY = point.y;
    m_thumbLeftAtPress = thumb->GetRect().left;
    m_thumbTopAtPress = thumb->GetRect().top;
    m_dragging = true;
    if (VORRunView *view = RunViewOf(*this))
      view->SetDraggedObject(this);
    return true;
  }
  if (!m_dragging)
    RegionTest(point.x, point.y);
  return false;
}

void VORScrollbar::DragThumb(int32_t y) {
  VORScrollbarProperties &properties = GetScrollbarProperties();
  VORGraphicalObject *thumb = FindPart(properties.thumb);
  const VORRect track = TrackRect();
  if (properties.autoLayout == 0 || thumb == nullptr || FindPart(properties.track) == nullptr)
    return;
  const VORRect current = thumb->GetRect();
  const int32_t height = HeightOf(current);
  const int32_t top = ScrollbarGeometry::DraggedThumbTop(y, m_pressY, m_thumbTopAtPress, track, height);
  thumb->SetRect(VORRect(current.left, top, current.right, top + height));
  Invalidate();
  properties.position = ScrollbarGeometry::DraggedPosition(top, track, height);
  SendToTarget(kThumbMoved, VORScrollbarObjectAction::kThumbPosition, properties.position, 0.0, true);
}

void VORScrollbar::EndDragging() {
  m_dragging = false;
  if (VORRunView *view = RunViewOf(*this))
    view->EndDrag(*this);
}

bool VORScrollbar::RegionTest(int32_t x, int32_t y) {
  const VORRect track = TrackRect();
  const VORRect bar = GetRect();
  if (x < track.left || x >= track.right)
    return false;
  if (y >= bar.top && y < track.top) {
    SendToTarget(kRegionUp, VORScrollbarObjectAction::kUpRegion, 0.0, VORScrollbarObjectAction::kNewSize, false);
    return true;
  }
  if (y >= track.bottom && y < bar.bottom) {
    SendToTarget(kRegionDown, VORScrollbarObjectAction::kDownRegion, 0.0, VORScrollbarObjectAction::kNewSize, false);
    return true;
  }
  return false;
}

bool VORScrollbar::OnRepeat(const VORHotspotAutoRepeatObjectAction &repeat) {
  if (repeat.rightButton != 0 || repeat.sequence != GetRepeatSequence() || GetState() != kLeftPressed)
    return false;
  if (!RegionTest(repeat.x, repeat.y))
    return false;
  PostAutoRepeat(repeat, KeyboardRepeatDelay());
  return true;
}

void VORScrollbar::SendToTarget(int32_t code, uint16_t kind, double position, double size, bool atOnce) {
  VORApp *app = VORApp::Get();
  const VORObjectCode &target = GetScrollbarProperties().target;
  if (app == nullptr || !IsSet(target))
    return;
  auto action = std::make_unique<VORScrollbarObjectAction>(VORScrollbarObjectAction::kClassKey, 0);
  action->SetActionCode(code);
  action->SetTarget(target);
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  action->kind = kind;
  action->position = position;
  action->size = size;
  if (atOnce)
    app->ExecuteAction(*action);
  else
    app->ScheduleAction(0, action.release(), nullptr);
}
