// Latency as the user sees it, measured on the X server: the time from an
// action to the moment windows are mapped (shown) or unmapped. Watching the
// root window's MapNotify events costs nothing, where polling with xdotool
// would add 10-30 ms a poll.
//
//   xlatency launch NAME COMMAND [ARG...]
//       starts COMMAND and waits until a top-level window named NAME is
//       mapped; prints "PID MS". The program is left running.
//   xlatency launch-press NAME X Y COUNT [paint MIN_Y] COMMAND [ARG...]
//       the same launch; the moment a window covering screen X, Y is mapped,
//       a left click there, timed until COUNT more top-level windows are
//       mapped (with paint: mapped and drawn, as below); prints "PID MS MS"
//       (launch, press).
//   xlatency click X Y BUTTON map|unmap COUNT
//       clicks BUTTON (1 left, 3 right) at screen X, Y with XTest and waits
//       until COUNT top-level windows were mapped (or unmapped); prints "MS".
//   xlatency click X Y BUTTON paint COUNT MIN_Y
//       the same click; waits until COUNT top-level windows standing at
//       MIN_Y or lower were drawn into (XDamage), each on screen: a window
//       the click maps counts once it is mapped and drawn. This is what the
//       user sees, and it also times changes that map nothing (a page turn
//       repaints windows that stay shown). XLATENCY_TRACE=1 prints each
//       window drawn into, with its place, to standard error.
//
// Gives up after 30 s (exit status 1).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <sys/select.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(30);

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Owns the display connection.
class Connection {
public:
    Connection() : d_(XOpenDisplay(nullptr)) {}
    ~Connection() {
        if (d_) XCloseDisplay(d_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* get() const { return d_; }

private:
    Display* d_;
};

std::string windowName(Display* d, Window w) {
    char* name = nullptr;
    std::string out;
    if (XFetchName(d, w, &name) && name) out = name;
    if (name) XFree(name);
    return out;
}

// The next event, or false when the deadline passes first.
bool nextEvent(Display* d, XEvent& e, Clock::time_point deadline) {
    while (!XPending(d)) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return false;
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval tv{static_cast<time_t>(us / 1000000), static_cast<suseconds_t>(us % 1000000)};
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(d), &fds);
        select(ConnectionNumber(d) + 1, &fds, nullptr, nullptr, &tv);
    }
    XNextEvent(d, &e);
    return true;
}

// Starts command, watching the root window's children from before it runs.
pid_t startProgram(Display* d, char** command) {
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(d));
        // The program outlives this tool: it must not hold the pipe that a
        // caller reads this tool's output from.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDOUT_FILENO);
        execvp(command[0], command);
        _exit(127);
    }
    return pid;
}

// Waits until a top-level window named name is mapped.
bool waitMapped(Display* d, const std::string& name, Clock::time_point deadline) {
    XEvent e;
    while (nextEvent(d, e, deadline))
        if (e.type == MapNotify && windowName(d, e.xmap.window) == name) return true;
    std::fprintf(stderr, "xlatency: no window named %s was mapped\n", name.c_str());
    return false;
}

// Whether top-level window w covers the screen point x, y.
bool covers(Display* d, Window w, int x, int y) {
    XWindowAttributes a;
    return XGetWindowAttributes(d, w, &a) && x >= a.x && x < a.x + a.width && y >= a.y && y < a.y + a.height;
}

// Waits until count more top-level windows were mapped.
bool waitMappedCount(Display* d, int count, Clock::time_point deadline) {
    XEvent e;
    int seen = 0;
    while (seen < count && nextEvent(d, e, deadline))
        if (e.type == MapNotify) ++seen;
    if (seen < count) std::fprintf(stderr, "xlatency: %d of %d windows mapped\n", seen, count);
    return seen == count;
}

// Moves the pointer to x, y, lets the events of its arrival pass (they are
// not the click's), then clicks button there; returns the click's time.
Clock::time_point clickAt(Display* d, int x, int y, unsigned button) {
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XSync(d, False);
    XEvent e;
    while (XPending(d)) XNextEvent(d, &e);
    const Clock::time_point start = Clock::now();
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
    XFlush(d);
    return start;
}

