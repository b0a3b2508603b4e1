#include "display/VORBitmapObjectSurface.h"

#include <cstring>

#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/MemoryDCPool.h"
#include "display/Palette.h"
#include "display/ScreenDepth.h"
#include "display/SurfaceBitmapPool.h"
#include "display/SurfaceFormat.h"
#include "display/SystemErrorHook.h"
#include "display/VORView.h"

namespace {

constexpr int32_t kPaletteDepth = 8;
constexpr int32_t kDeepStagingFrom = 9;
constexpr int32_t kSixteenBitDepth = 16;
constexpr int64_t kSixteenBitAwkwardWidth = 1; // widths of 4n + 1
constexpr int64_t kSixteenBitWidthModulus = 4;
constexpr int32_t kOpaqueLevel = 255;

// A bitmap of the format kept from a surface that went, else a new one from
// make; a failure to make one is reported.
template <typename Make>
SurfaceBitmapPool::Bitmap TakeOrMake(const SurfaceBitmapPool::Format &format, Make make) {
  SurfaceBitmapPool::Bitmap bitmap = SurfaceBitmapPool::Take(format);
  if (bitmap.handle == nullptr) {
    bitmap = make();
    if (bitmap.handle == nullptr) {
      ReportSystemError(kErrorBitmapNotCreated);
      bitmap.bits = nullptr;
    }
  }
  return bitmap;
}

// A DIB section of the header, whose colour table follows it.
SurfaceBitmapPool::Bitmap NewDibSection(const BitmapInfoHeader &header) {
  SurfaceBitmapPool::Bitmap bitmap;
  bitmap.handle = ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO *>(&header), DIB_RGB_COLORS,
                                     &bitmap.bits, nullptr, 0);
  return bitmap;
}

} // namespace

VORBitmapObjectSurface::VORBitmapObjectSurface(const Params &params)
    : VORObjectSurface(params.owner), m_parentView(params.parentView) {
  SetSurfaceBounds(UsableBounds(params.rect));
  const bool dib = params.dib || (m_parentView != nullptr && m_parentView->WantsDibSurfaces());
  const int32_t depth = m_parentView != nullptr ? m_parentView->GetBitsPerPixel() : ScreenBitsPerPixel();
  MakeBitmap(dib, params.mask, depth);
}

VORBitmapObjectSurface::VORBitmapObjectSurface(const VORRect &rect, VORDrawingSurface *owner)
    : VORObjectSurface(owner) {
  SetSurfaceBounds(UsableBounds(rect));
}

VORBitmapObjectSurface::~VORBitmapObjectSurface() { DeleteBitmaps(); }

VORRect VORBitmapObjectSurface::UsableBounds(const VORRect &rect) {
  // Bounds not yet given (0, 0, -1, -1) become one pixel.
  if (rect.right < rect.left) {
    return VORRect(0, 0, 1, 1).MovedTo(rect.left, rect.top);
  }
  return rect;
}

int32_t VORBitmapObjectSurface::ScreenBitsPerPixel() { return ScreenDepth::Get(); }

// ---- Making the bitmap -------------------------------------------------------

void VORBitmapObjectSurface::MakeBitmap(bool dib, bool mask, int32_t depth) {
  const SurfaceFormat format = SurfaceFormat::Choose(depth, dib, ScreenBitsPerPixel());
  m_dib = format.dib;
  m_mask = mask;
  m_depth = format.depth;
  if (m_dib) {
    MakeDibSection();
  } else {
    MakeCompatibleBitmap();
  }
}

bool VORBitmapObjectSurface::FitsInMemory() const {
  const VORRect &bounds = GetSurfaceBounds();
  return SurfaceFormat::ByteSize(bounds.Width(), bounds.Height(), m_depth) <= kMaxBitmapBytes;
}

