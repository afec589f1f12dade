#pragma once
// Clipboard text for the X11 window through the CLIPBOARD selection: setting it makes the
// window the selection's owner, which answers other clients' requests until another client
// takes the selection or the window closes; reading asks the owner and waits a bounded time
// for its answer. Owners in this process are read directly (they cannot answer while the
// thread waits). [main-thread]
#include <string>

#include "graphics/platform/x11/X11Types.h"

namespace graphics {

class X11Clipboard {
public:
  X11Clipboard(XDisplayHandle* display, XId window);
  ~X11Clipboard();
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  // False when the server did not give us the selection.
  bool SetText(const std::string& text);
  // The path as a one-file URI list (and as plain text for clients that want text).
  bool SetFilePath(const std::string& path);
  // The clipboard's text as UTF-8; false (text "") when there is none, the owner offers no
  // text, or it does not answer within a second.
  bool GetText(std::string& text);
  // Answers SelectionRequest and handles SelectionClear for its window; false for other events.
  bool HandleEvent(const XEventRecord& event);

private:
  bool Own(const std::string& text, const std::string& uriList);
  bool Ask(XId target, std::string& text);
  void Answer(const XEventRecord& request);

  XDisplayHandle* display;
  XId window;
  XId clipboard, targets, utf8, text, uriList, property;
  bool owned = false;
  std::string ownedText;
  std::string ownedUriList;
};

}  // namespace graphics
