#include "support/x11_screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "gfx2d/image_writer.h"

namespace {

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// The byte a channel mask selects, scaled to 0 .. 255.
std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long maximum = mask >> shift;
  return static_cast<std::uint8_t>(value * 255 / maximum);
}

}  // namespace

WindowPicture CaptureWindow(const std::string& displayName, unsigned long window) {
  WindowPicture picture;
  Display* display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) return picture;
  XSetErrorHandler(IgnoreXErrors);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable) {
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image != nullptr) {
      picture.width = attributes.width;
      picture.height = attributes.height;
      picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
      for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
          const unsigned long pixel = XGetPixel(image, x, y);
          std::uint8_t* out = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
          out[0] = Channel(pixel, image->red_mask);
          out[1] = Channel(pixel, image->green_mask);
          out[2] = Channel(pixel, image->blue_mask);
        }
      }
      XDestroyImage(image);
    }
  }
  XCloseDisplay(display);
  return picture;
}

bool SaveWindowPicture(const WindowPicture& picture, const std::string& path) {
  if (picture.Empty()) return false;
  std::vector<std::uint8_t> bgra(static_cast<std::size_t>(picture.width) * picture.height * 4);
  for (std::size_t i = 0, pixels = bgra.size() / 4; i < pixels; ++i) {
    bgra[i * 4 + 0] = picture.rgb[i * 3 + 2];
    bgra[i * 4 + 1] = picture.rgb[i * 3 + 1];
    bgra[i * 4 + 2] = picture.rgb[i * 3 + 0];
    bgra[i * 4 + 3] = 255;
  }
  return SavePng(path, bgra.data(), picture.width, picture.height);
}
