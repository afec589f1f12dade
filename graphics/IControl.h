#pragma once
// The base of every on-screen element: its rectangles, its normalised values and the
// parameters they are bound to, its text style, blend and flags, and the virtual operations
// through which the UI draws it and hands it input. User changes are reported to the editor
// delegate; changes from the plug-in side are applied without reporting back.
// Everything here runs on the editor's thread.
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "framework/MidiMessage.h"
#include "graphics/IGraphicsTypes.h"
#include "graphics/IInputTypes.h"

namespace framework {
class IEditorDelegate;
class IParam;
}  // namespace framework

namespace graphics {

class IGui;
class IMenu;

enum class Direction : int { Vertical = 0, Horizontal = 1 };

// A gesture from a touch platform; this system's platforms produce none.
struct IGestureInfo {
  int kind = 0;
  float x = 0.0f, y = 0.0f;
  float scale = 1.0f, velocity = 0.0f, angle = 0.0f;
};

class IControl {
public:
  using ActionFunction = std::function<void(IControl&)>;
  using AnimationFunction = std::function<void(IControl&)>;
  using GestureFunction = std::function<void(IControl&, const IGestureInfo&)>;

  struct Value {
    int paramIdx;
    double value;
  };

  explicit IControl(const IRect& bounds, int paramIdx = -1, ActionFunction action = nullptr);
  // One value per parameter in the list, in that order.
  IControl(const IRect& bounds, std::initializer_list<int> paramIdxs, ActionFunction action = nullptr);
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  virtual void OnMouseDown(float x, float y, const IMouseModifiers& mods);
  virtual void OnMouseUp(float x, float y, const IMouseModifiers& mods);
  virtual void OnMouseDrag(float x, float y, float dX, float dY, const IMouseModifiers& mods);
  virtual void OnMouseDoubleClick(float x, float y, const IMouseModifiers& mods);
  virtual void OnMouseWheel(float x, float y, const IMouseModifiers& mods, float delta);
  virtual bool OnKeyDown(float x, float y, const IKeyEvent& key);
  virtual bool OnKeyUp(float x, float y, const IKeyEvent& key);
  virtual void OnMouseOver(float x, float y, const IMouseModifiers& mods);
  virtual void OnMouseOut();
  virtual void OnFileDrop(const char* path);
  virtual void OnFilesDrop(const std::vector<std::string>& paths);
  virtual bool AcceptsFileDrop() const { return false; }
  virtual void OnScaleChanged() {}
  virtual void OnBoundsChanged() {}
  virtual void OnSetup() {}
  virtual void OnAddedToUI() {}
  virtual bool OnGestureEvent(const IGestureInfo& gesture);
  virtual void FillContextMenu(IMenu&) {}
  // True for a control that answers a right press itself rather than with a context menu.
  virtual bool TakesRightPress() const { return false; }
  // A menu prompt ended: the menu holding the choice, or null.
  virtual void OnMenuChoice(IMenu* menu, int valIdx);
  virtual void OnTextEntered(const char*, int) {}
  virtual void OnContextMenuChoice(int) {}
  // A message the plug-in sent to this control's tag.
  virtual void OnMsgFromDelegate(int, int, const void*) {}
  // MIDI from the plug-in, for controls whose WantsMidi is true.
  virtual void OnMidi(const framework::MidiMessage&) {}
  virtual void Draw(IGui& g) = 0;
  virtual void DrawParamMarker(IGui& g);
  virtual void BindParam(int paramIdx, int valIdx);
  virtual int ValueIndexAt(float x, float y) const;
  virtual void ApplyValueFromDelegate(double value, int valIdx = 0);
  virtual void ApplyValueFromUser(double value, int valIdx = 0);
  virtual void ResetToDefault(int valIdx);
  virtual void SetValue(double value, int valIdx = 0);
  virtual void SetTextStyle(const ITextStyle& style) { textStyle = style; }
  virtual void MoveTo(float x, float y);
  virtual void Resize(float w, float h);
  virtual void SetHidden(bool hide);
  virtual void SetDisabled(bool disable);
  virtual void SetMouseTransparent(bool transparent) { mouseTransparent = transparent; }
  virtual bool HitTest(float x, float y) const { return targetRect.Contains(x, y); }
  virtual void MarkDirty(bool triggerAction = true, int valIdx = -1);
  virtual void MarkClean() { dirty = false; }
  virtual bool NeedsRedraw() const { return animation ? true : dirty; }
  virtual bool HandlesGestures() const { return !gestureFunctions.empty() && !animation; }
  // Value from a pointer position across bounds, rounded to 0.001 and clamped to lo … hi.
  virtual void SetValueFromPointer(float x, float y, Direction direction, const IRect& bounds, int valIdx,
                                   double lo = 0.0, double hi = 1.0);
  virtual void OnAnimationEnd();

