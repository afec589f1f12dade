#pragma once
// X errors on the editor's own connections are recorded, never fatal: Xlib's default handler
// would end the host's process for a window the host destroyed first. Errors on any other
// connection go on to the handler that was installed before. [main-thread]
#include <X11/Xlib.h>

namespace graphics {

class X11ErrorTrap {
public:
  // Starts trapping the connection's errors (installs the process's handler with the first).
  static void Watch(Display* display);
  // Stops; the last one puts the previous handler back unless someone replaced ours.
  static void Forget(Display* display);
  // Waits until the server has handled every request so far; returns the first error code
  // recorded since the last call (0 for none) and clears it.
  static int Sync(Display* display);
};

}  // namespace graphics
