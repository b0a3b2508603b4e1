#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "display/DibTypes.h"
#include "display/PixelStaging.h"
#include "foundation/VORRect.h"

class PixelSurface;

// The one drawing interface of the player. It wraps a primary device context
// and, optionally, a mask device context holding a one-bit coverage mask of
// what was drawn: every primitive goes to both, in its colours on the primary
// and in white on the mask (white = covered, black = untouched). Coordinates
// are page coordinates; the context subtracts its origin before calling GDI.
// Copies and blends run from this context (the source) into the one given.
//
// GDI failures go to the error hook (ReportSystemError) and drawing goes on;
// a null device context makes its half of every primitive a no-operation.
class DrawingContext {
public:
  // dc: the primary device context, or null; surface: the owning drawing
  // surface (answers the depth and the pixel access), or null.
  DrawingContext(HDC dc, PixelSurface *surface);
  ~DrawingContext();

  DrawingContext(const DrawingContext &) = delete;
  DrawingContext &operator=(const DrawingContext &) = delete;

  // State.
  void SetMaskDC(HDC maskDC);
  HDC GetDC() const { return m_dc; }
  HDC GetMaskDC() const { return m_maskDC; }
  PixelSurface *GetSurface() const { return m_surface; }
  void SetOrigin(int32_t x, int32_t y);
  POINT GetOrigin() const { return POINT{m_originX, m_originY}; }
  // The primary's answer, except BITSPIXEL, which the owning surface gives.
  int GetDeviceCaps(int index) const;

  // Pens and brushes: each setter first removes what the context selected before.
  void SetPenColor(COLORREF colour);
  void SetPenRGB(int red, int green, int blue);
  void SetPen(int width, COLORREF colour, int style);
  void SetBrushColor(COLORREF colour);
  void SetBrushRGB(int red, int green, int blue);
  void SetNullBrush();
  // Only the mask's pen or brush, white or black.
  void SetMaskPen(bool white, int width, int style);
  void SetMaskBrush(bool white);
  void DeletePen();
  void DeleteBrush();

  // Text.
  void SetTextColor(COLORREF colour);
  void SetBkMode(int mode);
  void SetTextJustification(int extra, int breaks);
  void TextOut(int x, int y, const char *text, int length);
  bool GetTextMetrics(TEXTMETRICA &metrics) const;
  SIZE GetTextExtent(const char *text, int length) const;
  SIZE GetTextExtentEx(const char *text, int length, int maxWidth, int *fit, int *extents) const;
  void CreateFont(const LOGFONTA &font);
  void SelectFont(HFONT font);
  void DeleteFont();

  // Shapes.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void DrawLine(int x1, int y1, int x2, int y2);
  void DrawRectangle(const VORRect &rect);
  void DrawRoundRect(const VORRect &rect, int cornerWidth, int cornerHeight);
  void DrawEllipse(const VORRect &rect);
  void DrawPolyline(const POINT *points, int count);
  void DrawPolyBezier(const POINT *points, int count);
  void DrawPolygon(const POINT *points, int count);
  void FloodFill(int x, int y, COLORREF colour);
  void FillMaskBlack(const VORRect &rect);
  void FillMaskWhite(const VORRect &rect);
  void SetMaskPixelWhite(int x, int y);
  void SetMaskPixelBlack(int x, int y);
  void PatBlt(int x, int y, int width, int height, DWORD rop);

  // Clip and palette.
  // A right edge of -1 removes the clip; otherwise the clip becomes the
  // rectangle within the current clip (disjoint: nothing drawable).
  void SetClipRect(const VORRect &rect);
  // Page coordinates; 0, 0, -1, -1 without a clip.
  VORRect GetClipRect() const;
  void RemoveClip();
  void SelectPalette(HPALETTE palette);
  void DeselectPalette();
  void RealizePalette();

