#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "framework/IParam.h"

using namespace framework;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Shown(const IParam& param, double x, bool normalised = false, bool withDisplayTexts = true) {
  ShortText text;
  param.FormatValue(x, normalised, text, withDisplayTexts);
  return text.Get();
}

}  // namespace

TEST(IParam, DefaultConstructedIsAnEmptyZeroToOneRange) {
  IParam p;
  EXPECT_EQ(p.Kind(), IParam::Kind::None);
  EXPECT_EQ(p.Unit(), 21);
  EXPECT_EQ(p.Min(), 0.0);
  EXPECT_EQ(p.Max(), 1.0);
  EXPECT_EQ(p.Step(), 1.0);
  EXPECT_EQ(p.Current(), 0.0);
  EXPECT_STREQ(p.Name(), "");
  EXPECT_EQ(p.Normalise(0.25), 0.25);
  EXPECT_EQ(p.Denormalise(2.0), 1.0);
  EXPECT_EQ(Shown(p, 0.0), "0");
}

TEST(IParam, FormatsNumbersByStepSignAndFlags) {
  struct Case { double min, max, step; uint32_t flags; double x; const char* text; };
  const Case cases[] = {
      {0, 500, 0.1, 0, 12.34, "12.3"},                     // label never part of the text
      {0, 500, 0.1, 0, 0.0, "0.0"},
      {-30, 3, 0.1, IParam::ShowNegated, -3.0, "3.0"},
      {-30, 3, 0.1, IParam::ShowNegated, 2.0, "-2.0"},
      {-30, 3, 0.1, IParam::ShowNegated, 0.0, "0.0"},        // negated zero is +0
      {-30, 3, 0.1, IParam::ShowNegated, 0.04, "0.0"},       // rounds to zero: no "-0.0"
      {-30, 3, 0.1, 0, -0.04, "0.0"},
      {-30, 3, 0.1, IParam::ShowPlusSign, 2.0, "+2.0"},
      {-30, 3, 0.1, IParam::ShowPlusSign, 0.0, "0.0"},
      {-30, 3, 0.1, IParam::ShowPlusSign, 0.04, "0.0"},      // no "+0.0" either
      {-30, 3, 0.1, IParam::ShowPlusSign, -2.0, "-2.0"},
      {-30, 3, 0.01, IParam::ShowPlusSign, 1.5, "+1.50"},
      {-10, 10, 1, 0, 2.5, "3"},                           // halves away from zero
      {-10, 10, 1, 0, -2.5, "-3"},
      {-10, 10, 1, 0, -0.4, "0"},
      {0, 1e12, 1, 0, 5e9, "5000000000"},                  // beyond int stays exact
      {0, 1, 0.0000001, 0, 0.5, "0.500000"},               // at most 6 decimals
  };
  for (const auto& c : cases) {
    IParam p;
    p.SetupContinuous("P", 0, c.min, c.max, c.step, "ms", c.flags);
    EXPECT_EQ(Shown(p, c.x), c.text) << c.x << " step " << c.step << " flags " << c.flags;
  }
}

TEST(IParam, FormatsNormalisedInputAndNonFiniteValuesSafely) {
  IParam p;
  p.SetupContinuous("Delay", 0, 0, 500, 0.1, "ms");
  EXPECT_EQ(Shown(p, 0.5, true), "250.0");
  EXPECT_EQ(Shown(p, 7.0, true), "500.0");
  EXPECT_EQ(Shown(p, kNaN, true), "0.0");
  EXPECT_EQ(Shown(p, kNaN), "0.0");                        // shown as Confine makes it
  EXPECT_EQ(Shown(p, kInf), "inf");
  IParam whole;
  whole.SetupInteger("Count", 0, 0, 10);
  EXPECT_EQ(Shown(whole, -kInf), "-inf");                  // no int conversion of infinity
}

TEST(IParam, DecimalsFollowTheStep) {
  struct Case { double step; int decimals; };
  const Case cases[] = {
      {0.1, 1}, {0.01, 2}, {1, 0}, {0.0000001, 6}, {0.5, 1}, {0.25, 2}, {2, 0},
      {0, 0}, {-0.1, 0}, {kNaN, 0}, {kInf, 0},              // not a step: none
  };
  for (const auto& c : cases) {
    IParam p;
    p.SetupContinuous("P", 0, 0, 10, c.step);
    EXPECT_EQ(p.Decimals(), c.decimals) << c.step;
  }
}

