// A small Win32 host that proves a built Windows module: it loads Korvel.clap or Korvel.dll
// as a host does (LoadLibrary, then only the exported entry), streams a test tone through it,
// opens the editor in a window of its own, pumps messages, clicks an Input switch and turns
// the Domain knob with the wheel and checks both parameters changed, checks that a middle
// click on a knob leaves nothing behind that takes the next click, writes the editor's
// pixels as PNG in each domain, then closes the editor and unloads the module.
//   korvel-wine-host clap|vst2 <module> <output prefix>   → <prefix>-time.png, -freq.png, -phase.png
//   korvel-wine-host clap-without-skia|vst2-without-skia <module>   → the module refuses to start
// Prints one line per check; exits 0 when every check passed.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "clap/ClapDefs.h"
#include "tests/wine/PngFile.h"
#include "vst2/Vst2Interface.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  std::fflush(stdout);
  if (!ok) ++failures;
}

// Parameter gestures the plug-in began and has not ended, as the host sees them.
int openGestures = 0;

// Parameter ids and where their controls sit in the editor (UI units at scale 1).
constexpr int kDomain = 0;
constexpr int kInput1 = 1;
constexpr int kXZoomLow = 13;
constexpr POINT kInput1Switch{162, 476};
constexpr POINT kDomainKnob{62, 467};
constexpr POINT kDomainCaption{63, 415};
constexpr int kOpacity = 12;
constexpr POINT kOpacityCaption{572, 415};
constexpr int kEditorWidth = 724, kEditorHeight = 526;
constexpr uint32_t kBlock = 512;
constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;

// A plug-in behind one of the two interfaces.
class Side {
public:
  virtual ~Side() = default;
  virtual bool Load(const std::wstring& path, const std::string& utf8Path) = 0;
  virtual bool OpenEditor(HWND parent) = 0;
  virtual void CloseEditor() = 0;
  // The parameter's value normalised to 0 … 1.
  virtual double Param(int id) = 0;
  virtual void SetParam(int id, double normalised) = 0;
  // One block of audio and the host's idle work.
  virtual void Process() = 0;
  virtual void Unload() = 0;

protected:
  // Left and right: two tones, so every view has something to show.
  void FillTone(std::vector<float>& left, std::vector<float>& right) {
    for (uint32_t i = 0; i < kBlock; ++i, ++phase) {
      const double t = static_cast<double>(phase) / kRate;
      left[i] = static_cast<float>(0.6 * std::sin(2.0 * kPi * 220.0 * t));
      right[i] = static_cast<float>(0.4 * std::sin(2.0 * kPi * 330.0 * t + 0.5));
    }
  }
  uint64_t phase = 0;
};

// ---- CLAP -------------------------------------------------------------------------------------

class ClapSide final : public Side {
public:
  bool Load(const std::wstring& path, const std::string& utf8Path) override {
    module = LoadLibraryW(path.c_str());
    Check(module != nullptr, "the CLAP module loads");
    if (!module) return false;
    entry = reinterpret_cast<const clap_plugin_entry_t*>(
        reinterpret_cast<void*>(GetProcAddress(module, "clap_entry")));
    Check(entry != nullptr && GetProcAddress(module, "clap_factory") != nullptr,
          "it exports clap_entry and clap_factory");
    if (!entry || !entry->init(utf8Path.c_str())) {
      Check(false, "clap_entry.init");
      return false;
    }
    initialised = true;
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    const clap_plugin_descriptor_t* descriptor = factory ? factory->get_plugin_descriptor(factory, 0) : nullptr;
    Check(descriptor && std::strcmp(descriptor->id, "com.marrowbyaudio.korvel") == 0, "the factory lists Korvel");
    if (!descriptor) return false;
    host.clap_version = CLAP_VERSION_INIT;
    host.host_data = this;
    host.name = "korvel-wine-host";
    host.vendor = "Marrowby Audio";
    host.url = "";
    host.version = "1";
    host.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
    host.request_restart = [](const clap_host_t*) {};
    host.request_process = [](const clap_host_t*) {};
    host.request_callback = [](const clap_host_t* h) { static_cast<ClapSide*>(h->host_data)->callbackWanted = true; };
    plugin = factory->create_plugin(factory, &host, descriptor->id);
    Check(plugin && plugin->init(plugin), "the plug-in is created and initialised");
    if (!plugin) return false;
    params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    gui = static_cast<const clap_plugin_gui_t*>(plugin->get_extension(plugin, CLAP_EXT_GUI));
    Check(params && gui, "it offers clap.params and clap.gui");
    if (!params || !gui) return false;
    SetUpAudio();
    active = plugin->activate(plugin, kRate, 1, kBlock) && plugin->start_processing(plugin);
    Check(active, "it activates and starts processing");
    return true;
  }

