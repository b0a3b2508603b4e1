// <windows.h> comes first so that its DrawText macro renames the canvas
// operation alike in every header that declares it.
#include <windows.h>

#include "objects/VORText.h"

#include <algorithm>

#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/VORInputDispatcher.h"
#include "display/VORKeyboardObjectAction.h"
#include "display/VORView.h"
#include "engine/VORVariableChangedAction.h"
#include "engine/VORVariableList.h"
#include "model/VORApp.h"
#include "model/VORPageInstance.h"
#include "model/VORTrigger.h"
#include "objects/VORBackground.h"
#include "objects/VORBorder.h"
#include "objects/VORRecordForm.h"
#include "richtext/DibSectionBitmap.h"
#include "richtext/GdiTextCanvas.h"
#include "richtext/GdiTextMeasurer.h"

namespace {

const PlayerFormRegistration kText(VORText::kCategory, VORText::kCode, VORPlayerText::Create);

constexpr int32_t kBorderInset = 3;
constexpr uint16_t kTextDrawFlags = 0x05;
constexpr int32_t kPaletteDepth = 8;

// The text's canvas, kept inside the rectangle being drawn: the document
// clips to its own frame, which may reach beyond it.
class ClippedCanvas : public GdiTextCanvas {
public:
  ClippedCanvas(DrawingContext &context, const VORRect &limit) : GdiTextCanvas(context), m_limit(limit) {}
  void SetClip(const VORRect &rect) override {
    VORRect clip;
    clip.Intersect(rect, m_limit);
    GdiTextCanvas::SetClip(clip);
  }

private:
  VORRect m_limit;
};

// Font smoothing is a setting of the whole system: it is switched off only
// while the text draws and put back however the drawing ends.
class FontSmoothingOff {
public:
  FontSmoothingOff() {
    BOOL on = FALSE;
    m_read = SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &on, 0) != 0;
    m_wasOn = m_read && on;
    if (m_wasOn)
      SystemParametersInfoA(SPI_SETFONTSMOOTHING, FALSE, nullptr, 0);
  }
  ~FontSmoothingOff() {
    if (m_wasOn)
      SystemParametersInfoA(SPI_SETFONTSMOOTHING, TRUE, nullptr, 0);
  }
  FontSmoothingOff(const FontSmoothingOff &) = delete;
  FontSmoothingOff &operator=(const FontSmoothingOff &) = delete;

private:
  bool m_read = false;
  bool m_wasOn = false;
};

bool IsSmoothingOn() {
  BOOL on = FALSE;
  return SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &on, 0) != 0 && on;
}

bool CarriesVariable(const TextStyle *style) { return TextInputEditor::IsVariableField(style); }

// The first background among the objects of the level, depth first.
VORBackground *FirstBackground(const VORRecursiveObjectContainer &level) {
  for (uint32_t i = 0; i < level.GetChildCount(); ++i) {
    VORRecursiveObjectContainer *child = level.ChildAt(i);
    if (auto *background = dynamic_cast<VORBackground *>(child))
      return background;
    if (child != nullptr)
      if (VORBackground *inner = FirstBackground(*child))
        return inner;
  }
  return nullptr;
}

VORPageInstance *PageInstanceOf(VORRecursiveObjectContainer *object) {
  for (VORRecursiveObjectContainer *level = object; level != nullptr; level = level->GetParent())
    if (auto *instance = dynamic_cast<VORPageInstance *>(level))
      return instance;
  return nullptr;
}

// Smoothed text mixes its edges with the pixels it is drawn over: in a DIB
// section they are the pixels under it, as the surface captured them (a
// surface's own bitmap may not take smoothed text).
void DrawThroughDibSection(XQRichText &text, DrawingContext &context, const VORRect &clip, const VORRect &textRect,
                           int32_t bitCount) {
  VORRect area;
  if (!area.Intersect(clip, textRect))
    return;
  const auto width = static_cast<int32_t>(area.Width());
  const auto height = static_cast<int32_t>(area.Height());
  DibSectionBitmap dib(width, height, bitCount, true);
  DrawingContext *offscreen = dib.IsReady() ? dib.GetDrawingContext() : nullptr;
  if (offscreen == nullptr)
    return;
  offscreen->SetOrigin(area.left, area.top);
  const POINT origin = context.GetOrigin();
  ::BitBlt(dib.GetDC(), 0, 0, width, height, context.GetDC(), area.left - origin.x, area.top - origin.y, SRCCOPY);
  {
    ClippedCanvas canvas(*offscreen, area);
    text.Draw(canvas, textRect);
  }
  // Back with the surface's coverage mask set over the whole area: what was
  // under the text is in it too.
  offscreen->CopyTo(context, nullptr, area, area);
}

} // namespace

