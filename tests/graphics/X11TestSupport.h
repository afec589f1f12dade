#pragma once
// For the X11 window tests: a private Xvfb server started and stopped by the test itself,
// a second connection that plays the user and the host (parent windows, synthesised input,
// reading pixels and the window tree), and pumping an editor until something happened.
#include <functional>
#include <string>
#include <vector>

#include "graphics/platform/x11/IGuiX11.h"
#include "graphics/platform/x11/X11Types.h"

namespace x11test {

class XvfbServer {
public:
  // Starts `Xvfb -displayfd … -screen 0 1280x1024x24 -nolisten tcp -noreset` plus the extra arguments
  // on a display number the server picks itself; check Running() and, if not, Failure().
  explicit XvfbServer(const std::vector<std::string>& extraArguments = {});
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const noexcept { return pid > 0 && !name.empty(); }
  const std::string& Failure() const noexcept { return failure; }
  // ":N"
  const std::string& Name() const noexcept { return name; }

private:
  int pid = -1;
  std::string name;
  std::string failure;
};

// X errors on the editor's connections that reached the process's handler, which the
// editor's own handler should have kept. The test's connections ignore theirs: a window may
// go away between two requests.
int ErrorsElsewhere();

// A connection of the test's own: it makes the host's window and acts as the user. The first
// one installs the process's error handler, before any editor installs its own.
class TestConnection {
public:
  explicit TestConnection(const std::string& displayName);
  ~TestConnection();
  TestConnection(const TestConnection&) = delete;
  TestConnection& operator=(const TestConnection&) = delete;

  graphics::XDisplayHandle* Display() const noexcept { return display; }
  bool Connected() const noexcept { return display != nullptr; }
  // A mapped top-level window, as a host's editor frame.
  graphics::XId MakeParent(int w, int h);
  void Destroy(graphics::XId window);
  std::vector<graphics::XId> Children(graphics::XId window);
  // Mapped override-redirect windows on the screen (pop-ups).
  std::vector<graphics::XId> PopUps();
  bool Geometry(graphics::XId window, int& x, int& y, int& w, int& h);
  // The window's position on the screen.
  bool RootPosition(graphics::XId window, int& x, int& y);
  std::string ClassOf(graphics::XId window);
  // 0x00RRGGBB pixels of the window, row by row; empty when it cannot be read.
  std::vector<uint32_t> Pixels(graphics::XId window, int w, int h);
  // Synthesised input (XTest), in screen pixels; each call waits until the server took it.
  void MoveTo(int x, int y);
  void Button(unsigned int button, bool press);
  void Click(int x, int y, unsigned int button = 1);
  // A key by its key symbol, with shift held when asked.
  void Key(unsigned long keysym, bool press);
  void Tap(unsigned long keysym, bool shift = false);
  // Sets the X resources of the screen (RESOURCE_MANAGER on the root), e.g. "Xft.dpi:\t144\n".
  void SetResources(const char* text);
  // The number of clients the server has now (X-Resource extension); -1 without it.
  int ClientCount();
  void Sync();

private:
  graphics::XDisplayHandle* display = nullptr;
};

// Pumps the editor until the condition holds (checked after every pump), waiting for the
// connection or the next tick in between; false when it did not happen within two seconds.
bool PumpUntil(graphics::IGuiX11& gui, const std::function<bool()>& condition);
// Pumps through the next few ticks, so whatever is pending has been handled and painted.
void PumpTicks(graphics::IGuiX11& gui, int ticks = 3);

}  // namespace x11test
