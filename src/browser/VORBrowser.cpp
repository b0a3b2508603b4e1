#include "browser/VORBrowser.h"

#include <windows.h>

#include <oleauto.h>

#include <cstring>
#include <memory>
#include <string>

#include "browser/BrowserAddress.h"
#include "engine/SystemBrowser.h"
#include "engine/VORLaunchManager.h"
#include "engine/Win32LaunchPlatform.h"
#include "foundation/SystemLibrary.h"
#include "foundation/XQMessageBox.h"
#include "model/ActionContext.h"
#include "model/VORApp.h"
#include "model/VORBrowserAction.h"
#include "model/VORPublication.h"
#include "objects/VORRecordForm.h"

namespace {

const PlayerFormRegistration kBrowser(VORBrowser::kCategory, VORBrowser::kCode, VORPlayerBrowser::Create);

// The locale every call passes (LOCALE_SYSTEM_DEFAULT).
constexpr LCID kLocale = 0x800;
constexpr int kStatusGap = 2;

// OLE and OLE Automation are loaded at their first use, not with the
// program.
SystemLibrary &Ole32() {
  static SystemLibrary ole32("ole32.dll");
  return ole32;
}

SystemLibrary &OleAutomation() {
  static SystemLibrary oleaut32("oleaut32.dll");
  return oleaut32;
}

VARIANT EmptyVariant() {
  VARIANT value;
  std::memset(&value, 0, sizeof value);
  value.vt = VT_EMPTY;
  return value;
}

void ClearVariant(VARIANT &value) {
  if (auto clear = OleAutomation().Find<HRESULT(WINAPI *)(VARIANTARG *)>("VariantClear"))
    clear(&value);
  value.vt = VT_EMPTY;
}

// The value as a 32-bit integer; false when it is none.
bool IntegerOf(const VARIANT &value, LONG &integer) {
  using ChangeType = HRESULT(WINAPI *)(VARIANTARG *, const VARIANTARG *, USHORT, VARTYPE);
  auto change = OleAutomation().Find<ChangeType>("VariantChangeType");
  VARIANT converted = EmptyVariant();
  if (!change || FAILED(change(&converted, &value, 0, VT_I4)))
    return false;
  integer = converted.lVal;
  return true;
}

BSTR AllocateString(const std::wstring &text) {
  auto allocate = OleAutomation().Find<BSTR(WINAPI *)(const OLECHAR *, UINT)>("SysAllocStringLen");
  return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

IDispatch *CreateContainer() {
  using FromString = HRESULT(WINAPI *)(LPCOLESTR, LPCLSID);
  using CreateInstance = HRESULT(WINAPI *)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *);
  auto fromString = Ole32().Find<FromString>("CLSIDFromString");
  auto create = Ole32().Find<CreateInstance>("CoCreateInstance");
  if (!fromString || !create)
    return nullptr;
  const std::string classText(VORBrowser::kContainerClassId);
  const std::wstring text(classText.begin(), classText.end());
  CLSID classId;
  if (FAILED(fromString(text.c_str(), &classId)))
    return nullptr;
  IDispatch *container = nullptr;
  if (FAILED(create(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void **>(&container))))
    return nullptr;
  return container;
}

VORBrowser::ContainerFactory g_containerFactory = CreateContainer;

// Texts of any length as wide strings (the system's code page).
std::wstring Wide(const std::string &text) {
  if (text.empty())
    return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

bool LookUp(IDispatch *target, const char *name, DISPID &id) {
  if (!target)
    return false;
  std::wstring wide = Wide(name);
  LPOLESTR names[] = {&wide[0]};
  return SUCCEEDED(target->GetIDsOfNames(IID_NULL, names, 1, kLocale, &id));
}

bool Call(IDispatch *target, DISPID id, WORD flags, VARIANT *arguments, UINT count, VARIANT *result) {
  DISPPARAMS parameters = {arguments, nullptr, count, 0};
  return SUCCEEDED(target->Invoke(id, IID_NULL, kLocale, flags, &parameters, result, nullptr, nullptr));
}

bool CallByName(IDispatch *target, const char *name, WORD flags, VARIANT *arguments, UINT count, VARIANT *result) {
  DISPID id = 0;
  return LookUp(target, name, id) && Call(target, id, flags, arguments, count, result);
}

// A window handle as the container passes it: any integer variant.
bool HandleOf(const VARIANT &value, HWND &window) {
  LONG integer = 0;
  if (!IntegerOf(value, integer))
    return false;
  window = reinterpret_cast<HWND>(static_cast<intptr_t>(integer));
  return window != nullptr;
}

} // namespace

VORBrowser::ContainerFactory VORBrowser::SetContainerFactory(ContainerFactory factory) {
  ContainerFactory previous = g_containerFactory;
  g_containerFactory = factory ? factory : CreateContainer;
  return previous;
}

VORBrowser::VORBrowser(uint32_t classKey, int32_t id) : VORGraphicalObject(classKey, id) {}

VORBrowser::VORBrowser(const VORBrowser &other) : VORGraphicalObject(other) {}

VORPlayerBrowser::~VORPlayerBrowser() = default;

VORBrowser::~VORBrowser() { Release(); }

VORBrowser::VORBrowserProperties &VORBrowser::GetBrowserProperties() {
  return static_cast<VORBrowserProperties &>(*GetProperties());
}

bool VORBrowser::BrowserChildWindowCallback::OnChildWindowMessage(uint32_t message, uintptr_t, intptr_t) {
  if (message != WM_PAINT)
    return false;
  if (window)
    ValidateRect(window, nullptr);
  return true;
}

VORRunView *VORBrowser::InteractiveRunView() const {
  VORView *view = GetView();
  return view && view->IsInteractive() ? view->AsRunView() : nullptr;
}

void VORBrowser::EnterPage(VORPageInstance &instance, bool visible) {
  VORGraphicalObject::EnterPage(instance, visible);
  m_pageInstance = &instance;
  m_pollPending = false;
  m_busy = kIdle;
  m_paintedStatus = kForceRepaint;
  VORRunView *view = InteractiveRunView();
  if (!view)
    return;
  VORRunView::WindowHandle window = nullptr;
  if (!view->CreateChildWindow(GetRect(), m_callback, window) || !window)
    return;
  m_childWindow = window;
  m_callback.window = window;
  Attach();
}

void VORBrowser::OnPageShown() {
  VORGraphicalObject::OnPageShown();
  if (!InteractiveRunView() || !m_childWindow)
    return;
  HWND window = m_childWindow;
  if (IsVisible())
    ShowWindow(window, SW_SHOWNORMAL);
  PlacePane();
  const VORBrowserProperties &properties = GetBrowserProperties();
  RECT client;
  GetClientRect(window, &client);
  if (properties.frame == 0)
    InflateRect(&client, 1, 1);
  if (HDC dc = GetDC(window)) {
    HPEN pen = CreatePen(PS_SOLID, 1, properties.frame == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_MENU));
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(window, dc);
  }
  m_busy = kConnecting;
  PaintStatus();
  if (properties.navigateOnShow && !properties.startUrl.IsEmpty()) {
    PostOperation(kNavigate, 0, properties.resolveMode);
    m_busy = kConnecting;
    PaintStatus();
    StartPolling();
  } else {
    m_busy = kIdle;
    PaintStatus();
  }
}

