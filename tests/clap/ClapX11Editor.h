#pragma once
// The editor of the built Korvel.clap in a real X11 window under a private Xvfb server: one
// instance on its own fake host, and a suite that makes the host's window, plays the user
// through XTest and turns the host's event loop.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "ClapModuleSuite.h"
#include "ClapTestHost.h"
#include "PrivateSettings.h"
#include "X11TestServer.h"

namespace claptest {

constexpr int kX11Width = 724, kX11Height = 526;

// A host with the gui extension and, unless told otherwise, timer and posix-fd support.
inline HostOptions X11Host(bool timers = true, bool fds = true) {
  HostOptions options;
  options.gui = true;
  options.timerSupport = timers;
  options.posixFdSupport = fds;
  return options;
}

// One editor instance on its own fake host.
struct X11Editor {
  std::unique_ptr<FakeHost> host;
  std::unique_ptr<Instance> plugin;
  const clap_plugin_t* p = nullptr;
  const clap_plugin_gui_t* gui = nullptr;

  X11Editor(const clap_plugin_entry_t* entry, HostOptions options) : host(std::make_unique<FakeHost>(options)) {
    plugin = std::make_unique<Instance>(entry, *host);
    p = plugin->Get();
    if (!p->init(p)) p = nullptr;
    gui = p ? plugin->Ext<clap_plugin_gui_t>(CLAP_EXT_GUI) : nullptr;
  }
  bool Open(graphics::XId parent, double scale = 1.0) {
    clap_window_t window{};
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = parent;
    return gui->set_scale(p, scale) && gui->create(p, CLAP_WINDOW_API_X11, false) && gui->set_parent(p, &window);
  }
  // One turn of the host's event loop: the descriptors, the timers, a requested callback.
  void Turn() { host->Turn(p, 8); }
  double Value(clap_id id) const {
    double v = -1.0;
    plugin->Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(p, id, &v);
    return v;
  }
  // The host's params flush: what the editor told it, as "begin 0", "value 0 1", "end 0".
  std::vector<std::string> Flush() const {
    InputEvents in;
    OutputEvents out;
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

class X11EditorSuite : public ModuleSuite {
protected:
  void SetUp() override {
    // A corner drag stores the scale it left: each test starts from the default.
    testsupport::ForgetStoredSettings();
    std::string failure;
    if (!scene.Start(kX11Width, kX11Height, failure)) GTEST_SKIP() << failure;
    user = &scene.User();
  }
  void TearDown() override { editor.reset(); }

  X11Editor& Make(HostOptions options = X11Host()) {
    editor.reset();
    editor = std::make_unique<X11Editor>(module->Entry(), options);
    EXPECT_NE(editor->gui, nullptr);
    return *editor;
  }
  graphics::XId Parent() const { return scene.Parent(); }
  graphics::XId Child() { return scene.Child(); }
  // Turns the host's loop until the condition holds; false after two hundred turns.
  template <class Condition>
  bool LoopUntil(X11Editor& e, Condition condition) {
    for (int i = 0; i < 200; ++i) {
      e.Turn();
      user->Sync();
      if (condition()) return true;
    }
    return false;
  }
  void LoopFor(X11Editor& e, int turns) {
    for (int i = 0; i < turns; ++i) e.Turn();
  }
  void Drag(float x, float y, int dx, int dy) {
    scene.Drag(x, y, dx, dy, [this](int turns) { LoopFor(*editor, turns); });
  }

  x11test::HostWindowScene scene;
  x11test::TestConnection* user = nullptr;
  std::unique_ptr<X11Editor> editor;
};

}  // namespace claptest
