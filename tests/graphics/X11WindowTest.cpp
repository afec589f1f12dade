// The editor in an X11 window under a private Xvfb server: opened in a parent window as a
// host opens it, driven by synthesised input and the host-driven pump, read back from the
// server. Skips when Xvfb is not installed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "GraphicsTestSupport.h"
#include "X11TestSupport.h"
#include "framework/IParam.h"
#include "graphics/IMenu.h"
#include "graphics/platform/x11/IGuiX11.h"
// Xlib last: its macros clash with our names.
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

using graphics::IGuiX11;
using graphics::XId;
using x11test::AsParent;
using x11test::TestConnection;
using x11test::XvfbServer;

constexpr int kWidth = 724, kHeight = 526;

// One server per test program (CTest runs each test in its own program).
class X11Window : public ::testing::Test {
protected:
  static void StartServer(const std::vector<std::string>& extra = {}) {
    if (server && serverArguments != extra) server.reset();
    if (!server) server = std::make_unique<XvfbServer>(extra);
    serverArguments = extra;
    if (server->Running()) setenv("DISPLAY", server->Name().c_str(), 1);
  }
  static void TearDownTestSuite() { server.reset(); }

  // Extra arguments for the server.
  virtual std::vector<std::string> ServerArguments() const { return {}; }

  void SetUp() override {
    StartServer(ServerArguments());
    if (!server->Running()) GTEST_SKIP() << server->Failure();
    user = std::make_unique<TestConnection>(server->Name());
    ASSERT_TRUE(user->Connected());
    parent = user->MakeParent(kWidth, kHeight);
    Prepare(delegate);
  }
  void TearDown() override {
    delegate.CloseEditor();
    second.CloseEditor();
    if (user && parent) user->Destroy(parent);
    EXPECT_EQ(x11test::ErrorsElsewhere(), 0) << "an X error escaped the editor's handler";
  }

  void Prepare(graphicstest::TestDelegate& d) {
    d.SetLayoutFunction(graphicstest::DemoLayout);
    d.SetGraphicsFactory([this, &d]() -> framework::IEditorView* {
      auto* gui = new IGuiX11(d, kWidth, kHeight, 60, 1.0f);
      if (hostScale > 0.0f) gui->SetScreenScale(hostScale);
      return gui;
    });
  }
  IGuiX11& Gui(graphicstest::TestDelegate& d) { return *static_cast<IGuiX11*>(d.Graphics()); }
  IGuiX11& Gui() { return Gui(delegate); }
  // Opens the editor and pumps until its first frame is on the screen.
  XId Open(graphicstest::TestDelegate& d, XId in) {
    void* view = d.OpenEditor(AsParent(in));
    if (!view) return 0;
    EXPECT_TRUE(x11test::PumpUntil(Gui(d), [&] { return Gui(d).PaintCount() > 0; }));
    return static_cast<XId>(reinterpret_cast<uintptr_t>(view));
  }
  XId Open() { return Open(delegate, parent); }
  // Editor UI position → screen pixels.
  void ScreenPoint(XId window, float x, float y, int& sx, int& sy) {
    int wx = 0, wy = 0;
    ASSERT_TRUE(user->RootPosition(window, wx, wy));
    sx = wx + static_cast<int>(x * Gui().BackingScale());
    sy = wy + static_cast<int>(y * Gui().BackingScale());
  }
  double Value(int paramIdx) { return delegate.GetParam(paramIdx)->Current(); }
  bool Logged(const std::string& line) {
    for (const std::string& l : delegate.log)
      if (l == line) return true;
    return false;
  }

