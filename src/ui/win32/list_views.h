#pragma once
// Views of the controls with entries: list boxes, drop-down lists, the tab strip, the
// list view and the status bar.
#include <memory>

#include <windows.h>
#include <commctrl.h>

#include "ui/win32/control_view.h"

namespace qm::win32 {

class ListBoxView : public ControlView {
public:
    ListBoxView(ListBox& list, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    ListBox& list_;
};

class ComboView : public ControlView {
public:
    ComboView(ComboBox& combo, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    ComboBox& combo_;
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
