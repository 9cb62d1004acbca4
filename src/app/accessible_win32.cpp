#include "app/accessible_win32.h"

#include <oleacc.h>

#include <utility>

#include "common/entry_points_win32.h"
#include "common/program_win32.h"
#include "common/text_boundary_win32.h"

namespace tavlin::app {
namespace {

// Spelled out: some import libraries carry a wrong IID_IAccessible.
constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
constexpr IID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIDispatch = {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// Offered beside IAccessible, as the standard object offers it: the window
// behind the object.
constexpr IID kIOleWindow = {0x00000114, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The accessibility library is not on every system the program runs on
// (95 may lack it): looked up the first time a screen reader asks, kept for
// the run.
struct Oleacc {
  decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
};
const Oleacc& OleaccEntries() {
  static const Oleacc entries = [] {
    const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    return Oleacc{TAVLIN_LOOKUP(oleacc, CreateStdAccessibleObject),
                  TAVLIN_LOOKUP(oleacc, LresultFromObject)};
  }();
  return entries;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The child an Invoke of a property or action names: its one argument, or
// the object itself when there is none. False for arguments of another shape,
// which the standard object is left to judge.
bool ChildArgument(const DISPPARAMS* params, VARIANT& child) {
  child = VARIANT{};
  child.vt = VT_I4;
  child.lVal = CHILDID_SELF;
  if (!params || params->cArgs == 0) return true;
  if (params->cArgs != 1 || params->cNamedArgs != 0 || !params->rgvarg) return false;
  const VARIANT& given = params->rgvarg[0];
  if (given.vt == VT_I4)
    child.lVal = given.lVal;
  else if (given.vt == VT_I2)
    child.lVal = given.iVal;
  else if (given.vt != VT_EMPTY && given.vt != VT_ERROR)
    return false;  // VT_ERROR: left out
  return true;
}

VARIANT Long(LONG value) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

// Answers what the standard object answers, but the control's own name,
// description and, for a link, role, value, state and default action. One
// COM object: every interface it hands out is its own, so that asking any of
// them for IUnknown gives the same pointer, and IDispatch reaches the same
// answers as the IAccessible methods.
class Accessible final : public IAccessible, public IOleWindow {
 public:
  Accessible(HWND control, IAccessible* standard, AccessibleFacts facts)
      : control_(control), standard_(standard), facts_(std::move(facts)) {}
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, kIUnknown) || IsEqualIID(riid, kIDispatch) ||
        IsEqualIID(riid, kIAccessible))
      *out = static_cast<IAccessible*>(this);
    else if (IsEqualIID(riid, kIOleWindow))
      *out = static_cast<IOleWindow*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = control_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch: the facts of our own reach a client that asks through Invoke
  // as they reach one that calls the methods; the rest is the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override {
    VARIANT child;
    if (!ChildArgument(params, child))
      return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
    const auto text = [&](HRESULT (STDMETHODCALLTYPE Accessible::*get)(VARIANT, BSTR*)) {
      BSTR b = nullptr;
      const HRESULT hr = (this->*get)(child, result ? &b : nullptr);
      if (SUCCEEDED(hr) && result) {
        result->vt = b ? VT_BSTR : VT_EMPTY;
        result->bstrVal = b;
      }
      return hr;
    };
    switch (id) {
      case DISPID_ACC_NAME:
        return text(&Accessible::get_accName);
      case DISPID_ACC_DESCRIPTION:
        return text(&Accessible::get_accDescription);
      case DISPID_ACC_VALUE:
        if (flags & DISPATCH_PROPERTYPUT) break;
        return text(&Accessible::get_accValue);
      case DISPID_ACC_DEFAULTACTION:
        return text(&Accessible::get_accDefaultAction);
      case DISPID_ACC_ROLE:
        return result ? get_accRole(child, result) : S_OK;
      case DISPID_ACC_STATE:
        return result ? get_accState(child, result) : S_OK;
      case DISPID_ACC_DODEFAULTACTION:
        return accDoDefaultAction(child);
    }
    return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
  }

  // IAccessible: our own facts, the rest as the standard object has it.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || facts_.name.empty()) return standard_->get_accName(child, name);
    return Give(facts_.name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!IsSelf(child) || facts_.description.empty())
      return standard_->get_accDescription(child, description);
    return Give(facts_.description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child) || facts_.kind != AccessibleKind::Link)
      return standard_->get_accValue(child, value);
    return Give(facts_.value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || facts_.kind == AccessibleKind::Standard)
      return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    *role = Long(facts_.kind == AccessibleKind::Link ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT got = standard_->get_accState(child, state);
    if (!IsSelf(child) || facts_.kind == AccessibleKind::Standard || FAILED(got) || !state ||
        state->vt != VT_I4)
      return got;
    // A link or button of ours takes the focus and is not read-only text.
    state->lVal &= ~STATE_SYSTEM_READONLY;
    state->lVal |= STATE_SYSTEM_FOCUSABLE | (::GetFocus() == control_ ? STATE_SYSTEM_FOCUSED : 0) |
                   (facts_.kind == AccessibleKind::Link ? STATE_SYSTEM_LINKED : 0);
    return got;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child) || facts_.kind == AccessibleKind::Standard)
      return standard_->get_accDefaultAction(child, action);
    return Give(facts_.kind == AccessibleKind::Link ? L"Jump" : L"Press", action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || facts_.kind == AccessibleKind::Standard)
      return standard_->accDoDefaultAction(child);
    // As a click does, once the screen reader's call has returned.
    const HWND parent = ::GetParent(control_);
    const WPARAM clicked = MAKEWPARAM(GetDlgCtrlID(control_), STN_CLICKED);
    return parent && win::PostWithoutText(parent, WM_COMMAND, clicked,
                                          reinterpret_cast<LPARAM>(control_))
               ? S_OK
               : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~Accessible() { standard_->Release(); }

  static HRESULT Give(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = win::NewBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  ULONG refs_ = 1;
  HWND control_;
  IAccessible* standard_;  // owned: one reference, released with this object
  const AccessibleFacts facts_;
};

}  // namespace

bool AnswerAccessibleObject(HWND control, WPARAM wp, LPARAM lp, const AccessibleFacts& facts,
                            LRESULT& answer) {
  if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return false;
  if (facts.name.empty() && facts.description.empty() && facts.kind == AccessibleKind::Standard)
    return false;
  const Oleacc& oleacc = OleaccEntries();
  if (!oleacc.createStandard || !oleacc.lresultFromObject) return false;
  // The object crosses to the screen reader's process through COM.
  EnsureComApartment();
  IAccessible* standard = nullptr;
  if (FAILED(oleacc.createStandard(control, OBJID_CLIENT, kIAccessible,
                                   reinterpret_cast<void**>(&standard))) ||
      !standard)
    return false;
  Accessible* ours = new Accessible(control, standard, facts);
  // The answer holds its own reference until the screen reader takes the object.
  answer = oleacc.lresultFromObject(kIAccessible, wp, static_cast<IAccessible*>(ours));
  ours->Release();
  return answer > 0;
}

}  // namespace tavlin::app