  // Shows the menu with the user's part in a thread of its own once the pop-up is there (the
  // editor's thread is in the modal menu meanwhile). Should the pop-up stay, the thread
  // closes the host's window, which ends the menu, so the test fails rather than hangs.
  graphics::IMenu* ShowMenuTo(graphics::IMenu& menu, const std::function<void(TestConnection&, XId popup)>& act) {
    bool rescued = false;
    std::thread userThread([&] {
      TestConnection hand(server->Name());
      for (int i = 0; i < 400; ++i) {
        const auto popups = hand.PopUps();
        if (popups.empty()) {
          usleep(5000);
          continue;
        }
        usleep(50000);  // the pop-up holds its grab by now
        act(hand, popups.front());
        break;
      }
      for (int i = 0; i < 400 && !hand.PopUps().empty(); ++i) usleep(5000);
      if (hand.PopUps().empty()) return;
      rescued = true;
      hand.Destroy(parent);
    });
    graphics::IMenu* chosen = Gui().ShowPlatformMenu(menu, {43, 409, 83, 421});
    userThread.join();
    if (rescued) parent = 0;
    EXPECT_FALSE(rescued) << "the pop-up did not react";
    return chosen;
  }

  // The pointer's position on the screen.
  void Pointer(int& x, int& y) {
    Window root = 0, under = 0;
    int wx = 0, wy = 0;
    unsigned int mask = 0;
    XQueryPointer(user->Display(), DefaultRootWindow(user->Display()), &root, &under, &x, &y, &wx, &wy, &mask);
  }

  static std::unique_ptr<XvfbServer> server;
  static std::vector<std::string> serverArguments;
  std::unique_ptr<TestConnection> user;
  XId parent = 0;
  graphicstest::TestDelegate delegate;
  graphicstest::TestDelegate second;
  float hostScale = 0.0f;
};

std::unique_ptr<XvfbServer> X11Window::server;
std::vector<std::string> X11Window::serverArguments;

TEST_F(X11Window, OpensAChildWindowOfTheEditorSizeAtTheScreenScale) {
  const XId child = Open();
  ASSERT_NE(child, 0u);
  EXPECT_EQ(user->Children(parent), std::vector<XId>{child});
  EXPECT_EQ(user->ClassOf(child), "KorvelWndClass");
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, kWidth);
  EXPECT_EQ(h, kHeight);
  EXPECT_EQ(std::string(Gui().PlatformName()), "x11");

  // The host's scale resizes the child, and the parent with it when the host did not.
  Gui().SetScreenScale(2.0f);
  x11test::PumpTicks(Gui());
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, 2 * kWidth);
  EXPECT_EQ(h, 2 * kHeight);
  EXPECT_EQ(Gui().PixelWidth(), 2 * kWidth);
  EXPECT_EQ(delegate.requestedWidth, 2 * kWidth);
  ASSERT_TRUE(user->Geometry(parent, x, y, w, h));
  EXPECT_EQ(w, 2 * kWidth);

  // Invalid scales from a host change nothing.
  Gui().SetScreenScale(0.0f);
  Gui().SetScreenScale(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(Gui().ScreenScale(), 2.0f);

  // Opening again replaces the window and keeps its place.
  XMoveWindow(user->Display(), child, 10, 20);
  user->Sync();
  const auto reopened = static_cast<XId>(reinterpret_cast<uintptr_t>(Gui().OpenWindow(AsParent(parent))));
  ASSERT_NE(reopened, 0u);
  EXPECT_EQ(user->Children(parent), std::vector<XId>{reopened});
  ASSERT_TRUE(user->Geometry(reopened, x, y, w, h));
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
}

TEST_F(X11Window, AScaleGivenBeforeOpeningIsTheOpeningSize) {
  hostScale = 2.0f;
  const XId child = Open();
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, 2 * kWidth);
  EXPECT_EQ(h, 2 * kHeight);
}

TEST_F(X11Window, TheResourcesDpiOpensWholeAndSwitchesToTheExactScaleAtTheFirstTick) {
  user->SetResources("Xft.dpi:\t144\n");
  const XId child = Open();
  user->SetResources("");
  ASSERT_NE(child, 0u);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().ScreenScale() == 1.5f; }));
  x11test::PumpTicks(Gui());
  int x = 0, y = 0, w = 0, h = 0;
  ASSERT_TRUE(user->Geometry(child, x, y, w, h));
  EXPECT_EQ(w, 1086);
  EXPECT_EQ(h, 789);
}

