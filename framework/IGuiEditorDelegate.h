#pragma once
// The editor delegate tied to a graphics object: creates it when the host opens the editor,
// deletes it when the host closes it, remembers size and scale across reopenings, and
// forwards values and messages to its controls.
#include <functional>
#include <memory>

#include "framework/IEditorDelegate.h"
#include "framework/IEditorView.h"

namespace graphics {
class IGui;
}

namespace framework {

class IGuiEditorDelegate : public IEditorDelegate {
public:
  using GraphicsFactory = std::function<IEditorView*()>;
  using LayoutFunction = std::function<void(graphics::IGui&)>;

  explicit IGuiEditorDelegate(int paramCount);
  ~IGuiEditorDelegate() override;

  void* OpenEditor(void* parent) override;
  void CloseEditor() override;
  void OnHostResizeEditor(int width, int height) override;
  bool KeyDownFromHost(const graphics::IKeyEvent& key) override;
  bool KeyUpFromHost(const graphics::IKeyEvent& key) override;
  void ShowControlValue(int controlTag, double normalisedValue) override;
  void ShowControlMessage(int controlTag, int messageTag, int dataSize, const void* data) override;
  void ShowMidiInEditor(const MidiMessage& message) override;
  void ShowParamInEditor(int paramIdx, double value, bool normalised) override;
  bool SaveEditorState(StateChunk& chunk) const override;
  int LoadEditorState(const StateChunk& chunk, int pos) override;
  // Also kept for the next graphics object: hosts give the scale before the window exists.
  void ApplyScreenScale(float scale) override;

  // [main-thread] A new graphics object from the installed factory, or null.
  virtual IEditorView* MakeGraphics();
  // [editor-thread] Called by the graphics object whenever it needs its controls laid out.
  virtual void BuildEditorLayout(graphics::IGui& graphics);

  // [main-thread] The open editor's graphics, or null while closed.
  IEditorView* Graphics() const noexcept { return graphics.get(); }
  void SetGraphicsFactory(GraphicsFactory factory) { graphicsFactory = std::move(factory); }
  void SetLayoutFunction(LayoutFunction function) { layoutFunction = std::move(function); }

private:
  void DestroyGraphics();

  GraphicsFactory graphicsFactory;
  LayoutFunction layoutFunction;
  std::unique_ptr<IEditorView> graphics;
  int lastWidth = 0;
  int lastHeight = 0;
  float lastScale = 0.0f;
  float hostScreenScale = 0.0f;
  bool closing = false;
};

}  // namespace framework
