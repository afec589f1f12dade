#pragma once
// Xlib's handle types without Xlib's header, whose macros (None, Status, True …) clash with
// our names: headers that others include use these; only .cpp files include Xlib, after
// every header of ours.
struct _XDisplay;
union _XEvent;

namespace graphics {

using XDisplayHandle = _XDisplay;
using XEventRecord = _XEvent;
// Window, Cursor and Atom are all X resource ids.
using XId = unsigned long;

}  // namespace graphics