TEST_F(X11Window, OpeningInSomethingThatIsNotAWindowFails) {
  EXPECT_EQ(delegate.OpenEditor(AsParent(0x7FFFFFF)), nullptr);
  EXPECT_TRUE(user->Children(parent).empty());
  // Without a parent it opens offscreen, as the headless window.
  ASSERT_NE(delegate.OpenEditor(nullptr), nullptr);
  EXPECT_EQ(Gui().ConnectionFd(), -1);
  EXPECT_TRUE(Gui().Tick());
}

TEST_F(X11Window, ClicksDragsWheelAndDoubleClicksReachTheControls) {
  const XId child = Open();
  int sx = 0, sy = 0;
  // The Domain knob, (47, 452)-(78, 483): a drag of 50 units up gives 0.403…, shown as Freq.
  ScreenPoint(child, 62, 470, sx, sy);
  user->MoveTo(sx, sy);
  user->Button(1, true);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().CursorHidden(); })) << "hidden while the knob drags";
  // Each step is measured from where the locked cursor was put back.
  for (int step = 1; step <= 5; ++step) {
    user->MoveTo(sx, sy - 10);
    ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] {
      int px = 0, py = 0;
      Pointer(px, py);
      return py == sy;
    })) << step;
  }
  user->Button(1, false);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return !Gui().CursorHidden(); }));
  EXPECT_DOUBLE_EQ(Value(0), 1.0);
  EXPECT_EQ(delegate.log.front(), "begin 0");
  EXPECT_EQ(delegate.log.back(), "end 0");
  // The locked cursor stayed where the drag began.
  int rx = 0, ry = 0;
  Pointer(rx, ry);
  EXPECT_NEAR(rx, sx, 1);
  EXPECT_NEAR(ry, sy, 1);

  // Two wheel notches up on the Level knob (556, 452)-(587, 483): 0.5 + 2 × 0.01.
  ScreenPoint(child, 570, 468, sx, sy);
  user->MoveTo(sx, sy);
  user->Button(4, true);
  user->Button(4, false);
  user->Button(4, true);
  user->Button(4, false);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Value(4) > 0.515; }));
  EXPECT_NEAR(Value(4), 0.52, 1e-9);
  user->Button(5, true);
  user->Button(5, false);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Value(4) < 0.515; }));
  EXPECT_NEAR(Value(4), 0.51, 1e-9);
  // A double click puts it back to its default.
  user->Click(sx, sy);
  user->Click(sx, sy);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Value(4) == 0.5; }));
}

TEST_F(X11Window, KeysArriveAsVirtualKeysAndWhatIsLeftGoesToTheHost) {
  const XId child = Open();
  std::vector<graphics::IKeyEvent> keys;
  bool take = true;
  Gui().SetKeyHandler([&](const graphics::IKeyEvent& key, bool isKeyUp) {
    if (!isKeyUp) keys.push_back(key);
    return take;
  });
  int sx = 0, sy = 0;
  ScreenPoint(child, 300, 100, sx, sy);
  user->Click(sx, sy);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(user->Display(), &focus, &revert);
    return focus == child;
  })) << "a click takes the keyboard focus";
  user->Tap(XK_a, true);
  user->Tap(XK_Left);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return keys.size() >= 3; })) << keys.size() << " " << (keys.empty() ? 0 : keys[0].vk);
  // Shift itself, then "A" with shift, then the arrow.
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].vk, 0x10);
  EXPECT_EQ(keys[1].vk, 'A');
  EXPECT_STREQ(keys[1].utf8, "A");
  EXPECT_TRUE(keys[1].S);
  EXPECT_EQ(keys[2].vk, 0x25);
  EXPECT_STREQ(keys[2].utf8, "");

  take = false;
  user->Tap(XK_b);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return keys.size() >= 4; }));
  XEvent e;
  bool forwarded = false;
  for (int i = 0; i < 50 && !forwarded; ++i) {
    user->Sync();
    while (!forwarded && XCheckTypedWindowEvent(user->Display(), parent, KeyPress, &e))
      forwarded = XLookupKeysym(&e.xkey, 0) == XK_b;
    if (!forwarded) usleep(10000);
  }
  EXPECT_TRUE(forwarded) << "the host's window receives the key the editor did not take";
}

