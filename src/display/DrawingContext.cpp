#include "display/DrawingContext.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "display/BlendRoutines.h"
#include "display/DibImage.h"
#include "display/DisplaySettings.h"
#include "display/DitherEngine.h"
#include "display/DrawingContextSaver.h"
#include "display/MemoryBitmap.h"
#include "display/MetaRecordFilter.h"
#include "display/Palette.h"
#include "display/PixelSurface.h"
#include "display/SystemErrorHook.h"
#include "foundation/XQCallbackGuard.h"

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(BitmapInfoHeader), "DIB header layouts differ");
static_assert(offsetof(BITMAPINFOHEADER, biClrUsed) == offsetof(BitmapInfoHeader, biClrUsed),
              "DIB header layouts differ");
static_assert(sizeof(RGBQUAD) == sizeof(RgbQuad), "colour entry layouts differ");

namespace {

constexpr COLORREF kWhiteColour = RGB(255, 255, 255);
constexpr COLORREF kBlackColour = RGB(0, 0, 0);
constexpr int kFullLevel = 256;

// What a metafile record filter needs while one device context plays.
struct FilterContext {
  MetaRecordFilterState state;
  std::vector<uint8_t> altered;
};

int CALLBACK EnhMetaRecordFilter(HDC dc, HANDLETABLE *table, const ENHMETARECORD *record, int objects, LPARAM data) {
  return XQCallbackGuard::Call(0, [&]() -> int {
    auto &filter = *reinterpret_cast<FilterContext *>(data);
    const auto *bytes = reinterpret_cast<const uint8_t *>(record);
    const bool altered = AlterEnhMetaRecord(bytes, record->nSize, filter.state, filter.altered);
    ::PlayEnhMetaFileRecord(dc, table,
                            altered ? reinterpret_cast<const ENHMETARECORD *>(filter.altered.data()) : record,
                            static_cast<UINT>(objects));
    return 1; // a record that fails to play does not end the playback
  });
}

int CALLBACK MetaRecordFilter(HDC dc, HANDLETABLE *table, METARECORD *record, int objects, LPARAM data) {
  return XQCallbackGuard::Call(0, [&]() -> int {
    auto &filter = *reinterpret_cast<FilterContext *>(data);
    const auto *bytes = reinterpret_cast<const uint8_t *>(record);
    const uint64_t size = static_cast<uint64_t>(record->rdSize) * 2;
    const bool altered =
        AlterMetaRecord(bytes, static_cast<size_t>(size > SIZE_MAX ? SIZE_MAX : size), filter.state, filter.altered);
    ::PlayMetaFileRecord(dc, table, altered ? reinterpret_cast<METARECORD *>(filter.altered.data()) : record,
                         static_cast<UINT>(objects));
    return 1;
  });
}

int32_t Width32(const VORRect &rect) { return static_cast<int32_t>(rect.Width()); }
int32_t Height32(const VORRect &rect) { return static_cast<int32_t>(rect.Height()); }

// The area of a rectangle inside a clip; a clip that is not set clips nothing.
VORRect ClippedArea(const VORRect &rect, const VORRect &clip) {
  if (clip.right == -1) {
    return rect;
  }
  VORRect area;
  area.Intersect(rect, clip);
  return area;
}

// Paints the covered part of a mask into a device context: black, then (for
// any other colour) the colour over it. The mask is first copied into a
// monochrome bitmap, whose conversion to colour follows the text and
// background colours; a one-bit DIB section would follow its own colour
// table instead.
void PaintSilhouette(HDC target, const RECT &to, HDC maskDC, const RECT &from, COLORREF colour) {
  const int width = to.right - to.left, height = to.bottom - to.top;
  ScratchBitmap silhouette(::CreateBitmap(width, height, 1, 1, nullptr), target);
  if (silhouette.IsReady()) {
    HDC scratch = silhouette.GetDC();
    if (!::BitBlt(scratch, 0, 0, width, height, maskDC, from.left, from.top, SRCCOPY)) {
      ReportSystemError(kErrorBitBltFailed);
    }
    // Covered bits (1) take the background colour, the others the text colour.
    const COLORREF oldText = ::SetTextColor(target, kWhiteColour);
    const COLORREF oldBack = ::SetBkColor(target, kBlackColour);
    if (!::BitBlt(target, to.left, to.top, width, height, scratch, 0, 0, SRCAND)) {
      ReportSystemError(kErrorBitBltFailed);
    }
    if ((colour & 0x00FFFFFF) != 0) {
      ::SetTextColor(target, kBlackColour);
      ::SetBkColor(target, colour);
      if (!::BitBlt(target, to.left, to.top, width, height, scratch, 0, 0, SRCPAINT)) {
        ReportSystemError(kErrorBitBltFailed);
      }
    }
    ::SetTextColor(target, oldText);
    ::SetBkColor(target, oldBack);
  }
}

} // namespace

