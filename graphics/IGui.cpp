// UI core: controls, dirty collection, the draw cycle and the scale model.
#include "graphics/IGui.h"

#include <algorithm>
#include <cmath>

#include "framework/IGuiEditorDelegate.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsCaches.h"
#include "graphics/PlatformFont.h"

namespace graphics {
namespace {

float ClampScale(float scale) {
  if (!std::isfinite(scale)) return 1.0f;
  return std::clamp(scale, IGui::kMinScale, IGui::kMaxScale);
}

bool HasArea(const IRect& r) { return r.W() > 0.0f && r.H() > 0.0f; }

}  // namespace

IGui::IGui(framework::IGuiEditorDelegate& editorDelegate, int w, int h, int frameRate, float scale)
    : delegate(editorDelegate), width(std::max(w, 0)), height(std::max(h, 0)), fps(frameRate),
      drawScale(ClampScale(scale)) {
  {
    auto lock = BitmapCache().Lock();
    BitmapCache().AddUser();
  }
  auto lock = FontMemoryCache().Lock();
  FontMemoryCache().AddUser();
}

IGui::~IGui() {
  RemoveAllControls();
  layers.clear();
  {
    auto lock = BitmapCache().Lock();
    BitmapCache().RemoveUser();
  }
  auto lock = FontMemoryCache().Lock();
  FontMemoryCache().RemoveUser();
}

// ---- Controls ---------------------------------------------------------------------------------

IControl* IGui::AddControl(IControl* control, int tag, const char* group) {
  if (!control) return nullptr;
  if (tag >= 0 && !tags.emplace(tag, control).second) return nullptr;
  control->SetDelegate(&delegate);
  control->SetUI(this);
  control->OnSetup();
  control->OnBoundsChanged();
  control->OnScaleChanged();
  control->SetGroup(group);
  controls.emplace_back(control);
  control->OnAddedToUI();
  return control;
}

IControl* IGui::ControlByTag(int tag) const {
  auto found = tags.find(tag);
  return found == tags.end() ? nullptr : found->second;
}

IControl* IGui::GetControl(int index) const noexcept {
  return index >= 0 && index < NControls() ? controls[static_cast<size_t>(index)].get() : nullptr;
}

int IGui::ControlIndex(const IControl* control) const noexcept {
  for (int i = 0; i < NControls(); ++i)
    if (controls[static_cast<size_t>(i)].get() == control) return i;
  return -1;
}

void IGui::ForEachControl(const ControlFunction& f) {
  for (auto& control : controls) f(*control);
}

void IGui::SetAllControlsDirty() {
  for (auto& control : controls) control->MarkDirty(false);
}

void IGui::SetAllControlsClean() {
  for (auto& control : controls) control->MarkClean();
}

void IGui::RemoveAllControls() {
  ReleaseMouseCapture();
  mouseOverControl = nullptr;
  mouseOverIdx = -1;
  menuControl = nullptr;
  textEntryControl = nullptr;
  tags.clear();
  controls.clear();
}

void IGui::SyncPeerControls(IControl& caller, int valIdx) {
  const int paramIdx = caller.GetParamIdx(valIdx);
  if (paramIdx < 0) return;
  const double value = caller.GetValue(valIdx);
  for (auto& control : controls) {
    if (control.get() == &caller) continue;
    for (int i = 0; i < control->NVals(); ++i)
      if (control->GetParamIdx(i) == paramIdx) control->ApplyValueFromDelegate(value, i);
  }
}

// ---- Editor view ------------------------------------------------------------------------------

void IGui::ShowParamInControls(int paramIdx, double normalisedValue) {
  for (auto& control : controls)
    for (int i = 0; i < control->NVals(); ++i)
      if (control->GetParamIdx(i) == paramIdx) control->ApplyValueFromDelegate(normalisedValue, i);
}

void IGui::ShowValueInControl(int controlTag, double normalisedValue) {
  if (IControl* control = ControlByTag(controlTag)) control->ApplyValueFromDelegate(normalisedValue, 0);
}

void IGui::ShowMessageInControl(int controlTag, int messageTag, int dataSize, const void* data) {
  if (IControl* control = ControlByTag(controlTag)) control->OnMsgFromDelegate(messageTag, dataSize, data);
}

void IGui::ShowMidiInControls(const framework::MidiMessage& message) {
  for (auto& control : controls)
    if (control->WantsMidi()) control->OnMidi(message);
}

bool IGui::KeyAtMouse(const IKeyEvent& key, bool isKeyUp) {
  float x = 0.0f, y = 0.0f;
  MouseLocation(x, y);
  return isKeyUp ? OnKeyUp(x, y, key) : OnKeyDown(x, y, key);
}

void IGui::OnViewInitialized() { DrawResize(); }

void IGui::OnViewDestroyed() { RemoveAllControls(); }

// ---- Scale and resize -------------------------------------------------------------------------

void IGui::ResizeWindowForScale(bool platformResize) {
  const float p = PlatformWindowScale();
  const int w = static_cast<int>(p * static_cast<float>(static_cast<int>(static_cast<float>(width) * drawScale)));
  const int h = static_cast<int>(p * static_cast<float>(static_cast<int>(static_cast<float>(height) * drawScale)));
  PlatformResize(delegate.EditorRequestsSize(w, h, platformResize));
}

void IGui::ResizeEditor(int w, int h, float scale, bool platformResize) {
  delegate.ClampEditorSize(w, h);
  scale = ClampScale(scale);
  if (w == width && h == height && scale == drawScale) return;
  if (!resizeGesture) ReleaseMouseCapture();
  width = std::max(w, 0);
  height = std::max(h, 0);
  drawScale = scale;
  ResizeWindowForScale(platformResize);
  for (auto& control : controls) control->OnBoundsChanged();
  for (auto& control : controls) control->MarkDirty(false);
  DrawResize();
}

// A scale that is not a positive finite number would give no usable frame: it is ignored.
void IGui::SetScreenScale(float scale) {
  if (!(scale > 0.0f) || !std::isfinite(scale)) return;
  screenScale = scale;
  ResizeWindowForScale(true);
  for (auto& control : controls) control->OnScaleChanged();
  for (auto& control : controls) control->MarkDirty(false);
  DrawResize();
}

void IGui::BeginResizeGesture() {
  resizeGesture = true;
  resizePointerId = 0;
}

void IGui::EndResizeGesture() {
  resizeGesture = false;
  for (auto& control : controls) control->OnScaleChanged();
  for (auto& control : controls) control->MarkDirty(false);
}

// ---- Draw cycle -------------------------------------------------------------------------------

bool IGui::CollectDirtyRects(std::vector<IRect>& rects) {
  if (tickHook) tickHook();
  for (auto& control : controls)
    if (control->HasAnimation()) control->Animate();
  bool any = false;
  for (auto& control : controls) {
    if (!control->NeedsRedraw()) continue;
    rects.push_back(control->GetRect().Grown(0.75f));
    any = true;
  }
  return any;
}

void IGui::DrawDirty(const std::vector<IRect>& rects) {
  if (rects.empty()) return;
  const float s = BackingScale();
  BeginFrame();
  paintRegions.clear();
  for (const IRect& r : rects) paintRegions.push_back(r.AlignedOut(s));
  OptimiseRegions(paintRegions);
  for (const IRect& area : paintRegions)
    for (int i = 0; i < NControls(); ++i) DrawOneControl(*controls[static_cast<size_t>(i)], i, area, s);
  drawArea = {};
  EndFrame();
}

void IGui::DrawOneControl(IControl& control, int index, const IRect& area, float s) {
  if (control.IsHidden() && index != 0) return;
  const IRect grown = control.GetRect().Grown(0.75f).AlignedOut(s);
  if (area.Empty() || grown.Empty()) return;
  const IRect clip = grown.Intersect(area);
  if (!HasArea(clip)) return;
  transformStack.clear();
  transform = ITransform{};
  PathSetTransform(transform);
  PathClear();
  PrepareRegion(clip);
  drawArea = clip;
  control.Draw(*this);
  CompleteRegion(clip);
}

void IGui::OptimiseRegions(std::vector<IRect>& rects) {
  const size_t n = rects.size();
  auto spansX = [](const IRect& a, const IRect& b) { return a.L <= b.L && a.R >= b.R; };
  auto spansY = [](const IRect& a, const IRect& b) { return a.T <= b.T && a.B >= b.B; };
  // Cuts a's overlap out of b where what is left of b is still one rectangle.
  auto trim = [&](const IRect& a, IRect& b) {
    if (spansX(a, b)) {
      if (a.T <= b.T) b.T = a.B;
      else if (a.B >= b.B) b.B = a.T;
      else return false;
    } else if (spansY(a, b)) {
      if (a.L <= b.L) b.L = a.R;
      else if (a.R >= b.R) b.R = a.L;
      else return false;
    } else {
      return false;
    }
    if (!HasArea(b)) b = {};
    return true;
  };
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j) {
      IRect& a = rects[i];
      IRect& b = rects[j];
      if (i == j || a.Empty() || b.Empty() || !HasArea(a) || !HasArea(b)) continue;
      if (a.Contains(b)) {
        b = {};
      } else if (a.Overlaps(b)) {
        trim(a, b);
      }
    }
  }
  rects.erase(std::remove_if(rects.begin(), rects.end(), [](const IRect& r) { return !HasArea(r); }), rects.end());
  bool merged = true;
  while (merged) {
    merged = false;
    for (size_t i = 0; i < rects.size() && !merged; ++i) {
      for (size_t j = i + 1; j < rects.size() && !merged; ++j) {
        const IRect& a = rects[i];
        const IRect& b = rects[j];
        const bool column = a.L == b.L && a.R == b.R && a.T <= b.B && b.T <= a.B;
        const bool row = a.T == b.T && a.B == b.B && a.L <= b.R && b.L <= a.R;
        if (column || row) {
          rects[i] = a.Union(b);
          rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
          merged = true;
        }
      }
    }
  }
}

