#pragma once
// One automatable plug-in parameter: kind, range, step, default, the current value, its
// names, the shape that maps it to and from 0..1, and the texts it shows and reads.
// Everything but the value is fixed once the plug-in constructor has set it up; the value
// is one lock-free atomic double, so any thread may read or store it.
#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

#include "framework/HeapBuffer.h"
#include "framework/ShortText.h"

namespace framework {

class IParam {
public:
  // The member function Kind() hides this type's plain name: spell a variable's type as
  // `enum IParam::Kind` (or use auto); `IParam::Kind::Continuous` works as it is.
  enum class Kind : int32_t { None = 0, OnOff = 1, Integer = 2, Enumerated = 3, Continuous = 4 };

  static constexpr uint32_t CannotAutomate = 1u << 0;
  static constexpr uint32_t Stepped = 1u << 1;
  static constexpr uint32_t ShowNegated = 1u << 2;
  static constexpr uint32_t ShowPlusSign = 1u << 3;

  static constexpr int32_t kDefaultUnit = 21;
  // Names, labels, groups and value texts keep at most this many characters.
  static constexpr int kMaxNameChars = 31;
  // Value texts made by FormatValue keep at most this many characters.
  static constexpr int kMaxDisplayChars = 32;

  // Maps the parameter's value to and from the normalised range 0..1.
  class Shape {
  public:
    virtual ~Shape() = default;
    virtual std::unique_ptr<Shape> Copy() const = 0;
    // Called once, after the parameter has taken this shape.
    virtual void Attach(const IParam& param) noexcept = 0;
    // 0 for linear.
    virtual int DisplayKind() const noexcept = 0;
    virtual double MapFromUnit(double normalised, const IParam& param) const noexcept = 0;
    virtual double MapToUnit(double value, const IParam& param) const noexcept = 0;
  };

  class ShapeLinear final : public Shape {
  public:
    std::unique_ptr<Shape> Copy() const override;
    void Attach(const IParam& param) noexcept override;
    int DisplayKind() const noexcept override;
    double MapFromUnit(double normalised, const IParam& param) const noexcept override;
    // 0 when the range is empty.
    double MapToUnit(double value, const IParam& param) const noexcept override;
  };

  // Writes the text for a (non-normalised) value; replaces the built-in conversion.
  using Formatter = std::function<void(double value, ShortText& text)>;
  // Reads a value from a text; replaces the built-in conversion. Its result is confined.
  using Parser = std::function<double(const char* text)>;

  struct ValueText {
    double value;
    char text[kMaxNameChars + 1];
  };

  // A parameter of no kind: range 0..1, step 1, value 0, linear shape.
  // [main-thread]
  IParam();
  ~IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // Initialisers. Only the first initialiser run on a parameter sets its kind; the ones
  // it calls in turn leave it. Null texts count as empty ones. min and max must be finite.
  // A step that is not positive and finite is taken as 0: no rounding, max only ≥ min.
  // A NaN default is taken as min.
  // [main-thread] (plug-in constructor, before any other thread sees the parameter)
  void SetupContinuous(const char* name, double defaultValue, double min, double max, double step,
                       const char* label = "", uint32_t flags = 0, const char* group = "",
                       const Shape& shape = ShapeLinear(), int32_t unit = kDefaultUnit,
                       Formatter formatter = {}, Parser parser = {});
  // Step 1, stepped, linear, default unit, no formatter or parser.
  void SetupInteger(const char* name, int defaultValue, int min, int max, const char* label = "",
                    uint32_t flags = 0, const char* group = "");
  // Values 0 … count − 1, with texts[i] as the text of value i. Texts beyond count are
  // ignored, missing ones are not added, and a null first text adds none.
  void SetupEnumerated(const char* name, int defaultValue, int count, const char* label = "",
                       uint32_t flags = 0, const char* group = "",
                       std::initializer_list<const char*> texts = {});
  // Values 0 (offText) and 1 (onText).
  void SetupOnOff(const char* name, bool defaultValue, const char* label, uint32_t flags,
                  const char* group, const char* offText, const char* onText);
  // Appends an entry; an earlier entry for the same value keeps winning lookups.
  // False when there was no memory for it.
  bool AddValueText(double value, const char* text) noexcept;

  // Rounds to the step when stepped (halves away from zero), then clamps to min..max.
  // NaN gives min, so no NaN ever reaches the stored value; infinities clamp.
  // [thread-safe]
  double Confine(double x) const noexcept;
  // Confined value mapped to 0..1 (a NaN from the shape gives 0).
  // [thread-safe]
  double Normalise(double x) const noexcept;
  // [thread-safe]
  double Denormalise(double normalised) const noexcept;
  // [thread-safe]
  void Store(double x) noexcept;
  // [thread-safe]
  void StoreNormalised(double normalised) noexcept;
  // [thread-safe]
  double Current() const noexcept;
  // [thread-safe]
  double CurrentNormalised() const noexcept;
  // [thread-safe]
  double DefaultOf(bool normalised) const noexcept;

  // The text for x (normalised or not), at most kMaxDisplayChars characters. With
  // withDisplayTexts a non-empty value text for exactly x wins over the number. A number
  // that shows as zero carries no sign ("0.0", never "-0.0" or "+0.0"); a NaN is shown
  // as Confine makes it.
  // [thread-safe] but it may allocate the text: not on the audio thread.
  void FormatValue(double x, bool normalised, ShortText& text, bool withDisplayTexts) const;
  // The text of the first entry for exactly x, or "".
  // [thread-safe]
  const char* ValueTextFor(double x) const noexcept;
  // "" when the current value, truncated, has a non-empty value text; otherwise the label.
  // [thread-safe]
  const char* ShownLabel() const noexcept;
  // [thread-safe]
  int ValueTextCount() const noexcept;
  // Entry i in the order added, or null when i is out of range.
  // [thread-safe]
  const ValueText* ValueTextAt(int index) const noexcept;
  // The confined value a text stands for: the parser's result, else the value of the first
  // entry with exactly this text, else (not for on/off and enumerated kinds) the leading
  // decimal number (0 if none; "inf", "nan" and hexadecimal are not numbers), negated when
  // shown negated. Otherwise 0. A null text counts as empty.
  // [thread-safe] but the parser may allocate: not on the audio thread.
  double ParseValue(const char* text) const;

  // [thread-safe]
  const char* Name() const noexcept { return name; }
  const char* Label() const noexcept { return label; }
  const char* Group() const noexcept { return group; }
  enum Kind Kind() const noexcept { return kind; }
  double Min() const noexcept { return min; }
  double Max() const noexcept { return max; }
  double Step() const noexcept { return step; }
  int32_t Decimals() const noexcept { return decimals; }
  uint32_t Flags() const noexcept { return flags; }
  int32_t Unit() const noexcept { return unit; }

private:
  static_assert(std::atomic<double>::is_always_lock_free, "parameter values must be lock-free");

  enum Kind kind = Kind::None;
  int32_t unit = kDefaultUnit;
  std::atomic<double> value{0.0};
  double min = 0.0;
  double max = 1.0;
  double step = 1.0;
  double defaultValue = 0.0;
  int32_t decimals = 0;
  uint32_t flags = 0;
  char name[kMaxNameChars + 1] = {};
  char label[kMaxNameChars + 1] = {};
  char group[kMaxNameChars + 1] = {};
  std::unique_ptr<Shape> shape;
  Formatter formatter;
  Parser parser;
  HeapBuffer valueTexts{static_cast<int>(sizeof(ValueText)) * 8};
};

}  // namespace framework
