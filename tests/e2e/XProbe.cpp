// A small X client for the end-to-end tests: finds the game's window by its title, reads the pixels
// of a rectangle of the game's 640 x 480 screen in it, waits for such a rectangle to change, to
// stand still or to show a given picture, and asks the window to close the way a window manager
// does when its close button is clicked.
//
// Rectangles and points are in the game's own coordinates; the probe maps them into the window as
// the renderer letterboxes the screen (so they hold in a window and in full screen alike). Waiting
// happens here, on one connection, rather than in a shell loop of new processes, which a loaded
// machine slows down far more than the game.
//
// The game may unmap, resize or destroy its window at any moment (start-up,
// a screen-mode switch, exit). A reading of a window that is not viewable, or
// one the rectangle does not fit in, or one that ends in an X error counts as
// "no picture": it never equals a picture and never ends a wait by itself.
//
// Usage:
//   xprobe find TITLE [SECONDS [NOT_WINDOW]] a shown window of that title
//   xprobe sum WINDOW X Y W H                one reading
//   xprobe change WINDOW BEFORE SECONDS X Y W H
//   xprobe still WINDOW SECONDS X Y W H      unchanged for kStillTime
//   xprobe equal WINDOW PICTURE SECONDS X Y W H
//   xprobe point WINDOW X Y                  the window coordinates of a point
//   xprobe shot WINDOW FILE.ppm|FILE.png     the window's picture
//   xprobe crisp WINDOW SCALE                its size, and squares not of one colour
//   xprobe close WINDOW
//   xprobe list                              the windows, for a failure's log
// A wait prints the last reading it made (or nothing) and exits 0 when its
// state came, 1 when the time ran out, 4 when the window is gone for good.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "XProbe.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr auto kPollInterval = std::chrono::milliseconds(40);
// A picture stands still when it has not changed for this long, seen at least kStillLooks times: a
// frame of a fade is never that long on screen unless the whole machine stalls.
constexpr auto kStillTime = std::chrono::milliseconds(600);
constexpr int kStillLooks = 6;
constexpr int kExitTimeout = 1;

using Clock = std::chrono::steady_clock;
using XProbe::ErrorCount;
using XProbe::Frame;
using XProbe::kExitGone;
using XProbe::LookAt;

// Where the game's screen lies in the window, as the game places it: the largest whole-number scale
// that fits, centred; shrunk to fit (keeping its shape) in a window smaller than the screen.
struct Mapping {
  double scale = 1.0;
  int x = 0;
  int y = 0;
};

Mapping MapScreen(const Frame& frame) {
  Mapping map;
  const int whole = std::min(frame.width / kScreenWidth, frame.height / kScreenHeight);
  map.scale = whole >= 1 ? whole
                         : std::min(static_cast<double>(frame.width) / kScreenWidth,
                                    static_cast<double>(frame.height) / kScreenHeight);
  map.x = (frame.width - static_cast<int>(kScreenWidth * map.scale)) / 2;
  map.y = (frame.height - static_cast<int>(kScreenHeight * map.scale)) / 2;
  return map;
}

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

std::optional<std::uint64_t> Read(Display* display, Window window, const Rect& game) {
  const Frame frame = LookAt(display, window);
  if (!frame.viewable) return std::nullopt;
  const Mapping map = MapScreen(frame);
  const int x = map.x + static_cast<int>(game.x * map.scale);
  const int y = map.y + static_cast<int>(game.y * map.scale);
  const int w = std::max(1, static_cast<int>(game.w * map.scale));
  const int h = std::max(1, static_cast<int>(game.h * map.scale));
  if (x < 0 || y < 0 || x + w > frame.width || y + h > frame.height) return std::nullopt;
  const int before = ErrorCount();
  XImage* image =
      XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  XSync(display, False);
  if (image == nullptr) return std::nullopt;
  if (ErrorCount() != before) {
    XDestroyImage(image);
    return std::nullopt;
  }
  std::uint64_t sum = 0;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) sum = sum * 1099511628211ull + XGetPixel(image, px, py);
  }
  XDestroyImage(image);
  return sum;
}

std::optional<std::string> TitleOf(Display* display, Window window) {
  char* name = nullptr;
  const int before = ErrorCount();
  if (!XFetchName(display, window, &name) || name == nullptr) return std::nullopt;
  std::optional<std::string> title;
  if (ErrorCount() == before) title = name;
  XFree(name);
  return title;
}

// Visits the window and those below it until `visit` returns true; windows that vanish during the walk are passed over.
template <typename Visit>
bool Walk(Display* display, Window window, Visit& visit) {
  if (visit(window)) return true;
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  const int before = ErrorCount();
  if (!XQueryTree(display, window, &root, &parent, &children, &count) || ErrorCount() != before) return false;
  bool done = false;
  for (unsigned int i = 0; i < count && !done; ++i) done = Walk(display, children[i], visit);
  if (children != nullptr) XFree(children);
  return done;
}

