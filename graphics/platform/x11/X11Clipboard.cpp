#include "graphics/platform/x11/X11Clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

namespace graphics {

namespace {

constexpr auto kAnswerWait = std::chrono::milliseconds(1000);

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::vector<X11Clipboard*>& Registry() {
  static std::vector<X11Clipboard*> clipboards;
  return clipboards;
}

std::string FileUri(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/-_.~", c)) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    }
  }
  return uri + "\r\n";
}

// Latin-1 for clients that ask for STRING; characters beyond it become "?".
std::string Latin1(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (c >= 0xC2 && c <= 0xC3 && i + 1 < utf8.size())
      out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
    else
      out += '?';
    i += std::min(n, utf8.size() - i);
  }
  return out;
}

std::string FromLatin1(const std::string& latin1) {
  std::string out;
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

X11Clipboard::X11Clipboard(Display* d, Window w)
    : display(d),
      window(w),
      clipboard(XInternAtom(d, "CLIPBOARD", False)),
      targets(XInternAtom(d, "TARGETS", False)),
      utf8(XInternAtom(d, "UTF8_STRING", False)),
      text(XInternAtom(d, "TEXT", False)),
      uriList(XInternAtom(d, "text/uri-list", False)),
      property(XInternAtom(d, "KORVEL_CLIPBOARD", False)) {
  std::lock_guard<std::mutex> guard(RegistryLock());
  Registry().push_back(this);
}

X11Clipboard::~X11Clipboard() {
  std::lock_guard<std::mutex> guard(RegistryLock());
  auto& all = Registry();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

bool X11Clipboard::Own(const std::string& plain, const std::string& uris) {
  XSetSelectionOwner(display, clipboard, window, CurrentTime);
  const bool taken = XGetSelectionOwner(display, clipboard) == window;
  {
    std::lock_guard<std::mutex> guard(RegistryLock());
    owned = taken;
    ownedText = owned ? plain : std::string();
    ownedUriList = owned ? uris : std::string();
  }
  return owned;
}

bool X11Clipboard::SetText(const std::string& plain) { return Own(plain, {}); }

bool X11Clipboard::SetFilePath(const std::string& path) { return !path.empty() && Own(path, FileUri(path)); }

bool X11Clipboard::GetText(std::string& out) {
  out.clear();
  const Window owner = XGetSelectionOwner(display, clipboard);
  if (owner == None) return false;
  {
    std::lock_guard<std::mutex> guard(RegistryLock());
    for (X11Clipboard* c : Registry()) {
      if (c->window != owner || !c->owned || std::strcmp(DisplayString(c->display), DisplayString(display)) != 0)
        continue;
      out = c->ownedText;
      return true;
    }
  }
  if (Ask(utf8, out)) return true;
  std::string latin1;
  if (!Ask(XA_STRING, latin1)) return false;
  out = FromLatin1(latin1);
  return true;
}

bool X11Clipboard::Ask(Atom target, std::string& out) {
  XDeleteProperty(display, window, property);
  XConvertSelection(display, clipboard, target, property, window, CurrentTime);
  XFlush(display);
  const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
  XEvent e;
  for (;;) {
    if (XCheckTypedWindowEvent(display, window, SelectionNotify, &e)) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  if (e.xselection.property == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, 1 << 24, True, AnyPropertyType, &type, &format,
                                        &count, &after, &data);
  // Incremental transfers (very large texts) are not taken.
  const bool usable = status == Success && data && format == 8 && type != XInternAtom(display, "INCR", False);
  if (usable) out.assign(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return usable;
}

void X11Clipboard::Answer(const XEvent& event) {
  const XSelectionRequestEvent& request = event.xselectionrequest;
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  // Clients of the old protocol leave the property out.
  const Atom target = request.target;
  reply.property = request.property != None ? request.property : target;
  const long maxBytes = XMaxRequestSize(display) * 4 - 256;
  std::string payload;
  Atom type = utf8;
  if (!owned || request.selection != clipboard) {
    reply.property = None;
  } else if (target == targets) {
    std::vector<Atom> offered{targets, utf8, XA_STRING, text};
    if (!ownedUriList.empty()) offered.push_back(uriList);
    XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(offered.data()), static_cast<int>(offered.size()));
  } else if (target == utf8 || target == text) {
    payload = ownedText;
  } else if (target == XA_STRING) {
    payload = Latin1(ownedText);
    type = XA_STRING;
  } else if (target == uriList && !ownedUriList.empty()) {
    payload = ownedUriList;
    type = uriList;
  } else {
    reply.property = None;
  }
  if (reply.property != None && target != targets) {
    if (static_cast<long>(payload.size()) > maxBytes) {
      reply.property = None;
    } else {
      XChangeProperty(display, request.requestor, reply.property, type, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(payload.data()), static_cast<int>(payload.size()));
    }
  }
  XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(display);
}

bool X11Clipboard::HandleEvent(const XEvent& e) {
  if (e.type == SelectionRequest && e.xselectionrequest.owner == window) {
    Answer(e);
    return true;
  }
  if (e.type == SelectionClear && e.xselectionclear.window == window) {
    if (e.xselectionclear.selection == clipboard) {
      std::lock_guard<std::mutex> guard(RegistryLock());
      owned = false;
      ownedText.clear();
      ownedUriList.clear();
    }
    return true;
  }
  return false;
}

}  // namespace graphics