DrawingContext::DrawingContext(HDC dc, PixelSurface *surface) : m_dc(dc), m_surface(surface) {
  if (m_dc != nullptr) {
    ::SetStretchBltMode(m_dc, COLORONCOLOR);
  }
}

DrawingContext::~DrawingContext() {
  // Nothing the context made may still be selected when it is deleted: put
  // the previous objects back on both device contexts first. Staging left
  // from a lock is freed; a surface's own lock is the surface's business (it
  // may be the surface that is deleting this context).
  m_staging.Release();
  DeletePen();
  DeleteBrush();
  DeselectPalette();
  RemoveClip();
  RestoreFont();
  ReleaseOwnedFont();
}

void DrawingContext::SetMaskDC(HDC maskDC) {
  m_maskDC = maskDC;
  if (m_maskDC != nullptr) {
    ::SetStretchBltMode(m_maskDC, COLORONCOLOR);
  }
}

void DrawingContext::SetOrigin(int32_t x, int32_t y) {
  m_originX = x;
  m_originY = y;
}

int DrawingContext::GetDeviceCaps(int index) const {
  if (index == BITSPIXEL && m_surface != nullptr) {
    return m_surface->GetBitsPerPixel();
  }
  return m_dc != nullptr ? ::GetDeviceCaps(m_dc, index) : 0;
}

RECT DrawingContext::ToDevice(const VORRect &rect) const {
  return RECT{rect.left - m_originX, rect.top - m_originY, rect.right - m_originX, rect.bottom - m_originY};
}

// ---- Pens and brushes ------------------------------------------------------

void DrawingContext::SelectPen(int side, HPEN pen, bool created) { SelectInto(side, m_pen[side], pen, created); }

void DrawingContext::SelectBrush(int side, HBRUSH brush, bool created) {
  HDC dc = DCOf(side);
  if (dc != nullptr && brush != nullptr)
    ::SetBrushOrgEx(dc, m_originX, m_originY, nullptr);
  SelectInto(side, m_brush[side], brush, created);
}

// Selects a pen or brush, remembering what it displaced the first time so the
// context can be handed back as it came. A created object is owned: deleted
// when it is displaced, or at once when it cannot be selected.
void DrawingContext::SelectInto(int side, SelectedObject &slot, HGDIOBJ object, bool created) {
  HDC dc = DCOf(side);
  if (dc == nullptr || object == nullptr) {
    if (created && object != nullptr)
      ::DeleteObject(object);
    return;
  }
  HGDIOBJ old = ::SelectObject(dc, object);
  if (old == nullptr) {
    ReportSystemError(kErrorSelectObjectFailed);
    if (created)
      ::DeleteObject(object);
    return;
  }
  if (slot.previous == nullptr)
    slot.previous = old;
  if (slot.owned != nullptr)
    ::DeleteObject(slot.owned); // deselected just now
  slot.owned = created ? object : nullptr;
}

// Puts back what the first selection displaced on both sides, then deletes
// what the context owned.
void DrawingContext::ReleaseSelected(SelectedObject (&slots)[kSides]) {
  for (int side = kPrimary; side < kSides; ++side) {
    HDC dc = DCOf(side);
    SelectedObject &slot = slots[side];
    if (slot.previous != nullptr && dc != nullptr)
      ::SelectObject(dc, slot.previous);
    slot.previous = nullptr;
    if (slot.owned != nullptr) {
      ::DeleteObject(slot.owned);
      slot.owned = nullptr;
    }
  }
}

void DrawingContext::SetPenColor(COLORREF colour) {
  DeletePen();
  if (m_dc != nullptr) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    if (pen == nullptr) {
      ReportSystemError(kErrorPenNotCreated);
    }
    SelectPen(kPrimary, pen, true);
  }
  SelectPen(kMask, static_cast<HPEN>(::GetStockObject(WHITE_PEN)), false);
}

void DrawingContext::SetPenRGB(int red, int green, int blue) {
  SetPenColor(RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue)));
}

void DrawingContext::SetPen(int width, COLORREF colour, int style) {
  DeletePen();
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) == nullptr) {
      continue;
    }
    HPEN pen = ::CreatePen(style, width, side == kPrimary ? colour : kWhiteColour);
    if (pen == nullptr) {
      ReportSystemError(kErrorPenNotCreated);
    }
    SelectPen(side, pen, true);
  }
}

void DrawingContext::SetBrushColor(COLORREF colour) {
  DeleteBrush();
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) == nullptr) {
      continue;
    }
    const LOGBRUSH description = {BS_SOLID, side == kPrimary ? colour : kWhiteColour, 0};
    HBRUSH brush = ::CreateBrushIndirect(&description);
    if (brush == nullptr) {
      ReportSystemError(kErrorBrushNotCreated);
    }
    SelectBrush(side, brush, true);
  }
}

void DrawingContext::SetBrushRGB(int red, int green, int blue) {
  SetBrushColor(RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue)));
}

void DrawingContext::SetNullBrush() {
  DeleteBrush();
  for (int side = kPrimary; side < kSides; ++side) {
    SelectBrush(side, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)), false);
  }
}

