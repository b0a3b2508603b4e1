#include "objects/VORButton.h"

#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "images/ImageFactory.h"
#include "images/VORGfxImage.h"
#include "model/VORTrigger.h"
#include "objects/VORRecordForm.h"
#include "objects/VORResourceObject.h"

namespace {

const PlayerFormRegistration kButton(VORButton::kCategory, VORButton::kCode, VORPlayerButton::Create);

constexpr COLORREF kOutlineColour = RGB(0, 0, 0);
constexpr int32_t kPaletteDepth = 8;

using Flag = VORButton::VORButtonProperties::ButtonFlag;

} // namespace

VORButton::VORButton(uint32_t classKey, int32_t id) : VORHotSpot(classKey, id) {}

VORButton::VORButton(const VORButton &other) : VORHotSpot(other) {}

VORButton::~VORButton() = default;

VORButton::VORButtonProperties &VORButton::GetButtonProperties() {
  return static_cast<VORButtonProperties &>(GetGraphicalProperties());
}

bool VORButton::IsInputEnabled() {
  return m_buttonState == kNormal || m_buttonState == kPressed || m_buttonState == kHighlighted;
}

bool VORButton::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!IsInputEnabled() || !action.GetTarget().Equals(GetObjectCode()))
    return false;
  return VORHotSpot::ReceiveAction(action, context);
}

// --- States ---------------------------------------------------------------------

void VORButton::SetButtonState(int16_t state) {
  Invalidate();
  m_buttonState = state;
}

void VORButton::FireLButtonDown(uint16_t bits) {
  if (m_buttonState != kPressed)
    SetButtonState(kPressed);
  VORHotSpot::FireLButtonDown(bits);
}

void VORButton::FireRButtonDown(uint16_t bits) {
  SetButtonState(kPressed);
  VORHotSpot::FireRButtonDown(bits);
}

void VORButton::FireLButtonUp(uint16_t bits) {
  SetButtonState(kHighlighted);
  VORHotSpot::FireLButtonUp(bits);
}

void VORButton::FireRButtonUp(uint16_t bits) {
  SetButtonState(kHighlighted);
  VORHotSpot::FireRButtonUp(bits);
}

void VORButton::FireMouseEnter(uint16_t bits) {
  SetButtonState(kHighlighted);
  VORHotSpot::FireMouseEnter(bits);
}

void VORButton::FireMouseLeave(uint16_t bits) {
  SetButtonState(kNormal);
  VORHotSpot::FireMouseLeave(bits);
}

void VORButton::FireKeyDown(uint16_t key) {
  if (HasEventFor(VORKeyboardTrigger(key)))
    SetButtonState(kPressed);
  VORHotSpot::FireKeyDown(key);
}

void VORButton::FireKeyUp(uint16_t key) {
  if (m_buttonState == kPressed && HasEventFor(VORKeyboardTrigger(key)))
    SetButtonState(kNormal);
}

// --- Page life and pictures ----------------------------------------------------------

void VORButton::EnterPage(VORPageInstance &instance, bool visible) {
  m_buttonState = kNormal;
  VORHotSpot::EnterPage(instance, visible);
  if (visible && (GetButtonProperties().buttonFlags & Flag::kPictures) != 0)
    CreateStatePictures();
}

void VORButton::LeavePage(bool visible) {
  VORHotSpot::LeavePage(visible);
  DeleteStatePictures();
}

void VORButton::Show(int32_t depth) {
  VORHotSpot::Show(depth);
  m_buttonState = kNormal;
  DeleteStatePictures();
  CreateStatePictures();
}

void VORButton::Hide(int32_t depth) {
  VORHotSpot::Hide(depth);
  DeleteStatePictures();
}

void VORButton::DeleteStatePictures() {
  for (std::unique_ptr<VORGfxImage> &picture : m_stateImages)
    picture.reset();
}

void VORButton::CreateStatePictures() {
  DeleteStatePictures();
  const VORButtonProperties &properties = GetButtonProperties();
  const VORObjectCode *references[kPictureCount] = {&properties.normalImage, &properties.pressedImage,
                                                    &properties.highlightImage};
  for (int32_t i = 0; i < kPictureCount; ++i) {
    if (!IsSet(*references[i]))
      continue;
    auto *resource = dynamic_cast<VORResourceObject *>(FindChild(*references[i], false));
    if (resource == nullptr)
      continue;
    const uint32_t handle = resource->AcquireResource(0);
    if (handle != 0)
      m_stateImages[i] = CreateImageForResource(handle, properties.imageLayout, GetRect());
  }
}

// --- Drawing -------------------------------------------------------------------------

