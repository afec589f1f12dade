// The editor of the built Korvel.so in a real X11 window: a host opens it with effEditOpen
// in a window of its own under a private Xvfb server, drives it with effEditIdle as Linux
// hosts do, and plays the user through XTest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ClosedEditorCases.h"
#include "Vst2TestHost.h"
#include "PrivateSettings.h"
#include "X11TestServer.h"

namespace {

using graphics::XId;
using x11test::TestConnection;

constexpr int kWidth = 724, kHeight = 526;

using x11test::AsParent;

class Vst2X11Editor : public ::testing::Test {
protected:
  void SetUp() override {
    // A corner drag stores the scale it left: each test starts from the default.
    testsupport::ForgetStoredSettings();
    std::string failure;
    if (!scene.Start(kWidth, kHeight, failure)) GTEST_SKIP() << failure;
    user = &scene.User();
    ASSERT_NE(host.CreateAndOpen(), nullptr) << "could not load " << KORVEL_VST2_MODULE;
  }
  void TearDown() override { host.Close(); }

  // The host's idle calls, a few milliseconds apart.
  void Idle(int times) {
    for (int i = 0; i < times; ++i) {
      host.Dispatch(effEditIdle);
      usleep(4000);
    }
  }
  template <class Condition>
  bool IdleUntil(Condition condition) {
    for (int i = 0; i < 400; ++i) {
      Idle(1);
      user->Sync();
      if (condition()) return true;
    }
    return false;
  }
  XId Parent() const { return scene.Parent(); }
  XId Child() { return scene.Child(); }
  void Drag(float x, float y, int dx, int dy) {
    scene.Drag(x, y, dx, dy, [this](int turns) { Idle(turns); });
  }
  bool Open() { return host.Dispatch(effEditOpen, 0, 0, AsParent(Parent())) == 1; }

  // The first frames of an instance's editor opened in the host's window, then closed: the first
  // painted one and three more. Each idle call comes after the framework's idle interval, so
  // that its idle work runs in the same call.
  std::vector<std::vector<uint32_t>> FirstFrames(Vst2TestHost& instance) {
    std::vector<std::vector<uint32_t>> frames;
    // The display rebuilds its axes at the first tick after a change of its settings, and its
    // labels depend on whether it did: a change to the value the Domain has evens that out.
    AEffect* e = instance.Effect();
    e->setParameter(e, 0, e->getParameter(e, 0));
    if (instance.Dispatch(effEditOpen, 0, 0, AsParent(Parent())) != 1) return frames;
    const auto painted = [](const std::vector<uint32_t>& pixels) {
      return std::any_of(pixels.begin(), pixels.end(), [&](uint32_t p) { return p != pixels[0]; });
    };
    for (int turn = 0; turn < 200 && frames.size() < 4; ++turn) {
      usleep(25000);
      instance.Dispatch(effEditIdle);
      user->Sync();
      std::vector<uint32_t> pixels = user->Pixels(Child(), kWidth, kHeight);
      if (!frames.empty() || (!pixels.empty() && painted(pixels))) frames.push_back(std::move(pixels));
    }
    instance.Dispatch(effEditClose);
    return frames;
  }

  Vst2TestHost host{KORVEL_VST2_MODULE};
  x11test::HostWindowScene scene;
  TestConnection* user = nullptr;
};

TEST_F(Vst2X11Editor, OpensAtItsRectangleInTheHostsWindowAndPaints) {
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_TRUE(Open());
  const XId child = Child();
  ASSERT_NE(child, 0u);
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, rect->right - rect->left);
  EXPECT_EQ(h, rect->bottom - rect->top);
  // The window shows the panel once idle calls have painted it: not one flat colour.
  EXPECT_TRUE(IdleUntil([&] {
    const std::vector<uint32_t> pixels = user->Pixels(child, w, h);
    return !pixels.empty() && std::any_of(pixels.begin(), pixels.end(), [&](uint32_t p) { return p != pixels[0]; });
  }));
}

TEST_F(Vst2X11Editor, TheDomainMenuReachesTheHostAsGestureAndValue) {
  ASSERT_TRUE(Open());
  Idle(3);
  host.ClearCalls();
  x11test::PopUpUser hand(scene.Server().Name(), x11test::PopUpUser::Action::ChooseMiddle, Parent());
  int sx = 0, sy = 0;
  scene.ScreenPoint(63, 415, sx, sy);
  user->Click(sx, sy);
  const bool ended = IdleUntil([&] { return hand.Seen() && user->PopUps().empty(); });
  hand.Join();
  if (hand.Rescued()) scene.ForgetParent();
  ASSERT_FALSE(hand.Rescued()) << "the pop-up did not react";
  ASSERT_TRUE(ended);
  EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), 0), 0.5f) << "Freq";
  std::vector<std::string> told;
  for (const VstInt32 opcode : host.NonBlockOpcodes()) {
    if (opcode == audioMasterBeginEdit) told.push_back("begin");
    if (opcode == audioMasterAutomate) told.push_back("automate");
    if (opcode == audioMasterEndEdit) told.push_back("end");
  }
  const std::vector<std::string> expected = {"begin", "automate", "end"};
  EXPECT_EQ(told, expected);
  const auto automated = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(automated.size(), 1u);
  EXPECT_EQ(automated[0].index, 0);
  EXPECT_FLOAT_EQ(automated[0].opt, 0.5f);
}

