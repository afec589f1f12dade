// The scope's axis labels never overlap each other or the Hold caption and value, in any
// domain, at any zoom and draw scale: where they would, fewer are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/CaptionGridControl.h"
#include "display/TriggerControl.h"
#include "tests/display/EditorHarness.h"

namespace {

// Draws controls offscreen and keeps the box of every text they write.
class TextRecorder final : public graphics::IGuiHeadless {
public:
  TextRecorder(framework::IGuiEditorDelegate& owner, float scale) : IGuiHeadless(owner, 724, 526, 60, scale) {}

  struct Text {
    std::string text;
    graphics::IRect box;
  };
  std::vector<Text> texts;

  void DoDrawText(const graphics::ITextStyle& style, const char* text, const graphics::IRect& rect,
                  const graphics::IBlendSpec* blend) override {
    graphics::IRect box = rect;
    DoMeasureText(style, text, box);
    texts.push_back({text, box});
    IGuiHeadless::DoDrawText(style, text, rect, blend);
  }
};

bool Overlap(const graphics::IRect& a, const graphics::IRect& b) {
  return a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B;
}

std::string Describe(const TextRecorder::Text& t) {
  return "\"" + t.text + "\" " + std::to_string(t.box.L) + "," + std::to_string(t.box.T) + " – " +
         std::to_string(t.box.R) + "," + std::to_string(t.box.B);
}

TEST(AxisLabels, NoTwoLabelsOverlapAtAnyZoomDomainAndScale) {
  const double yZooms[] = {0.0, 0.3, 0.5, 0.7, 0.85, 0.9, 0.93, 0.95, 0.97, 0.99, 1.0};
  const double xZooms[][2] = {{0.0, 1.0}, {0.5, 1.0}, {0.0, 0.05}, {0.9, 0.95}, {0.99, 1.0}, {0.3, 0.301}};
  EditorHarness h;
  h.SetParam(KorvelParam::Hold, -20.0);
  ASSERT_NE(h.Open(), nullptr);
  for (float scale : {1.0f, 2.0f}) {
    TextRecorder g(*h.korvel, scale);
    for (int domain : {0, 1, 2})
      for (double y : yZooms)
        for (const auto& x : xZooms) {
          SCOPED_TRACE(testing::Message() << "scale " << scale << ", domain " << domain << ", Y " << y << ", X "
                                          << x[0] << "-" << x[1]);
          h.SetParam(KorvelParam::Domain, domain);
          h.SetParam(KorvelParam::YZoom, y);
          h.SetParam(KorvelParam::XZoomLow, x[0]);
          h.SetParam(KorvelParam::XZoomHigh, x[1]);
          h.Tick();
          g.texts.clear();
          for (KorvelControl role : {KorvelControl::TimeAxis, KorvelControl::LevelAxis, KorvelControl::HoldHandle})
            if (graphics::IControl* control = h.Control(role); !control->IsHidden()) control->Draw(g);
          ASSERT_FALSE(g.texts.empty());
          for (size_t i = 0; i < g.texts.size(); ++i)
            for (size_t j = i + 1; j < g.texts.size(); ++j)
              EXPECT_FALSE(Overlap(g.texts[i].box, g.texts[j].box))
                  << Describe(g.texts[i]) << " and " << Describe(g.texts[j]);
        }
  }
}

}  // namespace
