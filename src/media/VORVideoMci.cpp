// The video object's MCI mode: the file is handed to an MCI device (the
// system's AVI player) that plays it into a child window of the view; the
// device's notifications come back through that window.

#include "media/Win32Multimedia.h"

#include <digitalv.h>

#include <algorithm>

#include "display/DisplaySettings.h"
#include "display/Palette.h"
#include "media/VORVideo.h"
#include "model/VORApp.h"
#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"
#include "objects/VORExternalResourceObject.h"

namespace {

uint32_t SystemMciSender(uint32_t device, uint32_t message, uintptr_t flags, void *parameters) {
  return Mm<decltype(&mciSendCommandA)>("mciSendCommandA")(static_cast<MCIDEVICEID>(device), message, flags,
                                                           reinterpret_cast<DWORD_PTR>(parameters));
}

VORVideo::MciSender g_mciSender = SystemMciSender;

// FLIC devices always play from their first frame.
constexpr DWORD kFlicFirstFrame = 1;

VORRect Clipped(const VORRect &rect, const VORRect &bounds) {
  VORRect clipped;
  if (!clipped.Intersect(rect, bounds)) {
    return VORRect(bounds.left, bounds.top, bounds.left, bounds.top);
  }
  return clipped;
}

} // namespace

VORVideo::MciSender VORVideo::SetMciSender(MciSender sender) {
  const MciSender previous = g_mciSender;
  g_mciSender = sender != nullptr ? sender : SystemMciSender;
  return previous;
}

uint32_t VORVideo::SendMci(uint32_t message, uintptr_t flags, void *parameters) const {
  return g_mciSender(m_mci.device, message, flags, parameters);
}

void VORVideo::ReportMciFailure(int32_t code) {
  if (VORApp *app = VORApp::Get()) {
    app->ReportFileFailure(m_mci.path.CStr(), m_mci.flic ? VORFileKind::kFlic : VORFileKind::kAvi, code);
  }
}

VORRunView *VORVideo::InteractiveRunView() const {
  VORView *view = GetView();
  return view != nullptr && view->IsInteractive() ? view->AsRunView() : nullptr;
}

bool VORVideo::OpenMci() {
  Close();
  VORRunView *view = InteractiveRunView();
  auto *external = dynamic_cast<VORExternalResourceObject *>(MediaResource());
  if (view == nullptr || external == nullptr) {
    return false;
  }
  const XQString path = external->GetFilePath();
  if (path.IsEmpty()) {
    return false;
  }
  VORApp *app = VORApp::Get();
  VORResourceManager *resources = app ? app->GetResourceManager() : nullptr;
  m_mci.flic = resources != nullptr && external->GetResourceHandle() != 0 &&
               resources->GetResourceKind(external->GetResourceHandle()) == kFlicKind;
  m_mci.path = path;

  MCI_ANIM_OPEN_PARMSA open = {};
  open.lpstrElementName = path.CStr();
  DWORD flags = MCI_WAIT | MCI_OPEN_ELEMENT;
  if (m_mci.flic) {
    open.hWndParent = view->GetWindow();
    open.dwStyle = WS_CHILD;
    flags |= MCI_ANIM_OPEN_PARENT | MCI_ANIM_OPEN_WS;
  }
  if (g_mciSender(0, MCI_OPEN, flags, &open) != 0) {
    ReportMciFailure(kMciOpenFailed);
    return false;
  }
  m_mci.device = open.wDeviceID;
  if (!OpenMciWindow(*view)) {
    ReportMciFailure(kMciCommandFailed);
    CloseMci();
    return false;
  }
  m_open = true;
  return true;
}

