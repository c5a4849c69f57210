#pragma once
// The program start: one running copy, the step that completes an upgrade, then the
// main window with its start-up sequence.
#include <memory>

#include "app/main_window.h"

namespace qm {

// Starts the program. Returns the loaded main window, or null when this start handed over
// to an instance already running (or was ended): the caller then runs no event loop.
std::unique_ptr<MainWindow> runProgram(Host& host, Platform& platform, ErrorSink& log);

}  // namespace qm
