// The JV-Link control through COM automation. The control is a 32-bit
// in-process server: a 32-bit process loads it, a 64-bit one reaches it in
// COM's surrogate process (README, "Windows"); either way it is called on
// the thread that created it (the window thread). Calls are late-bound: each
// method's DISPID is looked up once by name, and arguments go through
// IDispatch::Invoke, the out-parameters as VARIANTs by reference, as the
// control expects them.
#include "jvlink/JVLinkWin32.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace furlong {

namespace {

constexpr const wchar_t* kProgId = L"JVDTLab.JVLink";
constexpr UINT kShiftJis = 932;

// Shift-JIS (ASCII in practice) -> a new BSTR; the caller frees it.
BSTR ToBstr(std::string_view sjis) {
  if (sjis.empty()) return SysAllocStringLen(L"", 0);
  int n = MultiByteToWideChar(kShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0));
  if (out && n > 0) MultiByteToWideChar(kShiftJis, 0, sjis.data(), static_cast<int>(sjis.size()), out, n);
  return out;
}

// A BSTR's text as Shift-JIS bytes. NUL characters that pad the end of the
// string are not part of the text.
std::string FromBstr(BSTR text) {
  if (!text) return {};
  UINT length = SysStringLen(text);
  while (length > 0 && text[length - 1] == L'\0') --length;
  if (length == 0) return {};
  int n = WideCharToMultiByte(kShiftJis, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

// A BSTR owned for the length of one call.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view sjis) : value_(ToBstr(sjis)) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }
  BSTR* address() { return &value_; }

 private:
  BSTR value_ = nullptr;
};

VARIANT ByValue(BSTR text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = text;
  return v;
}

VARIANT OfType(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  return v;
}

VARIANT ByValue(LONG value) {
  VARIANT v = OfType(VT_I4);
  v.lVal = value;
  return v;
}

VARIANT ByRef(LONG* value) {
  VARIANT v = OfType(VT_I4 | VT_BYREF);
  v.plVal = value;
  return v;
}

VARIANT ByRef(BSTR* text) {
  VARIANT v = OfType(VT_BSTR | VT_BYREF);
  v.pbstrVal = text;
  return v;
}

class JVLinkControl final : public JVLink {
 public:
  JVLinkControl() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE: COM was already initialised on this thread, which still needs
    // the matching CoUninitialize. RPC_E_CHANGED_MODE: initialised otherwise
    // by someone else; use it as it is.
    comInitialised_ = SUCCEEDED(hr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) throw JVLinkUnavailable("COM could not be initialised");
    CLSID clsid;
    hr = CLSIDFromProgID(kProgId, &clsid);
    if (SUCCEEDED(hr))
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&dispatch_));
#ifdef _WIN64
    // A 64-bit program cannot load the 32-bit control: it reaches it in COM's
    // surrogate process, through the control's 32-bit registration.
    if (SUCCEEDED(CLSIDFromProgID(kProgId, &clsid)) && FAILED(hr))
      hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_ACTIVATE_32_BIT_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&dispatch_));