void DrawingContext::SetMaskPen(bool white, int width, int style) {
  if (m_maskDC == nullptr) {
    return;
  }
  HPEN pen = ::CreatePen(style, width, white ? kWhiteColour : kBlackColour);
  if (pen == nullptr) {
    ReportSystemError(kErrorPenNotCreated);
  }
  SelectPen(kMask, pen, true);
}

void DrawingContext::SetMaskBrush(bool white) {
  if (m_maskDC == nullptr) {
    return;
  }
  const LOGBRUSH description = {BS_SOLID, white ? kWhiteColour : kBlackColour, 0};
  HBRUSH brush = ::CreateBrushIndirect(&description);
  if (brush == nullptr) {
    ReportSystemError(kErrorBrushNotCreated);
  }
  SelectBrush(kMask, brush, true);
}

void DrawingContext::DeletePen() { ReleaseSelected(m_pen); }

void DrawingContext::DeleteBrush() { ReleaseSelected(m_brush); }

// ---- Text ------------------------------------------------------------------

void DrawingContext::SetTextColor(COLORREF colour) {
  if (m_dc != nullptr) {
    ::SetTextColor(m_dc, colour);
  }
  if (m_maskDC != nullptr) {
    ::SetTextColor(m_maskDC, kWhiteColour);
  }
}

void DrawingContext::SetBkMode(int mode) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::SetBkMode(DCOf(side), mode);
    }
  }
}

void DrawingContext::SetTextJustification(int extra, int breaks) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::SetTextJustification(DCOf(side), extra, breaks);
    }
  }
}

void DrawingContext::TextOut(int x, int y, const char *text, int length) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::TextOutA(DCOf(side), x - m_originX, y - m_originY, text, length);
    }
  }
}

bool DrawingContext::GetTextMetrics(TEXTMETRICA &metrics) const {
  return m_dc != nullptr && ::GetTextMetricsA(m_dc, &metrics) != 0;
}

SIZE DrawingContext::GetTextExtent(const char *text, int length) const {
  SIZE size = {0, 0};
  if (m_dc != nullptr) {
    ::GetTextExtentPoint32A(m_dc, text, length, &size);
  }
  return size;
}

SIZE DrawingContext::GetTextExtentEx(const char *text, int length, int maxWidth, int *fit, int *extents) const {
  SIZE size = {0, 0};
  if (m_dc != nullptr) {
    ::GetTextExtentExPointA(m_dc, text, length, maxWidth, fit, extents, &size);
  }
  return size;
}

void DrawingContext::SelectFontIntoBoth(HFONT font) {
  for (int side = kPrimary; side < kSides; ++side) {
    HDC dc = DCOf(side);
    if (dc == nullptr) {
      continue;
    }
    HGDIOBJ old = ::SelectObject(dc, font);
    if (old == nullptr) {
      ReportSystemError(kErrorSelectObjectFailed);
    } else if (m_previousFont[side] == nullptr) {
      m_previousFont[side] = old;
    }
  }
}

// Puts back the font that was selected before the context's first font.
void DrawingContext::RestoreFont() {
  for (int side = kPrimary; side < kSides; ++side) {
    HDC dc = DCOf(side);
    if (m_previousFont[side] != nullptr && dc != nullptr) {
      ::SelectObject(dc, m_previousFont[side]);
    }
    m_previousFont[side] = nullptr;
  }
}

void DrawingContext::ReleaseOwnedFont() {
  if (m_font != nullptr && m_ownsFont) {
    ::DeleteObject(m_font);
  }
  m_font = nullptr;
  m_ownsFont = false;
}

void DrawingContext::CreateFont(const LOGFONTA &font) {
  if (m_ownsFont) {
    DeleteFont();
  }
  HFONT created = ::CreateFontIndirectA(&font);
  if (created == nullptr) {
    ReportSystemError(kErrorFontNotCreated);
    return;
  }
  SelectFontIntoBoth(created);
  ReleaseOwnedFont();
  m_font = created;
  m_ownsFont = true;
}

void DrawingContext::SelectFont(HFONT font) {
  if (m_ownsFont) {
    DeleteFont();
  }
  SelectFontIntoBoth(font);
  m_font = font;
  m_ownsFont = false;
}

void DrawingContext::DeleteFont() {
  RestoreFont();
  ReleaseOwnedFont();
}

// ---- Shapes ----------------------------------------------------------------

void DrawingContext::MoveTo(int x, int y) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::MoveToEx(DCOf(side), x - m_originX, y - m_originY, nullptr);
    }
  }
}

void DrawingContext::LineTo(int x, int y) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::LineTo(DCOf(side), x - m_originX, y - m_originY);
    }
  }
}

void DrawingContext::DrawLine(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

void DrawingContext::DrawRectangle(const VORRect &rect) {
  const RECT r = ToDevice(rect);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::Rectangle(DCOf(side), r.left, r.top, r.right, r.bottom);
    }
  }
}

