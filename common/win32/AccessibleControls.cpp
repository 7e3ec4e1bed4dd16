#include <windows.h>
#include <oleacc.h>

#include "common/win32/AccessibleControls.h"

#include "common/win32/BoundProc.h"
#include "common/win32/ComApartment.h"
#include "common/win32/CommonControls.h"

#include <new>
#include <string>

namespace halcyra::win32 {

namespace {

// Bound at the first question: a program nobody reads aloud never loads them.
BoundProc<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)> createStdAccessibleObject{
    "oleacc.dll", "CreateStdAccessibleObject"};
BoundProc<LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN)> lresultFromObject{"oleacc.dll",
                                                                         "LresultFromObject"};
BoundProc<BSTR(WINAPI*)(const OLECHAR*)> sysAllocString{"oleaut32.dll", "SysAllocString"};

constexpr UINT_PTR kSubclassId = 0xACC;

struct Description {
    LONG role;
    std::wstring name; // empty: read from the caption or the label at each question
};

std::wstring ClassOf(HWND control) {
    wchar_t name[32] = {};
    ::GetClassNameW(control, name, 32);
    return name;
}

bool IsClass(HWND control, const wchar_t* name) {
    return ::lstrcmpiW(ClassOf(control).c_str(), name) == 0;
}

LONG RoleOf(HWND control) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    if (IsClass(control, L"Button")) {
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ROLE_SYSTEM_CHECKBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ROLE_SYSTEM_RADIOBUTTON;
        case BS_GROUPBOX:
            return ROLE_SYSTEM_GROUPING;
        default:
            return ROLE_SYSTEM_PUSHBUTTON;
        }
    }
    if (IsClass(control, L"Static")) {
        const DWORD type = style & SS_TYPEMASK;
        return type == SS_ICON || type == SS_BITMAP ? ROLE_SYSTEM_GRAPHIC : ROLE_SYSTEM_STATICTEXT;
    }
    if (IsClass(control, L"ComboBox")) {
        return ROLE_SYSTEM_COMBOBOX;
    }
    if (IsClass(control, L"Edit")) {
        return ROLE_SYSTEM_TEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

// The caption as it is read: without the "&" that marks the access key ("&&" is one "&").
std::wstring Caption(HWND control) {
    wchar_t text[512] = {};
    ::GetWindowTextW(control, text, 512);
    const bool prefixes = !IsClass(control, L"Static") ||
                          (::GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX) == 0;
    std::wstring read;
    for (const wchar_t* c = text; *c; ++c) {
        if (prefixes && *c == L'&') {
            if (c[1] != L'&') {
                continue;
            }
            ++c;
        }
        read += *c;
    }
    return read;
}

// The text of the nearest static text before the control, as a dialog's labels are laid out.
std::wstring LabelBefore(HWND control) {
    for (HWND w = ::GetWindow(control, GW_HWNDPREV); w; w = ::GetWindow(w, GW_HWNDPREV)) {
        if (RoleOf(w) == ROLE_SYSTEM_STATICTEXT) {
            return Caption(w);
        }
    }
    return {};
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's own object for the control, with the name, role and state put right; every
// other question goes to the system's object unchanged.
// A COM object is only ever deleted by its own Release, never through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleControl final : public IAccessible {
public:
    AccessibleControl(HWND control, IAccessible* inner, const Description& description)
        : control_(control), inner_(inner), description_(description) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return inner_->Invoke(id, iid, lcid, flags, params, result, exception, argument);
    }

    // IAccessible: the three answers this class exists for.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return inner_->get_accName(child, name);
        }
        auto allocate = sysAllocString.get();
        if (!name || !allocate) {
            return E_FAIL;
        }
        const std::wstring text = !description_.name.empty() ? description_.name
                                  : description_.role == ROLE_SYSTEM_COMBOBOX
                                      ? LabelBefore(control_)
                                      : Caption(control_);
        if (text.empty()) {
            *name = nullptr;
            return S_FALSE;
        }
        *name = allocate(text.c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !role) {
            return inner_->get_accRole(child, role);
        }
        role->vt = VT_I4;
        role->lVal = description_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = inner_->get_accState(child, state);
        if (!IsSelf(child) || !state || FAILED(result) || state->vt != VT_I4) {
            return result;
        }
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control_, GWL_STYLE));
        switch (description_.role) {
        case ROLE_SYSTEM_CHECKBUTTON:
        case ROLE_SYSTEM_RADIOBUTTON:
            if (::SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                state->lVal |= STATE_SYSTEM_CHECKED;
            }
            break;
        case ROLE_SYSTEM_PUSHBUTTON:
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                state->lVal |= STATE_SYSTEM_DEFAULT;
            }
            break;
        case ROLE_SYSTEM_LINK:
            state->lVal |= STATE_SYSTEM_LINKED;
            break;
        default:
            break;
        }
        return S_OK;
    }

    // IAccessible: the system's answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return inner_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return inner_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~AccessibleControl() = default;

    ULONG references_ = 1;
    HWND control_;
    IAccessible* inner_;
    Description description_; // a copy: a reader may hold the object past the control
};
#pragma GCC diagnostic pop

LRESULT Answer(HWND control, WPARAM wParam, const Description& description) {
    // The answer is marshalled through COM: the window's thread enters its apartment at the
    // first question (left at exit with the rest), so a start nobody reads aloud stays lean.
    com::EnterApartment();
    auto create = createStdAccessibleObject.get();
    auto answer = lresultFromObject.get();
    IAccessible* inner = nullptr;
    if (!create || !answer ||
        FAILED(create(control, OBJID_CLIENT, __uuidof(IAccessible),
                      reinterpret_cast<void**>(&inner))) ||
        !inner) {
        return comctl::DefSubclassProc(control, WM_GETOBJECT, wParam,
                                       static_cast<LPARAM>(OBJID_CLIENT));
    }
    auto* wrapper = new (std::nothrow) AccessibleControl(control, inner, description);
    if (!wrapper) {
        inner->Release();
        return 0;
    }
    // The answer holds its own reference until the asker has taken the object.
    const LRESULT result = answer(__uuidof(IAccessible), wParam, wrapper);
    wrapper->Release();
    return result;
}

LRESULT CALLBACK DescribedControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR data) {
    auto* description = reinterpret_cast<Description*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        return Answer(control, wParam, *description);
    }
    if (message == WM_NCDESTROY) {
        comctl::RemoveWindowSubclass(control, DescribedControl, id);
        delete description;
    }
    return comctl::DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void DescribeControls(HWND parent, std::span<const AccessibleOverride> overrides) {
    for (HWND control = ::GetWindow(parent, GW_CHILD); control;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(control);
        auto* description = new Description{RoleOf(control), {}};
        for (const AccessibleOverride& given : overrides) {
            if (given.id == id) {
                description->role = given.role ? given.role : description->role;
                description->name = given.name ? given.name : L"";
            }
        }
        if (!comctl::SetWindowSubclass(control, DescribedControl, kSubclassId,
                                       reinterpret_cast<DWORD_PTR>(description))) {
            delete description;
        }
    }
}

} // namespace halcyra::win32
