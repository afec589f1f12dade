#include "framework/IParam.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace framework {

namespace {

constexpr int kMaxDecimals = 6;
// From here on every double is an integer, so a quotient this large is already on the step.
constexpr double kExactIntegerLimit = 4503599627370496.0;  // 2^52

const char* OrEmpty(const char* text) noexcept { return text ? text : ""; }

// Steps that are not positive and finite mean "no step".
double SaneStep(double step) noexcept { return step > 0.0 && std::isfinite(step) ? step : 0.0; }

// How many times the step must be multiplied by 10 to become whole, at most 6.
int32_t DecimalsOf(double step) noexcept {
  int32_t p = 0;
  double s = step;
  while (p < kMaxDecimals && s != std::floor(s)) {
    ++p;
    s *= 10.0;
  }
  return p;
}

// A printed number made only of zeros ("-0.0", "+0.00") loses its sign.
void DropSignOfZero(char* text) noexcept {
  if (text[0] != '-' && text[0] != '+') return;
  for (const char* c = text + 1; *c; ++c)
    if (*c != '0' && *c != '.') return;
  std::memmove(text, text + 1, std::strlen(text));
}

// The decimal number at the start of text (after blanks), or 0 when there is none.
double ReadLeadingNumber(const char* text) noexcept {
  const char* start = text;
  while (std::isspace(static_cast<unsigned char>(*start))) ++start;
  const char* digits = start + (*start == '+' || *start == '-' ? 1 : 0);
  if (!std::isdigit(static_cast<unsigned char>(digits[0])) && digits[0] != '.') return 0.0;
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return 0.0;
  return std::strtod(start, nullptr);
}

}  // namespace

std::unique_ptr<IParam::Shape> IParam::ShapeLinear::Copy() const { return std::make_unique<ShapeLinear>(); }

void IParam::ShapeLinear::Attach(const IParam&) noexcept {}

int IParam::ShapeLinear::DisplayKind() const noexcept { return 0; }

double IParam::ShapeLinear::MapFromUnit(double normalised, const IParam& param) const noexcept {
  return param.Min() + (param.Max() - param.Min()) * normalised;
}

double IParam::ShapeLinear::MapToUnit(double x, const IParam& param) const noexcept {
  const double range = param.Max() - param.Min();
  return range > 0.0 ? (x - param.Min()) / range : 0.0;
}

IParam::IParam() : shape(std::make_unique<ShapeLinear>()) {}

IParam::~IParam() = default;

void IParam::SetupContinuous(const char* nameText, double defaultVal, double minVal, double maxVal,
                             double stepVal, const char* labelText, uint32_t flagBits,
                             const char* groupText, const Shape& newShape, int32_t unitCode,
                             Formatter newFormatter, Parser newParser) {
  if (kind == Kind::None) kind = Kind::Continuous;
  CopyText(name, sizeof name, nameText);
  CopyText(label, sizeof label, labelText);
  CopyText(group, sizeof group, groupText);
  step = SaneStep(stepVal);
  min = minVal;
  max = maxVal >= minVal + step ? maxVal : minVal + step;
  defaultValue = std::isnan(defaultVal) ? minVal : defaultVal;
  unit = unitCode;
  flags = flagBits;
  formatter = std::move(newFormatter);
  parser = std::move(newParser);
  value.store(Confine(defaultValue));
  decimals = DecimalsOf(step);
  // Copy first: the given shape may be the one being replaced.
  std::unique_ptr<Shape> fresh = newShape.Copy();
  if (!fresh) return;
  shape.swap(fresh);
  shape->Attach(*this);
}

void IParam::SetupInteger(const char* nameText, int defaultVal, int minVal, int maxVal,
                          const char* labelText, uint32_t flagBits, const char* groupText) {
  if (kind == Kind::None) kind = Kind::Integer;
  SetupContinuous(nameText, defaultVal, minVal, maxVal, 1.0, labelText, flagBits | Stepped, groupText);
}

void IParam::SetupEnumerated(const char* nameText, int defaultVal, int count, const char* labelText,
                             uint32_t flagBits, const char* groupText,
                             std::initializer_list<const char*> texts) {
  if (kind == Kind::None) kind = Kind::Enumerated;
  // Fewer than one value still gives the range 0..1 (max ≥ min + step).
  const int last = (count > 1 ? count : 1) - 1;
  SetupInteger(nameText, defaultVal, 0, last, labelText, flagBits | Stepped, groupText);
  if (texts.size() == 0 || !*texts.begin()) return;
  int index = 0;
  for (const char* text : texts) {
    if (index >= count) break;
    AddValueText(index++, text);
  }
}