Window FindByTitle(Display* display, const char* title, Window except) {
  Window found = 0;
  auto match = [&](Window window) {
    if (window == except || TitleOf(display, window) != title || !LookAt(display, window).viewable) return false;
    found = window;
    return true;
  };
  Walk(display, DefaultRootWindow(display), match);
  return found;
}

// Polls `done` until it holds or `seconds` pass, or the window is gone.
template <typename Done>
int WaitFor(Display* display, Window window, double seconds, Done done) {
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  for (;;) {
    if (done()) return 0;
    if (window != 0 && !LookAt(display, window).exists) return kExitGone;
    if (Clock::now() >= end) return kExitTimeout;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void Print(const std::optional<std::uint64_t>& sum) {
  if (sum) std::printf("%llu\n", static_cast<unsigned long long>(*sum));
}

int Find(Display* display, const char* title, double seconds, Window except) {
  Window found = 0;
  const int result = WaitFor(display, 0, seconds, [&] {
    found = FindByTitle(display, title, except);
    return found != 0;
  });
  if (found != 0) std::printf("%lu\n", found);
  return result;
}

// Waits until the picture's sum differs from `picture` ("change") or equals it ("equal").
int Compare(Display* display, Window window, const std::string& picture, bool equal, double seconds, const Rect& rect) {
  std::optional<std::uint64_t> now;
  const int result = WaitFor(display, window, seconds, [&] {
    now = Read(display, window, rect);
    return now && (std::to_string(*now) == picture) == equal;
  });
  Print(now);
  return result;
}

int Still(Display* display, Window window, double seconds, const Rect& rect) {
  std::optional<std::uint64_t> last;
  Clock::time_point since{};
  int looks = 0;
  const int result = WaitFor(display, window, seconds, [&] {
    const auto now = Read(display, window, rect);
    if (!now || now != last) {
      last = now;
      since = Clock::now();
      looks = 1;
      return false;
    }
    ++looks;
    return looks >= kStillLooks && Clock::now() - since >= kStillTime;
  });
  Print(last);
  return result;
}

int Point(Display* display, Window window, int x, int y) {
  const Frame frame = LookAt(display, window);
  if (!frame.exists) return kExitGone;
  const Mapping map = MapScreen(frame);
  // The middle of the game's pixel, so that a scaled screen is hit inside it.
  std::printf("%d %d\n", map.x + static_cast<int>((x + 0.5) * map.scale),
              map.y + static_cast<int>((y + 0.5) * map.scale));
  return 0;
}

int Close(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const int before = ErrorCount();
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return ErrorCount() == before ? 0 : kExitGone;
}

// Every titled window with its state and size: a failure log shows what was
// on the screen (a message box, a window left unmapped).
void List(Display* display) {
  auto print = [&](Window window) {
    if (const auto title = TitleOf(display, window)) {
      const Frame frame = LookAt(display, window);
      std::printf("  %lu \"%s\" %dx%d %s\n", window, title->c_str(), frame.width, frame.height,
                  frame.viewable ? "shown" : "not shown");
    }
    return false;
  };
  Walk(display, DefaultRootWindow(display), print);
}

Rect RectOf(char** argv) { return {std::atoi(argv[0]), std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])}; }

Window WindowOf(const char* text) { return std::strtoul(text, nullptr, 10); }

int Run(Display* display, int argc, char** argv) {
  const std::string command = argv[1];
  if (command == "list") {
    List(display);
    return 0;
  }
  if (command == "find" && argc >= 3 && argc <= 5) {
    return Find(display, argv[2], argc >= 4 ? std::atof(argv[3]) : 0.0, argc == 5 ? WindowOf(argv[4]) : 0);
  }
  if (command == "sum" && argc == 7) {
    const auto sum = Read(display, WindowOf(argv[2]), RectOf(argv + 3));
    Print(sum);
    return sum ? 0 : 1;
  }
  if ((command == "change" || command == "equal") && argc == 9)
    return Compare(display, WindowOf(argv[2]), argv[3], command == "equal", std::atof(argv[4]), RectOf(argv + 5));
  if (command == "still" && argc == 8) return Still(display, WindowOf(argv[2]), std::atof(argv[3]), RectOf(argv + 4));
  if (command == "point" && argc == 5) return Point(display, WindowOf(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  if (command == "shot" && argc == 4) return XProbe::Shot(display, WindowOf(argv[2]), argv[3]);
  if (command == "crisp" && argc == 4) return XProbe::Crisp(display, WindowOf(argv[2]), std::atoi(argv[3]));
  if (command == "close" && argc == 3) return Close(display, WindowOf(argv[2]));
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 3;
  XProbe::CountErrors();
  const int result = Run(display, argc, argv);
  XCloseDisplay(display);
  return result;
}
