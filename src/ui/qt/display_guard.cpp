#include "ui/qt/display_guard.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/catalogue.h"

namespace qm::qt {

const char* const kNoDisplayMessage =
    N_("quillmere: a graphical desktop session is needed (neither DISPLAY nor WAYLAND_DISPLAY names a display "
       "that can be opened)");

namespace {

// A message with its context's fields (the strings are Qt's static ones).
struct Held {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};

std::vector<Held>& held() {
    static std::vector<Held> messages;
    return messages;
}

// Only the platform's failure is fatal this early; Qt would abort after it.
void holdOrEnd(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", shown(kNoDisplayMessage).c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    held().push_back({type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

DisplayGuard::DisplayGuard() : previous_(qInstallMessageHandler(holdOrEnd)) {}

void DisplayGuard::release() {
    if (released_) return;
    released_ = true;
    qInstallMessageHandler(previous_);
    for (const Held& m : held()) qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
    held().clear();
}

}  // namespace qm::qt
