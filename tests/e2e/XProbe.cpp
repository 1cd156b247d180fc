// A small X client for the end-to-end test: finds the game's window by its
// title, sums the pixels of a rectangle of it (so the test can wait for the
// picture to change instead of sleeping), and asks the window to close the
// way a window manager does when its close button is clicked.
//
// Usage: xprobe find TITLE | sum WINDOW X Y W H | shot WINDOW FILE.ppm | close WINDOW

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Window FindByTitle(Display* display, Window window, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    const bool match = std::strcmp(name, title) == 0;
    XFree(name);
    if (match) return window;
  }
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) found = FindByTitle(display, children[i], title);
  if (children != nullptr) XFree(children);
  return found;
}

int Sum(Display* display, Window window, int x, int y, int w, int h) {
  XImage* image =
      XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  if (image == nullptr) return 1;
  std::uint64_t sum = 0;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) sum = sum * 1099511628211ull + XGetPixel(image, px, py);
  }
  XDestroyImage(image);
  std::printf("%llu\n", static_cast<unsigned long long>(sum));
  return 0;
}

// Writes the window's picture as a binary PPM, for looking at a failed run.
int Shot(Display* display, Window window, const char* path) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return 1;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return 1;
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    XDestroyImage(image);
    return 1;
  }
  std::fprintf(file, "P6\n%d %d\n255\n", attributes.width, attributes.height);
  for (int py = 0; py < attributes.height; ++py) {
    for (int px = 0; px < attributes.width; ++px) {
      const unsigned long pixel = XGetPixel(image, px, py);
      const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                                    static_cast<unsigned char>(pixel)};
      std::fwrite(rgb, 1, 3, file);
    }
  }
  std::fclose(file);
  XDestroyImage(image);
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
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 3;
  const std::string command = argv[1];
  int result = 2;
  if (command == "find") {
    const Window window = FindByTitle(display, DefaultRootWindow(display), argv[2]);
    if (window != 0) std::printf("%lu\n", window);
    result = window != 0 ? 0 : 1;
  } else if (command == "sum" && argc == 7) {
    const Window window = std::strtoul(argv[2], nullptr, 10);
    result = Sum(display, window, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
  } else if (command == "shot" && argc == 4) {
    result = Shot(display, std::strtoul(argv[2], nullptr, 10), argv[3]);
  } else if (command == "close") {
    result = Close(display, std::strtoul(argv[2], nullptr, 10));
  }
  XCloseDisplay(display);
  return result;
}
