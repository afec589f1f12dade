// The editor of the built Korvel.clap in a real X11 window: a host with timer and posix-fd
// support opens it in a window of its own under a private Xvfb server, runs its event loop
// (the editor's descriptor and timer) and plays the user through XTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ClapModuleSuite.h"
#include "ClapTestHost.h"
#include "PrivateSettings.h"
#include "X11TestServer.h"
#include "clap/KorvelOffscreenWindow.h"

namespace {

using claptest::FakeHost;
using claptest::HostOptions;
using claptest::Instance;
using graphics::XId;
using x11test::TestConnection;

constexpr int kWidth = 724, kHeight = 526;
constexpr clap_id kDomain = 0, kDelay1 = 5;

HostOptions X11Host() {
  HostOptions options;
  options.gui = true;
  options.timerSupport = true;
  options.posixFdSupport = true;
  return options;
}

// One editor instance on its own fake host.
struct Editor {
  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_gui_t* gui = nullptr;

  Editor(const clap_plugin_entry_t* entry, HostOptions options) : host(std::make_unique<FakeHost>(options)) {
    plugin = std::make_unique<Instance>(entry, *host);
    p = plugin->Get();
    if (!p->init(p)) p = nullptr;
    gui = p ? plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI) : nullptr;
  }
  bool Open(XId parent, double scale = 1.0) {
    clap_window_t window{};
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = parent;
    return gui->set_scale(p, scale) && gui->create(p, CLAP_WINDOW_API_X11, false) && gui->set_parent(p, &window);
  }
  // One turn of the host's event loop: the descriptors, then the timers.
  void Turn() {
    host->ServeFds(p, 8);
    host->FireTimers(p);
  }
  double Value(clap_id id) const {
    double v = -1.0;
    plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(p, id, &v);
    return v;
  }
  // The host's params flush: what the editor told it, as "begin 0", "value 0 1", "end 0".
  std::vector<std::string> Flush() const {
    claptest::InputEvents in;
    claptest::OutputEvents out;
    plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, in.List(), out.List());
    std::vector<std::string> told;
    for (size_t i = 0; i < out.Count(); ++i) {
      const clap_event_header_t& h = out.At(i);
      if (h.type == CLAP_EVENT_PARAM_VALUE) {
        const auto e = out.As<clap_event_param_value_t>(i);
        told.push_back("value " + std::to_string(e.param_id) + " " + std::to_string(std::lround(e.value)));
      } else if (h.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || h.type == CLAP_EVENT_PARAM_GESTURE_END) {
        const auto e = out.As<clap_event_param_gesture_t>(i);
        told.push_back((h.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? "begin " : "end ") + std::to_string(e.param_id));
      }
    }
    return told;
  }
};

class ClapX11Gui : public claptest::ModuleSuite {
protected:
  void SetUp() override {
    // A corner drag stores the scale it left: each test starts from the default.
    testsupport::ForgetStoredSettings();
    std::string failure;
    if (!scene.Start(kWidth, kHeight, failure)) GTEST_SKIP() << failure;
    user = &scene.User();
  }
  void TearDown() override { editor.reset(); }

  Editor& Make(HostOptions options = X11Host()) {
    editor = std::make_unique<Editor>(module->Entry(), options);
    EXPECT_NE(editor->gui, nullptr);
    return *editor;
  }
  XId Parent() const { return scene.Parent(); }
  XId Child() { return scene.Child(); }
  // Turns the host's loop until the condition holds; false after two seconds.
  template <class Condition>
  bool LoopUntil(Editor& e, Condition condition) {
    for (int i = 0; i < 200; ++i) {
      e.Turn();
      user->Sync();
      if (condition()) return true;
    }
    return false;
  }
  void LoopFor(Editor& e, int turns) {
    for (int i = 0; i < turns; ++i) e.Turn();
  }
  void Drag(float x, float y, int dx, int dy) {
    scene.Drag(x, y, dx, dy, [this](int turns) { LoopFor(*editor, turns); });
  }

  x11test::HostWindowScene scene;
  TestConnection* user = nullptr;
  std::unique_ptr<Editor> editor;
};

TEST_F(ClapX11Gui, TheX11ApiNeedsTheHostsTimerAndDescriptorSupport) {
  struct Case {
    bool timers, fds, fdsComplete, floating;
    bool supported;
  };
  const Case cases[] = {
      {true, true, true, false, true},   {true, true, true, true, false},  {false, true, true, false, false},
      {true, false, true, false, false}, {true, true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.timers << c.fds << c.fdsComplete << c.floating);
    HostOptions options = X11Host();
    options.timerSupport = c.timers;
    options.posixFdSupport = c.fds;
    options.posixFdSupportComplete = c.fdsComplete;
    Editor& e = Make(options);
    EXPECT_EQ(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_X11, c.floating), c.supported);
    EXPECT_EQ(e.gui->create(e.p, CLAP_WINDOW_API_X11, c.floating), c.supported);
    EXPECT_FALSE(e.gui->is_api_supported(e.p, CLAP_WINDOW_API_WIN32, false));
  }
  Editor& e = Make();
  EXPECT_NE(e.plugin->Ext<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT), nullptr);
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
