// Axis labels: time, level (dB), frequency, with their positions and margins.
#include "display/CaptionGridControl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CaptionGridControl MakeGrid() { return CaptionGridControl({80, 41, 618, 362}, graphics::ITextStyle()); }

void ExpectLabels(const CaptionGridControl& grid, std::initializer_list<std::pair<const char*, float>> expected) {
  ASSERT_EQ(grid.Labels().size(), expected.size());
  size_t i = 0;
  for (const auto& [text, position] : expected) {
    EXPECT_STREQ(grid.Labels()[i].text, text) << i;
    EXPECT_NEAR(grid.Labels()[i].position, position, 0.0006) << i;
    ++i;
  }
}

TEST(CaptionGrid, TimeLabelsCountBackFromTheNewestSample) {
  CaptionGridControl grid = MakeGrid();
  const double c = 48000.0 / 44100.0;
  grid.BuildTimeLabels(0.5 * c, c, c);
  EXPECT_STREQ(grid.MinText(), "-544");
  EXPECT_STREQ(grid.MaxText(), "0 ms");
  ExpectLabels(grid, {{"-100", 0.8163f}, {"-200", 0.6325f}, {"-300", 0.4487f}, {"-400", 0.2650f}, {"", 0.0813f}});
}

TEST(CaptionGrid, TimeLabelsOfADegenerateWindowAreOnlyTheEnds) {
  CaptionGridControl grid = MakeGrid();
  grid.BuildTimeLabels(0.5, 0.5, 1.0);
  EXPECT_TRUE(grid.Labels().empty());
  grid.BuildTimeLabels(0.6, 0.5, 1.0);
  EXPECT_TRUE(grid.Labels().empty());
}

TEST(CaptionGrid, LevelLabelsEveryThreeDecibelsUntilTheyCrowd) {
  CaptionGridControl grid = MakeGrid();
  grid.margin = 0.1;
  grid.BuildLevelLabels(0.0, 1.0005);
  EXPECT_STREQ(grid.MinText(), "-oo");
  EXPECT_STREQ(grid.MaxText(), "+0.0");
  ExpectLabels(grid, {{"-3.0", 0.7076f}, {"-6.0", 0.5009f}, {"-9.0", 0.3546f}, {"-12.0", 0.2511f}});

  grid.margin = 0.06;
  grid.BuildLevelLabels(0.0, 1.0005);
  EXPECT_EQ(grid.Labels().size(), 5u);
  EXPECT_STREQ(grid.Labels()[4].text, "-15.0");

  grid.margin = 0.1;
  grid.BuildLevelLabels(0.0, 2.0);
  EXPECT_STREQ(grid.MaxText(), "+6.0");
  ASSERT_EQ(grid.Labels().size(), 4u);
  EXPECT_STREQ(grid.Labels()[0].text, "+3.0");
  EXPECT_STREQ(grid.Labels()[1].text, "+0.0");
  EXPECT_STREQ(grid.Labels()[3].text, "-6.0");
}

TEST(CaptionGrid, LevelLabelsEndEvenWithoutAMargin) {
  CaptionGridControl grid = MakeGrid();
  grid.margin = 0.0;
  grid.BuildLevelLabels(0.0, 1.0);
  EXPECT_LT(grid.Labels().size(), 64u);
  grid.BuildLevelLabels(0.0, 0.0);
  EXPECT_TRUE(grid.Labels().empty());
}

TEST(CaptionGrid, FrequencyLabelsSitWhereTheSpectrumDrawsThem) {
  CaptionGridControl grid = MakeGrid();
  grid.BuildFrequencyLabels(20, 22000, 44100, 4096, 0.06, 0.92, true);
  EXPECT_STREQ(grid.MinText(), "20");
  EXPECT_STREQ(grid.MaxText(), "22.0k");
  ExpectLabels(grid, {{"500", 0.0880f}, {"1.0k", 0.1712f}, {"5.0k", 0.6188f}, {"7.5k", 0.7684f}, {"10.0k", 0.8607f},
                      {"1.5k", 0.2468f}, {"2.0k", 0.3161f}, {"2.5k", 0.3796f}, {"3.5k", 0.4889f}, {"6.0k", 0.6871f}});
  grid.BuildFrequencyLabels(20, 500, 44100, 256, 0.06, 0.92, false);
  EXPECT_STREQ(grid.MaxText(), "500");
  grid.BuildFrequencyLabels(20, 22000, 0, 4096, 0.06, 0.92, true);
  EXPECT_TRUE(grid.Labels().empty());
}

TEST(CaptionGrid, LongTextsAreCut) {
  CaptionGridControl grid = MakeGrid();
  grid.AppendLabel(0.5f, std::string(40, 'x').c_str());
  EXPECT_EQ(std::string(grid.Labels()[0].text), std::string(31, 'x'));
}

}  // namespace