TEST(IParam, RangeKeepsRoomForOneStep) {
  struct Case { double min, max, step; double wantMax, wantStep; };
  const Case cases[] = {
      {0.1, 0.1, 0.1, 0.2, 0.1},
      {0, 500, 0.1, 500, 0.1},
      {5, 1, 1, 6, 1},
      {5, 1, 0, 5, 0},                                     // no step: max only ≥ min
      {5, 1, -10, 5, 0},
      {0, kNaN, 1, 1, 1},
  };
  for (const auto& c : cases) {
    IParam p;
    p.SetupContinuous("P", 0, c.min, c.max, c.step);
    EXPECT_DOUBLE_EQ(p.Max(), c.wantMax) << c.min << ".." << c.max << " step " << c.step;
    EXPECT_EQ(p.Step(), c.wantStep);
  }
}

TEST(IParam, ConfineRoundsWhenSteppedThenClamps) {
  struct Case { double min, max, step; uint32_t flags; double x, want; };
  const double big = 1e10;
  const Case cases[] = {
      {0, 2, 0.5, IParam::Stepped, 0.26, 0.5},
      {0, 2, 0.5, 0, 0.26, 0.26},                          // not stepped: no rounding
      {0, 2, 0.5, IParam::Stepped, 7, 2},
      {-10, 10, 1, IParam::Stepped, 2.5, 3},
      {-10, 10, 1, IParam::Stepped, -2.5, -3},
      {0, 0.7, 0.5, IParam::Stepped, 0.9, 0.7},            // clamp after rounding ends on max
      {0, 2, 0, IParam::Stepped, 0.26, 0.26},              // stepped without a step
      {0, 1e300, 1e-300, IParam::Stepped, big, big},       // quotient overflow leaves the value
      {-1, 1, 0.5, IParam::Stepped, kNaN, -1},             // NaN gives min
      {-1, 1, 0.5, IParam::Stepped, kInf, 1},
      {-1, 1, 0.5, IParam::Stepped, -kInf, -1},
      {-1, 1, 0.5, 0, kInf, 1},
  };
  for (const auto& c : cases) {
    IParam p;
    p.SetupContinuous("P", 0, c.min, c.max, c.step, "", c.flags);
    EXPECT_DOUBLE_EQ(p.Confine(c.x), c.want) << c.x << " step " << c.step;
  }
}

TEST(IParam, NormalisedValuesStayInRangeAndNeverNaN) {
  IParam p;
  p.SetupContinuous("Delay", 0, 0, 500, 0.1, "ms");
  EXPECT_EQ(p.Normalise(600), 1.0);
  EXPECT_EQ(p.Normalise(-5), 0.0);
  EXPECT_EQ(p.Normalise(kNaN), 0.0);
  EXPECT_EQ(p.Normalise(125), 0.25);
  EXPECT_EQ(p.Denormalise(1.5), 500.0);
  EXPECT_EQ(p.Denormalise(kNaN), 0.0);

  p.StoreNormalised(0.5);
  EXPECT_EQ(p.Current(), 250.0);
  EXPECT_EQ(p.CurrentNormalised(), 0.5);
  p.Store(kNaN);
  EXPECT_EQ(p.Current(), 0.0);
  p.StoreNormalised(kNaN);
  EXPECT_EQ(p.Current(), 0.0);
  p.Store(-kInf);
  EXPECT_EQ(p.Current(), 0.0);
  p.Store(kInf);
  EXPECT_EQ(p.Current(), 500.0);

  IParam empty;                                            // no step, so min == max
  empty.SetupContinuous("Empty", 1, 1, 1, 0);
  EXPECT_EQ(empty.Normalise(1), 0.0);
  EXPECT_EQ(empty.Denormalise(0.5), 1.0);
}

TEST(IParam, DefaultIsConfinedIntoTheValueButReportedAsGiven) {
  IParam p;
  p.SetupContinuous("Blend", 0.5, 0.1, 1, 0.1);
  EXPECT_EQ(p.DefaultOf(false), 0.5);
  EXPECT_DOUBLE_EQ(p.DefaultOf(true), 0.4 / 0.9);
  IParam odd;
  odd.SetupContinuous("Odd", kNaN, -1, 1, 0.1);
  EXPECT_EQ(odd.DefaultOf(false), -1.0);
  EXPECT_EQ(odd.Current(), -1.0);
}