bool VORVideo::OpenMciWindow(VORRunView &view) {
  // An 8-bit display shows the video in the publication's colours.
  Palette *palette = GetDisplaySettings().applicationPalette;
  if (!m_mci.flic && GetDisplaySettings().paletteDisplay && palette != nullptr && palette->IsValid()) {
    m_mci.palette = CreatePalette(reinterpret_cast<const LOGPALETTE *>(palette->GetLogPalette()));
    MCI_DGV_SETVIDEO_PARMSA video = {};
    video.dwItem = MCI_DGV_SETVIDEO_PALHANDLE;
    video.dwValue = static_cast<DWORD>(reinterpret_cast<uintptr_t>(m_mci.palette));
    if (m_mci.palette == nullptr ||
        SendMci(MCI_SETVIDEO, MCI_WAIT | MCI_DGV_SETVIDEO_ITEM | MCI_DGV_SETVIDEO_VALUE, &video) != 0) {
      return false;
    }
  }
  if (!m_mci.flic) {
    MCI_SET_PARMS set = {};
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    if (SendMci(MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, &set) != 0) {
      return false;
    }
  }
  // The window is made where the placement puts it, so that it keeps that
  // place as the view scrolls.
  const VORRect placed = MciPlacement();
  VORRunView::WindowHandle window = nullptr;
  if (!view.CreateChildWindow(placed, *this, window) || window == nullptr) {
    return false;
  }
  m_mci.view = &view;
  m_mci.window = window;
  m_mci.placed = placed;
  if (!m_mci.flic) {
    MCI_DGV_WINDOW_PARMSA into = {};
    into.hWnd = window;
    into.nCmdShow = SW_HIDE;
    if (SendMci(MCI_WINDOW, MCI_WAIT | MCI_DGV_WINDOW_HWND | MCI_DGV_WINDOW_STATE, &into) != 0) {
      return false;
    }
  }
  PutMciDestination();
  if (!m_mci.flic) {
    ShowWindow(window, SW_SHOW);
  }
  return true;
}

void VORVideo::CloseMci() {
  if (m_mci.device != 0) {
    MCI_GENERIC_PARMS close = {};
    SendMci(MCI_CLOSE, MCI_WAIT, &close);
  }
  if (m_mci.window != nullptr && m_mci.view != nullptr) {
    m_mci.view->DestroyChildWindow(*this);
  }
  if (m_mci.palette != nullptr) {
    DeleteObject(m_mci.palette);
  }
  m_mci = MciState();
}

// The video's own size, placed in the object by the fit mode and clipped
// to it (page coordinates).
VORRect VORVideo::MciPlacement() {
  const VORRect object = GetRect();
  auto width = static_cast<int32_t>(object.Width());
  auto height = static_cast<int32_t>(object.Height());
  MCI_DGV_RECT_PARMS where = {};
  if (SendMci(MCI_WHERE, MCI_WAIT | MCI_DGV_WHERE_SOURCE, &where) == 0) {
    // MCI gives a rectangle's width and height in its right and bottom.
    width = where.rc.right;
    height = where.rc.bottom;
  }
  const uint16_t fit = Flags() & kFitMask;
  VORRect placed = object;
  if (fit == kOwnSize) {
    placed = VORRect(object.left, object.top, object.left + width, object.top + height);
  } else if (fit == kStretched && (Flags() & kKeepProportions)) {
    placed.FitInside(VORRect(0, 0, width, height), false);
  } else if (fit == kCentred) {
    const auto left = static_cast<int32_t>(object.left + (object.Width() - width) / 2);
    const auto top = static_cast<int32_t>(object.top + (object.Height() - height) / 2);
    placed = VORRect(left, top, left + width, top + height);
  }
  return Clipped(placed, object);
}

// The device draws into the whole window.
void VORVideo::PutMciDestination() {
  if ((Flags() & kFitMask) != kOwnSize && !m_mci.flic) {
    MCI_DGV_PUT_PARMS put = {};
    put.rc = RECT{0, 0, static_cast<LONG>(m_mci.placed.Width()), static_cast<LONG>(m_mci.placed.Height())};
    SendMci(MCI_PUT, MCI_WAIT | MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT, &put);
  }
}

// The view puts the window over the placement where the page shows now: a
// centred or scrolled page lies off the client area's corner, and a later
// scroll moves the window on from its new place.
void VORVideo::PlaceMciWindow() {
  const VORRect placed = MciPlacement();
  if (m_mci.view == nullptr || !m_mci.view->MoveChildWindow(*this, placed)) {
    return;
  }
  m_mci.placed = placed;
  PutMciDestination();
}