void DrawingContext::DrawRoundRect(const VORRect &rect, int cornerWidth, int cornerHeight) {
  const RECT r = ToDevice(rect);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::RoundRect(DCOf(side), r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
    }
  }
}

void DrawingContext::DrawEllipse(const VORRect &rect) {
  const RECT r = ToDevice(rect);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::Ellipse(DCOf(side), r.left, r.top, r.right, r.bottom);
    }
  }
}

namespace {

// The points moved into device coordinates, in a copy: the caller's array
// stays as it was.
std::vector<POINT> ToDevicePoints(const POINT *points, int count, int32_t originX, int32_t originY) {
  std::vector<POINT> moved(points, points + (count > 0 ? count : 0));
  for (POINT &p : moved) {
    p.x -= originX;
    p.y -= originY;
  }
  return moved;
}

} // namespace

void DrawingContext::DrawPolyline(const POINT *points, int count) {
  const std::vector<POINT> moved = ToDevicePoints(points, count, m_originX, m_originY);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr && !moved.empty()) {
      ::Polyline(DCOf(side), moved.data(), count);
    }
  }
}

void DrawingContext::DrawPolyBezier(const POINT *points, int count) {
  const std::vector<POINT> moved = ToDevicePoints(points, count, m_originX, m_originY);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr && !moved.empty()) {
      ::PolyBezier(DCOf(side), moved.data(), static_cast<DWORD>(count));
    }
  }
}

void DrawingContext::DrawPolygon(const POINT *points, int count) {
  const std::vector<POINT> moved = ToDevicePoints(points, count, m_originX, m_originY);
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr && !moved.empty()) {
      ::Polygon(DCOf(side), moved.data(), count);
    }
  }
}

void DrawingContext::FloodFill(int x, int y, COLORREF colour) {
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::FloodFill(DCOf(side), x - m_originX, y - m_originY, colour);
    }
  }
}