int launch(Display* d, const std::string& name, char** command) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = startProgram(d, command);
    if (pid < 0) return 1;
    if (!waitMapped(d, name, start + kTimeout)) {
        std::printf("%d -\n", static_cast<int>(pid));
        return 1;
    }
    std::printf("%d %.1f\n", static_cast<int>(pid), msSince(start));
    return 0;
}

int click(Display* d, int x, int y, unsigned button, bool map, int count) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "xlatency: the X server has no XTest\n");
        return 1;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    const Clock::time_point start = clickAt(d, x, y, button);
    const Clock::time_point deadline = start + kTimeout;
    XEvent e;
    int seen = 0;
    while (nextEvent(d, e, deadline)) {
        if ((map && e.type == MapNotify) || (!map && e.type == UnmapNotify)) {
            if (++seen == count) {
                std::printf("%.1f\n", msSince(start));
                return 0;
            }
        }
    }
    std::fprintf(stderr, "xlatency: %d of %d windows %s\n", seen, count, map ? "mapped" : "unmapped");
    return 1;
}

// Owns the damage objects of the windows being watched.
class DamageWatch {
public:
    explicit DamageWatch(Display* d) : d_(d) {}
    ~DamageWatch() {
        for (const Damage g : damages_) XDamageDestroy(d_, g);
    }
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;
    void watch(Window w) {
        if (!watched_.insert(w).second) return;
        damages_.push_back(XDamageCreate(d_, w, XDamageReportNonEmpty));
        // A window already shown may start with damage; only drawing from
        // now on counts.
        XDamageSubtract(d_, damages_.back(), None, None);
    }
    // Clears what the watched window damage reported, so the next drawing
    // reports again.
    void acknowledge(Damage g) { XDamageSubtract(d_, g, None, None); }

private:
    Display* d_;
    std::set<Window> watched_;
    std::vector<Damage> damages_;
};

// Whether top-level window w stands at minY or lower.
bool standsLow(Display* d, Window w, int minY) {
    XWindowAttributes a;
    return XGetWindowAttributes(d, w, &a) && a.y >= minY;
}

// The click of "click ... paint": milliseconds until count windows were
// drawn, or a negative number.
double clickPaintMs(Display* d, int x, int y, unsigned button, int count, int minY) {
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(d, &damageEvent, &damageError)) {
        std::fprintf(stderr, "xlatency: the X server has no DAMAGE\n");
        return -1;
    }
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    DamageWatch watch(d);
    // Windows drawn into count once they are mapped; those mapped now are.
    std::set<Window> mapped, drawn;
    Window rootOut = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (XQueryTree(d, root, &rootOut, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(d, children[i], &a) || a.y < minY) continue;
            watch.watch(children[i]);
            if (a.map_state == IsViewable) mapped.insert(children[i]);
        }
        if (children) XFree(children);
    }
    const Clock::time_point start = clickAt(d, x, y, button);
    const Clock::time_point deadline = start + kTimeout;
    XEvent e;
    while (nextEvent(d, e, deadline)) {
        if (e.type == CreateNotify && e.xcreatewindow.parent == root && e.xcreatewindow.y >= minY) {
            watch.watch(e.xcreatewindow.window);
        } else if (e.type == MapNotify && e.xmap.event == root) {
            if (standsLow(d, e.xmap.window, minY)) {
                watch.watch(e.xmap.window);
                mapped.insert(e.xmap.window);
            }
        } else if (e.type == UnmapNotify && e.xunmap.event == root) {
            mapped.erase(e.xunmap.window);
            drawn.erase(e.xunmap.window);
        } else if (e.type == damageEvent + XDamageNotify) {
            const auto& de = reinterpret_cast<const XDamageNotifyEvent&>(e);
            watch.acknowledge(de.damage);
            if (mapped.count(de.drawable)) drawn.insert(de.drawable);
            if (std::getenv("XLATENCY_TRACE")) {
                XWindowAttributes a;
                XGetWindowAttributes(d, de.drawable, &a);
                std::fprintf(stderr, "%.1f damage 0x%lx at %d,%d %dx%d mapped=%d\n", msSince(start), de.drawable, a.x, a.y,
                             a.width, a.height, static_cast<int>(mapped.count(de.drawable)));
            }
            if (static_cast<int>(drawn.size()) >= count) return msSince(start);
        }
    }
    std::fprintf(stderr, "xlatency: %zu of %d windows drawn\n", drawn.size(), count);
    return -1;
}

