#pragma once
// Views of the controls with entries: list boxes, drop-down lists, the tab strip, the
// list view and the status bar.
#include <memory>

#include <windows.h>
#include <commctrl.h>

#include "forms/list_follower.h"
#include "ui/win32/control_view.h"

namespace qm::win32 {

// The messages of one kind of native list (list box or combo box).
struct NativeListMessages {
    UINT insert, remove, reset, select;
};

// A native list kept in step with its core list, one message per change. A burst of changes
// is drawn once: redrawing waits until the window's queued messages have been handled.
class NativeEntries : private EntrySink {
public:
    NativeEntries(const ListControl& list, FormWindow& window, NativeListMessages messages);
    // Applies the changes since the last call, then shows the list's selection.
    void follow(HWND hwnd);
    void showSelection(HWND hwnd) const;

private:
    void entryAdded(int index) override;
    void entryRemoved(int index) override;
    void entriesCleared() override;
    void entryReplaced(int index) override;
    void entriesReloaded() override;
    void insert(int index) const;

    const ListControl& list_;
    FormWindow& window_;
    NativeListMessages messages_;
    ListFollower follower_;
    HWND hwnd_ = nullptr;
};

class ListBoxView : public ControlView {
public:
    ListBoxView(ListBox& list, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    ListBox& list_;
    NativeEntries entries_;
};

class ComboView : public ControlView {
public:
    ComboView(ComboBox& combo, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    ComboBox& combo_;
    NativeEntries entries_;
};

class TabView : public ControlView {
public:
    TabView(TabStrip& tabs, FormWindow& window);
    LRESULT notify(const NMHDR& header) override;

protected:
    void mirror(Prop what) override;

private:
    TabStrip& tabs_;
};

class ListViewView : public ControlView {
public:
    ListViewView(ListView& view, FormWindow& window);
    ~ListViewView() override;

protected:
    void mirror(Prop what) override;

private:
    void attachImages();
    ListView& view_;
    HIMAGELIST images_ = nullptr;
};

// A one-part status bar showing the model's caption; its class stays in list_views.cpp.
std::unique_ptr<ControlView> makeStatusView(StatusBar& bar, FormWindow& window);

}  // namespace qm::win32