// ---- Platform defaults ------------------------------------------------------------------------

void IGui::MouseLocation(float& x, float& y) const {
  x = mouseX;
  y = mouseY;
}

void IGui::HideMouseCursor(bool hide, bool lock) {
  if (hide == cursorHidden) return;
  if (hide) {
    hiddenCursorX = mouseX;
    hiddenCursorY = mouseY;
    cursorHidden = true;
    cursorLocked = lock && !penInput;
  } else {
    if (cursorLocked) MoveMouseCursor(hiddenCursorX, hiddenCursorY);
    cursorHidden = false;
    cursorLocked = false;
  }
}

void IGui::MoveMouseCursor(float x, float y) {
  if (penInput) return;
  mouseX = hiddenCursorX = x;
  mouseY = hiddenCursorY = y;
}

CursorType IGui::SetMouseCursor(CursorType type) {
  const CursorType previous = cursorType;
  cursorType = type;
  return previous;
}

std::unique_ptr<PlatformFont> IGui::LoadPlatformFont(const char*, const uint8_t* bytes, size_t size) {
  return MemoryFont::Make(bytes, size);
}

IMenu* IGui::ShowPlatformMenu(IMenu&, const IRect&) { return nullptr; }

void IGui::ShowPlatformTextEntry(int, const ITextStyle&, const IRect&, int, const char*) {}

void IGui::PlatformResize(bool) {}

}  // namespace graphics
