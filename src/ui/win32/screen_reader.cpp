#include "ui/win32/screen_reader.h"

#include <commctrl.h>
#include <oleacc.h>

#include <unordered_map>
#include <utility>

#include "platform/win32/lazy_dll.h"
#include "ui/win32/control_view.h"

namespace qm::win32 {

namespace {

// The interface's id from its declaration: the 64-bit import library of oleacc exports a
// stub of code under the name IID_IAccessible.
const IID& kIAccessible = __uuidof(IAccessible);

// Looked up when a screen reader first asks: under Wine, importing ole32, oleaut32 and
// oleacc costs every start their loading, whether a reader runs or not.
struct OleAccess {
    decltype(CoInitializeEx)* initialize = lazyFunction<decltype(CoInitializeEx)>("ole32.dll", "CoInitializeEx");
    decltype(SysAllocStringLen)* allocString =
        lazyFunction<decltype(SysAllocStringLen)>("oleaut32.dll", "SysAllocStringLen");
    decltype(CreateStdAccessibleObject)* standardObject =
        lazyFunction<decltype(CreateStdAccessibleObject)>("oleacc.dll", "CreateStdAccessibleObject");
    decltype(LresultFromObject)* answerWith = lazyFunction<decltype(LresultFromObject)>("oleacc.dll", "LresultFromObject");
    bool loaded() const { return initialize && allocString && standardObject && answerWith; }
};

// The window thread's COM apartment, entered at the first question: the object is handed
// over through it. It is left when the process ends.
const OleAccess* ole() {
    static const OleAccess functions;
    static const bool usable =
        functions.loaded() && SUCCEEDED(functions.initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return usable ? &functions : nullptr;
}

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

BSTR toBstr(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = ole() ? ole()->allocString(nullptr, static_cast<UINT>(length)) : nullptr;
    if (out) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, length);
    return out;
}

BSTR windowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return toBstr(text);
}

// The window procedure each named window had, and who names it (null once that is gone).
// Kept in the process, not as a window property: under Wine every property lookup is a
// server call, and a list box filled at start handles thousands of messages.
struct Named {
    WNDPROC previous;
    const ScreenReaderName* namer;
};

std::unordered_map<HWND, Named>& namedWindows() {
    static std::unordered_map<HWND, Named> windows;
    return windows;
}

LRESULT CALLBACK namedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto found = namedWindows().find(hwnd);
    if (found == namedWindows().end()) return DefWindowProcA(hwnd, msg, wp, lp);
    const Named named = found->second;
    if (msg == WM_NCDESTROY) namedWindows().erase(found);
    // The object id is a 32-bit value however wide lParam is.
    if (named.namer && msg == WM_GETOBJECT && static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (LRESULT answer = named.namer->clientObject(wp)) return answer;
    }
    return CallWindowProcA(named.previous, hwnd, msg, wp, lp);
}

// The name the window gives now; false when it gives none (its control is gone or unnamed).
// A reader's call comes through COM, which an exception must not unwind; COM makes it on
// the window's own thread (the apartment's), the only one that touches the table.
bool currentName(HWND hwnd, std::string& name) {
    const auto found = namedWindows().find(hwnd);
    const ScreenReaderName* namer = found == namedWindows().end() ? nullptr : found->second.namer;
    if (!namer) return false;
    try {
        name = namer->name();
    } catch (const std::exception& e) {
        reportStray("screen reader", e.what());
        return false;
    }
    return !name.empty();
}

// The window's standard client object, with its own name and role answered here and all
// else (children, states, locations, navigation) left to the system. A drop-down's value
// is its selection, which the standard object of Wine does not give.
class NamedClient final : public IAccessible {
public:
    NamedClient(IAccessible* standard, HWND hwnd, long role) : inner_(standard), hwnd_(hwnd), role_(role) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        // Children are enumerated and the window is found through the standard object.
        if (iid == IID_IEnumVARIANT || iid == IID_IOleWindow) return inner_->QueryInterface(iid, out);
        const bool own = iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible;
        *out = own ? static_cast<IAccessible*>(this) : nullptr;
        if (own) AddRef();
        return own ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        std::string own;
        if (!name || !isSelf(child) || !currentName(hwnd_, own)) return inner_->get_accName(child, name);
        *name = toBstr(own);
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role || !isSelf(child)) return inner_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        const HRESULT standard = inner_->get_accValue(child, value);
        if (role_ != ROLE_SYSTEM_COMBOBOX || !value || !isSelf(child) || (standard == S_OK && *value)) return standard;
        *value = windowText(hwnd_);
        return *value ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* error, UINT* badArg) override {
        return inner_->Invoke(id, iid, lcid, flags, params, result, error, badArg);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return inner_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return inner_->get_accDescription(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return inner_->get_accState(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override { return inner_->get_accHelp(child, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return inner_->get_accKeyboardShortcut(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override { return inner_->get_accFocus(out); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return inner_->get_accSelection(out); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return inner_->get_accDefaultAction(child, out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        return inner_->accLocation(x, y, w, h, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(dir, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        return inner_->accHitTest(x, y, out);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedClient() { inner_->Release(); }

    IAccessible* inner_;
    HWND hwnd_;
    long role_;
    LONG refs_ = 1;
};

}  // namespace

long accessibleRole(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox:
        case ControlKind::ListView: return ROLE_SYSTEM_LIST;
        case ControlKind::ComboBox: return ROLE_SYSTEM_COMBOBOX;
        case ControlKind::PictureBox: return ROLE_SYSTEM_GRAPHIC;
        case ControlKind::TabStrip: return ROLE_SYSTEM_PAGETABLIST;
        // A button's own object is a bare "client" where no proxy knows its styles.
        case ControlKind::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
        case ControlKind::OptionButton: return ROLE_SYSTEM_RADIOBUTTON;
        default: return 0;
    }
}

ScreenReaderName::ScreenReaderName(HWND hwnd, long role, std::function<std::string()> name)
    : hwnd_(hwnd), role_(role), name_(std::move(name)) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(namedWindowProc)));
    if (previous) namedWindows()[hwnd_] = {previous, this};
}

// A client that still holds the object reads the standard answers from now on. The window
// procedure stays in the chain (a tool tip may have subclassed over it) and passes all on.
ScreenReaderName::~ScreenReaderName() {
    const auto found = namedWindows().find(hwnd_);
    if (found != namedWindows().end() && found->second.namer == this) found->second.namer = nullptr;
}

LRESULT ScreenReaderName::clientObject(WPARAM wp) const {
    IAccessible* standard = nullptr;
    const OleAccess* access = ole();
    if (!access || FAILED(access->standardObject(hwnd_, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&standard)))) {
        return 0;
    }
    auto* named = new NamedClient(standard, hwnd_, role_);
    const LRESULT answer = access->answerWith(kIAccessible, wp, named);
    named->Release();  // the answer holds its own reference
    return answer > 0 ? answer : 0;
}

}  // namespace qm::win32
