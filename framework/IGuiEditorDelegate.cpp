#include "framework/IGuiEditorDelegate.h"

#include <cmath>

namespace framework {

IGuiEditorDelegate::IGuiEditorDelegate(int paramCount) : IEditorDelegate(paramCount) {}

IGuiEditorDelegate::~IGuiEditorDelegate() {
  graphics.reset();
  graphicsFactory = nullptr;
  layoutFunction = nullptr;
}

// Remembers the size and scale for the next opening, then closes and deletes the window.
void IGuiEditorDelegate::DestroyGraphics() {
  if (!graphics) return;
  lastWidth = graphics->Width();
  lastHeight = graphics->Height();
  lastScale = graphics->DrawScale();
  graphics->CloseWindow();
  graphics.reset();
}

void* IGuiEditorDelegate::OpenEditor(void* parent) {
  if (!closing) {
    closing = true;
    OnEditorClose();
    DestroyGraphics();
    closing = false;
  }
  if (!graphics) {
    std::unique_ptr<IEditorView> made(MakeGraphics());
    graphics = std::move(made);
    if (graphics && lastWidth != 0 && lastHeight != 0 && lastScale != 0.0f)
      graphics->ResizeEditor(lastWidth, lastHeight, lastScale, true);
    if (graphics && hostScreenScale > 0.0f) graphics->SetScreenScale(hostScreenScale);
  }
  return graphics ? graphics->OpenWindow(parent) : nullptr;
}

void IGuiEditorDelegate::CloseEditor() {
  if (closing) return;
  closing = true;
  OnEditorClose();
  DestroyGraphics();
  closing = false;
}

void IGuiEditorDelegate::OnHostResizeEditor(int width, int height) {
  if (!graphics) return;
  const float s = graphics->DrawScale();
  if (!(s > 0.0f)) return;
  graphics->ResizeEditor(static_cast<int>(static_cast<float>(width) / s),
                         static_cast<int>(static_cast<float>(height) / s), 1.0f, false);
}

bool IGuiEditorDelegate::KeyDownFromHost(const graphics::IKeyEvent& key) {
  return graphics && graphics->KeyAtMouse(key, false);
}

bool IGuiEditorDelegate::KeyUpFromHost(const graphics::IKeyEvent& key) {
  return graphics && graphics->KeyAtMouse(key, true);
}

void IGuiEditorDelegate::ShowControlValue(int controlTag, double normalisedValue) {
  if (graphics) graphics->ShowValueInControl(controlTag, normalisedValue);
}

void IGuiEditorDelegate::ShowControlMessage(int controlTag, int messageTag, int dataSize, const void* data) {
  if (graphics) graphics->ShowMessageInControl(controlTag, messageTag, dataSize, data);
}

void IGuiEditorDelegate::ShowMidiInEditor(const MidiMessage& message) {
  if (graphics) graphics->ShowMidiInControls(message);
  OnMidiShown(message);
}

void IGuiEditorDelegate::ShowParamInEditor(int paramIdx, double value, bool normalised) {
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  if (graphics) graphics->ShowParamInControls(paramIdx, normalised ? value : param->Normalise(value));
  ParamChangedForEditor(paramIdx, ParamSource::EditorDelegate);
}

bool IGuiEditorDelegate::SaveEditorState(StateChunk& chunk) const {
  const int32_t width = graphics ? graphics->Width() : lastWidth;
  const int32_t height = graphics ? graphics->Height() : lastHeight;
  const float scale = graphics ? graphics->DrawScale() : lastScale;
  return chunk.PutInt32(width) && chunk.PutInt32(height) && chunk.PutBytes(&scale, sizeof scale);
}

int IGuiEditorDelegate::LoadEditorState(const StateChunk& chunk, int pos) {
  int32_t width = 0, height = 0;
  float scale = 0.0f;
  pos = chunk.GetInt32(width, pos);
  pos = chunk.GetInt32(height, pos);
  pos = chunk.GetBytes(&scale, sizeof scale, pos);
  if (pos < 0) return -1;
  lastWidth = width;
  lastHeight = height;
  lastScale = scale;
  return pos;
}

void IGuiEditorDelegate::ApplyScreenScale(float scale) {
  if (!(scale > 0.0f) || !std::isfinite(scale)) return;
  hostScreenScale = scale;
  if (graphics) graphics->SetScreenScale(scale);
}

IEditorView* IGuiEditorDelegate::MakeGraphics() { return graphicsFactory ? graphicsFactory() : nullptr; }

void IGuiEditorDelegate::BuildEditorLayout(graphics::IGui& gui) {
  if (layoutFunction) layoutFunction(gui);
}

}  // namespace framework