#endif
    if (FAILED(hr) || !dispatch_) {
      dispatch_ = nullptr;
      if (comInitialised_) CoUninitialize();
      throw JVLinkUnavailable("the JV-Link control (JVDTLab.JVLink) could not be created");
    }
  }

  ~JVLinkControl() override {
    if (dispatch_) dispatch_->Release();
    if (comInitialised_) CoUninitialize();
  }

  JVLinkControl(const JVLinkControl&) = delete;
  JVLinkControl& operator=(const JVLinkControl&) = delete;

  int JVInit(std::string_view softwareId) override {
    Bstr sid(softwareId);
    VARIANT args[] = {ByValue(sid.get())};
    return CallMethod(L"JVInit", args, 1);
  }

  std::string Version() override {
    DISPID id;
    if (!Lookup(L"m_JVLinkVersion", id)) return {};
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = Invoke(id, DISPATCH_PROPERTYGET, params, result);
    std::string text;
    if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR))) text = FromBstr(result.bstrVal);
    VariantClear(&result);
    return text;
  }

  int JVSetUIProperties() override { return CallMethod(L"JVSetUIProperties", nullptr, 0); }

  int JVOpen(std::string_view dataSpec, std::string_view fromTime, int option, int& readCount, int& downloadCount,
             std::string& lastFileTimestamp) override {
    Bstr spec(dataSpec), from(fromTime), last;
    LONG reads = 0, downloads = 0;
    // IDispatch takes the arguments last first.
    VARIANT args[] = {ByRef(last.address()), ByRef(&downloads), ByRef(&reads), ByValue(static_cast<LONG>(option)),
                      ByValue(from.get()), ByValue(spec.get())};
    int code = CallMethod(L"JVOpen", args, 6);
    readCount = static_cast<int>(reads);
    downloadCount = static_cast<int>(downloads);
    lastFileTimestamp = FromBstr(last.get());
    return code;
  }

  int JVStatus() override { return CallMethod(L"JVStatus", nullptr, 0); }

  int JVRead(std::string& record, std::string& fileName, int bufferSize) override {
    Bstr buffer, name;
    LONG size = bufferSize;
    VARIANT args[] = {ByRef(name.address()), ByRef(&size), ByRef(buffer.address())};
    int code = CallMethod(L"JVRead", args, 3);
    // Columns count bytes of the Shift-JIS text, so the record is converted
    // before anyone looks at it.
    record = FromBstr(buffer.get());
    fileName = FromBstr(name.get());
    if (code > 0) {
      if (record.size() > static_cast<std::size_t>(code)) record.resize(static_cast<std::size_t>(code));
      if (!record.empty()) code = static_cast<int>(record.size());
    } else {
      record.clear();
    }
    return code;
  }

  int JVCancel() override { return CallMethod(L"JVCancel", nullptr, 0); }

  int JVClose() override { return CallMethod(L"JVClose", nullptr, 0); }

  int JVRTOpen(std::string_view dataSpec, std::string_view key) override {
    Bstr spec(dataSpec), k(key);
    VARIANT args[] = {ByValue(k.get()), ByValue(spec.get())};
    return CallMethod(L"JVRTOpen", args, 2);
  }

 private:
  bool Lookup(const wchar_t* name, DISPID& id) {
    auto found = ids_.find(name);
    if (found != ids_.end()) {
      id = found->second;
      return true;
    }
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    ids_.emplace(name, id);
    return true;
  }

  HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS& params, VARIANT& result) {
    EXCEPINFO exception{};
    UINT badArgument = 0;
    HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &exception,
                                   &badArgument);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
  }

  // Calls a method that returns a 32-bit result code. A call that COM itself
  // cannot make gives its HRESULT, a negative number no result code uses.
  int CallMethod(const wchar_t* name, VARIANT* args, UINT count) {
    DISPID id;
    if (!Lookup(name, id)) return static_cast<int>(DISP_E_UNKNOWNNAME);
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = Invoke(id, DISPATCH_METHOD, params, result);
    int code = static_cast<int>(hr);
    if (SUCCEEDED(hr)) {
      code = 0;
      if (SUCCEEDED(VariantChangeType(&result, &result, 0, VT_I4))) code = static_cast<int>(result.lVal);
    }
    VariantClear(&result);
    return code;
  }

  IDispatch* dispatch_ = nullptr;
  bool comInitialised_ = false;
  std::map<std::wstring, DISPID> ids_;
};

}  // namespace

std::unique_ptr<JVLink> CreateJVLinkControl() { return std::make_unique<JVLinkControl>(); }

bool JVLinkControlInstalled() {
  try {
    JVLinkControl probe;
    return true;
  } catch (const JVLinkUnavailable&) {
    return false;
  }
}

}  // namespace furlong
