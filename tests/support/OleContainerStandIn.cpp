// Stands in for the OLE container component in tests: an in-process COM
// server of the container's class id whose automation object attaches a
// fake browser to a window. The browser shows the address it was sent in
// its window, logs every call to the file VOR_LAUNCH_LOG names, and is
// busy for two polls after each command. DllRegisterServer enters the
// class in the registry, pointing at this file.
#include <windows.h>

#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>
#include <string>

// The system's interfaces have no virtual destructors: objects are let go
// through Release, never deleted through the interface.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace {

constexpr const char *kClassId = "{5E0B1A72-9C4D-4F8B-A6E3-2D71C08B4F15}";
constexpr int kBusyPolls = 2;
HMODULE g_module = nullptr;
LONG g_objects = 0;

void Log(const std::string &line) {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("VOR_LAUNCH_LOG", path, sizeof path);
  if (length == 0 || length >= sizeof path)
    return;
  if (FILE *log = std::fopen(path, "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

std::string Narrow(const wchar_t *text, UINT length) {
  std::string narrow(length * 2 + 1, '\0');
  const int written = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &narrow[0],
                                          static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return narrow;
}

// An automation object whose names are its table's; ids are positions + 1.
class Dispatch : public IDispatch {
public:
  Dispatch(const char *const *names, int count) : m_names(names), m_count(count) { InterlockedIncrement(&g_objects); }
  virtual ~Dispatch() { InterlockedDecrement(&g_objects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch *>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
      delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override {
    if (count != 1)
      return DISP_E_UNKNOWNNAME;
    const std::string name = Narrow(names[0], static_cast<UINT>(wcslen(names[0])));
    for (int i = 0; i < m_count; ++i)
      if (name == m_names[i]) {
        ids[0] = i + 1;
        return S_OK;
      }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *,
                                   UINT *) override {
    if (id < 1 || id > m_count)
      return DISP_E_MEMBERNOTFOUND;
    return Call(m_names[id - 1], parameters, result);
  }

protected:
  virtual HRESULT Call(const std::string &name, DISPPARAMS *parameters, VARIANT *result) = 0;

private:
  const char *const *m_names;
  int m_count;
  LONG m_references = 1;
};

const char *const kBrowserNames[] = {"Navigate", "Stop", "GoBack", "GoForward", "GoHome", "Busy"};

class Browser : public Dispatch {
public:
  Browser() : Dispatch(kBrowserNames, 6) {}
  HWND window = nullptr;

protected:
  HRESULT Call(const std::string &name, DISPPARAMS *parameters, VARIANT *result) override {
    if (name == "Busy") {
      if (result) {
        result->vt = VT_BOOL;
        result->boolVal = m_busy > 0 ? VARIANT_TRUE : VARIANT_FALSE;
      }
      Log(m_busy > 0 ? "Busy 1" : "Busy 0");
      if (m_busy > 0)
        --m_busy;
      return S_OK;
    }
    std::string line = name;
    if (name == "Navigate") {
      if (!parameters || parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_BSTR)
        return DISP_E_TYPEMISMATCH;
      const BSTR address = parameters->rgvarg[0].bstrVal;
      const std::string text = Narrow(address, SysStringLen(address));
      line += " " + text;
      SetWindowTextA(window, text.c_str());
    }
    Log(line);
    m_busy = kBusyPolls;
    return S_OK;
  }

private:
  int m_busy = 0;
};

const char *const kContainerNames[] = {"AttachToWebInterface", "GetWebDispatchPtr", "m_HWND"};

class Container : public Dispatch {
public:
  Container() : Dispatch(kContainerNames, 3) {}
  ~Container() override {
    if (m_browser)
      m_browser->Release();
  }

protected:
  HRESULT Call(const std::string &name, DISPPARAMS *parameters, VARIANT *result) override {
    Log(name);
    if (name == "AttachToWebInterface") {
      if (!parameters || parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_I4)
        return DISP_E_TYPEMISMATCH;
      HWND pane = reinterpret_cast<HWND>(static_cast<intptr_t>(parameters->rgvarg[0].lVal));
      m_window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 10, 10, pane, nullptr,
                                 g_module, nullptr);
      if (!m_window)
        return E_FAIL;
      m_browser = new Browser();
      m_browser->window = m_window;
      return S_OK;
    }
    if (!result || !m_browser)
      return E_FAIL;
    if (name == "GetWebDispatchPtr") {
      m_browser->AddRef();
      result->vt = VT_DISPATCH;
      result->pdispVal = m_browser;
      return S_OK;
    }
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(reinterpret_cast<intptr_t>(m_window));
    return S_OK;
  }

private:
  HWND m_window = nullptr;
  Browser *m_browser = nullptr;
};

class Factory : public IClassFactory {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *object = static_cast<IClassFactory *>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override {
    if (outer)
      return CLASS_E_NOAGGREGATION;
    Container *container = new Container();
    const HRESULT result = container->QueryInterface(riid, object);
    container->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

CLSID ClassId() {
  CLSID id = {};
  wchar_t text[64] = {};
  MultiByteToWideChar(CP_ACP, 0, kClassId, -1, text, 64);
  CLSIDFromString(text, &id);
  return id;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH)
    g_module = instance;
  return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID riid, void **object) {
  if (!IsEqualCLSID(classId, ClassId()))
    return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, object);
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

__declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_module, path, sizeof path);
  const std::string key = std::string("CLSID\\") + kClassId + "\\InprocServer32";
  HKEY server = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr) !=
      ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  RegSetValueExA(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(path),
                 static_cast<DWORD>(strlen(path) + 1));
  const char threading[] = "Apartment";
  RegSetValueExA(server, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE *>(threading), sizeof threading);
  RegCloseKey(server);
  Log("DllRegisterServer");
  return S_OK;
}

} // extern "C"
