#pragma once
// For tests of the editor's X11 window: a private Xvfb server started and stopped by the test
// itself, and a connection of the test's own that plays the user and the host (parent windows,
// synthesised input, reading pixels and the window tree).
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "graphics/platform/x11/X11Types.h"

namespace x11test {

// A window id as the native parent handle an editor is opened with.
inline void* AsParent(graphics::XId window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

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
  // The count once it is the expected one, or after a second: the server notices closed
  // connections on its own time.
  int SettledClientCount(int expected);
  void Sync();

private:
  graphics::XDisplayHandle* display = nullptr;
};

// One server for the whole test program, started on first use; $DISPLAY then names it, so
// an editor (in a loaded module too) connects to it. Null when it could not start; Failure()
// of the last attempt says why.
XvfbServer* ProcessServer(std::string* failure = nullptr);

// What an editor test of a binding needs around the editor: the process's server, a connection
// of the test's own that plays host and user (the pointer kept off the editor, so no hover
// changes what it draws), and the host's window.
class HostWindowScene {
public:
  // False, with the reason, when no server can run here.
  bool Start(int parentWidth, int parentHeight, std::string& failure);
  ~HostWindowScene();

  XvfbServer& Server() const noexcept { return *server; }
  TestConnection& User() const noexcept { return *user; }
  graphics::XId Parent() const noexcept { return parent; }
  // Replaces the host's window by one of another size.
  void RemakeParent(int width, int height);
  // The test gave up the window (a pop-up user destroyed it to end a menu).
  void ForgetParent() noexcept { parent = 0; }
  // The editor's window: the host window's only child, or 0.
  graphics::XId Child();
  // A point of the editor window on the screen.
  void ScreenPoint(float x, float y, int& sx, int& sy);
  // A left-button drag from the point by (dx, dy) screen pixels in ten steps, running the
  // host's loop (pump) in between as a host would.
  void Drag(float x, float y, int dx, int dy, const std::function<void(int turns)>& pump);

private:
  XvfbServer* server = nullptr;
  std::unique_ptr<TestConnection> user;
  graphics::XId parent = 0;
};

// The user at a pop-up menu, in a thread of its own while the editor's thread is inside the
// menu's modal loop: waits for a pop-up and acts on it. When the pop-up does not react it
// destroys the rescue window (the host's), which ends the menu, so a test fails rather than hangs.
class PopUpUser {
public:
  enum class Action { ChooseMiddle, Escape, ClickOutside };
  PopUpUser(const std::string& displayName, Action action, graphics::XId rescueWindow);
  ~PopUpUser() { Join(); }
  PopUpUser(const PopUpUser&) = delete;
  PopUpUser& operator=(const PopUpUser&) = delete;

  void Join();
  bool Seen() const noexcept { return seen; }
  bool Rescued() const noexcept { return rescued; }

private:
  std::atomic<bool> seen{false};
  std::atomic<bool> rescued{false};
  std::thread thread;
};

}  // namespace x11test