void VORText::ApplyLinkStyle(int32_t linkId, int32_t state) {
  SetTagEffectStyle(linkId, GetTextProperties().linkStyles[std::clamp<int32_t>(state, kLinkNormal, kLinkPressed)]);
  if (IsVisible())
    Redraw();
}

// --- Object ------------------------------------------------------------------

VORText::VORText(uint32_t classKey, int32_t id) : VORText(classKey, id, GdiTextMeasurer::Shared()) {}

VORText::VORText(uint32_t classKey, int32_t id, RichTextMeasurer &measurer)
    : VORHotSpot(classKey, id), XQRichText(measurer), m_measurer(&measurer) {}

VORText::VORText(const VORText &other)
    : VORHotSpot(other), XQRichText(*other.m_measurer), m_measurer(other.m_measurer) {}

VORText::~VORText() = default;

VORText::VORTextProperties &VORText::GetTextProperties() { return dynamic_cast<VORTextProperties &>(*GetProperties()); }

bool VORText::HasLinks() { return !GetTextProperties().links.empty(); }

void VORText::PushProperties() {
  VORTextProperties &properties = GetTextProperties();
  if (!properties.needsPush)
    return;
  SetVerticalAlignment(properties.verticalAlignment);
  SetDrawPartialLines((properties.textFlags & kDrawPartialLines) != 0);
  SetWidenedBlanks((properties.textFlags & kWidenedBlanks) != 0);
  SetDefaultTabWidth(properties.defaultTabWidth);
  SetShadowOffset(properties.shadowX, properties.shadowY);
  LoadRtf(properties.rtfText);
  SetDefaultStyle(properties.defaultStyle);
  properties.needsPush = false;
}

void VORText::LoadExternalText(const std::string &fileName, const std::string &bytes) {
  switch (TextScrolling::KindOfTextFile(fileName)) {
  case TextScrolling::ExternalTextKind::kRtf:
    GetTextProperties().rtfText = bytes;
    GetTextProperties().needsPush = true;
    PushProperties();
    break;
  case TextScrolling::ExternalTextKind::kKeepOwnText:
    break;
  case TextScrolling::ExternalTextKind::kPlain: {
    // The bytes are copied into a string of their own: a resource's text
    // carries no terminator.
    const std::string text = TextScrolling::NormalizeLineEnds(bytes);
    PushProperties();
    SelectAll();
    InsertString(text);
    ClearSelection();
    Layout();
    break;
  }
  }
}

void VORText::EnterPage(VORPageInstance &instance, bool visible) {
  VORHotSpot::EnterPage(instance, visible);
  m_overLink = false;
  if (GetGraphicalProperties().leadingFlags != 0)
    return;
  FitFrameToBorder();
  // A printed page shows what the screen shows: the printer view loads
  // the text too.
  if (IsInRunView())
    LoadExternalTextResource(instance);
  PushProperties();
  Layout();
  VORTextProperties &properties = GetTextProperties();
  for (auto &link : properties.links) {
    link->events.SetOrigin(GetViewReference(), GetPageReference());
    link->hoverState = kLinkNormal;
    SetTagEffectStyle(link->linkId, properties.linkStyles[kLinkNormal]);
  }
  m_pages = TextScrolling::Pages();
  m_currentPage = 0;
  if (IsPaged())
    BuildPages();
  SetScrollOffset(0, IsPaged() ? m_pages.tops.front() : 0);
  NotifyScrollbar();
  if (IsInputField()) {
    LoadInputField(false);
    if (IsVisible() && (properties.inputFlags & TextInputEditor::kFocusWhenShown) != 0)
      TakeInputFocus();
  }
  if ((properties.textFlags & kReadAlongWhenShown) != 0 && IsInInteractiveView() && IsVisible())
    StartReadAlong();
}

void VORText::LeavePage(bool visible) {
  m_overLink = false;
  LeaveInputField();
  VORHotSpot::LeavePage(visible);
}

bool VORText::IsPaged() { return (GetTextProperties().textFlags & kPagedMode) != 0 && IsInInteractiveView(); }