TEST(IParam, OnlyTheOutermostInitialiserSetsTheKind) {
  IParam continuous, integer, enumerated, onOff;
  continuous.SetupContinuous("C", 0, 0, 1, 0.01);
  integer.SetupInteger("I", 3, 0, 10);
  enumerated.SetupEnumerated("E", 1, 3, "", 0, "", {"a", "b", "c"});
  onOff.SetupOnOff("O", true, "", 0, "", "off", "on");

  EXPECT_EQ(continuous.Kind(), IParam::Kind::Continuous);
  EXPECT_EQ(continuous.Flags() & IParam::Stepped, 0u);
  EXPECT_EQ(integer.Kind(), IParam::Kind::Integer);
  EXPECT_EQ(integer.Flags() & IParam::Stepped, IParam::Stepped);
  EXPECT_EQ(integer.Step(), 1.0);
  EXPECT_EQ(integer.Current(), 3.0);
  EXPECT_EQ(enumerated.Kind(), IParam::Kind::Enumerated);
  EXPECT_EQ(enumerated.Max(), 2.0);
  EXPECT_EQ(enumerated.ValueTextCount(), 3);
  EXPECT_EQ(onOff.Kind(), IParam::Kind::OnOff);
  EXPECT_EQ(onOff.Max(), 1.0);
  EXPECT_EQ(onOff.Current(), 1.0);
  EXPECT_EQ(onOff.ValueTextCount(), 2);

  // Setting up again keeps the kind from the first time.
  onOff.SetupContinuous("O", 0, 0, 5, 0.5);
  EXPECT_EQ(onOff.Kind(), IParam::Kind::OnOff);
}

TEST(IParam, EnumeratedTextsFollowTheCount) {
  IParam fewer, more, none, empty;
  fewer.SetupEnumerated("F", 0, 3, "", 0, "", {"a"});
  more.SetupEnumerated("M", 0, 2, "", 0, "", {"a", "b", "c"});
  none.SetupEnumerated("N", 0, 2, "", 0, "", {nullptr, "b"});
  empty.SetupEnumerated("Z", 0, 0);
  EXPECT_EQ(fewer.ValueTextCount(), 1);
  EXPECT_EQ(more.ValueTextCount(), 2);
  EXPECT_EQ(none.ValueTextCount(), 0);
  EXPECT_EQ(empty.Max(), 1.0);
  EXPECT_EQ(more.ValueTextAt(1)->value, 1.0);
  EXPECT_STREQ(more.ValueTextAt(1)->text, "b");
  EXPECT_EQ(more.ValueTextAt(2), nullptr);
  EXPECT_EQ(more.ValueTextAt(-1), nullptr);
}

TEST(IParam, ValueTextLookupsFindTheFirstEntry) {
  IParam p;
  p.SetupInteger("P", 1, 0, 3, "Hz");
  p.AddValueText(1, "one");
  p.AddValueText(1, "uno");
  p.AddValueText(2, "");
  p.AddValueText(3, "one");
  p.AddValueText(7, "seven");                              // outside the range
  EXPECT_STREQ(p.ValueTextFor(1), "one");
  EXPECT_STREQ(p.ValueTextFor(0), "");
  EXPECT_EQ(Shown(p, 1), "one");
  EXPECT_EQ(Shown(p, 1, false, false), "1");
  EXPECT_EQ(Shown(p, 2), "2");                             // an empty text shows the number
  EXPECT_EQ(p.ParseValue("one"), 1.0);
  EXPECT_EQ(p.ParseValue("uno"), 1.0);
  EXPECT_EQ(p.ParseValue("seven"), 3.0);                   // confined like every parse
  EXPECT_STREQ(p.ShownLabel(), "");
  p.Store(0);
  EXPECT_STREQ(p.ShownLabel(), "Hz");
  p.Store(2);
  EXPECT_STREQ(p.ShownLabel(), "Hz");
}

TEST(IParam, ParsesTextsNumbersAndGarbage) {
  IParam domain, hold, blend, negated;
  domain.SetupEnumerated("Domain", 0, 3, "", 0, "", {"Time", "Freq", "Phase"});
  hold.SetupContinuous("Hold", 3, -30, 3, 0.1, "dB");
  blend.SetupContinuous("Blend", 0.5, 0.1, 1, 0.1);
  negated.SetupContinuous("Gain", 0, -30, 30, 0.1, "", IParam::ShowNegated);

  struct Case { const IParam* param; const char* text; double want; };
  const Case cases[] = {
      {&domain, "Freq", 1}, {&domain, "Phase", 2}, {&domain, "abc", 0}, {&domain, "2", 0},
      {&domain, "freq", 0}, {&domain, nullptr, 0}, {&domain, "", 0},
      {&hold, "-12.5 dB", -12.5}, {&hold, "  2", 2}, {&hold, "+1", 1}, {&hold, ".5", 0.5},
      {&hold, "abc", 0}, {&hold, "99", 3}, {&hold, "1e999", 3}, {&hold, "-1e999", -30},
      {&hold, "inf", 0}, {&hold, "nan", 0}, {&hold, "-nan", 0}, {&hold, "0x10", 0},
      {&blend, "abc", 0.1}, {&blend, nullptr, 0.1},          // 0, constrained
      {&negated, "3", -3}, {&negated, "-3.0", 3},
  };
  for (const auto& c : cases) {
    const double got = c.param->ParseValue(c.text);
    EXPECT_DOUBLE_EQ(got, c.want) << c.param->Name() << " '" << (c.text ? c.text : "(null)") << "'";
  }
}

