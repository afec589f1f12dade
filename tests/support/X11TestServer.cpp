#include "X11TestServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

// Xlib last: its macros clash with our names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
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

int TestConnection::SettledClientCount(int expected) {
  int count = ClientCount();
  for (int i = 0; i < 100 && count != expected; ++i) {
    usleep(10000);
    count = ClientCount();
  }
  return count;
}

void TestConnection::Sync() { XSync(display, False); }

XvfbServer* ProcessServer(std::string* failure) {
  static std::mutex guard;
  static std::unique_ptr<XvfbServer> server;
  const std::lock_guard hold(guard);
  if (!server || !server->Running()) {
    server = std::make_unique<XvfbServer>();
    if (server->Running()) setenv("DISPLAY", server->Name().c_str(), 1);
  }
  if (failure) *failure = server->Failure();
  return server->Running() ? server.get() : nullptr;
}

bool HostWindowScene::Start(int parentWidth, int parentHeight, std::string& failure) {
  server = ProcessServer(&failure);
  if (!server) return false;
  user = std::make_unique<TestConnection>(server->Name());
  if (!user->Connected()) {
    failure = "no connection to " + server->Name();
    return false;
  }
  user->MoveTo(1270, 1010);
  parent = user->MakeParent(parentWidth, parentHeight);
  return true;
}

HostWindowScene::~HostWindowScene() {
  if (user && parent) user->Destroy(parent);
}

void HostWindowScene::RemakeParent(int width, int height) {
  if (parent) user->Destroy(parent);
  parent = user->MakeParent(width, height);
}

graphics::XId HostWindowScene::Child() {
  const auto children = user->Children(parent);
  return children.size() == 1 ? children.front() : 0;
}

void HostWindowScene::ScreenPoint(float x, float y, int& sx, int& sy) {
  int cx = 0, cy = 0;
  user->RootPosition(Child(), cx, cy);
  sx = cx + static_cast<int>(x);
  sy = cy + static_cast<int>(y);
}

void HostWindowScene::Drag(float x, float y, int dx, int dy, const std::function<void(int turns)>& pump) {
  int sx = 0, sy = 0;
  ScreenPoint(x, y, sx, sy);
  user->MoveTo(sx, sy);
  pump(3);
  user->Button(1, true);
  pump(3);
  for (int step = 1; step <= 10; ++step) {
    user->MoveTo(sx + dx * step / 10, sy + dy * step / 10);
    pump(2);
  }
  user->Button(1, false);
  pump(5);
}

PopUpUser::PopUpUser(const std::string& displayName, Action action, graphics::XId rescueWindow)
    : thread([this, displayName, action, rescueWindow] {
        TestConnection hand(displayName);
        // The pop-up may show a moment before it holds the grab: act again while it is there.
        int attempts = 0;
        for (int i = 0; i < 400 && attempts < 10; ++i) {
          const auto popups = hand.PopUps();
          if (popups.empty()) {
            if (seen) return;
            usleep(5000);
            continue;
          }
          seen = true;
          int x = 0, y = 0, w = 0, h = 0;
          hand.Geometry(popups.front(), x, y, w, h);
          if (action == Action::ChooseMiddle) {
            hand.MoveTo(x + w / 2, y + h / 2);
            hand.Click(x + w / 2, y + h / 2);
          } else if (action == Action::Escape) {
            hand.Tap(XK_Escape);
          } else {
            hand.Click(x + w + 200, y + h + 200);
          }
          ++attempts;
          usleep(100000);
        }
        rescued = true;
        if (rescueWindow) hand.Destroy(rescueWindow);
      }) {}

void PopUpUser::Join() {
  if (thread.joinable()) thread.join();
}

}  // namespace x11test