TEST_F(Vst2X11Editor, DraggingAKnobUpRaisesItsParameter) {
  ASSERT_TRUE(Open());
  Idle(3);
  const float before = host.Effect()->getParameter(host.Effect(), 5);
  Drag(117.5f, 467.5f, 0, -60);
  EXPECT_GT(host.Effect()->getParameter(host.Effect(), 5), before);
  EXPECT_FALSE(host.CallsOf(audioMasterAutomate).empty());
}

TEST_F(Vst2X11Editor, TheCornerDragRescalesTheWindowAndAsksTheHostToResize) {
  ASSERT_TRUE(Open());
  Idle(3);
  Drag(kWidth - 5.0f, kHeight - 5.0f, kWidth / 2, kHeight / 2);
  const auto sized = host.CallsOf(audioMasterSizeWindow);
  ASSERT_FALSE(sized.empty());
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(Child(), x, y, w, h));
  EXPECT_GT(w, kWidth);
  EXPECT_EQ(sized.back().index, w);
  EXPECT_EQ(sized.back().value, h);
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, w);
  EXPECT_EQ(rect->bottom, h);
}

TEST_F(Vst2X11Editor, CloseReopenAndEffCloseLeaveNoWindowOrConnection) {
  const int clientsBefore = user->ClientCount();
  ASSERT_GE(clientsBefore, 0) << "the server has the X-Resource extension";
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(Open());
    host.Dispatch(effEditIdle);
    ASSERT_EQ(host.Dispatch(effEditClose), 1);
  }
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  // Two instances at once, the second in a window of its own; the first closed with effClose
  // while its editor is open.
  const XId secondParent = user->MakeParent(kWidth, kHeight);
  {
    Vst2TestHost second(KORVEL_VST2_MODULE);
    ASSERT_NE(second.CreateAndOpen(), nullptr);
    for (int i = 0; i < 50; ++i) {
      ASSERT_TRUE(Open());
      ASSERT_EQ(second.Dispatch(effEditOpen, 0, 0, AsParent(secondParent)), 1);
      host.Dispatch(effEditIdle);
      second.Dispatch(effEditIdle);
      ASSERT_EQ(second.Dispatch(effEditClose), 1);
    }
    user->Sync();
    EXPECT_EQ(user->Children(Parent()).size(), 1u);
    host.Close();
  }
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  EXPECT_TRUE(user->Children(secondParent).empty());
  user->Destroy(secondParent);
  EXPECT_EQ(user->SettledClientCount(clientsBefore), clientsBefore) << "every editor connection was closed";
}

TEST_F(Vst2X11Editor, TheEditorOpenedAfterHostChangesShowsTheCurrentValuesFromItsFirstFrame) {
  for (const testsupport::ClosedEditorCase& c : testsupport::kClosedEditorCases) {
    SCOPED_TRACE(c.Describe());
    std::mt19937 random(static_cast<uint32_t>(c.changes));
    std::uniform_real_distribution<float> normalised(0.0f, 1.0f);
    Vst2TestHost automated(KORVEL_VST2_MODULE);
    AEffect* e = automated.CreateAndOpen();
    ASSERT_NE(e, nullptr);
    std::vector<uint8_t> loaded;
    if (c.stateLoadAfter) {
      for (VstInt32 i = 0; i < e->numParams; ++i) e->setParameter(e, i, normalised(random));
      uint8_t* chunk = nullptr;
      const VstIntPtr size = automated.Dispatch(effGetChunk, 1, 0, &chunk);
      ASSERT_GT(size, 0);
      loaded.assign(chunk, chunk + size);
    }
    // The host's automation, from its audio thread, while no editor is open.
    std::vector<std::pair<VstInt32, float>> changes;
    for (int i = 0; i < c.changes; ++i)
      changes.emplace_back(static_cast<VstInt32>(random() % static_cast<uint32_t>(e->numParams)), normalised(random));
    std::thread audio([&] {
      for (const auto& [index, value] : changes) e->setParameter(e, index, value);
    });
    audio.join();
    if (c.stateLoadAfter) {
      ASSERT_EQ(automated.Dispatch(effSetChunk, 1, static_cast<VstIntPtr>(loaded.size()), loaded.data()), 1);
    }
    const auto shown = FirstFrames(automated);
    // What the editor must show: the frames of the same editor opened again, once nothing is queued.
    const auto expected = FirstFrames(automated);
    ASSERT_EQ(expected.size(), 4u);
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t frame = 0; frame < expected.size(); ++frame) {
      const auto differing = std::inner_product(shown[frame].begin(), shown[frame].end(), expected[frame].begin(), size_t{0},
                                                std::plus<>(), std::not_equal_to<>());
      EXPECT_EQ(differing, 0u) << "frame " << frame;
    }
  }
}

}  // namespace