void DrawingContext::FillMaskBlack(const VORRect &rect) {
  if (m_maskDC != nullptr) {
    const RECT r = ToDevice(rect);
    ::FillRect(m_maskDC, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
}

void DrawingContext::FillMaskWhite(const VORRect &rect) {
  if (m_maskDC != nullptr) {
    const RECT r = ToDevice(rect);
    ::FillRect(m_maskDC, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
}

void DrawingContext::SetMaskPixelWhite(int x, int y) {
  if (m_maskDC != nullptr) {
    ::SetPixel(m_maskDC, x - m_originX, y - m_originY, kWhiteColour);
  }
}

void DrawingContext::SetMaskPixelBlack(int x, int y) {
  if (m_maskDC != nullptr) {
    ::SetPixel(m_maskDC, x - m_originX, y - m_originY, kBlackColour);
  }
}

void DrawingContext::PatBlt(int x, int y, int width, int height, DWORD rop) {
  FillMaskWhite(VORRect(x, y, x + width, y + height));
  if (m_dc != nullptr) {
    ::PatBlt(m_dc, x - m_originX, y - m_originY, width, height, rop);
  }
}

// ---- Clip and palette ------------------------------------------------------

void DrawingContext::SetClipRect(const VORRect &rect) {
  if (rect.right == -1) {
    RemoveClip();
    return;
  }
  const RECT device = ToDevice(rect);
  VORRect clip(device.left, device.top, device.right, device.bottom);
  if (m_clip != nullptr) {
    RECT box;
    ::GetRgnBox(m_clip, &box);
    clip.Intersect(clip, VORRect(box.left, box.top, box.right, box.bottom)); // empty: 0, 0, 0, 0
  }
  RemoveClip();
  m_clip = ::CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
  if (m_clip == nullptr) {
    ReportSystemError(kErrorClipRegionNotCreated);
    return;
  }
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::SelectClipRgn(DCOf(side), m_clip);
    }
  }
}

VORRect DrawingContext::GetClipRect() const {
  if (m_clip == nullptr) {
    return VORRect::NotSet();
  }
  RECT box;
  ::GetRgnBox(m_clip, &box);
  return VORRect(box.left + m_originX, box.top + m_originY, box.right + m_originX, box.bottom + m_originY);
}

void DrawingContext::RemoveClip() {
  if (m_clip == nullptr) {
    return;
  }
  for (int side = kPrimary; side < kSides; ++side) {
    if (DCOf(side) != nullptr) {
      ::SelectClipRgn(DCOf(side), nullptr);
    }
  }
  ::DeleteObject(m_clip);
  m_clip = nullptr;
}

void DrawingContext::SelectPalette(HPALETTE palette) {
  if (palette == nullptr) {
    ReportSystemError(kErrorNullPaletteSelected);
    return;
  }
  DeselectPalette();
  if (m_dc == nullptr) {
    return;
  }
  m_previousPalette = ::SelectPalette(m_dc, palette, FALSE);
  m_palette = palette;
}

void DrawingContext::DeselectPalette() {
  if (m_palette == nullptr) {
    return;
  }
  if (m_dc != nullptr && m_previousPalette != nullptr) {
    ::SelectPalette(m_dc, m_previousPalette, FALSE);
  }
  m_palette = nullptr;
  m_previousPalette = nullptr;
}

void DrawingContext::RealizePalette() {
  if (m_dc != nullptr) {
    ::RealizePalette(m_dc);
  }
}

// ---- Images ----------------------------------------------------------------

void DrawingContext::StretchDIBits(const VORRect &destination, const VORRect &source, const void *bits,
                                   const BITMAPINFO *info, UINT usage, DWORD rop) {
  FillMaskWhite(destination);
  if (m_dc == nullptr) {
    return;
  }
  const RECT to = ToDevice(destination);
  if (::StretchDIBits(m_dc, to.left, to.top, Width32(destination), Height32(destination), source.left, source.top,
                      Width32(source), Height32(source), bits, info, usage, rop) == 0) {
    ReportSystemError(kErrorStretchDIBitsFailed);
  }
}

void DrawingContext::StretchDIBitsMasked(const VORRect &destination, const VORRect &source, const void *imageBits,
                                         const void *maskBits, const BITMAPINFO *imageInfo,
                                         const BITMAPINFO *maskInfo) {
  if (destination.IsEmpty()) {
    return;
  }
  const RECT to = ToDevice(destination);
  const int width = Width32(destination), height = Height32(destination);
  if (m_dc != nullptr) {
    // The scratch bitmap has the destination's own format, so that the
    // exclusive-or steps work on its pixel values unchanged.
    ScratchBitmap copy(::CreateCompatibleBitmap(m_dc, width, height), m_dc);
    if (copy.IsReady()) {
      HDC scratch = copy.GetDC();
      if (!::BitBlt(scratch, 0, 0, width, height, m_dc, to.left, to.top, SRCCOPY)) {
        ReportSystemError(kErrorBitBltFailed);
      }
      if (::StretchDIBits(scratch, 0, 0, width, height, source.left, source.top, Width32(source), Height32(source),
                          imageBits, imageInfo, DIB_RGB_COLORS, SRCINVERT) == 0) {
        ReportSystemError(kErrorStretchBltFailed);
      }
      if (::StretchDIBits(scratch, 0, 0, width, height, source.left, source.top, Width32(source), Height32(source),
                          maskBits, maskInfo, DIB_RGB_COLORS, SRCAND) == 0) {
        ReportSystemError(kErrorStretchBltFailed);
      }
      if (!::BitBlt(m_dc, to.left, to.top, width, height, scratch, 0, 0, SRCINVERT)) {
        ReportSystemError(kErrorBitBltFailed);
      }
    }
  }
  if (m_maskDC != nullptr &&
      ::StretchDIBits(m_maskDC, to.left, to.top, width, height, source.left, source.top, Width32(source),
                      Height32(source), maskBits, maskInfo, DIB_RGB_COLORS, SRCPAINT) == 0) {
    ReportSystemError(kErrorStretchBltFailed);
  }
}

void DrawingContext::SetKeyColor(COLORREF colour) {
  m_keyMode = 1;
  m_keyColor = colour;
}

void DrawingContext::PlayMetafileOn(int side, HENHMETAFILE enhanced, HMETAFILE windows, const VORRect &rect) {
  HDC dc = DCOf(side);
  if (dc == nullptr) {
    return;
  }
  m_maskMode = side == kMask;
  FilterContext filter;
  filter.state.maskMode = m_maskMode;
  filter.state.keyMode = m_keyMode != 0;
  filter.state.keyColor = m_keyColor;
  const bool filtered = filter.state.maskMode || filter.state.keyMode;
  const RECT frame = ToDevice(rect);

  const int saved = ::SaveDC(dc);
  if (enhanced != nullptr) {
    if (filtered) {
      ::EnumEnhMetaFile(dc, enhanced, EnhMetaRecordFilter, &filter, &frame);
    } else {
      ::PlayEnhMetaFile(dc, enhanced, &frame);
    }
  } else {
    ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetViewportExtEx(dc, Width32(rect), Height32(rect), nullptr);
    ::SetViewportOrgEx(dc, frame.left, frame.top, nullptr);
    if (filtered) {
      ::EnumMetaFile(dc, windows, MetaRecordFilter, reinterpret_cast<LPARAM>(&filter));
    } else {
      ::PlayMetaFile(dc, windows);
    }
  }
  if (!::RestoreDC(dc, saved)) {
    ReportSystemError(kErrorRestoreDCFailed);
  }
  m_maskMode = false;
}

void DrawingContext::PlayEnhMetaFile(HENHMETAFILE metafile, const VORRect &rect) {
  PlayMetafileOn(kPrimary, metafile, nullptr, rect);
  PlayMetafileOn(kMask, metafile, nullptr, rect);
}

void DrawingContext::PlayMetaFile(HMETAFILE metafile, const VORRect &rect) {
  PlayMetafileOn(kPrimary, nullptr, metafile, rect);
  PlayMetafileOn(kMask, nullptr, metafile, rect);
}

// ---- Copies and blends -------------------------------------------------------

bool DrawingContext::Blit(HDC target, const VORRect &to, HDC from, const VORRect &fromRect, DWORD rop, int32_t fromX,
                          int32_t fromY) const {
  const int width = Width32(to), height = Height32(to);
  if (to.Width() == fromRect.Width() && to.Height() == fromRect.Height()) {
    if (!::BitBlt(target, to.left, to.top, width, height, from, fromX, fromY, rop)) {
      ReportSystemError(kErrorBitBltFailed);
      return false;
    }
    return true;
  }
  if (!::StretchBlt(target, to.left, to.top, width, height, from, fromX, fromY, Width32(fromRect), Height32(fromRect),
                    rop)) {
    ReportSystemError(kErrorStretchBltFailed);
    return false;
  }
  return true;
}

bool DrawingContext::DitheredCopyTo(DrawingContext &destination, const VORRect &source,
                                    const VORRect &destinationRect) {
  if (&destination == this) {
    return false;
  }
  VORRect sourceLocked = source, destinationLocked = destinationRect;
  void *sourceBits = nullptr, *sourceMask = nullptr, *destinationBits = nullptr, *destinationMask = nullptr;
  BitmapInfoHeader *sourceInfo = nullptr, *destinationInfo = nullptr;
  LockPixels(sourceLocked, &sourceBits, &sourceMask, &sourceInfo);
  destination.LockPixels(destinationLocked, &destinationBits, &destinationMask, &destinationInfo);
  bool converted = false;
  if (sourceBits != nullptr && destinationBits != nullptr) {
    Palette &palette = Palette::ForEightBit(GetDisplaySettings().applicationPalette);
    const VORRect from = source.Offset(-sourceLocked.left, -sourceLocked.top);
    const VORRect to = destinationRect.Offset(-destinationLocked.left, -destinationLocked.top);
    converted =
        palette.GetDitherEngine()->Convert(sourceInfo, destinationInfo, sourceBits, destinationBits, &from, &to);
  }
  destination.UnlockPixels(converted);
  UnlockPixels(false);
  if (converted && m_maskDC != nullptr && destination.m_maskDC != nullptr) {
    const RECT to = destination.ToDevice(destinationRect);
    const RECT from = ToDevice(source);
    Blit(destination.m_maskDC, VORRect(to.left, to.top, to.right, to.bottom), m_maskDC, source, SRCCOPY, from.left,
         from.top);
  }
  return converted;
}

void DrawingContext::CopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                            const VORRect &destinationRect) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  // A deep surface into an 8-bit one goes through the application palette's
  // dither engine instead of GDI's nearest-colour mapping.
  if (m_surface != nullptr && destination.m_surface != nullptr && m_surface->GetBitsPerPixel() > 8 &&
      destination.m_surface->GetBitsPerPixel() == 8 && DitheredCopyTo(destination, source, destinationRect)) {
    return;
  }
  if (m_maskDC != nullptr || extraMask != nullptr) {
    TransparentCopyTo(destination, extraMask, source, destinationRect);
    return;
  }
  destination.FillMaskWhite(destinationRect);
  if (m_dc == nullptr || destination.m_dc == nullptr) {
    return;
  }
  const RECT to = destination.ToDevice(destinationRect);
  const RECT from = ToDevice(source);
  Blit(destination.m_dc, VORRect(to.left, to.top, to.right, to.bottom), m_dc, source, SRCCOPY, from.left, from.top);
}