class X11Focus : public X11Window, public ::testing::WithParamInterface<bool> {};

// The host may open the editor in its window before it shows that window: the focus cannot be
// given to a window that is not viewable, so it is taken when the window shows.
TEST_P(X11Focus, TheEditorTakesTheKeyboardFocusWhenItOpens) {
  const bool shownLater = GetParam();
  // The pointer is away from the editor, so only the focus can bring keys to it.
  user->MoveTo(1270, 1010);
  if (shownLater) {
    XUnmapWindow(user->Display(), parent);
    user->Sync();
  }
  std::vector<int> keys;
  const XId child = Open();
  ASSERT_NE(child, 0u);
  if (shownLater) {
    XMapWindow(user->Display(), parent);
    user->Sync();
  }
  Gui().SetKeyHandler([&](const graphics::IKeyEvent& key, bool isKeyUp) {
    if (!isKeyUp) keys.push_back(key.vk);
    return true;
  });
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(user->Display(), &focus, &revert);
    return focus == child;
  })) << "focused without a click";
  user->Tap(XK_a);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return !keys.empty(); }));
  EXPECT_EQ(keys.front(), 'A');
}

INSTANTIATE_TEST_SUITE_P(Parent, X11Focus, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "ShownLater" : "Shown";
                         });

TEST_F(X11Window, KeysGoWhereThePointerIsAndDragsAndWheelNameTheButtonsHeld) {
  // The pointer rests over the editor's place before it opens: no motion tells the editor.
  user->MoveTo(300, 100);
  Open();
  auto* probe = static_cast<graphicstest::InputProbe*>(Gui().AddControl(new graphicstest::InputProbe({280, 80, 340, 140})));
  user->Tap(XK_a);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return !probe->log.empty(); })) << "the key reached the control under the pointer";
  EXPECT_FLOAT_EQ(probe->keyX, 300.0f);
  EXPECT_FLOAT_EQ(probe->keyY, 100.0f);

  probe->log.clear();
  for (unsigned int button : {1u, 3u}) {
    user->MoveTo(300, 100);
    user->Button(button, true);
    user->MoveTo(305, 110);
    user->Button(4, true);
    user->Button(4, false);
    user->Button(button, false);
  }
  const std::vector<std::string> expected{"drag left", "wheel left", "drag right", "wheel right"};
  EXPECT_TRUE(x11test::PumpUntil(Gui(), [&] { return probe->log.size() >= expected.size(); }));
  EXPECT_EQ(probe->log, expected);
}

TEST_F(X11Window, AMiddleClickOnAKnobLeavesNothingBehind) {
  const XId child = Open();
  int sx = 0, sy = 0;
  // The Level knob (556, 452)-(587, 483), then a click on the Domain knob (47, 452)-(78, 483).
  ScreenPoint(child, 570, 468, sx, sy);
  user->MoveTo(sx, sy);
  user->Button(2, true);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().CursorHidden(); })) << "the knob took the press";
  user->Button(2, false);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return !Gui().CursorHidden(); })) << "and its release";
  ScreenPoint(child, 62, 470, sx, sy);
  user->Click(sx, sy);
  EXPECT_TRUE(x11test::PumpUntil(Gui(), [&] { return delegate.log.size() >= 4; }));
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 4", "end 4", "begin 0", "end 0"}));
}

