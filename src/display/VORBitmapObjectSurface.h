#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "display/DibTypes.h"
#include "display/PixelStaging.h"
#include "display/SurfaceBitmapPool.h"
#include "display/VORObjectSurface.h"

class VORView;

// An object surface whose pixels are a memory bitmap, with an optional
// one-bit coverage mask (white where something was drawn). The bitmap is a
// DIB section when asked for or when the depth is not the screen's (then
// its pixels are reached directly), else a bitmap compatible with the
// screen (then locks stage a copy). Device contexts are held only while
// drawing: every copy ends with ReleaseContexts.
//
// A surface that cannot be made (an empty or an impossibly large size) has
// no bitmap: it gives no drawing context and locks give no pixels.
class VORBitmapObjectSurface : public VORObjectSurface {
public:
  // The largest bitmap a surface makes. Sizes come from publication files;
  // a 32-bit process has no room for more anyway.
  static constexpr uint64_t kMaxBitmapBytes = 256u << 20;

  struct Params {
    VORRect rect = VORRect::NotSet();
    bool mask = false;
    bool dib = false;
    // Borrowed, may be null. Its depth (the screen's) is the surface's.
    VORView *parentView = nullptr;
    VORDrawingSurface *owner = nullptr;
  };

  explicit VORBitmapObjectSurface(const Params &params);
  // No parent, no mask and no bitmap yet: a subclass makes it.
  VORBitmapObjectSurface(const VORRect &rect, VORDrawingSurface *owner);
  ~VORBitmapObjectSurface() override;

  // Made on first use with the bounds' top-left as origin; the application
  // palette, when there is one, is selected at every call. Null without a
  // bitmap or when the memory device context cannot be made.
  DrawingContext *GetDrawingContext() override;
  // Deletes the drawing context and gives up the memory device contexts;
  // the bitmaps stay.
  void ReleaseContexts();
  // A new size makes the bitmap again (the contents are lost).
  void SetBounds(const VORRect &rect) override;
  // notify: the owner is told that the old and the new bounds are dirty.
  void MoveOrigin(int32_t x, int32_t y, bool notify) override;
  virtual VORRect GetBounds() const { return GetSurfaceBounds(); }

  int32_t GetBitsPerPixel() override { return m_depth; }
  void LockPixels(void **bits, void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void LockMaskPixels(void **maskBits, BitmapInfoHeader **info, VORRect &rect) override;
  void UnlockPixels(bool copyBack) override;

  void CopyToContext(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                     DrawingContext *destinationContext, int32_t transparency) override;

  bool IsDib() const { return m_dib; }
  bool HoldsPixelsInPlace() const override { return m_dib && m_dibBits != nullptr; }
  bool HasMask() const { return m_mask; }
  bool HasBitmap() const { return m_bitmap != nullptr; }
  VORView *GetParentView() const { return m_parentView; }

protected:
  // Chooses the bitmap's form for the depth and makes it.
  void MakeBitmap(bool dib, bool mask, int32_t depth);
  void DeleteBitmaps();
  void SetParentView(VORView *view) { m_parentView = view; }
  static int32_t ScreenBitsPerPixel();

private:
  static VORRect UsableBounds(const VORRect &rect);
  bool FitsInMemory() const;
  void MakeDibSection();
  void MakeCompatibleBitmap();
  void FillBlack(HBITMAP bitmap);
  void FillDibBlack();
  HDC SelectIntoMemoryDC(HBITMAP bitmap, HGDIOBJ &displaced);
  static void ReleaseMemoryDC(HDC &dc, HGDIOBJ &displaced);
  RECT ToDevice(const VORRect &rect) const;
  // Stages the rectangle of the pixels (when wanted) and the mask.
  void Stage(VORRect &rect, bool pixels);

  HDC m_memoryDC = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_displaced = nullptr;
  HDC m_maskDC = nullptr;
  HBITMAP m_maskBitmap = nullptr;
  HGDIOBJ m_maskDisplaced = nullptr;
  bool m_dib = false;
  bool m_mask = false;
  int32_t m_depth = 0;
  std::unique_ptr<DrawingContext> m_context;
  VORView *m_parentView = nullptr;
  void *m_dibBits = nullptr;
  BitmapInfo256 m_dibInfo = {};
  void *m_maskBits = nullptr;
  struct {
    BitmapInfoHeader header;
    RgbQuad colors[2];
  } m_maskInfo = {};
  PixelStaging m_staging;
  // What the bitmaps are, for the pool that keeps them when they go.
  SurfaceBitmapPool::Format m_bitmapFormat;
  SurfaceBitmapPool::Format m_maskFormat;
  VORRect m_stagedRect = VORRect::NotSet();
};
