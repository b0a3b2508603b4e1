#include "display/DrawingCompositor.h"

#include "display/BlendRoutines.h"
#include "display/DibImage.h"
#include "display/DisplaySettings.h"
#include "display/DitherEngine.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/MaskedCopy.h"
#include "display/MemoryBitmap.h"
#include "display/Palette.h"
#include "display/PixelSurface.h"
#include "display/SystemErrorHook.h"

namespace {

constexpr COLORREF kWhiteColour = RGB(255, 255, 255);
constexpr COLORREF kBlackColour = RGB(0, 0, 0);
constexpr int kFullLevel = 256;

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

// BitBlt when the sizes match, else StretchBlt; a failure is reported.
bool Blit(HDC target, const VORRect &to, HDC from, const VORRect &fromRect, DWORD rop, int32_t fromX, int32_t fromY) {
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

// A deep surface into an 8-bit one goes through the application palette's
// dither engine instead of GDI's nearest-colour mapping.
bool DitheredCopy(DrawingContext &context, DrawingContext &destination, const VORRect &source,
                  const VORRect &destinationRect) {
  if (&destination == &context) {
    return false;
  }
  VORRect sourceLocked = source, destinationLocked = destinationRect;
  void *sourceBits = nullptr, *sourceMask = nullptr, *destinationBits = nullptr, *destinationMask = nullptr;
  BitmapInfoHeader *sourceInfo = nullptr, *destinationInfo = nullptr;
  context.LockPixels(sourceLocked, &sourceBits, &sourceMask, &sourceInfo);
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
  context.UnlockPixels(false);
  if (converted && context.GetMaskDC() != nullptr && destination.GetMaskDC() != nullptr) {
    const RECT to = destination.ToDevice(destinationRect);
    const RECT at = context.ToDevice(source);
    Blit(destination.GetMaskDC(), VORRect(to.left, to.top, to.right, to.bottom), context.GetMaskDC(), source, SRCCOPY,
         at.left, at.top);
  }
  return converted;
}

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

// A transparent copy between two surfaces of one format (24 bits, or 8 bits
// with one colour table) whose pixels lie in memory, done there: covered
// pixels from the source, the others untouched, without a scratch bitmap and
// four passes through GDI. False when the case is not that one, and GDI does it.
bool MaskedCopyInMemory(DrawingContext &context, DrawingContext &destination, const VORRect &source,
                        const VORRect &destinationRect) {
  PixelSurface *from = context.GetSurface();
  PixelSurface *to = destination.GetSurface();
  if (from == nullptr || to == nullptr || from == to || context.GetMaskDC() == nullptr ||
      destination.GetClipRect().right != -1 || !from->HoldsPixelsInPlace() || !to->HoldsPixelsInPlace() ||
      from->GetBitsPerPixel() != to->GetBitsPerPixel()) {
    return false;
  }
  LockedBlock sourceBlock, destinationBlock;
  sourceBlock.rect = source;
  destinationBlock.rect = destinationRect;
  context.LockPixels(sourceBlock.rect, &sourceBlock.bits, &sourceBlock.maskBits, &sourceBlock.info);
  destination.LockPixels(destinationBlock.rect, &destinationBlock.bits, &destinationBlock.maskBits,
                         &destinationBlock.info);
  bool copied = false;
  if (sourceBlock.WrapPixels() && sourceBlock.WrapMask() && destinationBlock.WrapPixels()) {
    copied = CopyMaskedPixels(sourceBlock.image, sourceBlock.mask,
                              source.Offset(-sourceBlock.rect.left, -sourceBlock.rect.top), destinationBlock.image,
                              destinationRect.Offset(-destinationBlock.rect.left, -destinationBlock.rect.top));
  }
  destination.UnlockPixels(copied);
  context.UnlockPixels(false);
  return copied;
}

} // namespace

void DrawingCompositor::Copy(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                             const VORRect &source, const VORRect &destinationRect) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  if (context.GetSurface() != nullptr && destination.GetSurface() != nullptr &&
      context.GetSurface()->GetBitsPerPixel() > 8 && destination.GetSurface()->GetBitsPerPixel() == 8 &&
      DitheredCopy(context, destination, source, destinationRect)) {
    return;
  }
  if (context.GetMaskDC() != nullptr || extraMask != nullptr) {
    TransparentCopy(context, destination, extraMask, source, destinationRect);
    return;
  }
  destination.FillMaskWhite(destinationRect);
  if (context.GetDC() == nullptr || destination.GetDC() == nullptr) {
    return;
  }
  const RECT to = destination.ToDevice(destinationRect);
  const RECT from = context.ToDevice(source);
  Blit(destination.GetDC(), VORRect(to.left, to.top, to.right, to.bottom), context.GetDC(), source, SRCCOPY, from.left,
       from.top);
}

