// Any mouse sequence and any host value keep the editor's indices inside their buffers: fixed
// pseudo-random sequences through the same driver as the fuzzer (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/display/EditorChaos.h"

namespace {

TEST(EditorBadInput, RandomMouseAndParameterSequences) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(2000);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    EditorHarness h;
    RunEditorChaos(h, bytes.data(), bytes.size());
    EXPECT_EQ(h.korvel->Graphics(), nullptr);
  }
}

TEST(EditorBadInput, DragsAndReleasesWithoutAPressAndEventsOutsideTheEditor) {
  EditorHarness h;
  ASSERT_NE(h.Open(), nullptr);
  h.Tick();
  h.gui->MouseUp(300, 200);
  h.gui->MouseMove(-5000, 1.0e9f);
  h.gui->MouseDown(-5000, -5000);
  h.gui->MouseMove(1.0e9f, -1.0e9f);
  h.gui->MouseUp(1.0e9f, -1.0e9f);
  h.gui->Wheel(1.0e9f, 200, 32767);
  h.Down(300, 200);
  h.Move(std::nanf(""), std::nanf(""));
  h.Move(-1.0e9f, 1.0e9f);
  h.Up(300, 200);
  h.Tick();
  EXPECT_GE(h.Graph()->MarkerColumn(), 81);
  EXPECT_LE(h.Graph()->MarkerColumn(), 616);
  const auto& zoom = h.Graph()->CurrentZoom();
  EXPECT_GE(zoom.xZoomLow, 0.0);
  EXPECT_LE(zoom.xZoomHigh, 1.0);
  EXPECT_GE(zoom.yZoom, 0.0);
  EXPECT_LE(zoom.yZoom, 1.0);
}

// Found by fuzzing: a second press, before any release, at a position that is not a number
// reached the graph (which still held the pointer) and put its marker at no number.
TEST(EditorBadInput, ASecondPressAtNoPositionKeepsTheMarkerOnTheGraph) {
  EditorHarness h;
  ASSERT_NE(h.Open(), nullptr);
  h.Tick();
  h.Down(110, 290);
  h.korvel->SetFrozen(false, true);
  h.gui->MouseDown(std::nanf(""), std::nanf(""));
  h.Tick();
  EXPECT_GE(h.Graph()->MarkerColumn(), 81);
  EXPECT_LE(h.Graph()->MarkerColumn(), 616);
}

}  // namespace
