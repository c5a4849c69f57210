// What a screen reader reads, read back as it reads it: each list, drop-down, picture,
// list view and tab strip of every form, through the client object MSAA gives for its
// window (AccessibleObjectFromWindow), not through the host's own structures.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>

#include <map>

#include "forms/accessible_name.h"
#include "win32/native_forms.h"

namespace qm::win32 {
namespace {

// What a reader announces each kind without a caption of its own as.
const std::map<ControlKind, long> kRoles = {
    {ControlKind::ListBox, ROLE_SYSTEM_LIST},         {ControlKind::ListView, ROLE_SYSTEM_LIST},
    {ControlKind::ComboBox, ROLE_SYSTEM_COMBOBOX},    {ControlKind::PictureBox, ROLE_SYSTEM_GRAPHIC},
    {ControlKind::TabStrip, ROLE_SYSTEM_PAGETABLIST},
};

std::string narrow(BSTR text) {
    if (!text) return "(none)";
    char out[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

std::string windowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// The window a drop-down's entries drop down in.
HWND dropList(HWND combo) {
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    return GetComboBoxInfo(combo, &parts) ? parts.hwndList : nullptr;
}

VARIANT self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

// The client object a reader asks the window for (released by the caller).
IAccessible* clientObject(HWND hwnd) {
    IAccessible* object = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&object));
    return SUCCEEDED(hr) ? object : nullptr;
}

std::string nameOf(IAccessible& object) {
    BSTR name = nullptr;
    return object.get_accName(self(), &name) == S_OK ? narrow(name) : "(none)";
}

std::string valueOf(IAccessible& object) {
    BSTR value = nullptr;
    return object.get_accValue(self(), &value) == S_OK ? narrow(value) : "(none)";
}

long roleOf(IAccessible& object) {
    VARIANT role;
    VariantInit(&role);
    return object.get_accRole(self(), &role) == S_OK && role.vt == VT_I4 ? role.lVal : -1;
}

class Win32ScreenReader : public ::testing::Test {
protected:
    HWND hwndOf(Form& frm, const Control& c) const { return win32::hwndOf(host, frm, c); }
    // Every control of the form that needs a name is read with the core's name and its role,
    // and so is a drop-down's list; returns how many controls were read.
    int expectEveryNameRead(Form& frm) {
        int read = 0;
        for (Control* c : frm.controls()) {
            const auto role = kRoles.find(c->kind());
            if (role == kRoles.end()) continue;
            ++read;
            const std::string where = frm.name() + "." + c->name();
            EXPECT_FALSE(accessibleName(*c).empty()) << where << " has no name in the layout";
            expectRead(hwndOf(frm, *c), accessibleName(*c), role->second, where);
            if (c->kind() == ControlKind::ComboBox) {
                expectRead(dropList(hwndOf(frm, *c)), accessibleName(*c), ROLE_SYSTEM_LIST, where + " (list)");
            }
        }
        return read;
    }
    static void expectRead(HWND hwnd, const std::string& name, long role, const std::string& where) {
        IAccessible* object = clientObject(hwnd);
        ASSERT_NE(object, nullptr) << where;
        EXPECT_EQ(nameOf(*object), name) << where;
        EXPECT_EQ(roleOf(*object), role) << where;
        object->Release();
    }

    Win32Host host;
};

TEST_F(Win32ScreenReader, EveryListDropDownAndPictureOfEveryFormIsReadByItsName) {
    NativeForms forms(host);
    EXPECT_GE(expectEveryNameRead(forms.main.form()), 20);
    EXPECT_GE(expectEveryNameRead(forms.launcher), 1);
    EXPECT_GE(expectEveryNameRead(forms.update), 1);
}

// Option buttons are announced as radio buttons and check boxes as check boxes.
TEST_F(Win32ScreenReader, OptionButtonsAndCheckBoxesAreReadAsSuch) {
    NativeForms forms(host);
    Form& frm = forms.main.form();
    int read = 0;
    for (Control* c : frm.controls()) {
        const long role = c->kind() == ControlKind::OptionButton ? ROLE_SYSTEM_RADIOBUTTON
                          : c->kind() == ControlKind::CheckBox   ? ROLE_SYSTEM_CHECKBUTTON
                                                                  : 0;
        if (role == 0) continue;
        ++read;
        IAccessible* object = clientObject(hwndOf(frm, *c));
        ASSERT_NE(object, nullptr) << c->name();
        EXPECT_EQ(roleOf(*object), role) << c->name();
        object->Release();
    }
    EXPECT_GE(read, 20);
}

// A drop-down's name is its label, its value what it shows; a renamed label is read at once,
// even by a reader that kept the object; once the control is unloaded its old name is gone.
class Win32ScreenReaderDropDown : public Win32ScreenReader {
protected:
    void SetUp() override {
        frm.move(0, 0, 6000, 4000);
        label = &frm.add<Label>("lblRetry");
        label->move(120, 120, 1500, 255);
        label->setCaption("&Retry limit:");
        combo = &frm.add<ComboBox>("cmbRetry");
        combo->move(1800, 120, 900, 315);
        combo->addItem("3");
        combo->addItem("5");
        combo->setListIndex(1);
        host.attach(frm);
        object = clientObject(hwndOf(frm, *combo));
        ASSERT_NE(object, nullptr);
    }
    void TearDown() override {
        if (object) object->Release();
        host.detach(frm);
    }

    Form frm{"frmTest"};
    Label* label = nullptr;
    ComboBox* combo = nullptr;
    IAccessible* object = nullptr;
};

TEST_F(Win32ScreenReaderDropDown, ReadsItsLabelAsNameAndItsSelectionAsValue) {
    EXPECT_EQ(windowText(hwndOf(frm, *combo)), "5");
    EXPECT_EQ(nameOf(*object), "Retry limit");
    expectRead(dropList(hwndOf(frm, *combo)), "Retry limit", ROLE_SYSTEM_LIST, "its list");
    EXPECT_EQ(valueOf(*object), "5");
    combo->setListIndex(0);
    EXPECT_EQ(valueOf(*object), "3");
}

TEST_F(Win32ScreenReaderDropDown, AKeptObjectReadsTheNameAsItIsNow) {
    label->setCaption("Tries:");
    EXPECT_EQ(nameOf(*object), "Tries");
    EXPECT_EQ(roleOf(*object), ROLE_SYSTEM_COMBOBOX);
}

TEST_F(Win32ScreenReaderDropDown, AnUnloadedControlNoLongerAnswersWithItsName) {
    HWND hwnd = hwndOf(frm, *combo);
    host.windowOf(frm)->viewOf(combo)->detach();
    EXPECT_NE(nameOf(*object), "Retry limit");
    IAccessible* standard = clientObject(hwnd);
    ASSERT_NE(standard, nullptr);
    EXPECT_NE(nameOf(*standard), "Retry limit");
    standard->Release();
}

}  // namespace
}  // namespace qm::win32
