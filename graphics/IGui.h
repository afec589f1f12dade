#pragma once
// The editor's UI: the drawing context every control draws through (shape operations built
// on a backend's path primitives), the owner of the controls, the dirty tracking and draw
// cycle, the two scale factors, input dispatch and the value prompts, and the loading of
// bitmaps and fonts through the process-wide caches. A backend (IGuiSkia) supplies the
// primitives; a platform class derived from it supplies the window.
// Everything here runs on the editor's thread unless marked otherwise.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "framework/IEditorView.h"
#include "graphics/IGraphicsTypes.h"
#include "graphics/IInputTypes.h"
#include "graphics/IMenu.h"

namespace framework {
class IGuiEditorDelegate;
}

namespace graphics {

class IControl;
class PlatformFont;

// An open offscreen drawing target: what StartLayer makes and EndLayer hands back.
struct ILayer {
  std::unique_ptr<BackendBitmap> bitmap;
  IControl* owner = nullptr;
  IRect controlRect;
  // In UI units, aligned to device pixels.
  IRect rect;
  bool invalid = false;
};

class IGui : public framework::IEditorView {
public:
  using KeyHandler = std::function<bool(const IKeyEvent& key, bool isKeyUp)>;
  using TickHook = std::function<void()>;
  using ControlFunction = std::function<void(IControl&)>;

  static constexpr float kMinScale = 0.5f;
  static constexpr float kMaxScale = 4.0f;

  // [editor-thread] Counts this object as a user of the process-wide caches.
  IGui(framework::IGuiEditorDelegate& delegate, int width, int height, int fps, float scale);
  // [editor-thread] Destroys the controls; the last user empties the caches.
  ~IGui() override;
  IGui(const IGui&) = delete;
  IGui& operator=(const IGui&) = delete;

  // ---- Editor view (what the delegate asks of the editor) -----------------------------------
  int Width() const override { return width; }
  int Height() const override { return height; }
  float DrawScale() const override { return drawScale; }
  void ResizeEditor(int w, int h, float scale, bool platformResize) override;
  void SetScreenScale(float scale) override;
  void ShowParamInControls(int paramIdx, double normalisedValue) override;
  void ShowValueInControl(int controlTag, double normalisedValue) override;
  void ShowMessageInControl(int controlTag, int messageTag, int dataSize, const void* data) override;
  void ShowMidiInControls(const framework::MidiMessage& message) override;
  bool KeyAtMouse(const IKeyEvent& key, bool isKeyUp) override;

  // ---- Frame hooks ----------------------------------------------------------------------------
  virtual void BeginFrame() {}
  // Makes the first frame buffer.
  virtual void OnViewInitialized();
  // Removes every control.
  virtual void OnViewDestroyed();
  virtual void EndFrame() {}