// The user picks from the Domain menu in a thread of its own: the editor's thread is inside
// the modal pop-up meanwhile.
using MenuAction = x11test::PopUpUser::Action;

class X11MenuPrompt : public X11Window, public ::testing::WithParamInterface<MenuAction> {};

TEST_P(X11MenuPrompt, TheDomainMenuIsAPopUpOfItsOwn) {
  const XId child = Open();
  x11test::PopUpUser hand(server->Name(), GetParam(), parent);
  int sx = 0, sy = 0;
  ScreenPoint(child, 63, 415, sx, sy);
  user->Click(sx, sy);
  // The pump runs the modal menu until the user thread has decided.
  const bool ended = x11test::PumpUntil(Gui(), [&] { return hand.Seen() && user->PopUps().empty(); });
  hand.Join();
  ASSERT_TRUE(hand.Seen());
  if (hand.Rescued()) parent = 0;
  ASSERT_FALSE(hand.Rescued()) << "the pop-up did not react";
  ASSERT_TRUE(ended);
  if (GetParam() == MenuAction::ChooseMiddle) {
    EXPECT_DOUBLE_EQ(Value(0), 1.0) << "Freq";
    EXPECT_TRUE(Logged("begin 0"));
    EXPECT_TRUE(Logged("set 0 0.500000"));
  } else {
    EXPECT_DOUBLE_EQ(Value(0), 0.0);
    EXPECT_FALSE(Logged("set 0 0.500000"));
  }
  EXPECT_EQ(delegate.log.back(), "end 0");
  // The editor goes on: hover and ticks work after the menu.
  const int before = Gui().PaintCount();
  Gui().SetAllControlsDirty();
  EXPECT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().PaintCount() > before; }));
}

INSTANTIATE_TEST_SUITE_P(Actions, X11MenuPrompt,
                         ::testing::Values(MenuAction::ChooseMiddle, MenuAction::Escape, MenuAction::ClickOutside),
                         [](const ::testing::TestParamInfo<MenuAction>& param) {
                           return param.param == MenuAction::ChooseMiddle ? "ChooseFreq"
                                  : param.param == MenuAction::Escape     ? "Escape"
                                                                         : "ClickOutside";
                         });

TEST_F(X11Window, MenusHaveSubMenusColumnsAndKeyboardNavigation) {
  Open();
  graphics::IMenu menu;
  menu.AddItem("One");
  menu.AddItem("Greyed", graphics::IMenuItem::kGreyed);
  graphics::IMenuItem& more = menu.AddItem("More");
  more.submenu = std::make_unique<graphics::IMenu>();
  more.submenu->AddItem("Sub A");
  more.submenu->AddItem("Sub B");
  int subChosen = -1;
  more.submenu->function = [&](graphics::IMenu& m) { subChosen = m.chosenIdx; };
  menu.AddItem("", graphics::IMenuItem::kSeparator);
  menu.AddItem("Last");
  // Down, Down (past the greyed item) to "More", Right into its pop-up, Down, Down, Enter.
  graphics::IMenu* chosen = ShowMenuTo(menu, [](TestConnection& hand, XId) {
    hand.Tap(XK_Down);
    hand.Tap(XK_Down);
    hand.Tap(XK_Right);
    for (int i = 0; i < 200 && hand.PopUps().size() < 2; ++i) usleep(5000);
    usleep(50000);
    hand.Tap(XK_Down);
    hand.Tap(XK_Down);
    hand.Tap(XK_Return);
  });
  ASSERT_EQ(chosen, more.submenu.get());
  EXPECT_EQ(chosen->chosenIdx, 1);
  EXPECT_EQ(subChosen, 1) << "the sub-menu's callable ran";
  EXPECT_TRUE(user->PopUps().empty());

  // Three items a column: the fifth item is the second row of the second column.
  graphics::IMenu columns;
  for (const char* text : {"a", "b", "c", "d", "e", "f"}) columns.AddItem(text);
  columns.itemsPerColumn = 3;
  chosen = ShowMenuTo(columns, [](TestConnection& hand, XId popup) {
    int x = 0, y = 0, w = 0, h = 0;
    hand.Geometry(popup, x, y, w, h);
    hand.Click(x + w * 3 / 4, y + h / 2);
  });
  ASSERT_EQ(chosen, &columns);
  EXPECT_EQ(columns.chosenIdx, 4);
}

