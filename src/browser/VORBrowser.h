#pragma once

#include <cstdint>
#include <string>

#include "display/VORRunView.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORPlayerForm.h"
#include "vorfile/VORString.h"

class VORBrowserAction;
class VORPageInstance;
// The system's automation interface, declared here so that this header
// stays free of the system headers.
struct IDispatch;

// A pane of a page that shows web pages: a child window of the run view in
// which the outside OLE container hosts a web-browser control, reached only
// through IDispatch. A status band at the bottom tells whether the browser
// is busy. Without the container the pane says so, or the address goes to
// the system's browser.
class VORBrowser : public VORGraphicalObject {
public:
  static constexpr uint16_t kCategory = 1;
  static constexpr uint16_t kCode = 0x11;
  static constexpr int32_t kBrowserActionCode = 980;
  enum Operation : int32_t {
    kNavigate = 0,
    kNavigateToVariable = 1,
    kStop = 2,
    kGoBack = 3,
    kGoForward = 4,
    kGoHome = 5,
    kPoll = 6,
  };
  static constexpr uint32_t kPollDelayMs = 300;
  // "Busy"'s id before it is looked up.
  static constexpr int32_t kBusyIdUnknown = -2000;
  enum BusyState : int32_t { kIdle = 0, kConnecting = 1, kForceRepaint = 2 };
  static constexpr const char *kNotAvailableText = "The Internet Browser is not available";
  static constexpr const char *kIdleText = "  Idle";
  static constexpr const char *kConnectingText = "  Connecting.....";

  // The graphical record, then seven fields, each optional on its own.
  class VORBrowserProperties : public VORGraphicalObject::VORGraphicalObjectProperties {
  public:
    VORBrowserProperties() = default;
    VORBrowserProperties(const VORBrowserProperties &) = default;
    VORBrowserProperties &operator=(const VORBrowserProperties &) = default;
    ~VORBrowserProperties() override;

    void Read(VORFile &file) override;
    VORObjectProperties *Clone() const override { return new VORBrowserProperties(*this); }
    void Assign(const VORObjectProperties &other) override;

    uint8_t navigateOnShow = 1;
    VORString startUrl;
    uint8_t askToConnect = 0;
    // 0: the frame is drawn in white, one pixel beyond the client area.
    uint8_t frame = 1;
    uint8_t statusBand = 1;
    int32_t resolveMode = 0;
    uint8_t systemBrowserFallback = 0;
  };

  // The container's IDispatch, made by class id; replaceable for tests.
  using ContainerFactory = IDispatch *(*)();
  static ContainerFactory SetContainerFactory(ContainerFactory factory);
  // The container's class identifier, as text.
  static constexpr const char *kContainerClassId = "{5E0B1A72-9C4D-4F8B-A6E3-2D71C08B4F15}";

  VORBrowser(uint32_t classKey, int32_t id);
  // The object copy; no window, component or run-time state.
  VORBrowser(const VORBrowser &other);
  ~VORBrowser() override;

  VORBrowserProperties &GetBrowserProperties();

  void EnterPage(VORPageInstance &instance, bool visible) override;
  void OnPageShown() override;
  void LeavePage(bool visible) override;
  void Show(int32_t depth) override;
  void Hide(int32_t depth) override;
  void DrawInto(const VORRect &rect, DrawingContext &context) override;
  void SetRect(const VORRect &rect) override;
  bool ReceiveAction(VORObjectAction &action, ActionContext &context) override;

  // Creates the container in the child window and finds the browser; false
  // (with the "not available" text in the window) when any step fails.
  bool Attach();
  // The band's text height; 0 without a band.
  int32_t PaintStatus();

  bool IsAttached() const { return m_attached; }
  int32_t GetBusy() const { return m_busy; }
  HWND__ *GetChildWindow() const { return m_childWindow; }
  HWND__ *GetControlWindow() const { return m_controlWindow; }
  // The text last written across the pane, and in its band, for tests.
  const std::string &GetPaneText() const { return m_paneText; }
  const std::string &GetStatusText() const { return m_statusText; }
  bool IsPolling() const { return m_pollPending; }

private:
  class BrowserChildWindowCallback : public VORRunView::ChildWindowCallback {
  public:
    bool OnChildWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // The window it serves; the pane draws outside WM_PAINT, which only
    // validates.
    HWND__ *window = nullptr;
  };

  VORRunView *InteractiveRunView() const;
  void Navigate(const VORBrowserAction &action);
  void Command(const char *name, bool attachFirst);
  void Poll();
  void StartPolling();
  void PostOperation(int32_t operation, uint32_t delay, int32_t resolveMode);
  void ShowText(const char *text);
  void PlacePane();
  void PlaceControl();
  void Release();
  void OpenInSystemBrowser(const std::string &address);

  HWND__ *m_childWindow = nullptr;
  HWND__ *m_controlWindow = nullptr;
  IDispatch *m_container = nullptr;
  IDispatch *m_browser = nullptr;
  bool m_attached = false;
  int32_t m_busy = kIdle;
  int32_t m_paintedStatus = kForceRepaint;
  int32_t m_busyId = kBusyIdUnknown;
  VORPageInstance *m_pageInstance = nullptr;
  BrowserChildWindowCallback m_callback;
  // One poll at a time is queued, however many operations start polling.
  bool m_pollPending = false;
  std::string m_paneText;
  std::string m_statusText;
};

// The player form, which can also take a rectangle into its fields alone.
class VORPlayerBrowser : public VORPlayerForm<VORBrowser, VORBrowser::VORBrowserProperties> {
public:
  VORPlayerBrowser(uint32_t classKey, int32_t id) : VORPlayerForm(classKey, id) {}
  VORPlayerBrowser(const VORPlayerBrowser &other) = default;
  ~VORPlayerBrowser() override;

  static VORCodedObject *Create(uint32_t classKey, int32_t id) {
    return static_cast<VORCodedObject *>(new VORPlayerBrowser(classKey, id));
  }
  VORPageMember *Clone() const override { return new VORPlayerBrowser(*this); }

  // Stores the rectangle and nothing else: the pane and the control stay
  // where they are until the object is moved.
  using VORGraphicalObject::StoreRect;
};
