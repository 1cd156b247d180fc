// A small X client for the end-to-end test: finds the game's window by its
// title, sums the pixels of a rectangle of it (so the test can wait for the
// picture to change instead of sleeping), and asks the window to close the
// way a window manager does when its close button is clicked.
//
// It also writes the window's picture (for a failed run, and for the
// README's screenshots) and checks that a scaled picture is crisp.
//
// Usage: xprobe find TITLE | sum WINDOW X Y W H | shot WINDOW FILE.ppm|FILE.png
//               | crisp WINDOW SCALE | close WINDOW

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

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

// The whole window's picture, or null.
XImage* Grab(Display* display, Window window, int& width, int& height) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return nullptr;
  width = attributes.width;
  height = attributes.height;
  return XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes,
                   ZPixmap);
}

void RgbRow(XImage* image, int y, int width, std::uint8_t* rgb) {
  for (int x = 0; x < width; ++x) {
    const unsigned long pixel = XGetPixel(image, x, y);
    rgb[3 * x] = static_cast<std::uint8_t>(pixel >> 16);
    rgb[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
    rgb[3 * x + 2] = static_cast<std::uint8_t>(pixel);
  }
}

bool WritePng(std::FILE* file, XImage* image, int width, int height) {
  std::string row(static_cast<std::size_t>(width) * 3, '\0');  // before the jump point: no destructor is skipped
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    RgbRow(image, y, width, reinterpret_cast<std::uint8_t*>(row.data()));
    png_write_row(png, reinterpret_cast<png_const_bytep>(row.data()));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// Writes the window's picture as a binary PPM or, for a name ending in
// ".png", as a PNG.
int Shot(Display* display, Window window, const char* path) {
  int width = 0;
  int height = 0;
  XImage* image = Grab(display, window, width, height);
  if (image == nullptr) return 1;
  std::FILE* file = std::fopen(path, "wb");
  bool ok = file != nullptr;
  const std::string name = path;
  if (ok && name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
    ok = WritePng(file, image, width, height);
  } else if (ok) {
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::string row(static_cast<std::size_t>(width) * 3, '\0');
    for (int y = 0; y < height; ++y) {
      RgbRow(image, y, width, reinterpret_cast<std::uint8_t*>(row.data()));
      std::fwrite(row.data(), 1, row.size(), file);
    }
  }
  if (file != nullptr && std::fclose(file) != 0) ok = false;
  XDestroyImage(image);
  return ok ? 0 : 1;
}

// Prints the window's size and how many of its SCALE x SCALE squares (from
// the top left) hold more than one colour: 0 for a crisp picture at SCALE.
int Crisp(Display* display, Window window, int scale) {
  int width = 0;
  int height = 0;
  XImage* image = scale > 0 ? Grab(display, window, width, height) : nullptr;
  if (image == nullptr) return 1;
  long mixed = 0;
  for (int by = 0; by + scale <= height; by += scale) {
    for (int bx = 0; bx + scale <= width; bx += scale) {
      const unsigned long first = XGetPixel(image, bx, by);
      bool same = true;
      for (int y = by; y < by + scale && same; ++y) {
        for (int x = bx; x < bx + scale && same; ++x) same = XGetPixel(image, x, y) == first;
      }
      if (!same) ++mixed;
    }
  }
  XDestroyImage(image);
  std::printf("%d %d %ld\n", width, height, mixed);
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
  } else if (command == "crisp" && argc == 4) {
    result = Crisp(display, std::strtoul(argv[2], nullptr, 10), std::atoi(argv[3]));
  } else if (command == "close") {
    result = Close(display, std::strtoul(argv[2], nullptr, 10));
  }
  XCloseDisplay(display);
  return result;
}
