#pragma once
// A headless UI that records the lines and filled rectangles a control draws instead of
// painting them, at the level of the path primitives (so batched paths count line by line).
#include <algorithm>
#include <vector>

#include "graphics/platform/headless/IGuiHeadless.h"

struct RecordedLine {
  graphics::IColour colour;
  float x1, y1, x2, y2;
};

class RecordingGui final : public graphics::IGuiHeadless {
public:
  explicit RecordingGui(framework::IGuiEditorDelegate& owner) : IGuiHeadless(owner, 724, 526, 60, 1.0f) {}

  void PathClear() override {
    segments.clear();
    subpaths.clear();
  }
  void PathMoveTo(float x, float y) override {
    subpaths.push_back({{}, x, y, x, y});
    lastX = x;
    lastY = y;
  }
  void PathLineTo(float x, float y) override {
    segments.push_back({{}, lastX, lastY, x, y});
    if (!subpaths.empty()) {
      RecordedLine& box = subpaths.back();
      box.x1 = std::min(box.x1, x);
      box.y1 = std::min(box.y1, y);
      box.x2 = std::max(box.x2, x);
      box.y2 = std::max(box.y2, y);
    }
    lastX = x;
    lastY = y;
  }
  void PathStroke(const graphics::IPaintPattern& pattern, float, const graphics::IStrokeStyle&,
                  const graphics::IBlendSpec*) override {
    for (RecordedLine line : segments) {
      line.colour = pattern.stops[0].colour;
      lines.push_back(line);
    }
    PathClear();
  }
  void PathFill(const graphics::IPaintPattern& pattern, const graphics::IFillStyle&,
                const graphics::IBlendSpec*) override {
    for (RecordedLine box : subpaths) {
      box.colour = pattern.stops[0].colour;
      rects.push_back(box);
    }
    PathClear();
  }
  void Clear() {
    lines.clear();
    rects.clear();
  }

  std::vector<RecordedLine> lines;
  std::vector<RecordedLine> rects;

private:
  std::vector<RecordedLine> segments;
  std::vector<RecordedLine> subpaths;
  float lastX = 0.0f, lastY = 0.0f;
};
