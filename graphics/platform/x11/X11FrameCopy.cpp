#include "graphics/platform/x11/X11FrameCopy.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/platform/x11/X11ErrorTrap.h"

namespace graphics {

X11FrameCopy::X11FrameCopy(Display* d, Window w, Visual* v, int bits)
    : display(d), window(w), visual(v), depth(bits), gc(XCreateGC(d, w, 0, nullptr)) {
  shmAvailable = XShmQueryExtension(display) == True;
}

X11FrameCopy::~X11FrameCopy() {
  DropSharedImage();
  XFreeGC(display, gc);
}

bool X11FrameCopy::VisualFits(const Visual* v, int bits) noexcept {
  return v && (bits == 24 || bits == 32) && v->red_mask == 0xFF0000 && v->green_mask == 0xFF00 &&
         v->blue_mask == 0xFF;
}

bool X11FrameCopy::MakeSharedImage(int w, int h) {
  DropSharedImage();
  XImage* image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &segment,
                                  static_cast<unsigned>(w), static_cast<unsigned>(h));
  if (!image) return false;
  if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst) {
    XDestroyImage(image);
    return false;
  }
  segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(h),
                         IPC_CREAT | 0600);
  if (segment.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  segment.readOnly = False;
  bool attached = segment.shmaddr != reinterpret_cast<char*>(-1);
  // A server that cannot reach our memory (another machine, another namespace) reports it
  // asynchronously: wait for the answer before relying on the segment.
  if (attached) attached = XShmAttach(display, &segment) && X11ErrorTrap::Sync(display) == 0;
  // Marked for removal now, so the segment goes away with the last detach even after a crash.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!attached) {
    if (segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    segment = {};
    shmAvailable = false;
    return false;
  }
  shmImage = image;
  return true;
}

void X11FrameCopy::DropSharedImage() {
  if (!shmImage) return;
  Finish();
  XShmDetach(display, &segment);
  XSync(display, False);
  shmdt(segment.shmaddr);
  shmImage->data = nullptr;
  XDestroyImage(shmImage);
  shmImage = nullptr;
  segment = {};
}

void X11FrameCopy::Put(const uint8_t* pixels, int w, int h, const IRect& region) {
  if (!pixels || w <= 0 || h <= 0) return;
  const int x0 = std::clamp(static_cast<int>(std::floor(region.L)), 0, w);
  const int y0 = std::clamp(static_cast<int>(std::floor(region.T)), 0, h);
  const int x1 = std::clamp(static_cast<int>(std::ceil(region.R)), 0, w);
  const int y1 = std::clamp(static_cast<int>(std::ceil(region.B)), 0, h);
  if (x1 <= x0 || y1 <= y0) return;
  const size_t stride = static_cast<size_t>(w) * 4;
  if (shmAvailable && (!shmImage || shmImage->width != w || shmImage->height != h)) MakeSharedImage(w, h);
  if (shmImage) {
    const size_t rowBytes = static_cast<size_t>(x1 - x0) * 4;
    for (int y = y0; y < y1; ++y) {
      const size_t offset = static_cast<size_t>(y) * static_cast<size_t>(shmImage->bytes_per_line) +
                            static_cast<size_t>(x0) * 4;
      std::memcpy(shmImage->data + offset, pixels + static_cast<size_t>(y) * stride + static_cast<size_t>(x0) * 4,
                  rowBytes);
    }
    XShmPutImage(display, window, gc, shmImage, x0, y0, x0, y0, static_cast<unsigned>(x1 - x0),
                 static_cast<unsigned>(y1 - y0), False);
    pending = true;
    return;
  }
  // The plain image borrows the frame's rows; the request is written out before it returns.
  XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                               reinterpret_cast<char*>(const_cast<uint8_t*>(pixels)), static_cast<unsigned>(w),
                               static_cast<unsigned>(h), 32, static_cast<int>(stride));
  if (!image) return;
  image->byte_order = LSBFirst;
  XPutImage(display, window, gc, image, x0, y0, x0, y0, static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0));
  image->data = nullptr;
  XDestroyImage(image);
}

void X11FrameCopy::Finish() {
  if (!pending) return;
  XSync(display, False);
  pending = false;
}

}  // namespace graphics