void VORText::FitFrameToBorder() {
  const VORRect rect = GetRect();
  VORRect frame = rect;
  if (rect.left == 0 && rect.top == 0 && rect.right == -1 && rect.bottom == -1)
    frame = VORRect(0, 0, 0, 0);
  ForEachChildObject([&](VORObject &child) {
    if (auto *border = dynamic_cast<VORBorder *>(&child)) {
      VORRect inner;
      border->GetInnerRect(inner);
      if (!(inner == rect)) {
        inner.Inflate(-kBorderInset, -kBorderInset);
        frame = inner;
      }
    }
  });
  m_marginX = std::max(frame.left - rect.left, 0);
  m_marginY = std::max(frame.top - rect.top, 0);
  SetFrameSize(std::max(static_cast<int32_t>(rect.Width()) - 2 * m_marginX, 0),
               std::max(static_cast<int32_t>(rect.Height()) - 2 * m_marginY, 0));
}

void VORText::BuildPages() {
  m_pages = TextScrolling::ComputePages(GetLines());
  m_currentPage = 0;
}

void VORText::ShowPage(int32_t page) {
  if (m_pages.tops.empty())
    return;
  m_currentPage = std::clamp(page, 0, GetPageCount() - 1);
  int32_t x = 0;
  int32_t y = 0;
  GetScrollOffset(x, y);
  SetScrollOffset(x, m_pages.tops[static_cast<size_t>(m_currentPage)]);
  Redraw();
}

void VORText::SetRect(const VORRect &rect) {
  const VORRect before = GetRect();
  VORHotSpot::SetRect(rect);
  if (before.Width() != rect.Width() || before.Height() != rect.Height())
    FitFrameToBorder();
}

int32_t VORText::GetContentHeight(int32_t width) {
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  GetFrameSize(frameWidth, frameHeight);
  SetFrameSize(std::max(width - 2 * m_marginX, 0), frameHeight);
  const int32_t height = GetTextHeight();
  SetFrameSize(frameWidth, frameHeight);
  return height;
}

int32_t VORText::GetVisibleHeight() { return std::max(static_cast<int32_t>(GetRect().Height()) - 2 * m_marginY, 0); }

void VORText::UpdateDrawFlags() {
  VORHotSpot::UpdateDrawFlags();
  AddDrawFlags(kTextDrawFlags);
  const VORGraphicalObjectProperties &graphical = GetGraphicalProperties();
  m_smoothingBypass = GetTextProperties().smoothText != 0 && graphical.leadingFlags == 0 &&
                      !VORGraphicalObjectProperties::IsSet(graphical.showAnimation) &&
                      !VORGraphicalObjectProperties::IsSet(graphical.hideAnimation) &&
                      !VORGraphicalObjectProperties::IsSet(graphical.pathAnimation) && IsSmoothingOn();
  if (!m_smoothingBypass)
    return;
  // With no page background of its own under the text, what lies under it
  // is captured before it draws.
  VORPageInstance *instance = PageInstanceOf(this);
  VORBackground *background = instance != nullptr ? FirstBackground(*instance) : nullptr;
  if (background == nullptr || background->IsEmpty(true))
    AddDrawFlags(DrawFlags::kCapturesBackground);
}

bool VORText::IsEmpty(bool withChildren) {
  if (!VORHotSpot::IsEmpty(withChildren))
    return false;
  if (GetGraphicalProperties().leadingFlags != 0)
    return true;
  // An empty field still shows what will be typed into it.
  if (IsInputField() && IsInInteractiveView())
    return false;
  PushProperties();
  return GetLength() == 0;
}

void VORText::DrawInto(const VORRect &rect, DrawingContext &context) {
  VORHotSpot::DrawInto(rect, context);
  if (GetGraphicalProperties().leadingFlags != 0)
    return;
  DrawingContextSaver saved(context);
  VORRect textRect = GetRect();
  textRect.Inflate(-m_marginX, -m_marginY);
  if (IsPaged() && !m_pages.heights.empty())
    textRect.bottom = std::min(textRect.bottom, textRect.top + m_pages.heights[static_cast<size_t>(m_currentPage)]);
  VORDrawingSurface *surface = GetCurrentDrawingSurface();
  if (m_smoothingBypass && GetDrawFlags().Has(DrawFlags::kCapturesBackground) && HasSurfaces() && surface != nullptr &&
      surface->GetBitsPerPixel() > kPaletteDepth) {
    DrawThroughDibSection(*this, context, rect, textRect, surface->GetBitsPerPixel());
    return;
  }
  ClippedCanvas canvas(context, rect);
  if (m_smoothingBypass) {
    Draw(canvas, textRect);
    return;
  }
  FontSmoothingOff smoothingOff;
  Draw(canvas, textRect);
}

