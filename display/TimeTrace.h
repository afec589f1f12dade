#pragma once
// Window arithmetic of the time view: which samples of a channel's 48000-sample history a
// trace shows for the zoom edges and the channel's delay, and where Hold moves that window.
// Plain functions. [thread-safe]

struct TimeWindow {
  int start = 0;  // first history index shown
  int n = 0;      // samples shown, 32 … 48000
};

// The window for the zoom edges (0 … 1 of the history) and a delay in samples. A delay that
// reaches past the oldest sample shows the oldest samples; the window never leaves the history.
TimeWindow ComputeTimeWindow(double xZoomLow, double xZoomHigh, int delaySamples) noexcept;

// With Hold at a linear level above 0: the start of an n-sample window that centres the
// oldest sample louder than the level, scanning the whole history; −1 when there is none or
// the window is too wide to move.
int HoldStart(const float* history, int n, double holdLevel) noexcept;

// Delay in whole samples at the display's reference rate, within 0 … 48000.
int DelaySamples(double delayMs, double referenceRate) noexcept;
