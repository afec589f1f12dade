#pragma once
// The value records every drawing call uses: colour, rectangle, blend, stroke and fill
// styles, paint patterns, transforms, text style and the bitmap reference. Plain copyable
// records without ownership. [thread-safe] as values.
#include <cmath>
#include <string>

namespace graphics {

struct IColour {
  int A = 255, R = 0, G = 0, B = 0;

  bool operator==(const IColour&) const = default;
};

struct IRect {
  float L = 0.0f, T = 0.0f, R = 0.0f, B = 0.0f;

  float W() const noexcept { return R - L; }
  float H() const noexcept { return B - T; }
  float MW() const noexcept { return (L + R) * 0.5f; }
  float MH() const noexcept { return (T + B) * 0.5f; }
  // All four values 0.
  bool Empty() const noexcept { return L == 0.0f && T == 0.0f && R == 0.0f && B == 0.0f; }
  // Half-open: L ≤ x < R and T ≤ y < B.
  bool Contains(float x, float y) const noexcept { return L <= x && x < R && T <= y && y < B; }
  bool Contains(const IRect& r) const noexcept { return r.L >= L && r.R <= R && r.T >= T && r.B <= B; }
  bool Overlaps(const IRect& r) const noexcept { return L < r.R && r.L < R && T < r.B && r.T < B; }
  IRect Grown(float d) const noexcept { return {L - d, T - d, R + d, B + d}; }
  IRect Intersect(const IRect& r) const noexcept;
  IRect Union(const IRect& r) const noexcept;
  // Outward to whole device pixels at scale s, back in UI units.
  IRect AlignedOut(float s) const noexcept;

  bool operator==(const IRect&) const = default;
};

enum class BlendMode : int {
  SrcOver = 0,
  SrcIn = 1,
  SrcOut = 2,
  SrcAtop = 3,
  DstOver = 4,
  DstIn = 5,
  DstOut = 6,
  DstAtop = 7,
  Add = 8,
  XOR = 9,
};

// weight multiplies the source alpha. A null blend pointer means source-over at weight 1.
struct IBlendSpec {
  BlendMode mode = BlendMode::SrcOver;
  float weight = 1.0f;
};

enum class LineCap : int { Butt = 0, Round = 1, Square = 2 };
enum class LineJoin : int { Miter = 0, Round = 1, Bevel = 2 };

struct IStrokeStyle {
  float miterLimit = 10.0f;
  bool keepPath = false;
  LineCap cap = LineCap::Butt;
  LineJoin join = LineJoin::Miter;
  float dashes[8] = {};
  float dashOffset = 0.0f;
  // 0 is solid; an odd count uses the lengths twice over.
  int dashCount = 0;

  static IStrokeStyle Dashed(float length) noexcept {
    IStrokeStyle style;
    style.dashes[0] = length;
    style.dashCount = 1;
    return style;
  }
};

struct IFillStyle {
  bool evenOdd = false;
  bool keepPath = false;
};

// Maps (x, y) to (xx·x + xy·y + tx, yx·x + yy·y + ty).
struct ITransform {
  double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, tx = 0.0, ty = 0.0;

  bool IsIdentity() const noexcept { return xx == 1.0 && yx == 0.0 && xy == 0.0 && yy == 1.0 && tx == 0.0 && ty == 0.0; }
  // This transform after `first`: the result applies `first`, then this.
  ITransform Then(const ITransform& first) const noexcept;
  // False when the matrix cannot be inverted (inverse is left alone).
  bool Invert(ITransform& inverse) const noexcept;
  void Map(double& x, double& y) const noexcept;

  bool operator==(const ITransform&) const = default;
};

enum class PatternKind : int { Solid = 0, Linear = 1, Radial = 2, Sweep = 3 };
enum class PatternExtend : int { None = 0, Pad = 1, Reflect = 2, Repeat = 3 };

struct IColourStop {
  IColour colour;
  float offset = 0.0f;
};

struct IPaintPattern {
  static constexpr int kMaxStops = 16;

  PatternKind kind = PatternKind::Solid;
  PatternExtend extend = PatternExtend::Pad;
  IColourStop stops[kMaxStops] = {};
  int stopCount = 0;
  // From UI space into pattern space.
  ITransform transform;

  static IPaintPattern Solid(const IColour& colour) noexcept {
    IPaintPattern pattern;
    pattern.stops[0].colour = colour;
    pattern.stopCount = 1;
    return pattern;
  }
  // Adds a stop; false when all sixteen are used.
  bool AddStop(const IColour& colour, float offset) noexcept {
    if (stopCount >= kMaxStops) return false;
    stops[stopCount++] = {colour, offset};
    return true;
  }
};

enum class TextAlign : int { Left = 0, Centre = 1, Right = 2 };
enum class TextVAlign : int { Top = 0, Middle = 1, Bottom = 2 };

struct ITextStyle {
  static constexpr int kFontIdChars = 64;

  char fontId[kFontIdChars] = "Roboto-Regular";
  // UI units from the font's ascender line to its descender line.
  float size = 14.0f;
  IColour colour{255, 0, 0, 0};
  IColour entryBackground{255, 255, 255, 255};
  IColour entryText{255, 0, 0, 0};
  float angle = 0.0f;
  TextAlign align = TextAlign::Centre;
  TextVAlign valign = TextVAlign::Middle;

  ITextStyle() = default;
  ITextStyle(float textSize, const IColour& textColour, TextAlign horizontal = TextAlign::Centre,
             const char* font = "Roboto-Regular") noexcept;
  void SetFont(const char* font) noexcept;
};

// A decoded picture or layer surface in device pixels, owned by the bitmap cache (or by a
// layer while it is open). The backend derives its own holder from it.
class BackendBitmap {
public:
  BackendBitmap(int pixelWidth, int pixelHeight, int bitmapScale, float bitmapDrawScale) noexcept
      : width(pixelWidth), height(pixelHeight), scale(bitmapScale), drawScale(bitmapDrawScale) {}
  virtual ~BackendBitmap() = default;
  BackendBitmap(const BackendBitmap&) = delete;
  BackendBitmap& operator=(const BackendBitmap&) = delete;

  int width;
  int height;
  // The resolution factor the pixels were made for.
  int scale;
  float drawScale;
};

// What controls hold: a cached bitmap with its size in UI units (all frames) and its
// frame layout. A null bitmap is "invalid" and draws nothing.
struct IBitmapRef {
  BackendBitmap* bitmap = nullptr;
  int width = 0;
  int height = 0;
  int frames = 1;
  bool framesAreHorizontal = false;
  std::string name;

  bool IsValid() const noexcept { return bitmap != nullptr; }
  // One frame's size in UI units (integer division).
  int FrameWidth() const noexcept { return framesAreHorizontal && frames > 0 ? width / frames : width; }
  int FrameHeight() const noexcept { return !framesAreHorizontal && frames > 0 ? height / frames : height; }
};

}  // namespace graphics
