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
// What the standard object offers beside IAccessible, and a screen reader asks
// for: the window behind it, and its children one by one.
constexpr IID kIOleWindow = {0x00000114, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIEnumVARIANT = {0x00020404, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

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

// Answers what the standard object answers, but the control's own name and
// description, where it has them.
class Accessible final : public IAccessible {
 public:
  Accessible(IAccessible* standard, std::wstring name, std::wstring description)
      : standard_(standard), name_(std::move(name)), description_(std::move(description)) {}
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, kIUnknown) || IsEqualIID(riid, kIDispatch) ||
        IsEqualIID(riid, kIAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    if (IsEqualIID(riid, kIOleWindow) || IsEqualIID(riid, kIEnumVARIANT))
      return standard_->QueryInterface(riid, out);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
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
    return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
  }

  // IAccessible: the two texts of our own, the rest as the standard object has it.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || name_.empty()) return standard_->get_accName(child, name);
    return Give(name_, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!IsSelf(child) || description_.empty())
      return standard_->get_accDescription(child, description);
    return Give(description_, description);
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
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
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
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
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
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
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
  IAccessible* standard_;  // owned: one reference, released with this object
  const std::wstring name_, description_;
};

}  // namespace

bool AnswerAccessibleObject(HWND control, WPARAM wp, LPARAM lp, const std::wstring& name,
                            const std::wstring& description, LRESULT& answer) {
  if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return false;
  if (name.empty() && description.empty()) return false;
  const Oleacc& oleacc = OleaccEntries();
  if (!oleacc.createStandard || !oleacc.lresultFromObject) return false;
  // The object crosses to the screen reader's process through COM.
  EnsureComApartment();
  IAccessible* standard = nullptr;
  if (FAILED(oleacc.createStandard(control, OBJID_CLIENT, kIAccessible,
                                   reinterpret_cast<void**>(&standard))) ||
      !standard)
    return false;
  Accessible* ours = new Accessible(standard, name, description);
  // The answer holds its own reference until the screen reader takes the object.
  answer = oleacc.lresultFromObject(kIAccessible, wp, static_cast<IAccessible*>(ours));
  ours->Release();
  return answer > 0;
}

}  // namespace tavlin::app