  // ---- Drawing operations (UI units) ----------------------------------------------------------
  // Copies the region of the bitmap starting at (srcX, srcY) into dest at its own size.
  virtual void DrawBitmap(const IBitmapRef& bitmap, const IRect& dest, int srcX, int srcY,
                          const IBlendSpec* blend = nullptr) = 0;
  virtual void DrawBitmapFitted(const IBitmapRef& bitmap, const IRect& dest, const IBlendSpec* blend = nullptr);
  virtual void DrawBitmapRotated(const IBitmapRef& bitmap, float cx, float cy, double deg,
                                 const IBlendSpec* blend = nullptr);
  virtual void DrawPoint(const IColour& colour, float x, float y, const IBlendSpec* blend = nullptr);
  virtual void DrawLine(const IColour& colour, float x1, float y1, float x2, float y2,
                        const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawDashedLine(const IColour& colour, float x1, float y1, float x2, float y2,
                              const IBlendSpec* blend = nullptr, float thickness = 1.0f, float dashLength = 2.0f);
  virtual void DrawTriangle(const IColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                            const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend = nullptr,
                        float thickness = 1.0f);
  virtual void DrawRoundRect(const IColour& colour, const IRect& rect, float rTL, float rTR, float rBR, float rBL,
                             const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawRoundRect(const IColour& colour, const IRect& rect, float radius, const IBlendSpec* blend = nullptr,
                             float thickness = 1.0f);
  virtual void DrawArc(const IColour& colour, float cx, float cy, float r, float fromDeg, float toDeg,
                       const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawCircle(const IColour& colour, float cx, float cy, float r, const IBlendSpec* blend = nullptr,
                          float thickness = 1.0f);
  virtual void DrawEllipse(const IColour& colour, float cx, float cy, float r1, float r2, float deg,
                           const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawEllipse(const IColour& colour, const IRect& rect, const IBlendSpec* blend = nullptr,
                           float thickness = 1.0f);
  virtual void DrawPolygon(const IColour& colour, const float* xs, const float* ys, int n,
                           const IBlendSpec* blend = nullptr, float thickness = 1.0f);
  virtual void DrawDashedRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend = nullptr,
                              float thickness = 1.0f, float dashLength = 2.0f);
  virtual void FillTriangle(const IColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                            const IBlendSpec* blend = nullptr);
  virtual void FillRect(const IColour& colour, const IRect& rect, const IBlendSpec* blend = nullptr);
  virtual void FillRoundRect(const IColour& colour, const IRect& rect, float rTL, float rTR, float rBR, float rBL,
                             const IBlendSpec* blend = nullptr);
  virtual void FillRoundRect(const IColour& colour, const IRect& rect, float radius, const IBlendSpec* blend = nullptr);
  virtual void FillCircle(const IColour& colour, float cx, float cy, float r, const IBlendSpec* blend = nullptr);
  virtual void FillEllipse(const IColour& colour, float cx, float cy, float r1, float r2, float deg,
                           const IBlendSpec* blend = nullptr);
  virtual void FillEllipse(const IColour& colour, const IRect& rect, const IBlendSpec* blend = nullptr);
  virtual void FillPie(const IColour& colour, float cx, float cy, float r, float fromDeg, float toDeg,
                       const IBlendSpec* blend = nullptr);
  virtual void FillPolygon(const IColour& colour, const float* xs, const float* ys, int n,
                           const IBlendSpec* blend = nullptr);
  // The text's width; rect becomes the box the text would occupy. Empty or null text: 0, rect untouched.
  virtual float MeasureText(const ITextStyle& style, const char* text, IRect& rect);
  // The colour of the drawing surface at device pixel (x, y).
  virtual IColour ReadPixel(int x, int y) = 0;
  // The backend's native drawing object.
  virtual void* DrawingContext() = 0;
  virtual const char* DrawingBackendName() const = 0;
  // Draws the bitmap into a new layer at the target scale and caches the result.
  virtual IBitmapRef ScaleBitmap(const IBitmapRef& bitmap, const std::string& name, int targetScale);
  // The cache takes ownership, at the bitmap's own scale.
  virtual void RetainBitmap(std::unique_ptr<BackendBitmap> bitmap, const std::string& name);
  // Removes the cache entry and destroys the bitmap.
  virtual void ReleaseBitmap(BackendBitmap* bitmap);
  virtual bool BitmapExtSupported(const char* ext) const = 0;
  virtual void DrawBoxShadow(const IRect& inner, const IRect& outer, float offset, float roundness, float blur,
                             const IBlendSpec* blend = nullptr) = 0;
  // Grid lines strictly inside rect, every stepX and stepY (a step of 1 or less: none that way).
  virtual void DrawGrid(const IColour& colour, const IRect& rect, float stepX, float stepY,
                        const IBlendSpec* blend = nullptr, float thickness = 1.0f);

  // Fonts from a file or resource name; false on any failure.
  virtual bool LoadFont(const char* fontId, const char* fileOrResourceName);

  // ---- Path primitives (backend) ------------------------------------------------------------
  // Makes the innermost layer's canvas (or the main one) current.
  virtual void UpdateLayer() = 0;
  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  // Degrees with 0 at 12 o'clock, clockwise; a sweep of 360 or more either way is a full circle.
  virtual void PathArc(float cx, float cy, float r, float fromDeg, float toDeg, bool counterClockwise = false) = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  virtual void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) = 0;
  virtual void PathQuadTo(float cx, float cy, float x, float y) = 0;
  virtual void PathStroke(const IPaintPattern& pattern, float thickness, const IStrokeStyle& style = {},
                          const IBlendSpec* blend = nullptr) = 0;
  virtual void PathFill(const IPaintPattern& pattern, const IFillStyle& style = {}, const IBlendSpec* blend = nullptr) = 0;
  virtual void PathSetTransform(const ITransform& transform) = 0;
  virtual void CompleteRegion(const IRect&) {}
  virtual void PrepareRegion(const IRect& rect) = 0;

  // ---- Platform operations --------------------------------------------------------------------
  // Pointer position in UI units.
  virtual void MouseLocation(float& x, float& y) const;
  virtual void HideMouseCursor(bool hide = true, bool lock = true);
  virtual void MoveMouseCursor(float x, float y);
  // Returns the previous type.
  virtual CursorType SetMouseCursor(CursorType type);
  virtual bool WindowIsOpen() const { return false; }
  virtual const char* PlatformName() const { return ""; }
  void SetModuleHandle(void* module) noexcept { moduleHandle = module; }
  void* ModuleHandle() const noexcept { return moduleHandle; }
  // A font object for the bytes, added to the process as a private font; null on failure.
  virtual std::unique_ptr<PlatformFont> LoadPlatformFont(const char* fontId, const uint8_t* bytes, size_t size);
  // Modal; returns the (sub-)menu in which an item was chosen, or null when cancelled.
  virtual IMenu* ShowPlatformMenu(IMenu& menu, const IRect& anchor);
  virtual void ShowPlatformTextEntry(int paramIdx, const ITextStyle& style, const IRect& rect, int maxLength,
                                     const char* text);
  // Editor sizes passed to the host are multiplied by this.
  virtual float PlatformWindowScale() const { return 1.0f; }
  virtual void PlatformResize(bool parentHasResized);
  // Recreates the frame buffer for the current size and scales.
  virtual void DrawResize() = 0;

  // ---- Bitmaps ----------------------------------------------------------------------------------
  // targetScale 0: ceil(backing scale). Invalid reference on any failure.
  virtual IBitmapRef LoadBitmap(const char* name, int frames = 1, bool framesAreHorizontal = false,
                                int targetScale = 0);
  // location 1 file, 2 module resource. Null when it cannot be decoded.
  virtual std::unique_ptr<BackendBitmap> LoadAPIBitmap(const char* nameOrPath, int scale, int location,
                                                       const char* ext) = 0;
  // A cleared surface bitmap.
  virtual std::unique_ptr<BackendBitmap> CreateAPIBitmap(int pixelWidth, int pixelHeight, int scale,
                                                         float bitmapDrawScale) = 0;
  // Makes a drawable typeface for the font under its id in the typeface cache; false on failure.
  virtual bool LoadAPIFont(const char* fontId, PlatformFont& font) = 0;
  virtual float DoMeasureText(const ITextStyle& style, const char* text, IRect& rect) = 0;
  virtual void DoDrawText(const ITextStyle& style, const char* text, const IRect& rect,
                          const IBlendSpec* blend = nullptr) = 0;
  virtual float BackingScale() const { return drawScale * screenScale; }

  // ---- Transforms -------------------------------------------------------------------------------
  void PushTransform();
  void PopTransform();
  void Translate(double x, double y);
  void Scale(double sx, double sy);
  void Rotate(double deg);
  const ITransform& CurrentTransform() const noexcept { return transform; }

  // ---- Path builders (each adds one closed sub-path) --------------------------------------------
  void PathRect(const IRect& rect);
  void PathRoundRect(const IRect& rect, float rTL, float rTR, float rBR, float rBL);
  void PathRoundRect(const IRect& rect, float radius) { PathRoundRect(rect, radius, radius, radius, radius); }
  void PathCircle(float cx, float cy, float r);
  void PathEllipse(float cx, float cy, float r1, float r2, float angleDeg = 0.0f);
  void PathPolygon(const float* xs, const float* ys, int n);

  void DrawText(const ITextStyle& style, const char* text, const IRect& rect, const IBlendSpec* blend = nullptr);
  // frame is 1-based, clamped to 1 … frame count.
  void DrawBitmapFrame(const IBitmapRef& bitmap, const IRect& dest, int frame, const IBlendSpec* blend = nullptr);

  // ---- Layers -----------------------------------------------------------------------------------
  void StartLayer(IControl* owner, const IRect& rect);
  // The innermost layer, or null when none is open.
  std::unique_ptr<ILayer> EndLayer();
  // rect ∩ the innermost layer (or the area being drawn); an empty rect means all of it.
  void SetClipRegion(const IRect& rect);

  // ---- Controls ---------------------------------------------------------------------------------
  // Takes ownership and returns the control; a tag already in use returns null (the caller keeps it).
  IControl* AddControl(IControl* control, int tag = -1, const char* group = "");
  IControl* ControlByTag(int tag) const;
  IControl* GetControl(int index) const noexcept;
  int NControls() const noexcept { return static_cast<int>(controls.size()); }
  int ControlIndex(const IControl* control) const noexcept;
  void ForEachControl(const ControlFunction& f);
  void ForStandardControls(const ControlFunction& f) { ForEachControl(f); }
  void SetAllControlsDirty();
  void SetAllControlsClean();
  void RemoveAllControls();
  // Every other control bound to the caller's parameter at valIdx takes its value.
  void SyncPeerControls(IControl& caller, int valIdx);
  void SetTickHook(TickHook hook) { tickHook = std::move(hook); }
  framework::IGuiEditorDelegate& Delegate() const noexcept { return delegate; }

  // ---- Scale and resize -------------------------------------------------------------------------
  float ScreenScale() const noexcept { return screenScale; }
  int FrameRate() const noexcept { return fps; }
  void BeginResizeGesture();
  void EndResizeGesture();
  bool ResizeGestureInProgress() const noexcept { return resizeGesture; }
  void SetPendingScale(float scale) noexcept { pendingScale = scale; }

  // ---- Draw cycle -------------------------------------------------------------------------------
  // Runs the tick hook and the animations, then appends every control that needs a redraw.
  bool CollectDirtyRects(std::vector<IRect>& rects);
  // Paints the regions (UI units), control by control.
  void DrawDirty(const std::vector<IRect>& rects);
  // Keeps the union; removes contained rectangles, trims overlaps, merges neighbours.
  static void OptimiseRegions(std::vector<IRect>& rects);

  // ---- Input (UI units) -------------------------------------------------------------------------
  void OnMouseDown(std::span<const IPointerEvent> events);
  void OnMouseUp(std::span<const IPointerEvent> events);
  void OnMouseDrag(std::span<const IPointerEvent> events);
  bool OnMouseDoubleClick(float x, float y, const IMouseModifiers& mods);
  bool OnMouseOver(float x, float y, const IMouseModifiers& mods);
  void OnMouseOut();
  bool OnMouseWheel(float x, float y, const IMouseModifiers& mods, float delta);
  bool OnKeyDown(float x, float y, const IKeyEvent& key);
  bool OnKeyUp(float x, float y, const IKeyEvent& key);
  void OnFileDrop(const char* path, float x, float y);
  void OnFilesDrop(const std::vector<std::string>& paths, float x, float y);

  IControl* ControlAt(float x, float y, bool capture = false, bool forMouseOver = false, uint64_t pointerId = 0);
  void EnableMouseOver(bool enable) noexcept { mouseOverEnabled = enable; }
  // Turning tooltips on also turns mouse-over on.
  void EnableTooltips(bool enable) noexcept;
  bool MouseOverEnabled() const noexcept { return mouseOverEnabled; }
  void ReleaseMouseCapture();
  // The control the UI holds captured for the pointer, if any.
  bool IsCaptured(const IControl* control) const noexcept;
  IControl* MouseOverControl() const noexcept { return mouseOverControl; }
  int MouseOverIndex() const noexcept { return mouseOverIdx; }
  void SetKeyHandler(KeyHandler handler) { keyHandler = std::move(handler); }

  // ---- Prompts ----------------------------------------------------------------------------------
  void PromptForValue(IControl& control, const IRect& anchor, int valIdx);
  IMenu* OpenMenu(IControl& control, IMenu& menu, const IRect& anchor, int valIdx, bool isContextMenu);
  void OpenTextEntry(IControl& control, const ITextStyle& style, const IRect& rect, const char* text, int valIdx);
  // The platform confirmed the entry.
  void CommitTextEntry(const char* text);
  // The platform closed the entry without a result.
  void ForgetTextEntry() noexcept { textEntryControl = nullptr; }
  IControl* TextEntryControl() const noexcept { return textEntryControl; }
  void OpenContextMenu(IControl& control, int paramIdx, float x, float y);
  IMenu& PromptMenu() noexcept { return promptMenu; }

protected:
  // The area DrawDirty is painting now (UI units).
  const IRect& DrawArea() const noexcept { return drawArea; }
  const ILayer* InnermostLayer() const noexcept { return layers.empty() ? nullptr : layers.back().get(); }
  // For bitmap scaling, which draws at another scale for a moment.
  void SetScalesQuietly(float screen, float draw) noexcept {
    screenScale = screen;
    drawScale = draw;
  }
  // The text placement rule: x of the left end and the baseline y for width w, ascent a
  // (negative) and descent d at size s in rect; the text box goes into box.
  static void PlaceText(const ITextStyle& style, float w, float a, float d, const IRect& rect, float& x, float& y,
                        IRect& box);

  bool cursorHidden = false;
  bool cursorLocked = false;
  bool penInput = false;
  CursorType cursorType = CursorType::Arrow;
  // The last pointer position and the one a hidden cursor returns to (UI units).
  float mouseX = 0.0f, mouseY = 0.0f;
  float hiddenCursorX = 0.0f, hiddenCursorY = 0.0f;

private:
  void DrawOneControl(IControl& control, int index, const IRect& area, float s);
  void UpdateHover(float x, float y, const IMouseModifiers& mods);
  void GestureForEachParam(IControl& control, bool begin);
  void DropCapture();
  void ResizeWindowForScale(bool platformResize);
  bool KeyEvent(float x, float y, const IKeyEvent& key, bool isKeyUp);

  framework::IGuiEditorDelegate& delegate;
  std::vector<std::unique_ptr<IControl>> controls;
  std::map<int, IControl*> tags;
  int width;
  int height;
  int fps;
  float screenScale = 1.0f;
  float drawScale;
  void* moduleHandle = nullptr;

  ITransform transform;
  std::deque<ITransform> transformStack;
  std::deque<std::unique_ptr<ILayer>> layers;
  IRect drawArea;
  std::vector<IRect> paintRegions;

  std::map<uint64_t, IControl*> captured;
  IControl* mouseOverControl = nullptr;
  int mouseOverIdx = -1;
  float mouseDownX = -1.0f, mouseDownY = -1.0f;
  bool mouseOverEnabled = false;
  bool tooltipsEnabled = false;
  bool resizeGesture = false;
  uint64_t resizePointerId = 0;
  float pendingScale = 0.0f;
  KeyHandler keyHandler;
  TickHook tickHook;

  IMenu promptMenu;
  IControl* menuControl = nullptr;
  int menuValIdx = -1;
  IControl* textEntryControl = nullptr;
  int textEntryValIdx = -1;
  // Parameters whose gesture began and has not ended.
  std::set<int> openGestures;
};

}  // namespace graphics
