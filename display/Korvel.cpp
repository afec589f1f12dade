#include "display/Korvel.h"

#include <algorithm>
#include <cmath>

#include "display/StoredScale.h"
#include "graphics/IGui.h"
#include "graphics/platform/PlatformGui.h"

Korvel::Korvel(const KorvelCreationInfo& info) : framework::IAudioProcessor(Config()), KorvelEngine(info) {
  // The module's resources are linked into it, so there is no module handle to hand over.
  SetGraphicsFactory([this]() -> framework::IEditorView* {
    return graphics::MakePlatformGui(*this, kEditorWidth, kEditorHeight, 60, StoredEditorScale());
  });
}

void Korvel::OnHostResizeEditor(int width, int height) {
  framework::IEditorView* gui = Graphics();
  if (!gui || width < 1 || height < 1) {
    KorvelBinding::OnHostResizeEditor(width, height);
    return;
  }
  const float byWidth = static_cast<float>(width) / kEditorWidth;
  const float byHeight = static_cast<float>(height) / kEditorHeight;
  const auto error = [&](float s) {
    return std::fabs(std::round(s * kEditorWidth) - static_cast<float>(width)) +
           std::fabs(std::round(s * kEditorHeight) - static_cast<float>(height));
  };
  const float scale = std::clamp(error(byHeight) < error(byWidth) ? byHeight : byWidth, 0.5f, 4.0f);
  gui->ResizeEditor(kEditorWidth, kEditorHeight, scale, false);
}

float Korvel::StoredEditorScale() {
  float scale = 1.0f;
  if (!ReadStoredScale("Korvel", scale)) return 1.0f;
  return std::clamp(scale, 0.5f, 4.0f);
}

void Korvel::OnEditorClose() {
  if (const framework::IEditorView* gui = Graphics()) WriteStoredScale("Korvel", gui->DrawScale());
  std::fill(std::begin(editorControls), std::end(editorControls), nullptr);
}