TEST(IParam, FormatterAndParserReplaceTheBuiltInsAndAreCleared) {
  IParam p;
  double formatted = -1;
  p.SetupContinuous("P", 0, 0, 10, 0.1, "", 0, "", IParam::ShapeLinear(), IParam::kDefaultUnit,
                    [&](double v, ShortText& text) {
                      formatted = v;
                      text.Set("a text longer than thirty-two characters");
                    },
                    [](const char*) { return 42.0; });
  p.AddValueText(5, "five");
  EXPECT_EQ(Shown(p, 0.5, true), "a text longer than thirty-two ch");
  EXPECT_EQ(formatted, 5.0);                               // denormalised before the call
  EXPECT_EQ(p.ParseValue("five"), 10.0);                   // parser first, then confined

  p.SetupContinuous("P", 0, 0, 10, 0.1);
  EXPECT_EQ(Shown(p, 5), "five");
  EXPECT_EQ(p.ParseValue("2"), 2.0);
}

TEST(IParam, TextsAreCutTo31CharactersAndNullsAreEmpty) {
  IParam p;
  const char* longText = "0123456789012345678901234567890123456789";
  p.SetupContinuous(longText, 0, 0, 1, 0.1, nullptr, 0, longText);
  p.AddValueText(0, longText);
  p.AddValueText(1, nullptr);
  EXPECT_STREQ(p.Name(), "0123456789012345678901234567890");
  EXPECT_STREQ(p.Label(), "");
  EXPECT_STREQ(p.Group(), "0123456789012345678901234567890");
  EXPECT_STREQ(p.ValueTextAt(0)->text, "0123456789012345678901234567890");
  EXPECT_STREQ(p.ValueTextAt(1)->text, "");
}

namespace {

// Squares the normalised value; counts its lifetime to check the parameter owns one copy.
struct SquareShape final : IParam::Shape {
  static inline int alive = 0;
  static inline int attached = 0;
  SquareShape() { ++alive; }
  SquareShape(const SquareShape&) { ++alive; }
  ~SquareShape() override { --alive; }
  std::unique_ptr<Shape> Copy() const override { return std::make_unique<SquareShape>(*this); }
  void Attach(const IParam&) noexcept override { ++attached; }
  int DisplayKind() const noexcept override { return 1; }
  double MapFromUnit(double n, const IParam& p) const noexcept override {
    return p.Min() + (p.Max() - p.Min()) * n * n;
  }
  double MapToUnit(double v, const IParam& p) const noexcept override {
    return std::sqrt((v - p.Min()) / (p.Max() - p.Min()));
  }
};

}  // namespace

TEST(IParam, TakesItsOwnCopyOfTheShapeAndAttachesItOnce) {
  {
    IParam p;
    p.SetupContinuous("P", 0, 0, 100, 0.01, "", 0, "", SquareShape());
    EXPECT_EQ(SquareShape::alive, 1);
    EXPECT_EQ(SquareShape::attached, 1);
    EXPECT_EQ(p.Denormalise(0.5), 25.0);
    EXPECT_EQ(p.Normalise(25), 0.5);
    IParam empty;                                          // the shape divides 0 by 0 here
    empty.SetupContinuous("E", 5, 5, 5, 0, "", 0, "", SquareShape());
    EXPECT_EQ(empty.Normalise(5), 0.0);
    p.SetupContinuous("P", 0, 0, 100, 0.01);
    EXPECT_EQ(SquareShape::alive, 1);
    EXPECT_EQ(p.Denormalise(0.5), 50.0);
    p.SetupContinuous("P", 0, 0, 100, 0.01, "", 0, "", SquareShape());
  }
  EXPECT_EQ(SquareShape::alive, 0);
}

