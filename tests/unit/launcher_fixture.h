#pragma once
// A loaded main window with a program list, for the launcher's tests.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/program_list.h"
#include "support/test_app.h"

namespace qm::test {

struct LauncherApp : ::testing::Test {
    TestApp app;

    static std::string entry(const std::string& name, const std::string& path) {
        return name + std::string(52, ' ') + "|" + path;
    }
    std::string mbl() { return app.ctx().programFile(kProgramListFile); }
    // The list file holds these entries (CR LF after each) and each program file exists.
    void storeList(const std::vector<std::string>& entries) {
        app.fakes.files.files[mbl()] = programListText(entries);
        for (const std::string& e : entries) {
            if (const auto path = entryPath(e)) app.fakes.files.files[*path] = "program";
        }
    }
    ListBox& lstLauncher() { return app.get<ListBox>("lstLauncher"); }
    Menu& item(int i) { return app.frm().element<Menu>("mnuP1", i); }
    std::vector<std::string> prompts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : app.host.messages) texts.push_back(m.prompt);
        return texts;
    }
    // Opens the editor; `script` works it while it is shown.
    void edit(const std::function<void(Form&)>& script) {
        app.host.onModal = script;
        app.get<CommandButton>("cmdConfigureLauncher").userClick();
    }
    static void click(Form& f, const char* button) { f.get<CommandButton>(button).userClick(); }
    static ListBox& programs(Form& f) { return f.get<ListBox>("lstPrograms"); }
};

}  // namespace qm::test
