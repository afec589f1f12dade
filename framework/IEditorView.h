#pragma once
// What the editor delegate needs of an open editor's graphics object. The UI core of the
// graphics framework implements it; the framework core knows editors only through it.
#include <cstdint>

#include "framework/MidiMessage.h"

namespace graphics {
struct IKeyEvent;
}

namespace framework {

class IEditorView {
public:
  virtual ~IEditorView() = default;

  // [main-thread] Editor size in UI units and the user's zoom (draw scale).
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual float DrawScale() const = 0;

  // [main-thread] New size in UI units and draw scale; platformResize also resizes the window.
  virtual void ResizeEditor(int width, int height, float scale, bool platformResize) = 0;
  // [main-thread] Display pixels per UI unit, from the system or the host.
  virtual void SetScreenScale(float scale) = 0;

  // [main-thread] Opens the window inside the host's parent window; returns the native view or null.
  virtual void* OpenWindow(void* parent) = 0;
  // [main-thread]
  virtual void CloseWindow() = 0;

  // [main-thread] Gives a normalised value to every control value bound to the parameter.
  virtual void ShowParamInControls(int paramIdx, double normalisedValue) = 0;
  // [main-thread] The control with this tag, if any, takes the value or the message.
  virtual void ShowValueInControl(int controlTag, double normalisedValue) = 0;
  virtual void ShowMessageInControl(int controlTag, int messageTag, int dataSize, const void* data) = 0;
  // [main-thread] Every control that wants MIDI receives the message.
  virtual void ShowMidiInControls(const MidiMessage& message) = 0;
  // [main-thread] A key from the host, handled at the current mouse position; true when taken.
  virtual bool KeyAtMouse(const graphics::IKeyEvent& key, bool isKeyUp) = 0;

  // [main-thread] One display tick given by the host, for a window that has no display
  // timer of its own; true when something was painted. Windows with their own do nothing.
  virtual bool HostTick() { return false; }
  // [main-thread] A descriptor the host's event loop watches for reading, calling HostTick
  // when it is readable, for a window whose events arrive on it; -1 for windows that need none.
  virtual int EventFd() const { return -1; }
  // [main-thread] The whole current frame, top-down premultiplied BGRA, for a window whose
  // pixels the host shows itself; null (sizes untouched) for windows the system shows.
  virtual const uint8_t* FramePixels(int& /*width*/, int& /*height*/, int& /*rowBytes*/) const { return nullptr; }
};

}  // namespace framework
