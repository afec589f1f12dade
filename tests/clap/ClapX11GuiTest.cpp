// The editor of the built Korvel.clap in a real X11 window: a host with timer and posix-fd
// support opens it in a window of its own under a private Xvfb server, runs its event loop
// (the editor's descriptor and timer) and plays the user through XTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ClapGuiCalls.h"
#include "ClapX11Editor.h"
#include "modules/KorvelOffscreenWindow.h"

namespace {

using claptest::FakeHost;
using claptest::HostOptions;
using claptest::X11Host;
using graphics::XId;

constexpr int kWidth = claptest::kX11Width, kHeight = claptest::kX11Height;
constexpr clap_id kDomain = 0, kDelay1 = 5;
using Editor = claptest::X11Editor;
using ClapX11Gui = claptest::X11EditorSuite;

TEST_F(ClapX11Gui, TheX11ApiIsSupportedWhateverTheHostOffers) {
  // A host may ask before it offers anything: an editor with no timer or descriptor support
  // from the host still opens, only never floating.
  struct Case {
    bool gui, timers, fds, fdsComplete;
  };
  const Case cases[] = {
      {true, true, true, true}, {true, false, true, true}, {true, true, false, true},
      {true, true, true, false}, {true, false, false, true}, {false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.gui << c.timers << c.fds << c.fdsComplete);
    HostOptions options = X11Host(c.timers, c.fds);
    options.gui = c.gui;
    options.posixFdSupportComplete = c.fdsComplete;
    Editor& e = Make(options);
    EXPECT_TRUE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, true));
    EXPECT_FALSE(e.gui->create(e.p, CLAP_WINDOW_API_X11, true));
    EXPECT_TRUE(e.gui->create(e.p, CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_WIN32, false));
  }
  Editor& e = Make();
  EXPECT_NE(e.plugin->Ext<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
}

// Gui calls in any order and any subset, on hosts with and without timer and descriptor
// support: when the plug-in is destroyed the host holds no timer and watches no descriptor
// of it (the fake host fails the test otherwise), and the editor's window is gone.
TEST_F(ClapX11Gui, AnyOrderOfGuiCallsLeavesNothingRegisteredBehindTheDestroyedPlugin) {
  const std::vector<std::string> sequences =
      claptest::GuiCallSequences({"p", "ph", "phs", "pS", "Szp", "cp", "cpd", "ps", "pp", "cphdp", "hsp"}, 9, 24, 7);
  clap_window_t window{};
  window.api = CLAP_WINDOW_API_X11;
  window.x11 = Parent();
  int variant = 0;
  for (const std::string& calls : sequences) {
    const bool timers = variant & 1, fds = variant & 2;
    ++variant;
    SCOPED_TRACE(calls + (timers ? " timers" : "") + (fds ? " fds" : ""));
    Editor& e = Make(X11Host(timers, fds));
    for (char call : calls) {
      claptest::GuiCall(e.p, e.gui, window, call);
      LoopFor(e, 2);
    }
    e.plugin->Destroy();
    const int requests = e.host->Count("request_callback");
    e.host->Turn(e.p, 40);  // what is still registered would reach the freed instance here
    EXPECT_EQ(e.host->Count("request_callback"), requests) << "nothing asks for callbacks once destroyed";
    user->Sync();
    EXPECT_TRUE(user->Children(Parent()).empty());
    if (HasFailure()) break;
  }
}

class ClapX11GuiScale : public ClapX11Gui, public testing::WithParamInterface<int> {};