void VORBitmapObjectSurface::MakeDibSection() {
  DeleteBitmaps();
  const VORRect &bounds = GetSurfaceBounds();
  if (bounds.IsEmpty()) {
    return;
  }
  if (!FitsInMemory()) {
    ReportSystemError(kErrorBitmapNotCreated);
    return;
  }
  const auto width = static_cast<int32_t>(bounds.Width()), height = static_cast<int32_t>(bounds.Height());
  m_dibInfo = BitmapInfo256{};
  m_dibInfo.header = BitmapInfoHeader{
      kBitmapInfoHeaderSize, width, -height, 1, static_cast<uint16_t>(m_depth), kCompressionRgb, 0, 0, 0, 0, 0};
  if (m_depth == kPaletteDepth) {
    // Without an application palette the default one gives the colours: a
    // table of black would make every drawn colour black.
    const Palette &palette = Palette::ForEightBit(GetDisplaySettings().applicationPalette);
    m_dibInfo.header.biClrUsed = static_cast<uint32_t>(palette.GetCount());
    std::memcpy(m_dibInfo.colors, palette.GetEntries(), static_cast<size_t>(palette.GetCount()) * sizeof(RgbQuad));
  }
  m_bitmapFormat = SurfaceBitmapPool::Format::Dib(m_dibInfo.header, m_dibInfo.colors, m_dibInfo.header.biClrUsed);
  const SurfaceBitmapPool::Bitmap pixels =
      TakeOrMake(m_bitmapFormat, [this] { return NewDibSection(m_dibInfo.header); });
  m_bitmap = pixels.handle;
  m_dibBits = pixels.bits;
  if (m_mask && m_bitmap != nullptr) {
    m_maskInfo.header = BitmapInfoHeader{kBitmapInfoHeaderSize, width, -height, 1, 1, kCompressionRgb, 0, 0, 0, 0, 0};
    m_maskInfo.colors[0] = RgbQuad{0, 0, 0, 0};
    m_maskInfo.colors[1] = RgbQuad{255, 255, 255, 0};
    m_maskFormat = SurfaceBitmapPool::Format::Dib(m_maskInfo.header, m_maskInfo.colors, m_maskInfo.header.biClrUsed);
    const SurfaceBitmapPool::Bitmap mask =
        TakeOrMake(m_maskFormat, [this] { return NewDibSection(m_maskInfo.header); });
    m_maskBitmap = mask.handle;
    m_maskBits = mask.bits;
  }
  FillDibBlack();
  InvalidateAll();
}

void VORBitmapObjectSurface::MakeCompatibleBitmap() {
  DeleteBitmaps();
  const VORRect &bounds = GetSurfaceBounds();
  if (bounds.IsEmpty()) {
    return;
  }
  if (!FitsInMemory()) {
    ReportSystemError(kErrorBitmapNotCreated);
    return;
  }
  const auto width = static_cast<int32_t>(bounds.Width()), height = static_cast<int32_t>(bounds.Height());
  m_bitmapFormat = SurfaceBitmapPool::Format::Compatible(width, height, m_depth);
  m_bitmap = TakeOrMake(m_bitmapFormat, [width, height] {
               HDC screen = ::GetDC(nullptr);
               HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
               ::ReleaseDC(nullptr, screen);
               return SurfaceBitmapPool::Bitmap{bitmap, nullptr};
             }).handle;
  if (m_mask && m_bitmap != nullptr) {
    m_maskFormat = SurfaceBitmapPool::Format::Monochrome(width, height);
    m_maskBitmap = TakeOrMake(m_maskFormat, [width, height] {
                     return SurfaceBitmapPool::Bitmap{::CreateBitmap(width, height, 1, 1, nullptr), nullptr};
                   }).handle;
  }
  FillBlack(m_bitmap);
  FillBlack(m_maskBitmap);
  InvalidateAll();
}

// A surface starts black, with a bitmap kept from another surface too. Zero
// bytes are black in a 24-bit section and in the mask, and in an 8-bit
// section whose first colour is black: those are cleared in memory, a
// fraction of the cost of a fill through GDI.
void VORBitmapObjectSurface::FillDibBlack() {
  const VORRect &bounds = GetSurfaceBounds();
  if (m_dibBits != nullptr) {
    const RgbQuad &first = m_dibInfo.colors[0];
    const bool zeroIsBlack = m_depth != kPaletteDepth || (first.red == 0 && first.green == 0 && first.blue == 0);
    if (zeroIsBlack) {
      ::GdiFlush();
      std::memset(m_dibBits, 0, SurfaceFormat::ByteSize(bounds.Width(), bounds.Height(), m_depth));
    } else {
      FillBlack(m_bitmap);
    }
  }
  if (m_maskBits != nullptr) {
    ::GdiFlush();
    std::memset(m_maskBits, 0, SurfaceFormat::ByteSize(bounds.Width(), bounds.Height(), 1));
  }
}