void VORBrowser::LeavePage(bool visible) {
  if (VORRunView *view = InteractiveRunView())
    if (m_childWindow)
      view->DestroyChildWindow(m_callback);
  m_childWindow = nullptr;
  m_callback.window = nullptr;
  Release();
  VORGraphicalObject::LeavePage(visible);
  m_pageInstance = nullptr;
  m_pollPending = false;
}

void VORBrowser::Release() {
  // The browser's IDispatch came with a reference of its own.
  if (m_browser)
    m_browser->Release();
  if (m_container)
    m_container->Release();
  m_browser = nullptr;
  m_container = nullptr;
  m_controlWindow = nullptr;
  m_attached = false;
  m_busyId = kBusyIdUnknown;
}

void VORBrowser::Show(int32_t depth) {
  if (m_childWindow)
    ShowWindow(m_childWindow, SW_SHOWNORMAL);
  VORGraphicalObject::Show(depth);
}

void VORBrowser::Hide(int32_t depth) {
  if (m_childWindow)
    ShowWindow(m_childWindow, SW_HIDE);
  VORGraphicalObject::Hide(depth);
  if (!m_childWindow)
    return;
  HWND parent = ::GetParent(m_childWindow);
  RECT area;
  GetWindowRect(m_childWindow, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&area), 2);
  InvalidateRect(parent, &area, TRUE);
}