void VORText::Redraw() { VORGraphicalObject::Invalidate(); }

// --- Variable fields -----------------------------------------------------------

bool VORText::HasVariableFields() const {
  return std::any_of(GetRuns().begin(), GetRuns().end(), [](const TextRun &run) { return CarriesVariable(run.style); });
}

std::vector<LineRun> VORText::CopyRuns(size_t first, size_t last) {
  std::vector<LineRun> runs = XQRichText::CopyRuns(first, last);
  VORApp *app = VORApp::Get();
  VORVariableList *variables = app != nullptr && IsInRunView() ? app->GetVariables() : nullptr;
  if (variables == nullptr)
    return runs;
  for (LineRun &run : runs) {
    std::string name;
    if (!CarriesVariable(run.style) || !TextScrolling::VariableNameOfField(run.text, name))
      continue;
    const XQString key(name.c_str());
    run.text = variables->Find(key) != nullptr ? std::string(variables->GetVariableValue(key).CStr()) : std::string();
  }
  return runs;
}

// --- Actions -------------------------------------------------------------------

bool VORText::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  if (!action.GetTarget().Equals(GetObjectCode()))
    return VORHotSpot::ReceiveAction(action, context);
  const int32_t code = action.GetActionCode();
  if (auto *mouse = dynamic_cast<VORGraphicalObjectAction *>(&action)) {
    const bool withLinks = HasLinks() && IsVisible() && GetGraphicalProperties().leadingFlags == 0;
    if (withLinks && code >= VORInput::kLeftDown && code <= VORInput::kPointerMoved)
      HandleLinkMouse(*mouse);
    if (withLinks && code == VORInput::kPointerRefresh) {
      if (VORHotSpot::HitTest(mouse->GetPoint().x, mouse->GetPoint().y)) {
        if (m_overLink)
          ShowPressedCursor();
        else
          ShowCursor();
      }
      return true;
    }
    const bool input = HandleInputMouse(*mouse);
    return VORHotSpot::ReceiveAction(action, context) || input;
  }
  if (code == VORGraphicalObjectAction::kShow || code == VORGraphicalObjectAction::kHide)
    ForwardToScrollbar(code);
  if (code == kBarPosition)
    return OnScrollbarPosition(action);
  if (auto *key = dynamic_cast<VORKeyboardObjectAction *>(&action)) {
    const bool input = HandleInputKey(*key);
    return VORHotSpot::ReceiveAction(action, context) || input;
  }
  if (HandleReadAlongAction(action))
    return true;
  if (ScrollByCode(code))
    return true;
  if (code == kVariableChanged) {
    if (HasVariableFields()) {
      Layout();
      Redraw();
    }
    auto *changed = dynamic_cast<VORVariableChangedAction *>(&action);
    if (changed != nullptr && IsInputField() && GetTextProperties().inputVariable == changed->GetName().CStr())
      LoadInputField(true);
    return true;
  }
  return VORHotSpot::ReceiveAction(action, context);
}

bool VORText::HandleLinkMouse(const VORGraphicalObjectAction &action) {
  const VORRect rect = GetRect();
  bool inside = false;
  const LineRun *run = nullptr;
  XQRichText::HitTest(action.GetPoint().x - rect.left - m_marginX, action.GetPoint().y - rect.top - m_marginY, inside,
                      &run);
  const auto hits = [&](const VORHypertextLink &link) {
    return inside && run != nullptr && run->style != nullptr && run->style->GetTagIds().Contains(link.linkId);
  };
  const uint16_t bits = GetModifierBits(action);
  const int32_t code = action.GetActionCode();
  // Links the pointer is not on go first, so that moving from one link to
  // another leaves the first before it enters the second.
  std::vector<VORHypertextLink *> order;
  for (auto &link : GetTextProperties().links)
    if (!hits(*link))
      order.push_back(link.get());
  for (auto &link : GetTextProperties().links)
    if (hits(*link))
      order.push_back(link.get());
  bool changed = false;
  for (VORHypertextLink *link : order)
    changed = link->HandleMouseEvent(*this, code, bits, hits(*link)) || changed;
  return changed;
}

void VORText::FireLButtonDown(uint16_t bits) {
  if (HasLinks())
    FireEvents(VORMouseTrigger(static_cast<uint16_t>(kLeftDown | bits)));
  else
    VORHotSpot::FireLButtonDown(bits);
}