void VORBitmapObjectSurface::FillBlack(HBITMAP bitmap) {
  if (bitmap == nullptr) {
    return;
  }
  HGDIOBJ displaced = nullptr;
  HDC dc = SelectIntoMemoryDC(bitmap, displaced);
  if (dc == nullptr) {
    return;
  }
  const VORRect &bounds = GetSurfaceBounds();
  const RECT all = {0, 0, static_cast<LONG>(bounds.Width()), static_cast<LONG>(bounds.Height())};
  // A brush, not BLACKNESS: in an 8-bit table index 0 need not be black.
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ReleaseMemoryDC(dc, displaced);
}

void VORBitmapObjectSurface::DeleteBitmaps() {
  ReleaseContexts();
  // Kept for the next surfaces of their format.
  SurfaceBitmapPool::Give({m_bitmap, m_dibBits}, m_bitmapFormat);
  SurfaceBitmapPool::Give({m_maskBitmap, m_maskBits}, m_maskFormat);
  m_bitmap = nullptr;
  m_maskBitmap = nullptr;
  m_dibBits = nullptr;
  m_maskBits = nullptr;
}

// ---- Device contexts ----------------------------------------------------------

HDC VORBitmapObjectSurface::SelectIntoMemoryDC(HBITMAP bitmap, HGDIOBJ &displaced) {
  HDC dc = MemoryDCPool::Take();
  if (dc == nullptr) {
    ReportSystemError(kErrorMemoryDCNotCreated);
    return nullptr;
  }
  displaced = ::SelectObject(dc, bitmap);
  return dc;
}

void VORBitmapObjectSurface::ReleaseMemoryDC(HDC &dc, HGDIOBJ &displaced) {
  if (dc == nullptr) {
    return;
  }
  if (displaced != nullptr) {
    ::SelectObject(dc, displaced);
  }
  MemoryDCPool::Give(dc);
  dc = nullptr;
  displaced = nullptr;
}

DrawingContext *VORBitmapObjectSurface::GetDrawingContext() {
  if (m_bitmap == nullptr) {
    return nullptr;
  }
  if (!m_context) {
    m_memoryDC = SelectIntoMemoryDC(m_bitmap, m_displaced);
    if (m_memoryDC == nullptr) {
      return nullptr;
    }
    m_context = std::make_unique<DrawingContext>(m_memoryDC, this);
    m_context->SetOrigin(GetSurfaceBounds().left, GetSurfaceBounds().top);
    if (m_maskBitmap != nullptr) {
      m_maskDC = SelectIntoMemoryDC(m_maskBitmap, m_maskDisplaced);
      m_context->SetMaskDC(m_maskDC);
    }
  }
  Palette *palette = GetDisplaySettings().applicationPalette;
  if (palette != nullptr && palette->GetHPalette() != nullptr) {
    m_context->SelectPalette(palette->GetHPalette());
  }
  return m_context.get();
}

void VORBitmapObjectSurface::ReleaseContexts() {
  // Staged pixels would be copied back into device contexts that are gone.
  m_staging.Release();
  m_stagedRect = VORRect::NotSet();
  m_context.reset();
  ReleaseMemoryDC(m_memoryDC, m_displaced);
  ReleaseMemoryDC(m_maskDC, m_maskDisplaced);
}

// ---- Bounds -------------------------------------------------------------------

void VORBitmapObjectSurface::SetBounds(const VORRect &rect) {
  const VORRect bounds = UsableBounds(rect);
  if (bounds == GetSurfaceBounds()) {
    return;
  }
  SetSurfaceBounds(bounds);
  if (m_depth == 0) {
    return; // no form chosen yet: the subclass makes the bitmap
  }
  if (m_dib) {
    MakeDibSection();
  } else {
    MakeCompatibleBitmap();
  }
}