void VORBrowser::DrawInto(const VORRect &rect, DrawingContext &context) {
  VORGraphicalObject::DrawInto(rect, context);
  if (!m_childWindow || !InteractiveRunView())
    return;
  RECT client;
  GetClientRect(m_childWindow, &client);
  if (HDC dc = GetDC(m_childWindow)) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(m_childWindow, dc);
  }
}

void VORBrowser::SetRect(const VORRect &rect) {
  VORGraphicalObject::SetRect(rect);
  if (!m_childWindow)
    return;
  PlacePane();
  m_paintedStatus = kForceRepaint;
}

// The view puts the pane over the object where the page shows now: a
// centred or scrolled page lies off the client area's corner.
void VORBrowser::PlacePane() {
  VORRunView *view = InteractiveRunView();
  if (!m_childWindow || !view)
    return;
  view->MoveChildWindow(m_callback, GetRect());
  PlaceControl();
}

void VORBrowser::PlaceControl() {
  if (!m_controlWindow)
    return;
  const VORRect rect = GetRect();
  int32_t height = rect.Height();
  if (GetBrowserProperties().statusBand)
    height -= PaintStatus() + kStatusGap;
  MoveWindow(m_controlWindow, 0, 0, rect.Width(), height > 0 ? height : 0, TRUE);
}

bool VORBrowser::Attach() {
  if (!m_childWindow)
    return false;
  Release();
  m_container = g_containerFactory();
  VARIANT handle = EmptyVariant();
  handle.vt = VT_I4;
  handle.lVal = static_cast<LONG>(reinterpret_cast<intptr_t>(m_childWindow));
  bool attached = m_container && CallByName(m_container, "AttachToWebInterface", DISPATCH_METHOD, &handle, 1, nullptr);
  VARIANT browser = EmptyVariant();
  attached = attached && CallByName(m_container, "GetWebDispatchPtr", DISPATCH_PROPERTYGET, nullptr, 0, &browser);
  if (attached && browser.vt == VT_DISPATCH && browser.pdispVal) {
    m_browser = browser.pdispVal; // the variant's reference becomes ours
  } else {
    ClearVariant(browser);
    attached = false;
  }
  VARIANT window = EmptyVariant();
  HWND control = nullptr;
  attached = attached && CallByName(m_container, "m_HWND", DISPATCH_PROPERTYGET, nullptr, 0, &window) &&
             HandleOf(window, control);
  ClearVariant(window);
  if (!attached) {
    Release();
    ShowText(kNotAvailableText);
    return false;
  }
  m_controlWindow = control;
  PlaceControl();
  m_attached = true;
  return true;
}

void VORBrowser::ShowText(const char *text) {
  m_paneText = text;
  if (!m_childWindow)
    return;
  RECT client;
  GetClientRect(m_childWindow, &client);
  if (HDC dc = GetDC(m_childWindow)) {
    DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    ReleaseDC(m_childWindow, dc);
  }
}

