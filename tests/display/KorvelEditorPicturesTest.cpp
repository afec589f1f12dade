// The editor as a user sees it: each domain rendered with demo audio at draw scales 1 and 2,
// probed at known places. With KORVEL_EDITOR_PNG_DIR set, the frames are also written there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/display/EditorHarness.h"

namespace {

void WriteIfAsked(const EditorHarness& h, const std::string& name) {
  const char* dir = std::getenv("KORVEL_EDITOR_PNG_DIR");
  if (dir && *dir) {
    EXPECT_TRUE(h.gui->WritePng((std::string(dir) + "/" + name + ".png").c_str()));
  }
}

struct Picture {
  DisplayDomain domain;
  float scale;
  const char* name;
};

class EditorPictures : public testing::TestWithParam<Picture> {};

TEST_P(EditorPictures, RendersEveryDomainWithDemoAudio) {
  const Picture& p = GetParam();
  EditorHarness h;
  h.SetParam(KorvelParam::Input3, 1.0);
  h.SetParam(KorvelParam::Input4, 1.0);
  h.SetParam(KorvelParam::Domain, static_cast<double>(p.domain));
  if (p.domain == DisplayDomain::Freq) {
    h.SetParam(KorvelParam::XZoomLow, 0.0);
    h.SetParam(KorvelParam::XZoomHigh, 0.75);
  }
  h.SetParam(KorvelParam::Hold, -12.0);
  ASSERT_NE(h.Open(), nullptr);
  h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, p.scale, true);
  for (int i = 0; i < 30; ++i) {
    h.Feed(800);
    h.Tick();
  }
  EXPECT_EQ(h.gui->PixelWidth(), static_cast<int>(Korvel::kEditorWidth * p.scale));
  WriteIfAsked(h, p.name);
  // The editor stores its scale when it closes; the next one opens at 1 again.
  h.gui->ResizeEditor(Korvel::kEditorWidth, Korvel::kEditorHeight, 1.0f, true);
}

TEST(EditorPictures, FrequencyTipAndFrozenMarker) {
  EditorHarness h;
  h.SetParam(KorvelParam::Domain, 1);
  h.SetParam(KorvelParam::XZoomLow, 0.0);
  h.SetParam(KorvelParam::XZoomHigh, 0.75);
  ASSERT_NE(h.Open(), nullptr);
  for (int i = 0; i < 10; ++i) {
    h.Feed(800);
    h.Tick();
  }
  h.Move(500, 200);
  h.Tick();
  // The tip's dark box lies left of the pointer in the right half of the scope.
  EXPECT_LT(Red(h.PixelAt(450, 195)), 40);
  WriteIfAsked(h, "freq-tip");
  h.SetParam(KorvelParam::Domain, 0);
  h.Tick();
  h.Down(300, 200);
  h.Up(300, 200);
  h.Move(301, 200);
  h.Tick();
  // The marker line (blue between its white highlights) straddles two pixel columns.
  const uint32_t marker = h.PixelAt(static_cast<float>(h.Graph()->MarkerColumn()) + 0.5f, 330.5f);
  EXPECT_GT(Blue(marker), Red(marker) + 30);
  WriteIfAsked(h, "time-marker");
}

INSTANTIATE_TEST_SUITE_P(Domains, EditorPictures,
                         testing::Values(Picture{DisplayDomain::Time, 1.0f, "time-1x"},
                                         Picture{DisplayDomain::Time, 2.0f, "time-2x"},
                                         Picture{DisplayDomain::Freq, 1.0f, "freq-1x"},
                                         Picture{DisplayDomain::Freq, 2.0f, "freq-2x"},
                                         Picture{DisplayDomain::Phase, 1.0f, "phase-1x"},
                                         Picture{DisplayDomain::Phase, 2.0f, "phase-2x"}),
                         [](const testing::TestParamInfo<Picture>& param) {
                           std::string name = param.param.name;
                           for (char& c : name)
                             if (c == '-') c = '_';
                           return name;
                         });

}  // namespace