bool VORVideo::SendMciPlay(int32_t fromMs, int32_t toMs) {
  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(m_mci.window);
  DWORD flags = MCI_NOTIFY;
  if (m_mci.flic) {
    play.dwFrom = kFlicFirstFrame;
    flags |= MCI_FROM;
  } else {
    if (fromMs != VideoPlayback::kUnset) {
      play.dwFrom = static_cast<DWORD>(fromMs);
      flags |= MCI_FROM;
    }
    if (toMs != VideoPlayback::kUnset) {
      play.dwTo = static_cast<DWORD>(toMs);
      flags |= MCI_TO;
    }
  }
  return SendMci(MCI_PLAY, flags, &play) == 0;
}

void VORVideo::PlayMci(int32_t fromMs, int32_t toMs) {
  ShowWindow(m_mci.window, SW_SHOW);
  // "To the end" (-1) lies behind every start.
  if (toMs != VideoPlayback::kUnset && toMs < fromMs) {
    return;
  }
  m_mci.repeatsLeft = GetVideoProperties().repeatCount;
  m_mci.from = fromMs;
  m_mci.to = toMs;
  if (!SendMciPlay(fromMs, toMs)) {
    return;
  }
  m_playing = true;
  PostSyncStart();
}

// A paused play's notification says it was aborted: it is not taken for
// the end.
void VORVideo::PauseMci() {
  MCI_GENERIC_PARMS pause = {};
  SendMci(MCI_PAUSE, MCI_WAIT, &pause);
}

void VORVideo::SeekMci(int32_t positionMs, int32_t mode) {
  int64_t target = positionMs;
  if (mode == VideoPlayback::kRelative || mode == VideoPlayback::kFromEnd) {
    MCI_STATUS_PARMS status = {};
    status.dwItem = mode == VideoPlayback::kRelative ? MCI_STATUS_POSITION : MCI_STATUS_LENGTH;
    if (SendMci(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &status) == 0) {
      target += static_cast<int64_t>(status.dwReturn);
    }
  }
  MCI_SEEK_PARMS seek = {};
  seek.dwTo = static_cast<DWORD>(std::clamp<int64_t>(target, 0, INT32_MAX));
  SendMci(MCI_SEEK, MCI_WAIT | MCI_TO, &seek);
  if (m_playing) {
    SendMciPlay(VideoPlayback::kUnset, m_mci.to);
  }
}

bool VORVideo::OnChildWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == WM_PAINT && m_mci.device != 0 && !m_mci.flic) {
    RepaintMciWindow();
    return true;
  }
  if (message != MM_MCINOTIFY || m_mci.device == 0 || static_cast<uint32_t>(lParam) != m_mci.device) {
    return false;
  }
  OnMciNotify(static_cast<uint32_t>(wParam));
  return true;
}

// The device draws its current frame again into what the window lost.
void VORVideo::RepaintMciWindow() {
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(m_mci.window, &paint);
  if (dc != nullptr) {
    MCI_DGV_UPDATE_PARMS update = {};
    update.hDC = dc;
    update.rc = paint.rcPaint;
    SendMci(MCI_UPDATE, MCI_WAIT | MCI_DGV_UPDATE_HDC | MCI_DGV_RECT | MCI_DGV_UPDATE_PAINT, &update);
  }
  EndPaint(m_mci.window, &paint);
}

// Only a play that ran to its end (or failed) ends the play: a stop, a seek
// or a newer play notifies the older play as aborted or superseded.
void VORVideo::OnMciNotify(uint32_t code) {
  if (!m_playing || (code != MCI_NOTIFY_SUCCESSFUL && code != MCI_NOTIFY_FAILURE)) {
    return;
  }
  if (code == MCI_NOTIFY_FAILURE || m_mci.repeatsLeft == 0 || !m_open) {
    Stop(false);
    return;
  }
  if (m_mci.repeatsLeft != VideoPlayback::kEndless) {
    --m_mci.repeatsLeft;
  }
  // A repeat plays the same span again; one that continued from where the
  // video stood starts again at the beginning.
  const int32_t from = m_mci.from != VideoPlayback::kUnset ? m_mci.from : 0;
  if (!SendMciPlay(from, m_mci.to)) {
    ReportMciFailure(kMciCommandFailed);
    Stop(false);
  }
}
