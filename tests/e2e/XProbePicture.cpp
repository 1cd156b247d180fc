// The probe's look at a window: its state and size without dying of an X
// error, and its whole picture, for a failed run's log, for the README's
// screenshots and for the check that a scaled picture is crisp.

#include <X11/Xutil.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "XProbe.h"

namespace XProbe {

namespace {

int gErrors = 0;

int CountError(Display*, XErrorEvent*) {
  ++gErrors;
  return 0;
}

// The whole window's picture, or null when it is not shown or goes away.
XImage* Grab(Display* display, Window window, int& width, int& height) {
  const Frame frame = LookAt(display, window);
  if (!frame.viewable) return nullptr;
  width = frame.width;
  height = frame.height;
  const int before = gErrors;
  XImage* image =
      XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
  XSync(display, False);
  if (image != nullptr && gErrors != before) {
    XDestroyImage(image);
    return nullptr;
  }
  return image;
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

}  // namespace

void CountErrors() { XSetErrorHandler(CountError); }

int ErrorCount() { return gErrors; }

Frame LookAt(Display* display, Window window) {
  XWindowAttributes attributes{};
  const int before = gErrors;
  const Status ok = XGetWindowAttributes(display, window, &attributes);
  Frame frame;
  if (ok == 0 || gErrors != before) return frame;
  frame.exists = true;
  frame.viewable = attributes.map_state == IsViewable;
  frame.width = attributes.width;
  frame.height = attributes.height;
  return frame;
}

int Shot(Display* display, Window window, const char* path) {
  int width = 0;
  int height = 0;
  XImage* image = Grab(display, window, width, height);
  if (image == nullptr) return kExitGone;
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

}  // namespace XProbe
