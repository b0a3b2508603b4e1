#include "display/DrawingContext.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "display/DibImage.h"
#include "display/DrawingCompositor.h"
#include "display/MaskedCopy.h"
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

bool IsColour(const RGBQUAD &entry, BYTE red, BYTE green, BYTE blue) {
  return entry.rgbRed == red && entry.rgbGreen == green && entry.rgbBlue == blue;
}

// A DIB the caller gives, seen as an image (it is only read).
bool WrapGiven(DibImage &image, const BITMAPINFO *info, const void *bits) {
  return info != nullptr && image.Wrap(const_cast<BitmapInfoHeader *>(reinterpret_cast<const BitmapInfoHeader *>(info)),
                                       const_cast<void *>(bits));
}

// The source rectangle of a DIB drawn by the system, counted from its top
// row: the system counts a bottom-up DIB's rows from its bottom.
VORRect FromTop(const VORRect &source, const DibImage &image) {
  if (image.IsTopDown()) {
    return source;
  }
  const int32_t top = image.GetHeight() - source.bottom;
  return VORRect(source.left, top, source.right, top + static_cast<int32_t>(source.Height()));
}

// A picture drawn at its own size through its one-bit mask (bit 1: the
// picture) into a surface whose pixels lie in memory, done there: the
// picture's pixels where the mask is set, the rest left, as the scratch
// bitmap's exclusive-or, and, exclusive-or steps leave them, without a
// scratch bitmap of fresh memory and four passes through the system. Only
// the part inside the clip (page coordinates, right -1: none) is drawn.
// False, with nothing drawn, when the case is not that one.
bool DrawMaskedInMemory(PixelSurface *surface, const VORRect &clip, const VORRect &destination, const VORRect &source,
                        const void *imageBits, const void *maskBits, const BITMAPINFO *imageInfo,
                        const BITMAPINFO *maskInfo) {
  if (surface == nullptr || !surface->HoldsPixelsInPlace() || destination.Width() != source.Width() ||
      destination.Height() != source.Height() || maskInfo == nullptr || maskInfo->bmiHeader.biBitCount != 1 ||
      !IsColour(maskInfo->bmiColors[0], 0, 0, 0) || !IsColour(maskInfo->bmiColors[1], 255, 255, 255)) {
    return false;
  }
  DibImage image, mask;
  if (!WrapGiven(image, imageInfo, imageBits) || !WrapGiven(mask, maskInfo, maskBits) ||
      image.IsTopDown() != mask.IsTopDown()) {
    return false;
  }
  VORRect area = destination;
  if (clip.right != -1 && !area.Intersect(area, clip)) {
    return true; // all of it clipped away
  }
  VORRect locked = area;
  void *bits = nullptr, *surfaceMask = nullptr;
  BitmapInfoHeader *info = nullptr;
  surface->LockPixels(&bits, &surfaceMask, &info, locked);
  DibImage target;
  bool drawn = false;
  if (bits != nullptr && target.Wrap(info, bits)) {
    if (!area.Intersect(area, locked)) {
      drawn = true; // outside the surface: nothing to draw
    } else {
      const VORRect from = FromTop(source, image).Offset(area.left - destination.left, area.top - destination.top);
      const VORRect part(from.left, from.top, from.left + static_cast<int32_t>(area.Width()),
                         from.top + static_cast<int32_t>(area.Height()));
      drawn = CopyMaskedPixels(image, mask, part, target, area.Offset(-locked.left, -locked.top));
    }
  }
  surface->UnlockPixels(drawn);
  return drawn;
}

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
  ForEachDC([&](HDC, int side) {
    HPEN pen = ::CreatePen(style, width, side == kPrimary ? colour : kWhiteColour);
    if (pen == nullptr) {
      ReportSystemError(kErrorPenNotCreated);
    }
    SelectPen(side, pen, true);
  });
}

void DrawingContext::SetBrushColor(COLORREF colour) {
  DeleteBrush();
  ForEachDC([&](HDC, int side) {
    const LOGBRUSH description = {BS_SOLID, side == kPrimary ? colour : kWhiteColour, 0};
    HBRUSH brush = ::CreateBrushIndirect(&description);
    if (brush == nullptr) {
      ReportSystemError(kErrorBrushNotCreated);
    }
    SelectBrush(side, brush, true);
  });
}

void DrawingContext::SetBrushRGB(int red, int green, int blue) {
  SetBrushColor(RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue)));
}

void DrawingContext::SetNullBrush() {
  DeleteBrush();
  ForEachDC([&](HDC, int side) { SelectBrush(side, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)), false); });
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
  ForEachDC([&](HDC dc, int side) { ::SetTextColor(dc, side == kPrimary ? colour : kWhiteColour); });
}

void DrawingContext::SetBkMode(int mode) {
  ForEachDC([&](HDC dc) { ::SetBkMode(dc, mode); });
}

