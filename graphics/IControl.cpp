#include "graphics/IControl.h"

#include <algorithm>
#include <cmath>

#include "framework/IEditorDelegate.h"
#include "framework/IParam.h"
#include "graphics/IGui.h"

namespace graphics {

IControl::IControl(const IRect& bounds, int paramIdx, ActionFunction actionFunction)
    : drawRect(bounds), targetRect(bounds), action(std::move(actionFunction)), values{{paramIdx, 0.0}} {}

IControl::IControl(const IRect& bounds, std::initializer_list<int> paramIdxs, ActionFunction actionFunction)
    : drawRect(bounds), targetRect(bounds), action(std::move(actionFunction)) {
  for (int idx : paramIdxs) values.push_back({idx, 0.0});
  if (values.empty()) values.push_back({-1, 0.0});
}

void IControl::OnMouseDown(float x, float y, const IMouseModifiers& mods) {
  if (!mods.R) return;
  const int valIdx = ValueIndexAt(x, y);
  const framework::IParam* param = valIdx >= 0 ? GetParam(valIdx) : nullptr;
  if (!param || promptDisabled || !ui) return;
  IRect box = drawRect;
  if (param->ValueTextCount() == 0) {
    const float cx = drawRect.MW(), cy = drawRect.MH();
    box = {cx - 20.0f, cy - 8.0f, cx + 20.0f, cy + 8.0f};
  }
  ui->PromptForValue(*this, box, valIdx);
  MarkDirty(false);
}

void IControl::OnMouseUp(float, float, const IMouseModifiers&) {}

void IControl::OnMouseDrag(float, float, float, float, const IMouseModifiers&) {}

void IControl::OnMouseDoubleClick(float x, float y, const IMouseModifiers&) { ResetToDefault(ValueIndexAt(x, y)); }

void IControl::OnMouseWheel(float, float, const IMouseModifiers&, float) {}

bool IControl::OnKeyDown(float, float, const IKeyEvent&) { return false; }

bool IControl::OnKeyUp(float, float, const IKeyEvent&) { return false; }

void IControl::OnMouseOver(float, float, const IMouseModifiers&) {
  const bool was = mouseIsOver;
  mouseIsOver = true;
  if (!was) MarkDirty(false);
}

void IControl::OnMouseOut() {
  const bool was = mouseIsOver;
  mouseIsOver = false;
  if (was) MarkDirty(false);
}

void IControl::OnFileDrop(const char*) {}

void IControl::OnFilesDrop(const std::vector<std::string>& paths) {
  if (!paths.empty()) OnFileDrop(paths.front().c_str());
}

bool IControl::OnGestureEvent(const IGestureInfo& gesture) {
  auto found = gestureFunctions.find(gesture.kind);
  if (found == gestureFunctions.end() || !found->second) return false;
  lastGesture = gesture.kind;
  found->second(*this, gesture);
  return true;
}

// The choice is applied through the parameter of the prompted value, so a control with
// several values sets the one that was prompted.
void IControl::OnMenuChoice(IMenu* menu, int valIdx) {
  if (!menu || valIdx < 0 || promptDisabled) return;
  const framework::IParam* param = GetParam(valIdx);
  if (!param || menu->chosenIdx < 0) return;
  ApplyValueFromUser(param->Normalise(menu->chosenIdx), valIdx);
}

void IControl::DrawParamMarker(IGui& g) {
  if (markerShown) g.FillCircle(markerColour, targetRect.R - 5.0f, targetRect.T + 5.0f, 2.0f);
}

// An index outside the value list is a programming error; it changes nothing.
void IControl::BindParam(int paramIdx, int valIdx) {
  if (valIdx < 0 || valIdx >= NVals()) return;
  values[static_cast<size_t>(valIdx)].paramIdx = paramIdx;
  MarkDirty(false, -1);
}

int IControl::ValueIndexAt(float, float) const { return values.size() == 1 ? 0 : -1; }

void IControl::ApplyValueFromDelegate(double value, int valIdx) {
  if (valIdx < 0 || valIdx >= NVals()) return;
  if (ui && ui->IsCaptured(this)) return;
  const double stored = GetValue(valIdx);
  if (value != stored || std::isnan(value)) {
    SetValue(value, valIdx);
    MarkDirty(false);
  }
}

void IControl::ApplyValueFromUser(double value, int valIdx) {
  if (valIdx < 0 || valIdx >= NVals()) return;
  if (value != GetValue(valIdx)) {
    SetValue(value, valIdx);
    MarkDirty(true, valIdx);
  }
}

void IControl::ResetToDefault(int valIdx) {
  valIdx = OneValueIndex(valIdx);
  if (valIdx >= NVals()) return;
  bool changed = false;
  for (int i = 0; i < NVals(); ++i) {
    if (valIdx >= 0 && i != valIdx) continue;
    if (const framework::IParam* param = GetParam(i)) {
      SetValue(param->DefaultOf(true), i);
      changed = true;
    }
  }
  if (changed) MarkDirty(true, valIdx);
}

void IControl::SetValue(double value, int valIdx) {
  if (valIdx >= 0 && valIdx < NVals()) values[static_cast<size_t>(valIdx)].value = value;
}

void IControl::MoveTo(float x, float y) {
  const float newL = std::max(x, 0.0f), newT = std::max(y, 0.0f);
  const float dx = newL - drawRect.L, dy = newT - drawRect.T;
  drawRect = {newL, newT, newL + drawRect.W(), newT + drawRect.H()};
  targetRect = {targetRect.L + dx, targetRect.T + dy, targetRect.R + dx, targetRect.B + dy};
  OnBoundsChanged();
}

void IControl::Resize(float w, float h) {
  drawRect = {drawRect.L, drawRect.T, drawRect.L + std::max(w, 0.0f), drawRect.T + std::max(h, 0.0f)};
  targetRect = drawRect;
  OnBoundsChanged();
}

void IControl::SetRects(const IRect& rect) {
  drawRect = rect;
  targetRect = rect;
  OnBoundsChanged();
}

void IControl::SetHidden(bool hide) {
  hidden = hide;
  MarkDirty(false);
}

void IControl::SetDisabled(bool disable) {
  disabled = disable;
  blend.weight = disable ? 0.25f : 1.0f;
  MarkDirty(false);
}

void IControl::MarkDirty(bool triggerAction, int valIdx) {
  valIdx = OneValueIndex(valIdx);
  for (int i = 0; i < NVals(); ++i)
    if (valIdx < 0 || i == valIdx) {
      // A NaN (from a host, say) would reach drawing and the delegate: it counts as 0.
      const double v = GetValue(i);
      SetValue(std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0), i);
    }
  dirty = true;
  if (!triggerAction) return;
  for (int i = 0; i < NVals(); ++i) {
    if (valIdx >= 0 && i != valIdx) continue;
    const int paramIdx = GetParamIdx(i);
    if (paramIdx < 0) continue;
    if (delegate) delegate->EditorSetsParam(paramIdx, GetValue(i));
    if (ui) ui->SyncPeerControls(*this, i);
  }
  if (action) action(*this);
}