  // ---- Values -----------------------------------------------------------------------------------
  double GetValue(int valIdx = 0) const noexcept;
  // −1 when unbound or out of range.
  int GetParamIdx(int valIdx = 0) const noexcept;
  int NVals() const noexcept { return static_cast<int>(values.size()); }
  // The parameter of value valIdx; null when unbound or out of range.
  const framework::IParam* GetParam(int valIdx = 0) const noexcept;
  // The first value bound to paramIdx, −1 if none.
  int FindValueIndexForParam(int paramIdx) const noexcept;

  // ---- State ------------------------------------------------------------------------------------
  const IRect& GetRect() const noexcept { return drawRect; }
  const IRect& GetTargetRect() const noexcept { return targetRect; }
  void SetTargetRect(const IRect& rect) noexcept { targetRect = rect; }
  // Draw and target rectangles together; then OnBoundsChanged.
  void SetRects(const IRect& rect);
  const std::string& Group() const noexcept { return group; }
  const ITextStyle& TextStyle() const noexcept { return textStyle; }
  const IBlendSpec& Blend() const noexcept { return blend; }
  void SetBlend(const IBlendSpec& spec) noexcept { blend = spec; }
  int MaxEntryLength() const noexcept { return maxEntryLength; }
  bool IsDirty() const noexcept { return dirty; }
  bool IsHidden() const noexcept { return hidden; }
  bool IsDisabled() const noexcept { return disabled; }
  bool PromptDisabled() const noexcept { return promptDisabled; }
  void SetPromptDisabled(bool disable) noexcept { promptDisabled = disable; }
  bool DoubleClickAsSingle() const noexcept { return doubleClickAsSingle; }
  void SetDoubleClickAsSingle(bool single) noexcept { doubleClickAsSingle = single; }
  bool MouseOverWhenDisabled() const noexcept { return mouseOverWhenDisabled; }
  void SetMouseOverWhenDisabled(bool allow) noexcept { mouseOverWhenDisabled = allow; }
  bool MouseEventsWhenDisabled() const noexcept { return mouseEventsWhenDisabled; }
  void SetMouseEventsWhenDisabled(bool allow) noexcept { mouseEventsWhenDisabled = allow; }
  bool IsMouseTransparent() const noexcept { return mouseTransparent; }
  bool PromptShowsLabel() const noexcept { return promptShowsLabel; }
  void SetPromptShowsLabel(bool show) noexcept { promptShowsLabel = show; }
  bool MouseIsOver() const noexcept { return mouseIsOver; }
  virtual bool WantsMidi() const { return false; }
  void SetTooltip(const char* text) { tooltip = text ? text : ""; }
  const std::string& Tooltip() const noexcept { return tooltip; }
  void SetMarker(bool shown, const IColour& colour = {255, 255, 0, 0}) noexcept {
    markerShown = shown;
    markerColour = colour;
  }
  void SetActionFunction(ActionFunction f) { action = std::move(f); }
  void SetAnimationEndActionFunction(ActionFunction f) { animationEndAction = std::move(f); }
  void SetAnimation(AnimationFunction f, double duration = 0.0) {
    animation = std::move(f);
    animationDuration = duration;
  }
  bool HasAnimation() const noexcept { return static_cast<bool>(animation); }
  // [editor-thread] Called by the UI once per tick while an animation is set.
  void Animate();
  void AttachGestureFunction(int kind, GestureFunction f) { gestureFunctions[kind] = std::move(f); }
  int LastGesture() const noexcept { return lastGesture; }

  // Set by AddControl.
  void SetDelegate(framework::IEditorDelegate* editorDelegate) noexcept { delegate = editorDelegate; }
  void SetUI(IGui* gui) noexcept { ui = gui; }
  void SetGroup(const char* name) { group = name ? name : ""; }
  IGui* GetUI() const noexcept { return ui; }
  framework::IEditorDelegate* GetDelegate() const noexcept { return delegate; }

protected:
  IRect drawRect;
  IRect targetRect;
  std::string group;
  ITextStyle textStyle;
  IBlendSpec blend;
  int maxEntryLength = 7;
  bool dirty = true;
  bool hidden = false;
  bool disabled = false;
  bool promptDisabled = true;
  bool doubleClickAsSingle = false;
  bool mouseOverWhenDisabled = false;
  bool mouseEventsWhenDisabled = false;
  bool mouseTransparent = false;
  bool promptShowsLabel = false;
  bool mouseIsOver = false;
  std::string tooltip;
  IColour markerColour{255, 255, 0, 0};
  bool markerShown = false;
  framework::IEditorDelegate* delegate = nullptr;
  IGui* ui = nullptr;
  ActionFunction action;
  ActionFunction animationEndAction;
  AnimationFunction animation;
  double animationDuration = 0.0;
  std::vector<Value> values;
  std::map<int, GestureFunction> gestureFunctions;
  int lastGesture = 0;

private:
  // A one-value control always uses index 0.
  int OneValueIndex(int valIdx) const noexcept { return values.size() == 1 ? 0 : valIdx; }
};

}  // namespace graphics
