#pragma once
// Stands in for an open editor's graphics object and records what the delegate asks of it.
#include <string>
#include <vector>

#include "framework/IEditorView.h"

namespace testsupport {

struct FakeEditorView : framework::IEditorView {
  int width = 724, height = 526;
  float scale = 1.0f, screenScale = 1.0f;
  int resizes = 0;
  bool lastPlatformResize = false;
  bool open = false;
  std::vector<std::string>* log = nullptr;  // shared with the test, outlives the view

  explicit FakeEditorView(std::vector<std::string>* sharedLog = nullptr) : log(sharedLog) {}
  ~FakeEditorView() override { Note("deleted"); }

  void Note(const std::string& s) {
    if (log) log->push_back(s);
  }
  int Width() const override { return width; }
  int Height() const override { return height; }
  float DrawScale() const override { return scale; }
  void ResizeEditor(int w, int h, float s, bool platformResize) override {
    width = w;
    height = h;
    scale = s;
    lastPlatformResize = platformResize;
    ++resizes;
    Note("resize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void SetScreenScale(float s) override { screenScale = s; }
  void* OpenWindow(void*) override {
    open = true;
    Note("open");
    return this;
  }
  void CloseWindow() override {
    open = false;
    Note("close");
  }
  void ShowParamInControls(int idx, double value) override { Note("param " + std::to_string(idx) + " " + std::to_string(value)); }
  void ShowValueInControl(int tag, double) override { Note("value " + std::to_string(tag)); }
  void ShowMessageInControl(int tag, int, int, const void*) override { Note("message " + std::to_string(tag)); }
  void ShowMidiInControls(const framework::MidiMessage&) override { Note("midi"); }
  bool KeyAtMouse(const graphics::IKeyEvent&, bool up) override {
    Note(up ? "key up" : "key down");
    return true;
  }
};

}  // namespace testsupport
