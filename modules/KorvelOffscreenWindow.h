#pragma once
// Korvel's private embedded editor API "korvel.offscreen", for hosts without a window system
// (the render tool, tests): the window record of clap/ClapOffscreenWindow.h under Korvel's name.
#include "clap/ClapOffscreenWindow.h"

#define KORVEL_WINDOW_API_OFFSCREEN "korvel.offscreen"

typedef plugin_offscreen_window_t korvel_offscreen_window_t;
