// A stand-in for the JV-Link control as a COM in-process server: it answers
// to the control's ProgID "JVDTLab.JVLink" with the automation methods the
// program calls and serves a feed folder (docs/jvlink-feed.md) through the
// feed stand-in, so that the program's COM path (JVLinkWin32.cpp) runs
// end to end without the service. For test machines and private Wine
// prefixes only: registering it takes the ProgID from a real control.
//
//   regsvr32 jvlink-standin.dll          registers it (regsvr32 /u removes it)
//   JVLINK_STANDIN_FEED=<folder>         the feed folder it serves (its faults.txt injects results)
//   JVLINK_STANDIN_VERSION=0480          the version property (default 0490)
#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "jvlink/JVLinkStandIn.h"

namespace {

// {9C2A6D41-5B0E-4F3A-8E61-3F0B7A1C2D55}: the stand-in's own class id; the
// ProgID points at it.
constexpr CLSID kStandInClsid = {0x9c2a6d41, 0x5b0e, 0x4f3a, {0x8e, 0x61, 0x3f, 0x0b, 0x7a, 0x1c, 0x2d, 0x55}};
constexpr const wchar_t* kClsidText = L"{9C2A6D41-5B0E-4F3A-8E61-3F0B7A1C2D55}";
constexpr const wchar_t* kProgId = L"JVDTLab.JVLink";
constexpr UINT kShiftJis = 932;

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

enum Dispid : DISPID {
  kInit = 1,
  kSetUIProperties,
  kOpen,
  kStatus,
  kRead,
  kCancel,
  kClose,
  kRTOpen,
  kVersion,
};

struct Member {
  const wchar_t* name;
  DISPID id;
};
constexpr Member kMembers[] = {{L"JVInit", kInit},   {L"JVSetUIProperties", kSetUIProperties},
                               {L"JVOpen", kOpen},   {L"JVStatus", kStatus},
                               {L"JVRead", kRead},   {L"JVCancel", kCancel},
                               {L"JVClose", kClose}, {L"JVRTOpen", kRTOpen},
                               {L"m_JVLinkVersion", kVersion}};

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[32768];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
  return n > 0 && n < 32768 ? std::wstring(buffer, n) : std::wstring();
}

BSTR ToBstr(const std::string& sjis) {
  const int n = sjis.empty() ? 0
                             : MultiByteToWideChar(kShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (out && n > 0) MultiByteToWideChar(kShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), out, n);
  return out;
}

