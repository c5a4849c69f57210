#pragma once
// The program start: one running copy, the step that completes an upgrade, then the
// main window with its start-up sequence, and everything wired around it before the
// event loop runs. Each host's main() makes its host and platform and calls startProgram.
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"

namespace qm {

// What a host's main() hands the start besides its host and platform.
struct HostStart {
    // The single-instance port's signal that a later start asks for the running window.
    std::function<void()>& onActivate;
    // The host's event loop, run until the program ends; its result is the exit code.
    std::function<int()> eventLoop;
    // Told the loaded main window (the Windows shell owns the programs it starts by it).
    std::function<void(Form&)> onMainWindow;
};

// Completes an upgrade that a download began; false when it ended the program.
bool postUpgradeCheck(Host& host, Platform& platform, ErrorSink& log);

// Starts the program. Returns the loaded main window, or null when this start handed over
// to an instance already running (or was ended): the caller then runs no event loop.
std::unique_ptr<MainWindow> runProgram(Host& host, Platform& platform, ErrorSink& log);

// The error log's file: "error" in the program's folder.
std::string errorLogPath(ProgramFolderPort& folder);

// The whole start: the error log, runProgram, later starts shown the running window, the
// desktop session's end watched, then the event loop. Returns the exit code.
int startProgram(Host& host, Platform& platform, const HostStart& start);

}  // namespace qm
