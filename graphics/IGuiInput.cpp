// Input dispatch: hit testing, capture, hover, keys, file drops, context menus and the
// value prompts, with parameter gestures reported to the delegate.
#include <algorithm>
#include <cstring>

#include "framework/IGuiEditorDelegate.h"
#include "framework/IParam.h"
#include "framework/ShortText.h"
#include "graphics/IControl.h"
#include "graphics/IGui.h"

namespace graphics {

IControl* IGui::ControlAt(float x, float y, bool capture, bool forMouseOver, uint64_t pointerId) {
  if (auto found = captured.find(pointerId); found != captured.end()) return found->second;
  IControl* result = nullptr;
  int resultIdx = -1;
  if (!forMouseOver || mouseOverEnabled) {
    const int lowest = forMouseOver ? 1 : 0;
    for (int i = NControls() - 1; i >= lowest; --i) {
      IControl& c = *controls[static_cast<size_t>(i)];
      if (c.IsHidden() || c.IsMouseTransparent()) continue;
      if (c.IsDisabled() && !(forMouseOver ? c.MouseOverWhenDisabled() : c.MouseEventsWhenDisabled())) continue;
      if (!c.HitTest(x, y)) continue;
      result = &c;
      resultIdx = i;
      break;
    }
  }
  if (capture && result) captured[pointerId] = result;
  if (forMouseOver) mouseOverIdx = resultIdx;
  return result;
}

void IGui::EnableTooltips(bool enable) noexcept {
  tooltipsEnabled = enable;
  if (enable) mouseOverEnabled = true;
}

void IGui::ReleaseMouseCapture() {
  captured.clear();
  if (cursorHidden) HideMouseCursor(false);
}

// A press that takes the pointer from the control holding it: that control's release will
// not come, so its gestures end here.
void IGui::DropCapture() {
  auto held = std::move(captured);
  captured.clear();
  for (const auto& entry : held) GestureForEachParam(*entry.second, false);
  if (cursorHidden) HideMouseCursor(false);
}

bool IGui::IsCaptured(const IControl* control) const noexcept {
  for (const auto& entry : captured)
    if (entry.second == control) return true;
  return false;
}

// Begin and end are kept in pairs per parameter, so a host never sees an end without its begin.
void IGui::GestureForEachParam(IControl& control, bool begin) {
  for (int i = 0; i < control.NVals(); ++i) {
    const int paramIdx = control.GetParamIdx(i);
    if (paramIdx < 0) continue;
    if (begin) {
      if (openGestures.insert(paramIdx).second) delegate.EditorGestureBegin(paramIdx);
    } else if (openGestures.erase(paramIdx) > 0) {
      delegate.EditorGestureEnd(paramIdx);
    }
  }
}

void IGui::OnMouseDown(std::span<const IPointerEvent> events) {
  if (events.size() == 1) {
    mouseDownX = events[0].x;
    mouseDownY = events[0].y;
  }
  for (const IPointerEvent& e : events) {
    IControl* control = ControlAt(e.x, e.y, true, false, e.mods.pointerId);
    if (!control) continue;
    const int valIdx = control->ValueIndexAt(e.x, e.y);
    const int paramIdx = control->GetParamIdx(std::max(valIdx, 0));
    if (e.mods.R && paramIdx >= 0 && !control->TakesRightPress()) {
      DropCapture();
      OpenContextMenu(*control, paramIdx, e.x, e.y);
      return;
    }
    GestureForEachParam(*control, true);
    control->OnMouseDown(e.x, e.y, e.mods);
  }
}

void IGui::OnMouseUp(std::span<const IPointerEvent> events) {
  for (const IPointerEvent& e : events) {
    auto found = captured.find(e.mods.pointerId);
    if (found == captured.end()) continue;
    IControl* control = found->second;
    control->OnMouseUp(e.x, e.y, e.mods);
    GestureForEachParam(*control, false);
    captured.erase(e.mods.pointerId);
  }
  if (resizeGesture) EndResizeGesture();
  if (pendingScale > 0.0f) {
    const float scale = pendingScale;
    pendingScale = 0.0f;
    resizeGesture = true;
    ResizeEditor(width, height, scale, true);
    EndResizeGesture();
  }
  if (events.size() == 1 && events[0].mods.pointerId == 0) UpdateHover(events[0].x, events[0].y, events[0].mods);
}

void IGui::OnMouseDrag(std::span<const IPointerEvent> events) {
  if (resizeGesture && events.size() == 1) {
    const IPointerEvent& e = events[0];
    // A gesture that started on the window's left or top edge has no ratio to go by.
    if (mouseDownX > 0.0f && mouseDownY > 0.0f)
      ResizeEditor(width, height, drawScale * std::min(e.x / mouseDownX, e.y / mouseDownY), true);
    return;
  }
  if (captured.empty() || textEntryControl) return;
  for (const IPointerEvent& e : events) {
    auto found = captured.find(e.mods.pointerId);
    if (found == captured.end() || (e.dX == 0.0f && e.dY == 0.0f)) continue;
    found->second->OnMouseDrag(e.x, e.y, e.dX, e.dY, e.mods);
  }
}

bool IGui::OnMouseDoubleClick(float x, float y, const IMouseModifiers& mods) {
  IControl* control = ControlAt(x, y, true, false, mods.pointerId);
  if (!control) return false;
  if (control->DoubleClickAsSingle()) {
    const IPointerEvent e{x, y, 0.0f, 0.0f, mods};
    OnMouseDown({&e, 1});
    return true;
  }
  control->OnMouseDoubleClick(x, y, mods);
  DropCapture();
  return true;
}

void IGui::UpdateHover(float x, float y, const IMouseModifiers& mods) {
  IControl* control = ControlAt(x, y, false, true);
  if (control != mouseOverControl) {
    if (mouseOverControl) mouseOverControl->OnMouseOut();
    mouseOverControl = control;
  }
  if (control) control->OnMouseOver(x, y, mods);
}

bool IGui::OnMouseOver(float x, float y, const IMouseModifiers& mods) {
  UpdateHover(x, y, mods);
  return mouseOverControl != nullptr;
}

void IGui::OnMouseOut() {
  SetMouseCursor(CursorType::Arrow);
  for (auto& control : controls) control->OnMouseOut();
  mouseOverControl = nullptr;
  mouseOverIdx = -1;
}

bool IGui::OnMouseWheel(float x, float y, const IMouseModifiers& mods, float delta) {
  IControl* control = ControlAt(x, y);
  if (!control) return false;
  control->OnMouseWheel(x, y, mods, delta);
  return true;
}

bool IGui::KeyEvent(float x, float y, const IKeyEvent& key, bool isKeyUp) {
  IControl* control = ControlAt(x, y);
  if (control && ControlIndex(control) != 0) {
    const bool handled = isKeyUp ? control->OnKeyUp(x, y, key) : control->OnKeyDown(x, y, key);
    if (handled) return true;
  }
  return keyHandler ? keyHandler(key, isKeyUp) : false;
}

bool IGui::OnKeyDown(float x, float y, const IKeyEvent& key) { return KeyEvent(x, y, key, false); }

bool IGui::OnKeyUp(float x, float y, const IKeyEvent& key) { return KeyEvent(x, y, key, true); }

void IGui::OnFileDrop(const char* path, float x, float y) {
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl& c = *controls[static_cast<size_t>(i)];
    if (!c.IsHidden() && c.AcceptsFileDrop() && c.HitTest(x, y)) {
      c.OnFileDrop(path);
      return;
    }
  }
  if (IControl* control = ControlAt(x, y)) control->OnFileDrop(path);
}

