#pragma once
// For the X11 window tests: the private server and test connection, and pumping an editor
// until something happened.
#include <functional>

#include "X11TestServer.h"
#include "graphics/platform/x11/IGuiX11.h"

namespace x11test {

// Pumps the editor until the condition holds (checked after every pump), waiting for the
// connection or the next tick in between; false when it did not happen within two seconds.
bool PumpUntil(graphics::IGuiX11& gui, const std::function<bool()>& condition);
// Pumps through the next few ticks, so whatever is pending has been handled and painted.
void PumpTicks(graphics::IGuiX11& gui, int ticks = 3);

}  // namespace x11test