int clickPaint(Display* d, int x, int y, unsigned button, int count, int minY) {
    const double ms = clickPaintMs(d, x, y, button, count, minY);
    if (ms < 0) return 1;
    std::printf("%.1f\n", ms);
    return 0;
}

// The press a user makes the moment the program shows: launch as above,
// then, as soon as a window covering x, y is mapped, a left click there,
// timed until count more windows are mapped, or (minY >= 0) mapped and
// drawn at minY or lower.
int launchPress(Display* d, const std::string& name, int x, int y, int count, int minY, char** command) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = startProgram(d, command);
    if (pid < 0) return 1;
    const Clock::time_point deadline = start + kTimeout;
    bool named = false, target = false;
    double launchMs = 0;
    XEvent e;
    while (!(named && target) && nextEvent(d, e, deadline)) {
        if (e.type != MapNotify) continue;
        if (!named && windowName(d, e.xmap.window) == name) {
            named = true;
            launchMs = msSince(start);
        }
        if (covers(d, e.xmap.window, x, y)) target = true;
    }
    if (!named || !target) {
        std::fprintf(stderr, "xlatency: the window at %d, %d was not mapped\n", x, y);
        std::printf("%d - -\n", static_cast<int>(pid));
        return 1;
    }
    double pressMs = -1;
    if (minY >= 0) {
        pressMs = clickPaintMs(d, x, y, 1, count, minY);
    } else {
        const Clock::time_point pressed = clickAt(d, x, y, 1);
        if (waitMappedCount(d, count, pressed + kTimeout)) pressMs = msSince(pressed);
    }
    if (pressMs < 0) {
        std::printf("%d %.1f -\n", static_cast<int>(pid), launchMs);
        return 1;
    }
    std::printf("%d %.1f %.1f\n", static_cast<int>(pid), launchMs, pressMs);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: xlatency launch NAME COMMAND [ARG...]\n"
                 "       xlatency launch-press NAME X Y COUNT [paint MIN_Y] COMMAND [ARG...]\n"
                 "       xlatency click X Y BUTTON map|unmap COUNT\n"
                 "       xlatency click X Y BUTTON paint COUNT MIN_Y\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const Connection display;
    if (!display.get()) {
        std::fprintf(stderr, "xlatency: cannot open the display\n");
        return 1;
    }
    const std::string mode = argv[1];
    if (mode == "launch" && argc >= 4) return launch(display.get(), argv[2], argv + 3);
    if (mode == "launch-press" && argc >= 7) {
        const bool paint = std::string(argv[6]) == "paint";
        if (paint && argc < 9) return usage();
        return launchPress(display.get(), argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                           paint ? std::atoi(argv[7]) : -1, argv + (paint ? 8 : 6));
    }
    if (mode == "click" && argc == 8 && std::string(argv[5]) == "paint")
        return clickPaint(display.get(), std::atoi(argv[2]), std::atoi(argv[3]),
                          static_cast<unsigned>(std::atoi(argv[4])), std::atoi(argv[6]), std::atoi(argv[7]));
    if (mode == "click" && argc == 7) {
        const std::string what = argv[5];
        if (what != "map" && what != "unmap") return usage();
        return click(display.get(), std::atoi(argv[2]), std::atoi(argv[3]),
                     static_cast<unsigned>(std::atoi(argv[4])), what == "map", std::atoi(argv[6]));
    }
    return usage();
}