std::string FromBstr(BSTR text) {
  if (!text) return {};
  const int length = static_cast<int>(SysStringLen(text));
  const int n = WideCharToMultiByte(kShiftJis, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(kShiftJis, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// Argument i of a call, counted from the first (IDispatch hands them over
// last first).
VARIANT* Argument(DISPPARAMS* params, UINT i) { return &params->rgvarg[params->cArgs - 1 - i]; }

HRESULT TextArgument(DISPPARAMS* params, UINT i, std::string& out) {
  VARIANT v;
  VariantInit(&v);
  HRESULT hr = VariantChangeType(&v, Argument(params, i), 0, VT_BSTR);
  if (SUCCEEDED(hr)) out = FromBstr(v.bstrVal);
  VariantClear(&v);
  return hr;
}

HRESULT NumberArgument(DISPPARAMS* params, UINT i, long& out) {
  VARIANT v;
  VariantInit(&v);
  HRESULT hr = VariantChangeType(&v, Argument(params, i), 0, VT_I4);
  if (SUCCEEDED(hr)) out = v.lVal;
  VariantClear(&v);
  return hr;
}

// Writes an out-parameter passed by reference (as a long or a BSTR, or as a
// VARIANT holding either).
HRESULT SetNumber(VARIANT* target, long value) {
  if (target->vt == (VT_I4 | VT_BYREF)) {
    *target->plVal = value;
  } else if (target->vt == (VT_VARIANT | VT_BYREF)) {
    VariantClear(target->pvarVal);
    target->pvarVal->vt = VT_I4;
    target->pvarVal->lVal = value;
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT SetText(VARIANT* target, const std::string& sjis) {
  if (target->vt == (VT_BSTR | VT_BYREF)) {
    SysFreeString(*target->pbstrVal);
    *target->pbstrVal = ToBstr(sjis);
  } else if (target->vt == (VT_VARIANT | VT_BYREF)) {
    VariantClear(target->pvarVal);
    target->pvarVal->vt = VT_BSTR;
    target->pvarVal->bstrVal = ToBstr(sjis);
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

class StandInControl final : public IDispatch {
 public:
  StandInControl() : standIn_(std::filesystem::path(Environment(L"JVLINK_STANDIN_FEED"))) {
    const std::wstring version = Environment(L"JVLINK_STANDIN_VERSION");
    if (!version.empty()) standIn_.SetVersion(std::string(version.begin(), version.end()));
    ++g_objects;
  }
  ~StandInControl() { --g_objects; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const Member& m : kMembers)
        if (i == 0 && lstrcmpiW(names[i], m.name) == 0) ids[i] = m.id;
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (!params) return E_INVALIDARG;
    if (id == kVersion) {
      if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
      if (result) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = ToBstr(standIn_.Version());
      }
      return S_OK;
    }
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    long code = 0;
    HRESULT hr = Call(id, params, code);
    if (SUCCEEDED(hr) && result) {
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = code;
    }
    return hr;
  }

 private:
  static constexpr UINT ArgumentCount(DISPID id) {
    switch (id) {
      case kInit: return 1;
      case kOpen: return 6;
      case kRead: return 3;
      case kRTOpen: return 2;
      default: return 0;
    }
  }

  HRESULT Call(DISPID id, DISPPARAMS* params, long& code) {
    if (id < kInit || id > kRTOpen) return DISP_E_MEMBERNOTFOUND;
    if (params->cArgs != ArgumentCount(id)) return DISP_E_BADPARAMCOUNT;
    std::string a, b;
    long number = 0;
    HRESULT hr = S_OK;
    switch (id) {
      case kInit:
        if (FAILED(hr = TextArgument(params, 0, a))) return hr;
        code = standIn_.JVInit(a);
        return S_OK;
      case kSetUIProperties:
        code = standIn_.JVSetUIProperties();
        return S_OK;
      case kOpen: {
        if (FAILED(hr = TextArgument(params, 0, a)) || FAILED(hr = TextArgument(params, 1, b)) ||
            FAILED(hr = NumberArgument(params, 2, number)))
          return hr;
        int reads = 0, downloads = 0;
        std::string last;
        code = standIn_.JVOpen(a, b, static_cast<int>(number), reads, downloads, last);
        if (FAILED(hr = SetNumber(Argument(params, 3), reads)) || FAILED(hr = SetNumber(Argument(params, 4), downloads)) ||
            FAILED(hr = SetText(Argument(params, 5), last)))
          return hr;
        return S_OK;
      }
      case kStatus:
        code = standIn_.JVStatus();
        return S_OK;
      case kRead: {
        if (FAILED(hr = NumberArgument(params, 1, number))) return hr;
        std::string record, fileName;
        code = standIn_.JVRead(record, fileName, static_cast<int>(number));
        if (FAILED(hr = SetText(Argument(params, 0), record)) || FAILED(hr = SetText(Argument(params, 2), fileName)))
          return hr;
        return S_OK;
      }
      case kCancel:
        code = standIn_.JVCancel();
        return S_OK;
      case kClose:
        code = standIn_.JVClose();
        return S_OK;
      case kRTOpen:
        if (FAILED(hr = TextArgument(params, 0, a)) || FAILED(hr = TextArgument(params, 1, b))) return hr;
        code = standIn_.JVRTOpen(a, b);
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  std::atomic<long> references_{1};
  furlong::JVLinkStandIn standIn_;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    StandInControl* control = new (std::nothrow) StandInControl();
    if (!control) return E_OUTOFMEMORY;
    HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

Factory g_factory;

LONG SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle;
  LONG r = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
  if (r != ERROR_SUCCESS) return r;
  r = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return r;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != kStandInClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
  const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
  if (SetValue(kProgId, nullptr, L"JV-Link stand-in") != ERROR_SUCCESS ||
      SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) != ERROR_SUCCESS ||
      SetValue(clsidKey, nullptr, L"JV-Link stand-in") != ERROR_SUCCESS ||
      SetValue(clsidKey + L"\\ProgID", nullptr, kProgId) != ERROR_SUCCESS ||
      SetValue(clsidKey + L"\\InprocServer32", nullptr, std::wstring(path, n)) != ERROR_SUCCESS ||
      SetValue(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  return S_OK;
}

STDAPI DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsidText).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}

}  // extern "C"