TEST_F(X11Window, TheTextEntryFiltersTypingAndCommitsOrCancels) {
  const XId child = Open();
  int sx = 0, sy = 0;
  ScreenPoint(child, 476, 415, sx, sy);
  struct Case {
    const char* what;
    std::vector<unsigned long> keys;
    bool clickElsewhere;
    double steps;
  };
  const Case cases[] = {
      {"letters and points are filtered, Enter commits", {XK_a, XK_7, XK_period, XK_Return}, false, 7.0},
      {"Escape cancels", {XK_3, XK_Escape}, false, 7.0},
      {"a click elsewhere in the editor commits", {XK_BackSpace, XK_2}, true, 2.0},
  };
  for (const Case& c : cases) {
    user->Click(sx, sy);
    ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().TextEntryOpen(); })) << c.what;
    ASSERT_EQ(user->Children(child).size(), 1u) << "the entry is a child of the editor";
    x11test::PumpTicks(Gui());
    for (unsigned long key : c.keys) user->Tap(key);
    if (c.clickElsewhere) {
      x11test::PumpTicks(Gui());
      int ex = 0, ey = 0;
      ScreenPoint(child, 300, 100, ex, ey);
      user->Click(ex, ey);
    }
    ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return !Gui().TextEntryOpen(); })) << c.what;
    EXPECT_DOUBLE_EQ(delegate.GetParam(2)->Current(), c.steps) << c.what;
    EXPECT_TRUE(user->Children(child).empty()) << c.what;
  }
}

class X11Pixels : public X11Window, public ::testing::WithParamInterface<bool> {
protected:
  // Without the shared-memory extension the window falls back to plain image requests.
  std::vector<std::string> ServerArguments() const override {
    return GetParam() ? std::vector<std::string>{} : std::vector<std::string>{"-extension", "MIT-SHM"};
  }
};

TEST_P(X11Pixels, TheWindowShowsTheFrameBuffer) {
  const XId child = Open();
  EXPECT_EQ(Gui().UsesSharedMemory(), GetParam());
  auto compare = [&](const char* when) {
    const std::vector<uint32_t> shown = user->Pixels(child, kWidth, kHeight);
    ASSERT_EQ(shown.size(), static_cast<size_t>(kWidth * kHeight)) << when;
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        wrong += shown[static_cast<size_t>(y * kWidth + x)] != (Gui().PixelAt(x, y) & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0) << when;
  };
  compare("first frame");
  // A change repaints only its regions; the window still matches.
  delegate.ShowParamInEditor(4, 0.9, true);
  ASSERT_TRUE(x11test::PumpUntil(Gui(), [&] { return Gui().PaintCount() > 1; }));
  for (const graphics::IRect& r : Gui().LastPaintedPixels()) EXPECT_LT(r.W() * r.H(), kWidth * kHeight / 4.0f);
  compare("after a partial repaint");
  // Covered and uncovered again: served from the frame buffer.
  const XId cover = user->MakeParent(300, 300);
  user->Destroy(cover);
  x11test::PumpTicks(Gui());
  compare("after exposure");
}

INSTANTIATE_TEST_SUITE_P(Copy, X11Pixels, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "SharedMemory" : "PlainImages";
                         });

