#include "X11TestSupport.h"

#include <poll.h>

#include <chrono>

namespace x11test {

bool PumpUntil(graphics::IGuiX11& gui, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    gui.Pump();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline || gui.ConnectionFd() < 0) return false;
    pollfd p{gui.ConnectionFd(), POLLIN, 0};
    poll(&p, 1, gui.TickPeriodMs());
  }
}

void PumpTicks(graphics::IGuiX11& gui, int ticks) {
  for (int i = 0; i < ticks && gui.ConnectionFd() >= 0; ++i) {
    gui.Pump();
    pollfd p{gui.ConnectionFd(), POLLIN, 0};
    poll(&p, 1, gui.TickPeriodMs() + 1);
  }
  gui.Pump();
}

}  // namespace x11test