void DrawingContext::TransparentCopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                                       const VORRect &destinationRect) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  const RECT from = ToDevice(source);
  const RECT to = destination.ToDevice(destinationRect);
  const int width = Width32(destinationRect), height = Height32(destinationRect);
  const VORRect whole(0, 0, width, height);
  HDC extraMaskDC = extraMask != nullptr ? extraMask->m_maskDC : nullptr;
  RECT extraFrom = {0, 0, 0, 0};
  if (extraMask != nullptr) {
    extraFrom = extraMask->ToDevice(source);
  }

  if (destination.m_dc != nullptr && m_dc != nullptr) {
    // The scratch bitmap has the destination's own format (not the
    // screen's): the exclusive-or steps then work on its pixel values, and
    // untouched pixels come back exactly as they were.
    ScratchBitmap copy(::CreateCompatibleBitmap(destination.m_dc, width, height), destination.m_dc);
    if (copy.IsReady()) {
      HDC scratch = copy.GetDC();
      if (!::BitBlt(scratch, 0, 0, width, height, destination.m_dc, to.left, to.top, SRCCOPY)) {
        ReportSystemError(kErrorBitBltFailed);
      }
      Blit(scratch, whole, m_dc, source, SRCINVERT, from.left, from.top);
      if (m_maskDC != nullptr) {
        Blit(scratch, whole, m_maskDC, source, SRCAND, from.left, from.top);
      }
      if (extraMaskDC != nullptr) {
        Blit(scratch, whole, extraMaskDC, source, SRCAND, extraFrom.left, extraFrom.top);
      }
      if (!::BitBlt(destination.m_dc, to.left, to.top, width, height, scratch, 0, 0, SRCINVERT)) {
        ReportSystemError(kErrorBitBltFailed);
      }
    }
  }
  if (destination.m_maskDC != nullptr) {
    const VORRect target(to.left, to.top, to.right, to.bottom);
    if (m_maskDC != nullptr) {
      Blit(destination.m_maskDC, target, m_maskDC, source, SRCPAINT, from.left, from.top);
    }
    if (extraMaskDC != nullptr) {
      Blit(destination.m_maskDC, target, extraMaskDC, source, SRCPAINT, extraFrom.left, extraFrom.top);
    }
  }
}