TEST_F(X11Window, HideShowAndCloseLeaveNoWindowBehind) {
  const XId child = Open();
  XUnmapWindow(user->Display(), parent);
  user->Sync();
  x11test::PumpTicks(Gui());
  XMapWindow(user->Display(), parent);
  user->Sync();
  x11test::PumpTicks(Gui());
  EXPECT_EQ(user->Children(parent), std::vector<XId>{child});
  delegate.CloseEditor();
  EXPECT_TRUE(user->Children(parent).empty());

  // The host destroys its window before it closes the editor: no error ends the process.
  const XId child2 = Open();
  ASSERT_NE(child2, 0u);
  user->Destroy(parent);
  parent = 0;
  x11test::PumpTicks(Gui());
  delegate.CloseEditor();
  EXPECT_EQ(delegate.Graphics(), nullptr);
}

TEST_F(X11Window, OpeningAndClosingAHundredTimesLeavesNothingOnTheServer) {
  const int clientsBefore = user->ClientCount();
  const XId otherParent = user->MakeParent(kWidth, kHeight);
  Prepare(second);
  for (int i = 0; i < 100; ++i) {
    ASSERT_NE(delegate.OpenEditor(AsParent(parent)), nullptr) << i;
    // Every other round a second instance is open at the same time.
    const bool both = i % 2 == 1;
    if (both) {
      ASSERT_NE(second.OpenEditor(AsParent(otherParent)), nullptr) << i;
    }
    Gui().Pump();
    if (both) Gui(second).Pump();
    delegate.CloseEditor();
    second.CloseEditor();
  }
  EXPECT_TRUE(user->Children(parent).empty());
  EXPECT_TRUE(user->Children(otherParent).empty());
  ASSERT_GE(clientsBefore, 0) << "the server has the X-Resource extension";
  EXPECT_EQ(user->ClientCount(), clientsBefore) << "every connection was closed";
  EXPECT_EQ(delegate.opened, 100);
  user->Destroy(otherParent);
}

TEST_F(X11Window, TheClipboardIsTheClipboardSelection) {
  Open();
  Display* d = user->Display();
  const Atom clipboard = XInternAtom(d, "CLIPBOARD", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
  const Atom property = XInternAtom(d, "TEST_PASTE", False);

  // The editor owns it: another client reads the text.
  ASSERT_TRUE(Gui().SetClipboardText("gr\xC3\xBC\xC3\x9F"));
  XConvertSelection(d, clipboard, utf8, property, parent, CurrentTime);
  user->Sync();
  XEvent e;
  bool answered = false;
  for (int i = 0; i < 200 && !answered; ++i) {
    Gui().Pump();
    user->Sync();
    answered = XCheckTypedWindowEvent(d, parent, SelectionNotify, &e);
    if (!answered) usleep(5000);
  }
  ASSERT_TRUE(answered);
  ASSERT_EQ(e.xselection.property, property);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(d, parent, property, 0, 1024, True, AnyPropertyType, &type, &format, &count, &after, &data);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(data), count), "gr\xC3\xBC\xC3\x9F");
  XFree(data);

  // A second editor in this process reads it too (the first cannot answer while it waits).
  Prepare(second);
  const XId secondParent = user->MakeParent(kWidth, kHeight);
  Open(second, secondParent);
  std::string text;
  EXPECT_TRUE(Gui(second).GetClipboardText(text));
  EXPECT_EQ(text, "gr\xC3\xBC\xC3\x9F");

  // Another client owns it: the editor asks and waits for the answer.
  std::atomic<bool> stop{false};
  std::atomic<bool> owning{false};
  std::thread owner([&] {
    TestConnection other(server->Name());
    Display* od = other.Display();
    const Window w = other.MakeParent(10, 10);
    const Atom oc = XInternAtom(od, "CLIPBOARD", False), ou = XInternAtom(od, "UTF8_STRING", False);
    XSetSelectionOwner(od, oc, w, CurrentTime);
    other.Sync();
    owning = true;
    while (!stop) {
      XEvent r;
      if (!XCheckTypedWindowEvent(od, w, SelectionRequest, &r)) {
        usleep(2000);
        continue;
      }
      XSelectionEvent reply{};
      reply.type = SelectionNotify;
      reply.requestor = r.xselectionrequest.requestor;
      reply.selection = r.xselectionrequest.selection;
      reply.target = r.xselectionrequest.target;
      reply.time = r.xselectionrequest.time;
      reply.property = None;
      if (r.xselectionrequest.target == ou) {
        const char answer[] = "from another client";
        XChangeProperty(od, reply.requestor, r.xselectionrequest.property, ou, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(answer), sizeof answer - 1);
        reply.property = r.xselectionrequest.property;
      }
      XSendEvent(od, reply.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
      other.Sync();
    }
  });
  while (!owning) usleep(1000);
  EXPECT_TRUE(Gui().GetClipboardText(text));
  EXPECT_EQ(text, "from another client");
  stop = true;
  owner.join();
  // Its owner has gone: nothing to read.
  EXPECT_FALSE(Gui().GetClipboardText(text));
  EXPECT_EQ(text, "");
  second.CloseEditor();
  user->Destroy(secondParent);
}