  bool OpenEditor(HWND parent) override {
    Check(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, false), "is_api_supported(\"win32\", embedded)");
    if (!gui->create(plugin, CLAP_WINDOW_API_WIN32, false)) {
      Check(false, "gui.create(\"win32\")");
      return false;
    }
    created = true;
    gui->set_scale(plugin, 1.0);
    uint32_t w = 0, h = 0;
    Check(gui->get_size(plugin, &w, &h) && w == kEditorWidth && h == kEditorHeight, "gui.get_size is 724 x 526");
    clap_window_t window{};
    window.api = CLAP_WINDOW_API_WIN32;
    window.win32 = parent;
    const bool attached = gui->set_parent(plugin, &window);
    Check(attached, "gui.set_parent with the host's HWND");
    return attached && gui->show(plugin);
  }

  void CloseEditor() override {
    if (!created) return;
    gui->hide(plugin);
    gui->destroy(plugin);
    created = false;
  }

  double Param(int id) override {
    double value = 0.0;
    clap_param_info_t info{};
    if (!params->get_value(plugin, static_cast<clap_id>(id), &value) || !FindInfo(id, info)) return -1.0;
    return info.max_value > info.min_value ? (value - info.min_value) / (info.max_value - info.min_value) : 0.0;
  }

  void SetParam(int id, double normalised) override {
    clap_param_info_t info{};
    if (!FindInfo(id, info)) return;
    clap_event_param_value_t event{};
    event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    event.param_id = static_cast<clap_id>(id);
    event.note_id = -1;
    event.port_index = event.channel = event.key = -1;
    event.value = info.min_value + normalised * (info.max_value - info.min_value);
    pending.push_back(event);
  }

  void Process() override {
    if (callbackWanted) {
      callbackWanted = false;
      plugin->on_main_thread(plugin);
    }
    if (!active) return;
    FillTone(channels[0], channels[1]);
    for (size_t c = 2; c < channels.size(); ++c) channels[c] = channels[c % 2];
    clap_input_events_t in{this, [](const clap_input_events_t* list) {
                             return static_cast<uint32_t>(static_cast<ClapSide*>(list->ctx)->pending.size());
                           },
                           [](const clap_input_events_t* list, uint32_t i) -> const clap_event_header_t* {
                             auto& events = static_cast<ClapSide*>(list->ctx)->pending;
                             return i < events.size() ? &events[i].header : nullptr;
                           }};
    clap_output_events_t out{this, [](const clap_output_events_t*, const clap_event_header_t* event) {
                               if (event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN) ++openGestures;
                               if (event->type == CLAP_EVENT_PARAM_GESTURE_END) --openGestures;
                               return true;
                             }};
    clap_process_t process{};
    process.steady_time = static_cast<int64_t>(phase);
    process.frames_count = kBlock;
    process.audio_inputs = inputs.data();
    process.audio_inputs_count = static_cast<uint32_t>(inputs.size());
    process.audio_outputs = outputs.data();
    process.audio_outputs_count = static_cast<uint32_t>(outputs.size());
    process.in_events = &in;
    process.out_events = &out;
    plugin->process(plugin, &process);
    pending.clear();
  }

  void Unload() override {
    CloseEditor();
    if (plugin) {
      if (active) {
        plugin->stop_processing(plugin);
        plugin->deactivate(plugin);
      }
      plugin->destroy(plugin);
    }
    plugin = nullptr;
    if (initialised) entry->deinit();
    initialised = false;
    if (module) Check(FreeLibrary(module) != FALSE, "the module unloads");
    module = nullptr;
  }