void DrawingContext::SetTextJustification(int extra, int breaks) {
  ForEachDC([&](HDC dc) { ::SetTextJustification(dc, extra, breaks); });
}

void DrawingContext::TextOut(int x, int y, const char *text, int length) {
  ForEachDC([&](HDC dc) { ::TextOutA(dc, x - m_originX, y - m_originY, text, length); });
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
  ForEachDC([&](HDC dc, int side) {
    HGDIOBJ old = ::SelectObject(dc, font);
    if (old == nullptr) {
      ReportSystemError(kErrorSelectObjectFailed);
    } else if (m_previousFont[side] == nullptr) {
      m_previousFont[side] = old;
    }
  });
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
  ForEachDC([&](HDC dc) { ::MoveToEx(dc, x - m_originX, y - m_originY, nullptr); });
}

void DrawingContext::LineTo(int x, int y) {
  ForEachDC([&](HDC dc) { ::LineTo(dc, x - m_originX, y - m_originY); });
}

void DrawingContext::DrawLine(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

void DrawingContext::DrawRectangle(const VORRect &rect) {
  const RECT r = ToDevice(rect);
  ForEachDC([&](HDC dc) { ::Rectangle(dc, r.left, r.top, r.right, r.bottom); });
}

void DrawingContext::DrawRoundRect(const VORRect &rect, int cornerWidth, int cornerHeight) {
  const RECT r = ToDevice(rect);
  ForEachDC([&](HDC dc) { ::RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight); });
}

void DrawingContext::DrawEllipse(const VORRect &rect) {
  const RECT r = ToDevice(rect);
  ForEachDC([&](HDC dc) { ::Ellipse(dc, r.left, r.top, r.right, r.bottom); });
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
  if (moved.empty()) {
    return;
  }
  ForEachDC([&](HDC dc) { ::Polyline(dc, moved.data(), count); });
}

void DrawingContext::DrawPolyBezier(const POINT *points, int count) {
  const std::vector<POINT> moved = ToDevicePoints(points, count, m_originX, m_originY);
  if (moved.empty()) {
    return;
  }
  ForEachDC([&](HDC dc) { ::PolyBezier(dc, moved.data(), static_cast<DWORD>(count)); });
}

void DrawingContext::DrawPolygon(const POINT *points, int count) {
  const std::vector<POINT> moved = ToDevicePoints(points, count, m_originX, m_originY);
  if (moved.empty()) {
    return;
  }
  ForEachDC([&](HDC dc) { ::Polygon(dc, moved.data(), count); });
}

void DrawingContext::FloodFill(int x, int y, COLORREF colour) {
  ForEachDC([&](HDC dc) { ::FloodFill(dc, x - m_originX, y - m_originY, colour); });
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
  ForEachDC([&](HDC dc) { ::SelectClipRgn(dc, m_clip); });
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
  ForEachDC([&](HDC dc) { ::SelectClipRgn(dc, nullptr); });
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
  if (m_dc != nullptr &&
      !DrawMaskedInMemory(m_surface, GetClipRect(), destination, source, imageBits, maskBits, imageInfo, maskInfo)) {
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

void DrawingContext::PlayMetafileOn(HDC dc, int side, HENHMETAFILE enhanced, HMETAFILE windows, const VORRect &rect) {
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
  ForEachDC([&](HDC dc, int side) { PlayMetafileOn(dc, side, metafile, nullptr, rect); });
}

void DrawingContext::PlayMetaFile(HMETAFILE metafile, const VORRect &rect) {
  ForEachDC([&](HDC dc, int side) { PlayMetafileOn(dc, side, nullptr, metafile, rect); });
}

// ---- Copies and blends (DrawingCompositor) ----------------------------------

void DrawingContext::CopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                            const VORRect &destinationRect) {
  DrawingCompositor::Copy(*this, destination, extraMask, source, destinationRect);
}

void DrawingContext::TransparentCopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                                       const VORRect &destinationRect) {
  DrawingCompositor::TransparentCopy(*this, destination, extraMask, source, destinationRect);
}

void DrawingContext::CopyMaskTo(DrawingContext &destination, const VORRect &source, const VORRect &destinationRect,
                                DWORD rop) {
  DrawingCompositor::CopyMask(*this, destination, source, destinationRect, rop);
}

void DrawingContext::BlendTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                             const VORRect &destinationRect, int level, int /*flag*/, int dx, int dy) {
  DrawingCompositor::Blend(*this, destination, extraMask, source, destinationRect, level, dx, dy);
}

void DrawingContext::DrawShadow(DrawingContext &destination, DrawingContext *extraMask, const VORRect &clip,
                                const VORRect &object, int dx, int dy, COLORREF colour, int level) {
  DrawingCompositor::Shadow(*this, destination, extraMask, clip, object, dx, dy, colour, level);
}

void DrawingContext::BlendFillRect(const VORRect &rect, COLORREF colour, int level) {
  DrawingCompositor::BlendFill(*this, rect, colour, level);
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
