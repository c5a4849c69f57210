// Starts a program and reports, from outside it, how long it took to show its first window:
// when a top-level window whose title contains the given text was mapped, and when it first
// held drawn pixels (not one flat colour). The program keeps running; its pid is printed so
// the caller can measure it further and end it.
// Usage: first_window <title text> <timeout s> <program> [arguments...]
// Prints: "<pid> <mapped ms> <painted ms>" (painted is -1 when it never drew in time).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string titleOf(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    char* name = nullptr;
    if (title.empty() && XFetchName(display, window, &name) && name) title = name, XFree(name);
    return title;
}

// A window counts once it is big enough to be a main window (tray icons and tooltips are not).
bool isMainWindow(Display* display, Window window, const char* text) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    if (attributes.width < 200 || attributes.height < 100) return false;
    return titleOf(display, window).find(text) != std::string::npos;
}

// True once the window holds more than one colour.
bool hasDrawn(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool drawn = false;
    for (int y = 0; y < image->height && !drawn; y += 2) {
        for (int x = 0; x < image->width && !drawn; x += 2) drawn = XGetPixel(image, x, y) != first;
    }
    XDestroyImage(image);
    return drawn;
}

Window waitForMap(Display* display, const char* text, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && isMainWindow(display, event.xmap.window, text)) return event.xmap.window;
            // A window mapped before its title was set is named a moment later.
            if (event.type == PropertyNotify && isMainWindow(display, event.xproperty.window, text)) {
                return event.xproperty.window;
            }
            if (event.type == CreateNotify) XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return None;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: first_window <title text> <timeout s> <program> [arguments...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::fprintf(stderr, "first_window: no X display\n"), 2;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(std::atoi(argv[2]));
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        // Our output is the caller's answer: the program must not hold it open.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    const Window window = waitForMap(display, argv[1], deadline);
    if (window == None) return std::printf("%d -1 -1\n", pid), 1;
    const double mapped = msSince(start);
    double painted = -1;
    while (Clock::now() < deadline && painted < 0) {
        if (hasDrawn(display, window)) painted = msSince(start);
        else std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::printf("%d %.0f %.0f\n", pid, mapped, painted);
    return 0;
}
