#pragma once
// Double clicks for the X11 window, which reports only presses: a press of the same button
// within the time and distance limits of the previous single press completes one; the press
// after a double click starts afresh. [main-thread]

namespace graphics {

class X11DoubleClick {
public:
  static constexpr unsigned long kDefaultMilliseconds = 400;
  static constexpr int kDefaultDistance = 4;

  explicit X11DoubleClick(unsigned long milliseconds = kDefaultMilliseconds, int distance = kDefaultDistance) noexcept
      : maxTime(milliseconds), maxDistance(distance) {}

  // A press of the button at window pixel (x, y) at the server's time (32-bit milliseconds,
  // which wrap around). True when it completes a double click.
  bool Press(unsigned int button, int x, int y, unsigned long time) noexcept {
    const bool completes = armed && button == lastButton && ((time - lastTime) & 0xFFFFFFFFUL) <= maxTime &&
                           Near(x, lastX) && Near(y, lastY);
    armed = !completes;
    lastButton = button;
    lastX = x;
    lastY = y;
    lastTime = time;
    return completes;
  }

private:
  bool Near(int a, int b) const noexcept { return a - b <= maxDistance && b - a <= maxDistance; }

  unsigned long maxTime;
  int maxDistance;
  bool armed = false;
  unsigned int lastButton = 0;
  int lastX = 0, lastY = 0;
  unsigned long lastTime = 0;
};

}  // namespace graphics
