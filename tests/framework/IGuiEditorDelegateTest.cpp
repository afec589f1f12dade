#include <gtest/gtest.h>

#include "FakeEditorView.h"
#include "RecordingPlugin.h"

using testsupport::FakeEditorView;

namespace {

struct EditorFixture : testing::Test {
  std::vector<std::string> viewLog;  // outlives the plugin, whose view writes to it
  RecordingPlugin plugin;
  int editorCloses = 0;
  bool factoryGivesNothing = false;

  struct Plugin : RecordingPlugin {
    int* closes;
    explicit Plugin(int* c) : closes(c) {}
    void OnEditorClose() override { ++*closes; }
  };

  void SetUp() override {
    plugin.SetGraphicsFactory([this]() -> framework::IEditorView* {
      if (factoryGivesNothing) return nullptr;
      return new FakeEditorView(&viewLog);
    });
  }
  FakeEditorView* View() { return static_cast<FakeEditorView*>(plugin.Graphics()); }
};

}  // namespace

TEST_F(EditorFixture, ReopeningRestoresSizeAndScale) {
  ASSERT_NE(plugin.OpenEditor(nullptr), nullptr);
  View()->ResizeEditor(724, 526, 2.0f, false);
  plugin.CloseEditor();
  EXPECT_EQ(plugin.Graphics(), nullptr);
  ASSERT_NE(plugin.OpenEditor(nullptr), nullptr);
  EXPECT_FLOAT_EQ(View()->scale, 2.0f);
  EXPECT_TRUE(View()->lastPlatformResize);
  EXPECT_EQ(View()->width, 724);
  EXPECT_EQ(viewLog, (std::vector<std::string>{"open", "resize 724x526", "close", "deleted", "resize 724x526", "open"}));
}

TEST_F(EditorFixture, OpeningTwiceReplacesTheOpenEditor) {
  plugin.OpenEditor(nullptr);
  plugin.OpenEditor(nullptr);
  EXPECT_EQ(viewLog, (std::vector<std::string>{"open", "close", "deleted", "resize 724x526", "open"}));
}

TEST(EditorDelegate, CloseAndOpenRunTheCloseHookEvenWithoutAnEditor) {
  int closes = 0;
  EditorFixture::Plugin plugin(&closes);
  plugin.CloseEditor();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(plugin.OpenEditor(nullptr), nullptr);  // no factory: no editor, nothing breaks
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(plugin.Graphics(), nullptr);
}

TEST_F(EditorFixture, AFactoryThatGivesNothingLeavesTheEditorClosed) {
  factoryGivesNothing = true;
  EXPECT_EQ(plugin.OpenEditor(nullptr), nullptr);
  plugin.OnHostResizeEditor(800, 600);
  plugin.ApplyScreenScale(2.0f);
  plugin.ShowControlValue(3, 0.5);
  plugin.CloseEditor();
  EXPECT_TRUE(viewLog.empty());
}

TEST_F(EditorFixture, HostResizeDividesByTheDrawScale) {
  plugin.OpenEditor(nullptr);
  View()->scale = 2.0f;
  plugin.OnHostResizeEditor(1449, 1053);
  EXPECT_EQ(View()->width, 724);
  EXPECT_EQ(View()->height, 526);
  EXPECT_FLOAT_EQ(View()->scale, 1.0f);
  EXPECT_FALSE(View()->lastPlatformResize);
}

TEST_F(EditorFixture, ValuesAndMessagesReachTheControls) {
  plugin.ShowParamInEditor(1, 5.0, false);  // closed: only the hook
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"editor 1 Editor Delegate"}));
  plugin.OpenEditor(nullptr);
  viewLog.clear();
  plugin.calls.clear();
  plugin.ShowParamInEditor(1, 5.0, false);   // plain value, normalised for the controls
  plugin.ShowParamInEditor(2, 0.25, true);
  plugin.ShowParamInEditor(99, 0.25, true);  // no such parameter: nothing
  plugin.ShowControlValue(7, 0.5);
  plugin.ShowControlMessage(8, 1, 0, nullptr);
  plugin.ShowMidiInEditor({});
  EXPECT_EQ(viewLog, (std::vector<std::string>{"param 1 0.500000", "param 2 0.250000", "value 7", "message 8", "midi"}));
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"editor 1 Editor Delegate", "editor 2 Editor Delegate", "midi 0"}));
}

TEST_F(EditorFixture, OpeningShowsEveryParameterInTheEditor) {
  plugin.GetParam(3)->Store(10.0);
  plugin.OpenEditor(nullptr);
  plugin.OnEditorOpened();  // the graphics calls it once its window is open
  EXPECT_EQ(viewLog.back(), "param 3 1.000000");
  EXPECT_EQ(plugin.calls.size(), 4u);
}

TEST(EditorDelegate, ClampEditorSizeKeepsToTheLimits) {
  RecordingPlugin plugin;
  struct Case { int w, h, cw, ch; bool inside; };
  const Case cases[] = {{100, 2000, 241, 1578, false}, {724, 526, 724, 526, true},
                        {241, 175, 241, 175, true},    {3000, 100, 2172, 175, false}};
  for (const Case& c : cases) {
    int w = c.w, h = c.h;
    EXPECT_EQ(plugin.ClampEditorSize(w, h), c.inside);
    EXPECT_EQ(w, c.cw);
    EXPECT_EQ(h, c.ch);
  }
}

TEST(EditorDelegate, AnnounceAllParamsCallsEachHookOnceInIdOrder) {
  RecordingPlugin plugin(3);
  plugin.AnnounceAllParams(framework::ParamSource::Reset);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"change 0 Reset", "editor 0 Reset", "change 1 Reset",
                                                     "editor 1 Reset", "change 2 Reset", "editor 2 Reset"}));
}

TEST_F(EditorFixture, EditorStateRecordsSizeAndScale) {
  plugin.OpenEditor(nullptr);
  View()->ResizeEditor(724, 526, 1.5f, false);
  framework::StateChunk chunk;
  ASSERT_TRUE(plugin.SaveEditorState(chunk));
  EXPECT_EQ(chunk.Size(), 12);
  plugin.CloseEditor();
  RecordingPlugin other;
  EXPECT_EQ(other.LoadEditorState(chunk, 0), 12);
  EXPECT_EQ(other.LoadEditorState(chunk, 4), -1);
  framework::StateChunk saved;
  other.SaveEditorState(saved);
  EXPECT_EQ(std::vector<uint8_t>(saved.Data(), saved.Data() + 12), std::vector<uint8_t>(chunk.Data(), chunk.Data() + 12));
}
