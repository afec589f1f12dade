#include "graphics/platform/x11/X11PopupCanvas.h"

#include <algorithm>

#include "framework/IGuiEditorDelegate.h"
#include "graphics/IControl.h"
#include "graphics/platform/x11/X11FrameCopy.h"
#include "graphics/skia/IGuiSkia.h"

namespace graphics {

// A pop-up edits no parameter of its own.
struct X11PopupCanvas::Delegate final : framework::IGuiEditorDelegate {
  Delegate() : IGuiEditorDelegate(0) {}
  void EditorGestureBegin(int) override {}
  void EditorGestureEnd(int) override {}
};

namespace {

int Pixels(int units, float scale) { return std::max(1, static_cast<int>(static_cast<float>(units) * scale)); }

}  // namespace

X11PopupCanvas::X11PopupCanvas(Display* d, Window parent, bool overrideRedirect, int x, int y, int w, int h,
                               float pixelScale, long eventMask)
    : display(d), scale(std::clamp(pixelScale, IGui::kMinScale, IGui::kMaxScale)), delegate(std::make_unique<Delegate>()) {
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = overrideRedirect ? True : False;
  attributes.event_mask = eventMask | ExposureMask;
  attributes.background_pixel = WhitePixel(display, screen);
  attributes.border_pixel = BlackPixel(display, screen);
  attributes.colormap = DefaultColormap(display, screen);
  window = XCreateWindow(display, parent, x, y, static_cast<unsigned>(Pixels(w, scale)),
                         static_cast<unsigned>(Pixels(h, scale)), 0, DefaultDepth(display, screen), InputOutput,
                         DefaultVisual(display, screen),
                         CWOverrideRedirect | CWEventMask | CWBackPixel | CWBorderPixel | CWColormap, &attributes);
  gui = std::make_unique<IGuiHeadless>(*delegate, w, h, 60, scale);
  gui->OpenWindow(nullptr);
  copy = std::make_unique<X11FrameCopy>(display, window, DefaultVisual(display, screen), DefaultDepth(display, screen));
}

X11PopupCanvas::~X11PopupCanvas() {
  copy.reset();
  gui.reset();
  XDestroyWindow(display, window);
}

void X11PopupCanvas::SetView(IControl* view) {
  gui->AddControl(view);
  view->MarkDirty(false);
}

void X11PopupCanvas::Resize(int w, int h) {
  gui->ResizeEditor(w, h, scale, false);
  XResizeWindow(display, window, static_cast<unsigned>(Pixels(w, scale)), static_cast<unsigned>(Pixels(h, scale)));
}

void X11PopupCanvas::Update() {
  if (!gui->Tick()) return;
  const uint8_t* pixels = gui->FrameBuffer() + IGuiSkia::kHeaderBytes;
  for (const IRect& r : gui->LastPaintedPixels()) copy->Put(pixels, gui->PixelWidth(), gui->PixelHeight(), r);
  copy->Finish();
}

void X11PopupCanvas::ShowAgain(int x, int y, int w, int h) {
  if (!gui->FrameBuffer()) return;
  const IRect r{static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w), static_cast<float>(y + h)};
  copy->Put(gui->FrameBuffer() + IGuiSkia::kHeaderBytes, gui->PixelWidth(), gui->PixelHeight(), r);
  copy->Finish();
}

}  // namespace graphics