// The plug-in's own sixteen parameters, set up as its constructor does.
TEST(IParam, KorvelParametersShowTheirDefaults) {
  using Setup = std::function<void(IParam&)>;
  struct Row {
    Setup setup; enum IParam::Kind kind; double min, max, defaultValue; int decimals;
    const char* shownLabel; const char* text; int texts;
  };
  const auto kEnum = IParam::Kind::Enumerated, kOnOff = IParam::Kind::OnOff,
             kCont = IParam::Kind::Continuous;
  const Row rows[] = {
      {[](IParam& p) { p.SetupEnumerated("Domain", 0, 3, "", 0, "", {"Time", "Freq", "Phase"}); },
       kEnum, 0, 2, 0, 0, "", "Time", 3},
      {[](IParam& p) { p.SetupOnOff("Input 1", true, "", 0, "", "off", "on"); }, kOnOff, 0, 1, 1, 0, "", "on", 2},
      {[](IParam& p) { p.SetupOnOff("Input 3", false, "", 0, "", "off", "on"); }, kOnOff, 0, 1, 0, 0, "", "off", 2},
      {[](IParam& p) { p.SetupContinuous("Delay 1", 0, 0, 500, 0.1, "ms"); }, kCont, 0, 500, 0, 1, "ms", "0.0", 0},
      {[](IParam& p) { p.SetupContinuous("Hold", 3, -30, 3, 0.1, "dB"); }, kCont, -30, 3, 3, 1, "dB", "3.0", 0},
      {[](IParam& p) {
         p.SetupEnumerated("FFT Size", 4, 7, "", 0, "", {"256", "512", "1024", "2048", "4096", "8192", "16384"});
       },
       kEnum, 0, 6, 4, 0, "", "4096", 7},
      {[](IParam& p) { p.SetupContinuous("Blend Speed", 0.5, 0.1, 1, 0.1); }, kCont, 0.1, 1, 0.5, 1, "", "0.5", 0},
      {[](IParam& p) { p.SetupContinuous("Opacity", 0.75, 0, 1, 0.01); }, kCont, 0, 1, 0.75, 2, "", "0.75", 0},
      {[](IParam& p) { p.SetupContinuous("X Zoom Low", 0.5, 0, 1, 0.01); }, kCont, 0, 1, 0.5, 2, "", "0.50", 0},
      {[](IParam& p) { p.SetupContinuous("Y Zoom", 0.5, 0, 1, 0.01); }, kCont, 0, 1, 0.5, 2, "", "0.50", 0},
  };
  for (const auto& r : rows) {
    IParam p;
    r.setup(p);
    SCOPED_TRACE(p.Name());
    EXPECT_EQ(p.Kind(), r.kind);
    EXPECT_EQ(p.Min(), r.min);
    EXPECT_EQ(p.Max(), r.max);
    EXPECT_EQ(p.Current(), r.defaultValue);
    EXPECT_EQ(p.DefaultOf(false), r.defaultValue);
    EXPECT_EQ(p.Decimals(), r.decimals);
    EXPECT_EQ(p.Unit(), IParam::kDefaultUnit);
    EXPECT_EQ(p.Flags() & ~IParam::Stepped, 0u);
    EXPECT_STREQ(p.ShownLabel(), r.shownLabel);
    EXPECT_EQ(Shown(p, p.Current()), r.text);
    EXPECT_EQ(p.ValueTextCount(), r.texts);
  }
}

TEST(IParam, KorvelHostValuesRoundTrip) {
  IParam fft, delay, hold;
  fft.SetupEnumerated("FFT Size", 4, 7, "", 0, "", {"256", "512", "1024", "2048", "4096", "8192", "16384"});
  delay.SetupContinuous("Delay 1", 0, 0, 500, 0.1, "ms");
  hold.SetupContinuous("Hold", 3, -30, 3, 0.1, "dB");

  EXPECT_NEAR(fft.CurrentNormalised(), 4.0 / 6.0, 1e-12);
  fft.StoreNormalised(0.99);                               // snaps to the nearest index
  EXPECT_EQ(fft.Current(), 6.0);
  EXPECT_EQ(Shown(fft, fft.Current()), "16384");
  EXPECT_EQ(fft.ParseValue("512"), 1.0);
  EXPECT_EQ(Shown(delay, delay.Normalise(delay.Denormalise(0.5)), true), "250.0");
  EXPECT_EQ(Shown(hold, 1.0, true), "3.0");
  EXPECT_EQ(delay.Normalise(delay.ParseValue(Shown(delay, 0.2468, true).c_str())),
            delay.Normalise(123.4));
}