void VORButton::DrawBevel(VORRect &rect, DrawingContext &context, bool pressed) {
  const VORButtonProperties &properties = GetButtonProperties();
  if ((properties.buttonFlags & Flag::kOutline) != 0) {
    context.SetPenColor(kOutlineColour);
    context.SetNullBrush();
    context.DrawRectangle(rect);
    rect = VORRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
  }
  const int32_t w = properties.bevelWidth;
  context.SetPenColor(pressed ? properties.darkColor : properties.lightColor);
  for (int32_t i = 0; i < w; ++i) {
    context.DrawLine(rect.left + i, rect.top + i, rect.right - i - 1, rect.top + i);
    context.DrawLine(rect.left + i, rect.top + i + 1, rect.left + i, rect.bottom - i - 1);
  }
  context.SetPenColor(pressed ? properties.lightColor : properties.darkColor);
  for (int32_t i = 0; i < w; ++i) {
    context.DrawLine(rect.left + i, rect.bottom - i - 1, rect.right - i, rect.bottom - i - 1);
    context.DrawLine(rect.right - i - 1, rect.top + i, rect.right - i - 1, rect.bottom - i - 1);
  }
  rect = VORRect(rect.left + w, rect.top + w, rect.right - w, rect.bottom - w);
  context.SetPenColor(properties.faceColor);
  context.SetBrushColor(properties.faceColor);
  context.DrawRectangle(rect);
  if (pressed) {
    const POINT origin = context.GetOrigin();
    context.SetOrigin(origin.x - w, origin.y - w);
  }
}

void VORButton::DrawStatePicture(DrawingContext &context) {
  const int32_t index =
      PictureIndexFor(m_buttonState, m_stateImages[kNormalPicture] != nullptr,
                      m_stateImages[kPressedPicture] != nullptr, m_stateImages[kHighlightPicture] != nullptr);
  if (index == kNoPicture)
    return;
  VORGfxImage &picture = *m_stateImages[index];
  const VORButtonProperties &properties = GetButtonProperties();
  const VORRect rect = GetRect();
  const bool sunken = (properties.buttonFlags & Flag::kSunken) != 0 && (properties.buttonFlags & Flag::kBevel) == 0;
  if (!sunken) {
    picture.Draw(context, rect, rect);
    return;
  }
  const int32_t w = properties.bevelWidth;
  context.SetClipRect(rect);
  if (m_buttonState != kPressed) {
    const VORRect placed(rect.left + 1 - w, rect.top - 1 - w, rect.right, rect.bottom);
    picture.Draw(context, placed, rect);
    return;
  }
  // Pressed: the picture and the children after it move by the bevel.
  const POINT origin = context.GetOrigin();
  context.SetOrigin(origin.x - w, origin.y - w);
  picture.Draw(context, rect, rect);
}

void VORButton::DrawInto(const VORRect &rect, DrawingContext &context) {
  DrawingContextSaver saver(context);
  context.SetClipRect(rect);
  const VORButtonProperties &properties = GetButtonProperties();
  if ((properties.buttonFlags & Flag::kBevel) != 0) {
    VORRect face = GetRect();
    DrawBevel(face, context, m_buttonState == kPressed);
  }
  if ((properties.buttonFlags & Flag::kPictures) != 0)
    DrawStatePicture(context);
  DrawChildren(rect, context);
}

bool VORButton::SuitsDisplayDepth(int32_t bitsPerPixel) {
  if (bitsPerPixel != kPaletteDepth)
    return true;
  for (const std::unique_ptr<VORGfxImage> &picture : m_stateImages) {
    if (!picture)
      continue;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    picture->GetSize(width, height, depth);
    if (depth > kPaletteDepth || (depth == kPaletteDepth && !picture->MatchesAppPalette()))
      return false;
  }
  return true;
}

bool VORButton::IsEmpty(bool withChildren) {
  if (!VORHotSpot::IsEmpty(false))
    return false;
  if ((GetButtonProperties().buttonFlags & (Flag::kBevel | Flag::kPictures)) != 0)
    return false;
  return withChildren ? AreChildrenEmpty() : true;
}

void VORButton::UpdateDrawFlags() {
  const VORButtonProperties &properties = GetButtonProperties();
  if ((properties.buttonFlags & Flag::kPictures) != 0) {
    // Fit modes that may leave part of the rectangle uncovered.
    const int32_t fit = properties.imageLayout.fitMode;
    const bool uncovering = fit == 0 || fit == 1 || fit == 3;
    if (properties.imageLayout.transparencyKind != 0 || properties.transparentColourFlag != 0 || uncovering)
      AddDrawFlags(DrawFlags::kNotCovering | DrawFlags::kNotFilling);
  }
  VORHotSpot::UpdateDrawFlags();
}

bool VORButton::HitTest(int32_t x, int32_t y) {
  if (!VORHotSpot::HitTest(x, y))
    return false;
  const uint16_t shaped = Flag::kPictures | Flag::kPictureHits;
  VORGfxImage *normal = m_stateImages[kNormalPicture].get();
  if ((GetButtonProperties().buttonFlags & shaped) == shaped && normal != nullptr)
    return normal->HitTest(x, y, GetRect());
  return true;
}