void IParam::SetupOnOff(const char* nameText, bool defaultVal, const char* labelText, uint32_t flagBits,
                        const char* groupText, const char* offText, const char* onText) {
  if (kind == Kind::None) kind = Kind::OnOff;
  SetupEnumerated(nameText, defaultVal ? 1 : 0, 2, labelText, flagBits | Stepped, groupText);
  AddValueText(0.0, offText);
  AddValueText(1.0, onText);
}

bool IParam::AddValueText(double entryValue, const char* text) noexcept {
  uint8_t* slot = valueTexts.Grow(static_cast<int>(sizeof(ValueText)));
  if (!slot) return false;
  ValueText entry{entryValue, {}};
  CopyText(entry.text, sizeof entry.text, text);
  std::memcpy(slot, &entry, sizeof entry);
  return true;
}

double IParam::Confine(double x) const noexcept {
  if (std::isnan(x)) return min;
  if ((flags & Stepped) && step > 0.0) {
    const double steps = x / step;
    if (std::fabs(steps) < kExactIntegerLimit) x = std::round(steps) * step;
  }
  if (x < min) return min;
  if (x > max) return max;
  return x;
}

double IParam::Normalise(double x) const noexcept {
  const double n = shape->MapToUnit(Confine(x), *this);
  if (!(n > 0.0)) return 0.0;
  return n < 1.0 ? n : 1.0;
}

double IParam::Denormalise(double normalised) const noexcept {
  return Confine(shape->MapFromUnit(normalised, *this));
}

void IParam::Store(double x) noexcept { value.store(Confine(x)); }

void IParam::StoreNormalised(double normalised) noexcept { value.store(Confine(Denormalise(normalised))); }

double IParam::Current() const noexcept { return value.load(); }

double IParam::CurrentNormalised() const noexcept { return Normalise(Current()); }

double IParam::DefaultOf(bool normalised) const noexcept {
  return normalised ? Normalise(defaultValue) : defaultValue;
}

void IParam::FormatValue(double x, bool normalised, ShortText& text, bool withDisplayTexts) const {
  if (normalised) x = Denormalise(x);
  if (std::isnan(x)) x = Confine(x);
  if (formatter) {
    formatter(x, text);
    if (text.Length() > kMaxDisplayChars) {
      char cut[kMaxDisplayChars + 1];
      CopyText(cut, sizeof cut, text.Get());
      text.Set(cut);
    }
    return;
  }
  if (withDisplayTexts) {
    const char* shown = ValueTextFor(x);
    if (*shown) {
      text.Set(shown);
      return;
    }
  }
  double v = (flags & ShowNegated) ? -x : x;
  if (v == 0.0) v = 0.0;
  char printed[kMaxDisplayChars + 1];
  if (decimals == 0) {
    const double whole = std::round(v);
    if (whole >= INT_MIN && whole <= INT_MAX)
      std::snprintf(printed, sizeof printed, "%d", static_cast<int>(whole));
    else
      std::snprintf(printed, sizeof printed, "%.0f", whole);
  } else if ((flags & ShowPlusSign) && v != 0.0) {
    std::snprintf(printed, sizeof printed, "%+.*f", decimals, v);
  } else {
    std::snprintf(printed, sizeof printed, "%.*f", decimals, v);
  }
  DropSignOfZero(printed);
  text.Set(printed);
}

const char* IParam::ValueTextFor(double x) const noexcept {
  for (int i = 0; i < ValueTextCount(); ++i) {
    const ValueText* entry = ValueTextAt(i);
    if (entry->value == x) return entry->text;
  }
  return "";
}

const char* IParam::ShownLabel() const noexcept {
  return *ValueTextFor(std::trunc(Current())) ? "" : label;
}

int IParam::ValueTextCount() const noexcept {
  return valueTexts.Size() / static_cast<int>(sizeof(ValueText));
}

const IParam::ValueText* IParam::ValueTextAt(int index) const noexcept {
  if (index < 0 || index >= ValueTextCount()) return nullptr;
  return reinterpret_cast<const ValueText*>(valueTexts.Data()) + index;
}

double IParam::ParseValue(const char* text) const {
  text = OrEmpty(text);
  if (parser) return Confine(parser(text));
  for (int i = 0; i < ValueTextCount(); ++i) {
    const ValueText* entry = ValueTextAt(i);
    if (std::strcmp(entry->text, text) == 0) return Confine(entry->value);
  }
  if (kind == Kind::OnOff || kind == Kind::Enumerated) return Confine(0.0);
  const double number = ReadLeadingNumber(text);
  return Confine((flags & ShowNegated) ? -number : number);
}

}  // namespace framework