void VORBitmapObjectSurface::MoveOrigin(int32_t x, int32_t y, bool notify) {
  if (notify) {
    NotifyOwner(GetSurfaceBounds());
  }
  SetSurfaceBounds(GetSurfaceBounds().MovedTo(x, y));
  if (m_context) {
    m_context->SetOrigin(x, y);
  }
  if (notify) {
    NotifyOwner(GetSurfaceBounds());
  }
}

RECT VORBitmapObjectSurface::ToDevice(const VORRect &rect) const {
  const VORRect device = rect.Offset(-GetSurfaceBounds().left, -GetSurfaceBounds().top);
  return RECT{device.left, device.top, device.right, device.bottom};
}

// ---- Pixel access ---------------------------------------------------------------

void VORBitmapObjectSurface::LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) {
  *bits = nullptr;
  *maskBits = nullptr;
  *info = nullptr;
  if (!m_dib) {
    Stage(rect, true);
    *bits = m_staging.GetBits();
    *maskBits = m_staging.GetMaskBits();
    if (*bits != nullptr) {
      *info = m_staging.GetInfo();
    } else if (*maskBits != nullptr) {
      *info = m_staging.GetMaskInfo();
    }
    return;
  }
  if (m_dibBits == nullptr) {
    return;
  }
  ::GdiFlush();
  *bits = m_dibBits;
  *maskBits = m_maskBits;
  *info = &m_dibInfo.header;
  rect = GetSurfaceBounds();
}

void VORBitmapObjectSurface::LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) {
  *maskBits = nullptr;
  *info = nullptr;
  if (!m_dib) {
    Stage(rect, false);
    *maskBits = m_staging.GetMaskBits();
    if (*maskBits != nullptr) {
      *info = m_staging.GetMaskInfo();
    }
    return;
  }
  if (m_maskBits == nullptr) {
    return;
  }
  ::GdiFlush();
  *maskBits = m_maskBits;
  *info = &m_dibInfo.header;
  rect = GetSurfaceBounds();
}

void VORBitmapObjectSurface::Stage(VORRect &rect, bool pixels) {
  m_staging.Release();
  m_stagedRect = VORRect::NotSet();
  const VORRect &bounds = GetSurfaceBounds();
  VORRect area;
  if (!area.Intersect(rect, bounds)) {
    rect = area;
    return;
  }
  if (m_depth == kSixteenBitDepth && area.Width() % kSixteenBitWidthModulus == kSixteenBitAwkwardWidth) {
    // Rows of 4n + 1 16-bit pixels are widened by one pixel, inside the bounds.
    if (area.right < bounds.right) {
      ++area.right;
    } else if (area.left > bounds.left) {
      --area.left;
    }
  }
  // The staging copies from the memory device contexts, which the drawing
  // context holds.
  if (GetDrawingContext() == nullptr) {
    return;
  }
  const int depth = m_depth >= kDeepStagingFrom ? PixelStaging::kDeepDepth : PixelStaging::kPaletteDepth;
  if (m_staging.Stage(pixels ? m_memoryDC : nullptr, m_maskDC, ToDevice(area), depth)) {
    m_stagedRect = area;
    rect = area;
  }
}

void VORBitmapObjectSurface::UnlockPixels(bool copyBack) {
  if (m_dib) {
    return;
  }
  if (copyBack && !m_stagedRect.IsEmpty()) {
    m_staging.CopyBack(m_memoryDC, m_maskDC);
  }
  m_staging.Release();
  m_stagedRect = VORRect::NotSet();
}

// ---- Copies ---------------------------------------------------------------------

void VORBitmapObjectSurface::CopyToContext(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                                           DrawingContext *destinationContext, int32_t transparency) {
  DrawingContext *target = destinationContext;
  if (target == nullptr && GetOwner() != nullptr) {
    target = GetOwner()->GetDrawingContext();
  }
  DrawingContext *own = GetDrawingContext();
  if (target != nullptr && own != nullptr) {
    DrawingContextSaver saver(*own);
    if (transparency == 0) {
      own->CopyTo(*target, extraMask, source, destination);
    } else {
      own->BlendTo(*target, extraMask, source, destination, kOpaqueLevel - transparency, 0, 0, 0);
    }
  }
  ReleaseContexts();
}