private:
  bool FindInfo(int id, clap_param_info_t& info) {
    for (uint32_t i = 0; i < params->count(plugin); ++i)
      if (params->get_info(plugin, i, &info) && info.id == static_cast<clap_id>(id)) return true;
    return false;
  }

  // Every port the plug-in declares gets buffers; the inputs all carry the tone.
  void SetUpAudio() {
    const auto* ports = static_cast<const clap_plugin_audio_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS));
    channels.assign(2, std::vector<float>(kBlock));
    for (int input = 1; input >= 0 && ports; --input) {
      auto& pointers = input ? inputPointers : outputPointers;
      const uint32_t n = ports->count(plugin, input != 0);
      pointers.assign(n, {});
      for (uint32_t p = 0; p < n; ++p) {
        clap_audio_port_info_t info{};
        ports->get(plugin, p, input != 0, &info);
        for (uint32_t c = 0; c < info.channel_count; ++c) {
          if (input) {
            pointers[p].push_back(channels[c % 2].data());
          } else {
            outputChannels.emplace_back(kBlock);
            pointers[p].push_back(nullptr);
          }
        }
      }
    }
    size_t next = 0;
    for (auto& port : outputPointers)
      for (float*& channel : port) channel = outputChannels[next++].data();
    for (auto* side : {&inputPointers, &outputPointers})
      for (auto& port : *side) {
        clap_audio_buffer_t buffer{};
        buffer.data32 = port.data();
        buffer.channel_count = static_cast<uint32_t>(port.size());
        (side == &inputPointers ? inputs : outputs).push_back(buffer);
      }
  }

  HMODULE module = nullptr;
  const clap_plugin_entry_t* entry = nullptr;
  bool initialised = false;
  clap_host_t host{};
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_gui_t* gui = nullptr;
  bool created = false;
  bool active = false;
  bool callbackWanted = false;
  std::vector<clap_event_param_value_t> pending;
  std::vector<std::vector<float>> channels;
  std::vector<std::vector<float>> outputChannels;
  std::vector<std::vector<float*>> inputPointers, outputPointers;
  std::vector<clap_audio_buffer_t> inputs, outputs;
};

// ---- VST2 -------------------------------------------------------------------------------------

int automations = 0;

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterAutomate) ++automations;
  if (opcode == audioMasterBeginEdit) ++openGestures;
  if (opcode == audioMasterEndEdit) --openGestures;
  return 0;
}

class Vst2Side final : public Side {
public:
  bool Load(const std::wstring& path, const std::string&) override {
    module = LoadLibraryW(path.c_str());
    Check(module != nullptr, "the VST2 module loads");
    if (!module) return false;
    using Main = AEffect* (*)(audioMasterCallback);
    auto main = reinterpret_cast<Main>(reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
    Check(main != nullptr && GetProcAddress(module, "main") != nullptr, "it exports VSTPluginMain and main");
    effect = main ? main(HostCallback) : nullptr;
    Check(effect && effect->magic == kEffectMagic, "VSTPluginMain returns the effect");
    if (!effect) return false;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
    for (int c = 0; c < effect->numInputs; ++c) inputs.emplace_back(kBlock);
    for (int c = 0; c < effect->numOutputs; ++c) outputs.emplace_back(kBlock);
    return true;
  }

  bool OpenEditor(HWND parent) override {
    ERect* rect = nullptr;
    Check(Dispatch(effEditGetRect, 0, 0, &rect) == 1 && rect && rect->right - rect->left == kEditorWidth &&
              rect->bottom - rect->top == kEditorHeight,
          "effEditGetRect is 724 x 526");
    open = Dispatch(effEditOpen, 0, 0, parent) == 1;
    Check(open, "effEditOpen with the host's HWND");
    return open;
  }

  void CloseEditor() override {
    if (open) Dispatch(effEditClose);
    open = false;
  }

  double Param(int id) override { return effect->getParameter(effect, id); }
  void SetParam(int id, double normalised) override { effect->setParameter(effect, id, static_cast<float>(normalised)); }

  void Process() override {
    if (inputs.size() >= 2) FillTone(inputs[0], inputs[1]);
    for (size_t c = 2; c < inputs.size(); ++c) inputs[c] = inputs[c % 2];
    std::vector<float*> in, out;
    for (auto& c : inputs) in.push_back(c.data());
    for (auto& c : outputs) out.push_back(c.data());
    effect->processReplacing(effect, in.data(), out.data(), static_cast<VstInt32>(kBlock));
    if (open) Dispatch(effEditIdle);
  }

  void Unload() override {
    if (effect) {
      CloseEditor();
      Dispatch(effMainsChanged, 0, 0);
      Dispatch(effClose);
    }
    effect = nullptr;
    if (module) Check(FreeLibrary(module) != FALSE, "the module unloads");
    module = nullptr;
  }

private:
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  HMODULE module = nullptr;
  AEffect* effect = nullptr;
  bool open = false;
  std::vector<std::vector<float>> inputs, outputs;
};

// ---- The host's window and its checks ----------------------------------------------------------

// Runs the host's loop: messages as they come, a block of audio and the idle call every 10 ms.
void PumpFor(Side& side, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  ULONGLONG nextBlock = 0;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (GetTickCount64() >= nextBlock) {
      side.Process();
      nextBlock = GetTickCount64() + 10;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
}

void Click(HWND window, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void MiddleClick(HWND window, POINT p) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, at);
  PostMessageW(window, WM_MBUTTONUP, 0, at);
}

// This thread's cursor display count is below zero.
bool CursorHidden() {
  const int shownAfter = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return shownAfter <= 0;
}

void Wheel(HWND window, POINT p, int steps) {
  POINT screen = p;
  ClientToScreen(window, &screen);
  PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(steps * WHEEL_DELTA))),
               MAKELPARAM(screen.x, screen.y));
}