void DrawingContext::CopyMaskTo(DrawingContext &destination, const VORRect &source, const VORRect &destinationRect,
                                DWORD rop) {
  if (m_maskDC == nullptr || destination.m_maskDC == nullptr || source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  const RECT to = destination.ToDevice(destinationRect);
  const RECT from = ToDevice(source);
  Blit(destination.m_maskDC, VORRect(to.left, to.top, to.right, to.bottom), m_maskDC, source, rop, from.left, from.top);
}

namespace {

// A locked block of one context, seen as an image.
struct LockedBlock {
  VORRect rect;
  void *bits = nullptr;
  void *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  DibImage image;
  DibImage mask;

  bool WrapPixels() { return bits != nullptr && image.Wrap(info, bits); }
  bool WrapMask() { return maskBits != nullptr && info != nullptr && mask.InitMask(info, maskBits); }
};

} // namespace

void DrawingContext::BlendTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                             const VORRect &destinationRect, int level, int /*flag*/, int dx, int dy) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  destination.FillMaskWhite(destinationRect);
  if (level <= 0 || &destination == this) {
    return;
  }
  // The area locked in the destination is widened by the offsets (a shadow
  // drawn beside the blend lies in it).
  VORRect area = destinationRect;
  if (dx > 0) {
    area.left -= dx;
  } else {
    area.right -= dx;
  }
  if (dy > 0) {
    area.top -= dy;
  } else {
    area.bottom -= dy;
  }
  LockedBlock from, to, extra;
  from.rect = source;
  to.rect = area;
  extra.rect = source;
  LockPixels(from.rect, &from.bits, &from.maskBits, &from.info);
  destination.LockPixels(to.rect, &to.bits, &to.maskBits, &to.info);
  const bool separateExtra = extraMask != nullptr && extraMask != this && extraMask != &destination;
  if (separateExtra) {
    extraMask->LockMaskPixels(extra.rect, &extra.maskBits, &extra.info);
  }

  if (from.WrapPixels() && to.WrapPixels()) {
    MaskPlacement masks[2];
    int32_t maskCount = 0;
    if (from.WrapMask()) {
      masks[maskCount++] = MaskPlacement{&from.mask, 0, 0};
    }
    // The extra mask is read at the source's page positions.
    LockedBlock *extraBlock = separateExtra ? &extra : extraMask == &destination ? &to : nullptr;
    if (extraBlock != nullptr && extraBlock->WrapMask()) {
      masks[maskCount++] = MaskPlacement{&extraBlock->mask, from.rect.left - extraBlock->rect.left,
                                         from.rect.top - extraBlock->rect.top};
    }
    BlendImage(from.image, source.Offset(-from.rect.left, -from.rect.top), masks, maskCount, to.image,
               destinationRect.Offset(-to.rect.left, -to.rect.top), level, GetDisplaySettings().applicationPalette);
  }
  destination.UnlockPixels(true);
  UnlockPixels(false);
  if (separateExtra) {
    extraMask->UnlockPixels(false);
  }
}

void DrawingContext::BlendFillRect(const VORRect &rect, COLORREF colour, int level) {
  if (rect.IsEmpty() || level <= 0) {
    return;
  }
  LockedBlock block;
  block.rect = rect;
  LockPixels(block.rect, &block.bits, &block.maskBits, &block.info);
  const bool wrapped = block.WrapPixels();
  if (wrapped) {
    BlendColorImage(block.image, rect.Offset(-block.rect.left, -block.rect.top), colour, level, nullptr, 0,
                    GetDisplaySettings().applicationPalette);
  }
  UnlockPixels(wrapped);
}