void IGui::OnFilesDrop(const std::vector<std::string>& paths, float x, float y) {
  for (int i = NControls() - 1; i >= 0; --i) {
    IControl& c = *controls[static_cast<size_t>(i)];
    if (!c.IsHidden() && c.AcceptsFileDrop() && c.HitTest(x, y)) {
      c.OnFilesDrop(paths);
      return;
    }
  }
  if (IControl* control = ControlAt(x, y)) control->OnFilesDrop(paths);
}

// ---- Prompts ----------------------------------------------------------------------------------

void IGui::OpenContextMenu(IControl& control, int, float x, float y) {
  promptMenu.Clear();
  control.FillContextMenu(promptMenu);
  if (promptMenu.NItems() > 0) OpenMenu(control, promptMenu, {x, y, x, y}, -1, true);
}

void IGui::PromptForValue(IControl& control, const IRect& anchor, int valIdx) {
  const framework::IParam* param = control.GetParam(valIdx);
  if (!param) return;
  const auto kind = param->Kind();
  if (kind == framework::IParam::Kind::Enumerated ||
      (kind == framework::IParam::Kind::OnOff && param->ValueTextCount() > 0)) {
    promptMenu.Clear();
    framework::ShortText current;
    param->FormatValue(param->Current(), false, current, true);
    for (int i = 0; i < param->ValueTextCount(); ++i) {
      const char* text = param->ValueTextAt(i)->text;
      promptMenu.AddItem(text, std::strcmp(text, current.Get()) == 0 ? IMenuItem::kChecked : 0, -1);
    }
    promptMenu.title = param->Name();
    OpenMenu(control, promptMenu, anchor, valIdx, false);
    return;
  }
  framework::ShortText shown;
  param->FormatValue(param->Current(), false, shown, false);
  std::string text = shown.Get();
  if (control.PromptShowsLabel()) {
    text += ' ';
    text += param->Label();
  }
  OpenTextEntry(control, control.TextStyle(), anchor, text.c_str(), valIdx);
}

IMenu* IGui::OpenMenu(IControl& control, IMenu& menu, const IRect& anchor, int valIdx, bool isContextMenu) {
  ReleaseMouseCapture();
  menuControl = &control;
  menuValIdx = valIdx;
  IMenu* result = ShowPlatformMenu(menu, anchor);
  if (isContextMenu) control.OnContextMenuChoice(result ? result->chosenIdx : -1);
  else control.OnMenuChoice(result && result->chosenIdx >= 0 ? result : nullptr, valIdx);
  GestureForEachParam(control, false);
  menuControl = nullptr;
  menuValIdx = -1;
  return result;
}

void IGui::OpenTextEntry(IControl& control, const ITextStyle& style, const IRect& rect, const char* text,
                         int valIdx) {
  textEntryControl = &control;
  textEntryValIdx = valIdx;
  ShowPlatformTextEntry(control.GetParamIdx(valIdx), style, rect, control.MaxEntryLength(), text ? text : "");
  control.MarkDirty(false);
}

void IGui::CommitTextEntry(const char* text) {
  IControl* control = textEntryControl;
  if (!control) return;
  const int valIdx = textEntryValIdx;
  textEntryControl = nullptr;
  if (const framework::IParam* param = control->GetParam(valIdx)) {
    control->ApplyValueFromUser(param->Normalise(param->ParseValue(text)), valIdx);
  } else {
    control->OnTextEntered(text ? text : "", valIdx);
  }
  control->MarkDirty(false);
}

}  // namespace graphics