TEST_P(ClapX11GuiScale, OpensAsAChildOfTheHostsWindowShowingWhatItPaints) {
  const int scale = GetParam();
  // The host's window fits the editor at its scale, so all of it can be read back.
  scene.RemakeParent(kWidth * scale, kHeight * scale);
  Editor& e = Make();
  ASSERT_TRUE(e.Open(Parent(), scale));
  const XId child = Child();
  ASSERT_NE(child, 0u);
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, kWidth * scale);
  EXPECT_EQ(h, kHeight * scale);
  EXPECT_EQ(user->ClassOf(child), "KorvelWndClass");
  ASSERT_EQ(e.host->Fds().size(), 1u) << "the host watches the window's connection";
  EXPECT_EQ(e.host->Timers().size(), 1u);
  LoopFor(e, 10);

  // The same editor offscreen (same scale, same empty signal) paints the frame the window shows.
  struct Sink {
    std::vector<uint8_t> pixels;
    uint32_t width = 0, height = 0, rowBytes = 0;
    static void Frame(void* c, const uint8_t* p, uint32_t fw, uint32_t fh, uint32_t rb) {
      auto& s = *static_cast<Sink*>(c);
      s.pixels.assign(p, p + static_cast<size_t>(rb) * fh);
      s.width = fw;
      s.height = fh;
      s.rowBytes = rb;
    }
  } sink;
  Editor reference(module->Entry(), X11Host());
  korvel_offscreen_window_t record{sizeof record, &sink, &Sink::Frame};
  clap_window_t offscreen{};
  offscreen.api = KORVEL_WINDOW_API_OFFSCREEN;
  offscreen.ptr = &record;
  ASSERT_TRUE(reference.gui->set_scale(reference.p, scale));
  ASSERT_TRUE(reference.gui->create(reference.p, KORVEL_WINDOW_API_OFFSCREEN, false));
  ASSERT_TRUE(reference.gui->set_parent(reference.p, &offscreen));
  for (int i = 0; i < 5; ++i) reference.host->FireTimers(reference.p);
  ASSERT_EQ(sink.width, static_cast<uint32_t>(w));
  ASSERT_EQ(sink.height, static_cast<uint32_t>(h));

  // What fits on the server's 1280 × 1024 screen can be read back.
  const int rw = std::min(w, 1200), rh = std::min(h, 1000);
  const std::vector<uint32_t> shown = user->Pixels(child, rw, rh);
  ASSERT_EQ(shown.size(), static_cast<size_t>(rw) * rh);
  size_t differing = 0;
  for (int row = 0; row < rh; ++row)
    for (int col = 0; col < rw; ++col) {
      const uint8_t* b = sink.pixels.data() + static_cast<size_t>(row) * sink.rowBytes + col * 4;
      const uint32_t painted = static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[1]) << 8 | b[0];
      differing += shown[static_cast<size_t>(row) * rw + col] != painted;
    }
  EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(Scales, ClapX11GuiScale, testing::Values(1, 2));

TEST_F(ClapX11Gui, TheDomainMenuChoosesFreqAndTellsTheHost) {
  Editor& e = Make();
  ASSERT_TRUE(e.Open(Parent()));
  LoopFor(e, 3);
  e.Flush();
  x11test::PopUpUser hand(scene.Server().Name(), x11test::PopUpUser::Action::ChooseMiddle, Parent());
  int sx = 0, sy = 0;
  scene.ScreenPoint(63, 415, sx, sy);
  user->Click(sx, sy);
  const bool ended = LoopUntil(e, [&] { return hand.Seen() && user->PopUps().empty(); });
  hand.Join();
  if (hand.Rescued()) scene.ForgetParent();
  ASSERT_FALSE(hand.Rescued()) << "the pop-up did not react";
  ASSERT_TRUE(ended);
  EXPECT_DOUBLE_EQ(e.Value(kDomain), 1.0) << "Freq";
  EXPECT_GE(e.host->Count("request_flush"), 1);
  const std::vector<std::string> told = e.Flush();
  const std::vector<std::string> expected = {"begin 0", "value 0 1", "end 0"};
  EXPECT_EQ(told, expected);
}