TEST_F(X11Window, RevealingAPathRunsXdgOpenOnItOrItsFolder) {
  Open();
  char folder[] = "/tmp/korvel-reveal-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string dir = folder, record = dir + "/opened", script = dir + "/xdg-open", file = dir + "/a file.txt";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record << "'\n";
  chmod(script.c_str(), 0755);
  std::ofstream(file) << "x";
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir + ":" + path).c_str(), 1);
  auto lines = [&](size_t n) {
    std::vector<std::string> out;
    for (int i = 0; i < 400 && out.size() < n; ++i) {
      out.clear();
      std::ifstream in(record);
      for (std::string l; std::getline(in, l);) out.push_back(l);
      if (out.size() < n) usleep(5000);
    }
    return out;
  };
  EXPECT_TRUE(Gui().RevealPathInFileManager(file.c_str(), false));
  EXPECT_EQ(lines(1), std::vector<std::string>{file});
  EXPECT_TRUE(Gui().RevealPathInFileManager(file.c_str(), true));
  EXPECT_EQ(lines(2), (std::vector<std::string>{file, dir}));
  EXPECT_FALSE(Gui().RevealPathInFileManager((dir + "/missing").c_str(), false));
  EXPECT_FALSE(Gui().RevealPathInFileManager(nullptr, false));
  std::remove(record.c_str());
  std::remove(script.c_str());

  // An opener that cannot be started is a failure, not a success.
  struct Unstartable {
    const char* what;
    const char* script;  // null: no opener at all
    mode_t mode;
  } cases[] = {
      {"none on the search path", nullptr, 0},
      {"not executable", "#!/bin/sh\nexit 0\n", 0644},
      {"its interpreter is missing", "#!/nonexistent/interpreter\n", 0755},
  };
  for (const Unstartable& c : cases) {
    if (c.script) {
      std::ofstream(script) << c.script;
      chmod(script.c_str(), c.mode);
    }
    setenv("PATH", dir.c_str(), 1);
    EXPECT_FALSE(Gui().RevealPathInFileManager(file.c_str(), false)) << c.what;
    setenv("PATH", path.c_str(), 1);
    std::remove(script.c_str());
  }
  EXPECT_LE(waitpid(-1, nullptr, WNOHANG), 0) << "no child is left unreaped";
  std::remove(file.c_str());
  rmdir(folder);

  // No toolkit: the system dialogs report that nothing was chosen.
  int completions = 0;
  graphics::IColour colour{255, 1, 2, 3};
  EXPECT_FALSE(Gui().PromptForColour(colour, "Colour", [&] { ++completions; }));
  std::string chosenFile = "keep", chosenDir = "keep";
  Gui().PromptForFile(chosenFile, chosenDir, true, "wav", [&] { ++completions; });
  Gui().PromptForDirectory(chosenDir, [&] { ++completions; });
  EXPECT_EQ(completions, 3);
  EXPECT_EQ(chosenFile, "keep");
  EXPECT_EQ(colour.R, 1);
}

}  // namespace