void IControl::SetValueFromPointer(float x, float y, Direction direction, const IRect& bounds, int valIdx, double lo,
                                   double hi) {
  x = std::clamp(x, bounds.L, bounds.R);
  y = std::clamp(y, bounds.T, bounds.B);
  double v = 0.0;
  if (direction == Direction::Horizontal) {
    if (bounds.W() > 0.0f) v = static_cast<double>(x - bounds.L) / bounds.W();
  } else if (bounds.H() > 0.0f) {
    v = 1.0 - static_cast<double>(y - bounds.T) / bounds.H();
  }
  v = std::clamp(std::round(v * 1000.0) / 1000.0, lo, hi);
  for (int i = 0; i < NVals(); ++i)
    if (valIdx < 0 || i == valIdx) SetValue(v, i);
  MarkDirty(true, valIdx);
}

void IControl::OnAnimationEnd() {
  animation = nullptr;
  MarkDirty(false);
  if (animationEndAction) animationEndAction(*this);
}

void IControl::Animate() {
  // The callable may end the animation and so destroy itself: run a copy.
  if (AnimationFunction f = animation) f(*this);
}

double IControl::GetValue(int valIdx) const noexcept {
  return valIdx >= 0 && valIdx < NVals() ? values[static_cast<size_t>(valIdx)].value : 0.0;
}

int IControl::GetParamIdx(int valIdx) const noexcept {
  return valIdx >= 0 && valIdx < NVals() ? values[static_cast<size_t>(valIdx)].paramIdx : -1;
}

const framework::IParam* IControl::GetParam(int valIdx) const noexcept {
  const int paramIdx = GetParamIdx(valIdx);
  if (paramIdx < 0 || !delegate) return nullptr;
  return delegate->GetParam(paramIdx);
}

int IControl::FindValueIndexForParam(int paramIdx) const noexcept {
  for (int i = 0; i < NVals(); ++i)
    if (values[static_cast<size_t>(i)].paramIdx == paramIdx) return i;
  return -1;
}

}  // namespace graphics