TEST_F(ClapX11Gui, DraggingAKnobUpRaisesItsParameter) {
  Editor& e = Make();
  ASSERT_TRUE(e.Open(Parent()));
  LoopFor(e, 3);
  const double before = e.Value(kDelay1);
  Drag(117.5f, 467.5f, 0, -60);
  EXPECT_GT(e.Value(kDelay1), before);
  const std::vector<std::string> told = e.Flush();
  ASSERT_GE(told.size(), 3u);
  EXPECT_EQ(told.front(), "begin 5");
  EXPECT_EQ(told.back(), "end 5");
}

TEST_F(ClapX11Gui, TheCornerDragRescalesTheWindowAndAsksTheHostToResize) {
  Editor& e = Make();
  ASSERT_TRUE(e.Open(Parent()));
  LoopFor(e, 3);
  Drag(kWidth - 5.0f, kHeight - 5.0f, kWidth / 2, kHeight / 2);
  LoopFor(e, 5);
  std::vector<claptest::HostCall> resizes;
  for (const auto& call : e.host->Calls())
    if (call.what == "request_resize") resizes.push_back(call);
  ASSERT_FALSE(resizes.empty());
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(Child(), x, y, w, h));
  EXPECT_GT(w, kWidth);
  EXPECT_EQ(resizes.back().text, std::to_string(w) + "x" + std::to_string(h));
  EXPECT_NEAR(static_cast<double>(w) / h, static_cast<double>(kWidth) / kHeight, 0.01);
}

TEST_F(ClapX11Gui, HideShowAndDestroyLeaveNoWindowBehind) {
  Editor& e = Make();
  ASSERT_TRUE(e.Open(Parent()));
  LoopFor(e, 2);
  EXPECT_NE(Child(), 0u);
  ASSERT_TRUE(e.gui->hide(e.p));
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  EXPECT_TRUE(e.host->Fds().empty()) << "the closed window's descriptor is no longer watched";
  ASSERT_TRUE(e.gui->show(e.p));
  user->Sync();
  EXPECT_NE(Child(), 0u) << "shown again in the same parent";
  EXPECT_EQ(e.host->Fds().size(), 1u);
  e.gui->destroy(e.p);
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  EXPECT_TRUE(e.host->Fds().empty());
  EXPECT_TRUE(e.host->Timers().empty());
}

TEST_F(ClapX11Gui, OpeningAndClosingManyTimesLeaksNoWindowOrConnection) {
  const int clientsBefore = user->ClientCount();
  ASSERT_GE(clientsBefore, 0) << "the server has the X-Resource extension";
  {
    Editor& e = Make();
    ASSERT_TRUE(e.Open(Parent()));
    for (int i = 0; i < 100; ++i) {
      ASSERT_TRUE(e.gui->hide(e.p));
      ASSERT_TRUE(e.gui->show(e.p));
      e.Turn();
    }
    e.gui->destroy(e.p);
  }
  // Two instances at once, each in a window of its own.
  const XId secondParent = user->MakeParent(kWidth, kHeight);
  {
    Editor a(module->Entry(), X11Host());
    Editor b(module->Entry(), X11Host());
    ASSERT_TRUE(a.Open(Parent()));
    ASSERT_TRUE(b.Open(secondParent));
    for (int i = 0; i < 50; ++i) {
      a.Turn();
      b.Turn();
      ASSERT_TRUE(a.gui->hide(a.p));
      ASSERT_TRUE(b.gui->hide(b.p));
      ASSERT_TRUE(b.gui->show(b.p));
      ASSERT_TRUE(a.gui->show(a.p));
    }
    user->Sync();
    EXPECT_EQ(user->Children(Parent()).size(), 1u);
    EXPECT_EQ(user->Children(secondParent).size(), 1u);
  }
  user->Sync();
  EXPECT_TRUE(user->Children(Parent()).empty());
  EXPECT_TRUE(user->Children(secondParent).empty());
  user->Destroy(secondParent);
  EXPECT_EQ(user->SettledClientCount(clientsBefore), clientsBefore) << "every editor connection was closed";
}

}  // namespace
