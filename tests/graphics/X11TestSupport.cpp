#include "X11TestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>

// Xlib last: its macros clash with our names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>

extern char** environ;

namespace x11test {

namespace {

std::mutex connectionsLock;
std::vector<Display*> testConnections;
std::atomic<int> errorsElsewhere{0};

int OnError(Display* display, XErrorEvent*) {
  std::lock_guard<std::mutex> guard(connectionsLock);
  if (std::find(testConnections.begin(), testConnections.end(), display) == testConnections.end()) ++errorsElsewhere;
  return 0;
}

}  // namespace

int ErrorsElsewhere() { return errorsElsewhere; }

XvfbServer::XvfbServer(const std::vector<std::string>& extra) {
  int fds[2];
  if (pipe(fds) != 0) {
    failure = "no pipe";
    return;
  }
  const std::string fd = std::to_string(fds[1]);
  // -noreset: without it the server resets whenever its last client leaves, and refuses
  // connections meanwhile.
  std::vector<std::string> args{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    failure = "Xvfb is not installed (Debian package xvfb): " + std::string(std::strerror(spawned));
    return;
  }
  pid = child;
  // The server writes its display number once it accepts connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline && poll(&p, 1, 200) >= 0) {
    if (!(p.revents & (POLLIN | POLLHUP))) continue;
    char c = 0;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    failure = "Xvfb did not start";
    return;
  }
  name = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

TestConnection::TestConnection(const std::string& displayName) : display(XOpenDisplay(displayName.c_str())) {
  static std::once_flag installed;
  std::call_once(installed, [] { XSetErrorHandler(OnError); });
  std::lock_guard<std::mutex> guard(connectionsLock);
  testConnections.push_back(display);
}

TestConnection::~TestConnection() {
  if (display) XCloseDisplay(display);
  std::lock_guard<std::mutex> guard(connectionsLock);
  testConnections.erase(std::find(testConnections.begin(), testConnections.end(), display));
}

graphics::XId TestConnection::MakeParent(int w, int h) {
  const int screen = DefaultScreen(display);
  const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(w),
                                            static_cast<unsigned>(h), 0, BlackPixel(display, screen),
                                            WhitePixel(display, screen));
  XSelectInput(display, window, KeyPressMask | KeyReleaseMask);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

void TestConnection::Destroy(graphics::XId window) {
  XDestroyWindow(display, window);
  XSync(display, False);
}

std::vector<graphics::XId> TestConnection::Children(graphics::XId window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  std::vector<graphics::XId> out;
  if (!XQueryTree(display, window, &root, &parent, &children, &n)) return out;
  out.assign(children, children + n);
  if (children) XFree(children);
  return out;
}

std::vector<graphics::XId> TestConnection::PopUps() {
  std::vector<graphics::XId> out;
  for (graphics::XId w : Children(DefaultRootWindow(display))) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(display, w, &a) && a.override_redirect && a.map_state == IsViewable) out.push_back(w);
  }
  return out;
}

bool TestConnection::Geometry(graphics::XId window, int& x, int& y, int& w, int& h) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(display, window, &a)) return false;
  x = a.x;
  y = a.y;
  w = a.width;
  h = a.height;
  return true;
}

bool TestConnection::RootPosition(graphics::XId window, int& x, int& y) {
  Window child = 0;
  return XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
}

std::string TestConnection::ClassOf(graphics::XId window) {
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return {};
  std::string out = hint.res_class ? hint.res_class : "";
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return out;
}

std::vector<uint32_t> TestConnection::Pixels(graphics::XId window, int w, int h) {
  std::vector<uint32_t> out;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  if (!image) return out;
  out.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
  XDestroyImage(image);
  return out;
}

void TestConnection::MoveTo(int x, int y) {
  XTestFakeMotionEvent(display, DefaultScreen(display), x, y, 0);
  XSync(display, False);
}

void TestConnection::Button(unsigned int button, bool press) {
  XTestFakeButtonEvent(display, button, press ? True : False, 0);
  XSync(display, False);
}

void TestConnection::Click(int x, int y, unsigned int button) {
  MoveTo(x, y);
  Button(button, true);
  Button(button, false);
}

void TestConnection::Key(unsigned long keysym, bool press) {
  XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), press ? True : False, 0);
  XSync(display, False);
}

void TestConnection::Tap(unsigned long keysym, bool shift) {
  if (shift) Key(XK_Shift_L, true);
  Key(keysym, true);
  Key(keysym, false);
  if (shift) Key(XK_Shift_L, false);
}

void TestConnection::SetResources(const char* text) {
  XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)));
  XSync(display, False);
}

int TestConnection::ClientCount() {
  int event = 0, error = 0;
  if (!XResQueryExtension(display, &event, &error)) return -1;
  int n = 0;
  XResClient* clients = nullptr;
  if (!XResQueryClients(display, &n, &clients)) return -1;
  if (clients) XFree(clients);
  return n;
}

void TestConnection::Sync() { XSync(display, False); }

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