void VORText::FireLButtonUp(uint16_t bits) {
  if (HasLinks())
    FireEvents(VORMouseTrigger(static_cast<uint16_t>(kLeftUp | bits)));
  else
    VORHotSpot::FireLButtonUp(bits);
}

void VORText::FireRButtonDown(uint16_t bits) {
  if (HasLinks())
    FireEvents(VORMouseTrigger(static_cast<uint16_t>(kRightDown | bits)));
  else
    VORHotSpot::FireRButtonDown(bits);
}

void VORText::FireRButtonUp(uint16_t bits) {
  if (HasLinks())
    FireEvents(VORMouseTrigger(static_cast<uint16_t>(kRightUp | bits)));
  else
    VORHotSpot::FireRButtonUp(bits);
}

void VORText::FireMouseLeave(uint16_t bits) {
  if (HasLinks())
    FireEvents(VORMouseTrigger(static_cast<uint16_t>(kMouseLeave | bits)));
  else
    VORHotSpot::FireMouseLeave(bits);
}

// --- Scrolling -------------------------------------------------------------------

bool VORText::ScrollByCode(int32_t code) {
  const uint8_t mode = GetTextProperties().scrollMode;
  if (code == kBarPageUpByMode)
    code = mode == kScrollParagraphs ? kParagraphUp : (mode == kScrollPages ? kPageUp : kLineUp);
  if (code == kBarPageDownByMode)
    code = mode == kScrollParagraphs ? kParagraphDown : (mode == kScrollPages ? kPageDown : kLineDown);
  switch (code) {
  case kLineUp:
  case kBarLineUp:
    ScrollLineUp();
    return true;
  case kLineDown:
  case kBarLineDown:
    ScrollLineDown();
    return true;
  case kPageUp:
  case kBarPageUp:
    ScrollPageUp();
    return true;
  case kPageDown:
  case kBarPageDown:
    ScrollPageDown();
    return true;
  case kParagraphUp:
  case kBarParagraphUp:
    ScrollParagraphUp();
    return true;
  case kParagraphDown:
  case kBarParagraphDown:
    ScrollParagraphDown();
    return true;
  case kFirstLine:
    ScrollToLine(0);
    return true;
  case kLastLine:
    ScrollToLine(std::max(GetLineCount() - 1, 0));
    return true;
  default:
    return false;
  }
}

void VORText::ApplyScrollOffset(int32_t y) {
  int32_t x = 0;
  int32_t current = 0;
  GetScrollOffset(x, current);
  const int32_t clamped =
      TextScrolling::ClampOffset(y, GetTextHeight(), m_marginY, static_cast<int32_t>(GetRect().Height()));
  if (clamped != current) {
    SetScrollOffset(x, clamped);
    Redraw();
  }
  NotifyScrollbar();
}

void VORText::ScrollToLine(int32_t line) {
  if (line == TextScrolling::kNoLine || line >= GetLineCount())
    return;
  ApplyScrollOffset(GetLineTop(line));
}

namespace {

int32_t ScrollY(const XQRichText &text) {
  int32_t x = 0;
  int32_t y = 0;
  text.GetScrollOffset(x, y);
  return y;
}

} // namespace

void VORText::ScrollLineUp() {
  if (IsPaged())
    return ShowPage(m_currentPage - 1);
  ScrollToLine(TextScrolling::LineUpTarget(GetLines(), ScrollY(*this)));
}

void VORText::ScrollLineDown() {
  if (IsPaged())
    return ShowPage(m_currentPage + 1);
  ScrollToLine(TextScrolling::LineDownTarget(GetLines(), ScrollY(*this)));
}

void VORText::ScrollPageUp() {
  if (IsPaged())
    return ShowPage(m_currentPage - 1);
  ScrollToLine(TextScrolling::PageUpTarget(GetLines(), ScrollY(*this), GetVisibleHeight()));
}

void VORText::ScrollPageDown() {
  if (IsPaged())
    return ShowPage(m_currentPage + 1);
  ScrollToLine(TextScrolling::PageDownTarget(GetLines(), ScrollY(*this), GetVisibleHeight()));
}

void VORText::ScrollParagraphUp() {
  if (IsPaged())
    return ShowPage(m_currentPage - 1);
  ScrollToLine(TextScrolling::ParagraphUpTarget(GetLines(), ScrollY(*this)));
}

void VORText::ScrollParagraphDown() {
  if (IsPaged())
    return ShowPage(m_currentPage + 1);
  ScrollToLine(TextScrolling::ParagraphDownTarget(GetLines(), ScrollY(*this)));
}
