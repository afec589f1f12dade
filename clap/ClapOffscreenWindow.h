#pragma once
// The window record of a product's private embedded editor API (ClapProduct::offscreenWindowApi
// names it): a host without a window system passes it as clap_window.ptr to clap.gui's
// set_parent and receives every painted frame through its callback. The host needs
// "clap.timer-support": the editor paints on the plug-in's timer ticks.
// Plain C layout, so any host can declare it.
#include <stdint.h>

typedef struct plugin_offscreen_window {
  // sizeof(plugin_offscreen_window_t) as the host compiled it; a smaller record is refused.
  uint32_t size;
  // Handed back to frame unchanged.
  void* context;
  // [main-thread] After every paint, with the whole frame: top-down premultiplied BGRA
  // pixels, width × height of them, rows rowBytes apart. The pixels are the plug-in's and
  // valid only during the call. May be null (the editor then paints for nobody).
  void (*frame)(void* context, const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t rowBytes);
} plugin_offscreen_window_t;
