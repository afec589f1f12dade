#pragma once
// Where a parameter change came from; passed to the plug-in's hook and to the editor.

namespace framework {

enum class ParamSource : int {
  Reset = 0,           // the binding re-announces every parameter on activation
  Host = 1,            // automation or the host's own editor
  Preset = 2,          // a state or preset was loaded
  UI = 3,              // the plug-in's own editor
  EditorDelegate = 4,  // the delegate pushed a value into the editor
  Recompile = 5,
  Unknown = 6,
};

// "Reset", "Host", "Preset", "UI", "Editor Delegate", "Recompile", "Unknown"; "Unknown" for other values.
const char* ParamSourceName(ParamSource source) noexcept;

}  // namespace framework