// The window's pixels as the system shows them, as RGBA; false when nothing can be read or
// every pixel is the same (nothing was painted).
bool Capture(HWND window, const std::string& path) {
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return false;
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY) != FALSE;
  GdiFlush();
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  const auto* bgra = static_cast<const uint8_t*>(bits);
  bool varied = false;
  for (size_t i = 0; copied && bits && i < rgba.size(); i += 4) {
    rgba[i] = bgra[i + 2];
    rgba[i + 1] = bgra[i + 1];
    rgba[i + 2] = bgra[i];
    rgba[i + 3] = 255;
    if (std::memcmp(bgra + i, bgra, 3) != 0) varied = true;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  const bool written = copied && wine_host::WritePng(path.c_str(), rgba.data(), w, h);
  return written && varied;
}

std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<size_t>(n) : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(std::strlen(out.c_str()));
  return out;
}

// A module whose folder has no libSkiaSharp.dll must refuse to start, not crash.
int CheckRefusalWithoutSkia(bool clap, const wchar_t* path) {
  HMODULE module = LoadLibraryW(path);
  Check(module != nullptr, "the module loads without libSkiaSharp.dll beside it");
  if (!module) return 1;
  if (clap) {
    const auto* entry = reinterpret_cast<const clap_plugin_entry_t*>(
        reinterpret_cast<void*>(GetProcAddress(module, "clap_entry")));
    Check(entry && !entry->init(Utf8(path).c_str()), "clap_entry.init fails");
  } else {
    using Main = AEffect* (*)(audioMasterCallback);
    auto main = reinterpret_cast<Main>(reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
    Check(main && main(HostCallback) == nullptr, "VSTPluginMain returns null");
  }
  Check(FreeLibrary(module) != FALSE, "the module unloads");
  std::printf("%s: %d failed\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (argc == 3 && (mode == L"clap-without-skia" || mode == L"vst2-without-skia"))
    return CheckRefusalWithoutSkia(mode == L"clap-without-skia", argv[2]);
  if (argc != 4 || (mode != L"clap" && mode != L"vst2")) {
    std::fprintf(stderr, "usage: korvel-wine-host clap|vst2 <module> <output prefix>\n"
                         "       korvel-wine-host clap-without-skia|vst2-without-skia <module>\n");
    return 2;
  }
  const bool clap = std::wcscmp(argv[1], L"clap") == 0;
  const std::string prefix = Utf8(argv[3]);
  ClapSide clapSide;
  Vst2Side vst2Side;
  Side& side = clap ? static_cast<Side&>(clapSide) : vst2Side;

  WNDCLASSW c{};
  c.lpfnWndProc = DefWindowProcW;
  c.hInstance = GetModuleHandleW(nullptr);
  c.lpszClassName = L"KorvelWineHostWindow";
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassW(&c);
  HWND parent = CreateWindowExW(0, c.lpszClassName, L"Korvel under Wine", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                900, 700, nullptr, nullptr, c.hInstance, nullptr);
  Check(parent != nullptr, "the host's window opens");
  if (!parent) return 1;

  if (side.Load(argv[2], Utf8(argv[2])) && side.OpenEditor(parent)) {
    HWND editor = FindWindowExW(parent, nullptr, L"KorvelWndClass", nullptr);
    wchar_t title[32] = {};
    if (editor) GetWindowTextW(editor, title, 32);
    Check(editor && std::wcscmp(title, L"Korvel") == 0, "a child window of class KorvelWndClass titled Korvel");
    if (editor) {
      PumpFor(side, 1000);
      RECT r{};
      GetClientRect(editor, &r);
      Check(r.right == kEditorWidth && r.bottom == kEditorHeight, "the editor window is 724 x 526 pixels");

      const double inputBefore = side.Param(kInput1);
      Click(editor, kInput1Switch);
      PumpFor(side, 300);
      Check(side.Param(kInput1) != inputBefore, "a click on the Input 1 switch changes Input 1");

      // A knob takes a middle press (capture, hidden cursor, gesture); its release gives all back.
      MiddleClick(editor, kDomainKnob);
      PumpFor(side, 300);
      Check(GetCapture() != editor && !CursorHidden() && openGestures == 0,
            "a middle click on the Domain knob leaves no capture, hidden cursor or open gesture");
      const double inputAfterMiddle = side.Param(kInput1);
      Click(editor, kInput1Switch);
      PumpFor(side, 300);
      Check(side.Param(kInput1) != inputAfterMiddle, "after it, a click on the Input 1 switch reaches the switch");

      const double domainBefore = side.Param(kDomain);
      Wheel(editor, kDomainKnob, 1);
      PumpFor(side, 300);
      Check(side.Param(kDomain) != domainBefore, "the wheel over the Domain knob changes Domain");
      if (!clap) Check(automations > 0, "the edits reach the host as automation");

      // The Opacity caption's text entry: "x" is refused, Enter commits at the next tick.
      Click(editor, kOpacityCaption);
      PumpFor(side, 300);
      HWND entry = FindWindowExW(editor, nullptr, L"Edit", nullptr);
      Check(entry != nullptr, "a click on the Opacity caption opens a text entry");
      if (entry) {
        for (wchar_t ch : std::wstring(L"x0.25")) PostMessageW(entry, WM_CHAR, ch, 1);
        PostMessageW(entry, WM_KEYDOWN, VK_RETURN, 1);
        PumpFor(side, 300);
        Check(!IsWindow(entry), "Enter closes the text entry");
        Check(std::fabs(side.Param(kOpacity) - 0.25) < 1e-6, "the typed 0.25 (its x refused) is the new Opacity");
      }

      // The Domain caption's menu, chosen with the keyboard: two steps down from Time is Freq.
      // A timer ends the menu if the keys never reach it, so the host cannot hang there.
      side.SetParam(kDomain, 0.0);
      PumpFor(side, 200);
      SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
        EndMenu();
        KillTimer(nullptr, id);
      });
      Click(editor, kDomainCaption);
      for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(editor, WM_KEYDOWN, key, 1);
      PumpFor(side, 500);
      Check(side.Param(kDomain) == 0.5, "the Domain caption's menu chooses Freq");

      // Input 1 back on, so the scope shows the tone in every domain.
      side.SetParam(kInput1, inputBefore);
      const char* names[] = {"time", "freq", "phase"};
      for (int d = 0; d < 3; ++d) {
        // From the Freq view on, the whole frequency axis, where the tones are.
        if (d == 1) side.SetParam(kXZoomLow, 0.0);
        side.SetParam(kDomain, d / 2.0);
        PumpFor(side, 700);
        const std::string png = prefix + "-" + names[d] + ".png";
        Check(Capture(editor, png), ("the editor's pixels in " + std::string(names[d]) + " written to " + png).c_str());
      }
    }
    side.CloseEditor();
    PumpFor(side, 100);
    Check(!editor || !IsWindow(editor), "closing the editor destroys its window");
  }
  side.Unload();
  DestroyWindow(parent);
  std::printf("%s: %d failed\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