void DrawingCompositor::TransparentCopy(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                                        const VORRect &source, const VORRect &destinationRect) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  const RECT from = context.ToDevice(source);
  const RECT to = destination.ToDevice(destinationRect);
  const int width = Width32(destinationRect), height = Height32(destinationRect);
  const VORRect whole(0, 0, width, height);
  HDC extraMaskDC = extraMask != nullptr ? extraMask->GetMaskDC() : nullptr;
  RECT extraFrom = {0, 0, 0, 0};
  if (extraMask != nullptr) {
    extraFrom = extraMask->ToDevice(source);
  }

  const bool inMemory = extraMask == nullptr && MaskedCopyInMemory(context, destination, source, destinationRect);
  if (!inMemory && destination.GetDC() != nullptr && context.GetDC() != nullptr) {
    // The scratch bitmap has the destination's own format (not the
    // screen's): the exclusive-or steps then work on its pixel values, and
    // untouched pixels come back exactly as they were.
    ScratchBitmap copy(::CreateCompatibleBitmap(destination.GetDC(), width, height), destination.GetDC());
    if (copy.IsReady()) {
      HDC scratch = copy.GetDC();
      if (!::BitBlt(scratch, 0, 0, width, height, destination.GetDC(), to.left, to.top, SRCCOPY)) {
        ReportSystemError(kErrorBitBltFailed);
      }
      Blit(scratch, whole, context.GetDC(), source, SRCINVERT, from.left, from.top);
      if (context.GetMaskDC() != nullptr) {
        Blit(scratch, whole, context.GetMaskDC(), source, SRCAND, from.left, from.top);
      }
      if (extraMaskDC != nullptr) {
        Blit(scratch, whole, extraMaskDC, source, SRCAND, extraFrom.left, extraFrom.top);
      }
      if (!::BitBlt(destination.GetDC(), to.left, to.top, width, height, scratch, 0, 0, SRCINVERT)) {
        ReportSystemError(kErrorBitBltFailed);
      }
    }
  }
  if (destination.GetMaskDC() != nullptr) {
    const VORRect target(to.left, to.top, to.right, to.bottom);
    if (context.GetMaskDC() != nullptr) {
      Blit(destination.GetMaskDC(), target, context.GetMaskDC(), source, SRCPAINT, from.left, from.top);
    }
    if (extraMaskDC != nullptr) {
      Blit(destination.GetMaskDC(), target, extraMaskDC, source, SRCPAINT, extraFrom.left, extraFrom.top);
    }
  }
}

void DrawingCompositor::CopyMask(DrawingContext &context, DrawingContext &destination, const VORRect &source,
                                 const VORRect &destinationRect, DWORD rop) {
  if (context.GetMaskDC() == nullptr || destination.GetMaskDC() == nullptr || source.IsEmpty() ||
      destinationRect.IsEmpty()) {
    return;
  }
  const RECT to = destination.ToDevice(destinationRect);
  const RECT from = context.ToDevice(source);
  Blit(destination.GetMaskDC(), VORRect(to.left, to.top, to.right, to.bottom), context.GetMaskDC(), source, rop,
       from.left, from.top);
}

void DrawingCompositor::Blend(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                              const VORRect &source, const VORRect &destinationRect, int level, int dx, int dy) {
  if (source.IsEmpty() || destinationRect.IsEmpty()) {
    return;
  }
  destination.FillMaskWhite(destinationRect);
  if (level <= 0 || &destination == &context) {
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
  context.LockPixels(from.rect, &from.bits, &from.maskBits, &from.info);
  destination.LockPixels(to.rect, &to.bits, &to.maskBits, &to.info);
  const bool separateExtra = extraMask != nullptr && extraMask != &context && extraMask != &destination;
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
  context.UnlockPixels(false);
  if (separateExtra) {
    extraMask->UnlockPixels(false);
  }
}

void DrawingCompositor::BlendFill(DrawingContext &context, const VORRect &rect, COLORREF colour, int level) {
  if (rect.IsEmpty() || level <= 0) {
    return;
  }
  LockedBlock block;
  block.rect = rect;
  context.LockPixels(block.rect, &block.bits, &block.maskBits, &block.info);
  const bool wrapped = block.WrapPixels();
  if (wrapped) {
    BlendColorImage(block.image, rect.Offset(-block.rect.left, -block.rect.top), colour, level, nullptr, 0,
                    GetDisplaySettings().applicationPalette);
  }
  context.UnlockPixels(wrapped);
}

void DrawingCompositor::Shadow(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                               const VORRect &clip, const VORRect &object, int dx, int dy, COLORREF colour, int level) {
  if (level <= 0 || object.IsEmpty()) {
    return;
  }
  level = level > kFullLevel ? kFullLevel : level;
  const VORRect shadow = object.Offset(dx, dy);
  DrawingContext *maskOwner = context.GetMaskDC() != nullptr                              ? &context
                              : extraMask != nullptr && extraMask->GetMaskDC() != nullptr ? extraMask
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
      BlendFill(destination, ClippedArea(shadow, clip), colour, level);
    }
    return;
  }

  const RECT maskFrom = maskOwner->ToDevice(object);
  if (level == kFullLevel) {
    DrawingContextSaver saver(destination);
    destination.SetClipRect(clip);
    if (destination.GetDC() != nullptr) {
      PaintSilhouette(destination.GetDC(), destination.ToDevice(shadow), maskOwner->GetMaskDC(), maskFrom, colour);
    }
  } else {
    const VORRect area = ClippedArea(shadow, clip);
    if (!area.IsEmpty() && &destination != &context && &destination != extraMask) {
      LockedBlock to, own, extra;
      to.rect = area;
      destination.LockPixels(to.rect, &to.bits, &to.maskBits, &to.info);
      const VORRect underObject = area.Offset(-dx, -dy);
      own.rect = underObject;
      extra.rect = underObject;
      if (context.GetMaskDC() != nullptr) {
        context.LockMaskPixels(own.rect, &own.maskBits, &own.info);
      }
      const bool separateExtra = extraMask != nullptr && extraMask != &context && extraMask->GetMaskDC() != nullptr;
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
      if (context.GetMaskDC() != nullptr) {
        context.UnlockPixels(false);
      }
      if (separateExtra) {
        extraMask->UnlockPixels(false);
      }
    }
  }
  if (destination.GetMaskDC() != nullptr) {
    const RECT to = destination.ToDevice(shadow);
    Blit(destination.GetMaskDC(), VORRect(to.left, to.top, to.right, to.bottom), maskOwner->GetMaskDC(), object,
         SRCPAINT, maskFrom.left, maskFrom.top);
  }
}