  // Images.
  void StretchDIBits(const VORRect &destination, const VORRect &source, const void *bits, const BITMAPINFO *info,
                     UINT usage, DWORD rop);
  // A DIB drawn through a one-bit mask DIB (bit 1 opaque).
  void StretchDIBitsMasked(const VORRect &destination, const VORRect &source, const void *imageBits,
                           const void *maskBits, const BITMAPINFO *imageInfo, const BITMAPINFO *maskInfo);
  void PlayEnhMetaFile(HENHMETAFILE metafile, const VORRect &rect);
  void PlayMetaFile(HMETAFILE metafile, const VORRect &rect);
  // Turns key-colour mode on: metafile pens and brushes of exactly this colour play hollow.
  void SetKeyColor(COLORREF colour);

  // Copies and blends into another context (this one is the source), done
  // by DrawingCompositor. An extra mask context, when given, limits the copy
  // with its mask as well.
  void CopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
              const VORRect &destinationRect);
  void TransparentCopyTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
                         const VORRect &destinationRect);
  void CopyMaskTo(DrawingContext &destination, const VORRect &source, const VORRect &destinationRect, DWORD rop);
  // level 0..256 (256: the source); the flag is accepted and not used; dx, dy
  // widen the destination area that is locked.
  void BlendTo(DrawingContext &destination, DrawingContext *extraMask, const VORRect &source,
               const VORRect &destinationRect, int level, int flag, int dx, int dy);
  void DrawShadow(DrawingContext &destination, DrawingContext *extraMask, const VORRect &clip, const VORRect &object,
                  int dx, int dy, COLORREF colour, int level);
  void BlendFillRect(const VORRect &rect, COLORREF colour, int level);

  // Pixel access, one lock at a time. The rectangle (page coordinates)
  // comes back as the area the block covers; an empty one gives null
  // pointers and false.
  bool LockPixels(VORRect &rect, void **bits, void **maskBits, BitmapInfoHeader **info);
  bool LockMaskPixels(VORRect &rect, void **maskBits, BitmapInfoHeader **info);
  void UnlockPixels(bool copyBack);

  // A rectangle in page coordinates as the device contexts take it.
  RECT ToDevice(const VORRect &rect) const;

private:
  enum Side { kPrimary = 0, kMask = 1, kSides = 2 };

  HDC DCOf(int side) const { return side == kPrimary ? m_dc : m_maskDC; }
  // Every primitive goes to both device contexts: action(dc), or
  // action(dc, side) where the side matters, for the primary and then the
  // mask, each that is there.
  template <class Action>
  void ForEachDC(Action &&action) const {
    for (int side = kPrimary; side < kSides; ++side) {
      HDC dc = DCOf(side);
      if (dc == nullptr) {
        continue;
      }
      if constexpr (std::is_invocable_v<Action, HDC>) {
        action(dc);
      } else {
        action(dc, side);
      }
    }
  }
  void SelectPen(int side, HPEN pen, bool created);
  void SelectBrush(int side, HBRUSH brush, bool created);
  struct SelectedObject {
    HGDIOBJ previous = nullptr; // what the first selection displaced
    HGDIOBJ owned = nullptr;    // the created object now selected, if any
  };
  void SelectInto(int side, SelectedObject &slot, HGDIOBJ object, bool created);
  void ReleaseSelected(SelectedObject (&slots)[kSides]);
  void SelectFontIntoBoth(HFONT font);
  void RestoreFont();
  void ReleaseOwnedFont();
  bool StageRect(const VORRect &rect, bool pixels, bool mask);
  void PlayMetafileOn(HDC dc, int side, HENHMETAFILE enhanced, HMETAFILE windows, const VORRect &rect);

  HDC m_dc;
  HDC m_maskDC = nullptr;
  HPALETTE m_previousPalette = nullptr;
  SelectedObject m_pen[kSides];
  SelectedObject m_brush[kSides];
  HRGN m_clip = nullptr;
  HPALETTE m_palette = nullptr;
  HFONT m_font = nullptr;
  bool m_ownsFont = false;
  HGDIOBJ m_previousFont[kSides] = {};
  int32_t m_originX = 0;
  int32_t m_originY = 0;
  PixelSurface *m_surface;
  int32_t m_keyMode = 0;
  COLORREF m_keyColor = 0;
  bool m_maskMode = false;

  PixelStaging m_staging;
};