void DrawingContext::DrawShadow(DrawingContext &destination, DrawingContext *extraMask, const VORRect &clip,
                                const VORRect &object, int dx, int dy, COLORREF colour, int level) {
  if (level <= 0 || object.IsEmpty()) {
    return;
  }
  level = level > kFullLevel ? kFullLevel : level;
  const VORRect shadow = object.Offset(dx, dy);
  DrawingContext *maskOwner = m_maskDC != nullptr                                      ? this
                              : extraMask != nullptr && extraMask->m_maskDC != nullptr ? extraMask
                                                                                       : nullptr;
  if (maskOwner == nullptr) {
    if (level == kFullLevel) {
      DrawingContextSaver saver(destination);
      destination.SetClipRect(clip);
      destination.SetPenColor(colour);
      destination.SetBrushColor(colour);
      destination.DrawRectangle(shadow);
      destination.DeletePen();
      destination.DeleteBrush();
    } else {
      destination.BlendFillRect(ClippedArea(shadow, clip), colour, level);
    }
    return;
  }

  const RECT maskFrom = maskOwner->ToDevice(object);
  if (level == kFullLevel) {
    DrawingContextSaver saver(destination);
    destination.SetClipRect(clip);
    if (destination.m_dc != nullptr) {
      PaintSilhouette(destination.m_dc, destination.ToDevice(shadow), maskOwner->m_maskDC, maskFrom, colour);
    }
  } else {
    const VORRect area = ClippedArea(shadow, clip);
    if (!area.IsEmpty() && &destination != this && &destination != extraMask) {
      LockedBlock to, own, extra;
      to.rect = area;
      destination.LockPixels(to.rect, &to.bits, &to.maskBits, &to.info);
      const VORRect underObject = area.Offset(-dx, -dy);
      own.rect = underObject;
      extra.rect = underObject;
      if (m_maskDC != nullptr) {
        LockMaskPixels(own.rect, &own.maskBits, &own.info);
      }
      const bool separateExtra = extraMask != nullptr && extraMask != this && extraMask->m_maskDC != nullptr;
      if (separateExtra) {
        extraMask->LockMaskPixels(extra.rect, &extra.maskBits, &extra.info);
      }
      if (to.WrapPixels()) {
        MaskPlacement masks[2];
        int32_t maskCount = 0;
        // A destination pixel at page (x, y) is covered by the mask bit at (x - dx, y - dy).
        for (LockedBlock *block : {&own, &extra}) {
          if (block->WrapMask()) {
            masks[maskCount++] =
                MaskPlacement{&block->mask, to.rect.left - dx - block->rect.left, to.rect.top - dy - block->rect.top};
          }
        }
        BlendColorImage(to.image, area.Offset(-to.rect.left, -to.rect.top), colour, level, masks, maskCount,
                        GetDisplaySettings().applicationPalette);
      }
      destination.UnlockPixels(to.bits != nullptr);
      if (m_maskDC != nullptr) {
        UnlockPixels(false);
      }
      if (separateExtra) {
        extraMask->UnlockPixels(false);
      }
    }
  }
  if (destination.m_maskDC != nullptr) {
    const RECT to = destination.ToDevice(shadow);
    Blit(destination.m_maskDC, VORRect(to.left, to.top, to.right, to.bottom), maskOwner->m_maskDC, object, SRCPAINT,
         maskFrom.left, maskFrom.top);
  }
}

// ---- Pixel access ------------------------------------------------------------

bool DrawingContext::StageRect(const VORRect &rect, bool pixels, bool mask) {
  m_staging.Release();
  if (rect.IsEmpty()) {
    return false;
  }
  HDC dc = pixels ? m_dc : nullptr;
  // 8 bits on a palette device, 24 on any other.
  const int depth = dc != nullptr && ::GetDeviceCaps(dc, BITSPIXEL) == PixelStaging::kPaletteDepth
                        ? PixelStaging::kPaletteDepth
                        : PixelStaging::kDeepDepth;
  return m_staging.Stage(dc, mask ? m_maskDC : nullptr, ToDevice(rect), depth);
}

bool DrawingContext::LockPixels(VORRect &rect, void **bits, void **maskBits, BitmapInfoHeader **info) {
  *bits = nullptr;
  *maskBits = nullptr;
  *info = nullptr;
  if (m_surface != nullptr) {
    m_surface->LockPixels(bits, maskBits, info, rect);
    return *bits != nullptr;
  }
  if (!StageRect(rect, true, true)) {
    return false;
  }
  *bits = m_staging.GetBits();
  *maskBits = m_staging.GetMaskBits();
  *info = *bits != nullptr ? m_staging.GetInfo() : m_staging.GetMaskInfo();
  return *bits != nullptr;
}

bool DrawingContext::LockMaskPixels(VORRect &rect, void **maskBits, BitmapInfoHeader **info) {
  *maskBits = nullptr;
  *info = nullptr;
  if (m_surface != nullptr) {
    m_surface->LockMaskPixels(maskBits, info, rect);
    return *maskBits != nullptr;
  }
  if (!StageRect(rect, false, true)) {
    return false;
  }
  *maskBits = m_staging.GetMaskBits();
  *info = m_staging.GetMaskInfo();
  return *maskBits != nullptr;
}

void DrawingContext::UnlockPixels(bool copyBack) {
  if (m_surface != nullptr) {
    m_surface->UnlockPixels(copyBack);
    return;
  }
  if (copyBack) {
    m_staging.CopyBack(m_dc, m_maskDC);
  }
  m_staging.Release();
}