int32_t VORBrowser::PaintStatus() {
  if (!GetBrowserProperties().statusBand || !m_childWindow)
    return 0;
  HDC dc = GetDC(m_childWindow);
  if (!dc)
    return 0;
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  const int32_t textHeight = metrics.tmHeight;
  if (m_busy != m_paintedStatus) {
    const char *text = m_busy == kIdle ? kIdleText : kConnectingText;
    RECT client;
    GetClientRect(m_childWindow, &client);
    RECT band = {client.left, client.bottom - textHeight - kStatusGap, client.right, client.bottom};
    FillRect(dc, &band, GetSysColorBrush(COLOR_MENU));
    SetBkColor(dc, GetSysColor(COLOR_MENU));
    RECT line = {band.left + 1, band.top, band.right, band.bottom};
    DrawTextA(dc, text, -1, &line, DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
    m_paintedStatus = m_busy;
    m_statusText = text;
  }
  ReleaseDC(m_childWindow, dc);
  return textHeight;
}

bool VORBrowser::ReceiveAction(VORObjectAction &action, ActionContext &context) {
  auto *browserAction = dynamic_cast<VORBrowserAction *>(&action);
  if (!browserAction || action.GetActionCode() != kBrowserActionCode)
    return VORGraphicalObject::ReceiveAction(action, context);
  const int32_t operation = static_cast<int8_t>(browserAction->operation);
  switch (operation) {
  case kNavigate:
  case kNavigateToVariable:
    Navigate(*browserAction);
    break;
  case kStop:
    Command("Stop", false);
    break;
  case kGoBack:
    Command("GoBack", false);
    break;
  case kGoForward:
    Command("GoForward", false);
    break;
  case kGoHome:
    Command("GoHome", true);
    break;
  case kPoll:
    Poll();
    break;
  default:
    break;
  }
  return true;
}

void VORBrowser::Navigate(const VORBrowserAction &action) {
  std::string address(action.text.CStr(), action.text.GetLength());
  if (action.operation == kNavigateToVariable) {
    VORApp *app = VORApp::Get();
    if (!app)
      return;
    const XQString value = app->GetVariableValue(action.text);
    address.assign(value.CStr(), value.GetLength());
    if (address.empty())
      return;
  }
  const VORBrowserProperties &properties = GetBrowserProperties();
  if (address.empty())
    address.assign(properties.startUrl.CStr(), properties.startUrl.GetLength());
  if (address.empty())
    return;
  VORApp *app = VORApp::Get();
  std::string resolved;
  if (!BrowserAddress::Resolve(address, action.resolveMode, app ? app->GetFileManager() : nullptr, resolved))
    return;
  if (properties.askToConnect && app && !app->ConfirmInternetConnection())
    return;
  if (!m_attached && !Attach()) {
    if (properties.systemBrowserFallback)
      OpenInSystemBrowser(resolved);
    return;
  }
  m_busy = kConnecting;
  PaintStatus();
  StartPolling();
  DISPID id = 0;
  if (!LookUp(m_browser, "Navigate", id)) {
    XQMessageBox::Show(nullptr, "GetIDsOfNames fail", "Browser Error", MB_OK);
    return;
  }
  const std::wstring wide = Wide(resolved);
  VARIANT argument = EmptyVariant();
  argument.vt = VT_BSTR;
  argument.bstrVal = AllocateString(wide);
  if (argument.bstrVal)
    Call(m_browser, id, DISPATCH_METHOD, &argument, 1, nullptr);
  ClearVariant(argument);
}

void VORBrowser::Command(const char *name, bool attachFirst) {
  if (!m_attached && (!attachFirst || !Attach()))
    return;
  m_busy = kConnecting;
  PaintStatus();
  StartPolling();
  CallByName(m_browser, name, DISPATCH_METHOD, nullptr, 0, nullptr);
}

void VORBrowser::StartPolling() {
  if (m_pollPending)
    return;
  m_pollPending = true;
  PostOperation(kPoll, kPollDelayMs, 0);
}

void VORBrowser::Poll() {
  m_pollPending = false;
  // Without a browser there is nothing to ask: the chain ends.
  if (!m_attached || !m_browser)
    return;
  if (m_busyId == kBusyIdUnknown) {
    DISPID id = 0;
    if (!LookUp(m_browser, "Busy", id))
      return;
    m_busyId = id;
  }
  VARIANT busy = EmptyVariant();
  LONG value = 0;
  if (Call(m_browser, m_busyId, DISPATCH_PROPERTYGET, nullptr, 0, &busy) && IntegerOf(busy, value))
    m_busy = value != 0 ? kConnecting : kIdle;
  ClearVariant(busy);
  PaintStatus();
  StartPolling();
}

void VORBrowser::PostOperation(int32_t operation, uint32_t delay, int32_t resolveMode) {
  VORApp *app = VORApp::Get();
  if (!app)
    return;
  auto action = std::make_unique<VORBrowserAction>(VORBrowserAction::kClassKey, 0);
  action->SetActionCode(kBrowserActionCode);
  action->SetTarget(GetObjectCode());
  action->SetOriginObject(GetViewReference());
  action->SetOriginPage(GetPageReference());
  action->operation = static_cast<uint8_t>(operation);
  action->resolveMode = static_cast<uint8_t>(resolveMode);
  app->ScheduleAction(delay, action.release(), nullptr);
}

void VORBrowser::OpenInSystemBrowser(const std::string &address) {
  VORApp *app = VORApp::Get();
  VORPublication *publication = app ? app->GetPublication() : nullptr;
  if (auto *manager = dynamic_cast<VORLaunchManager *>(publication ? publication->GetLaunchManager() : nullptr)) {
    SystemBrowser::Open(manager->GetPlatform(), address);
    return;
  }
  Win32LaunchPlatform platform;
  SystemBrowser::Open(platform, address);
}
