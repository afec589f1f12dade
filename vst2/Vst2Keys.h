#pragma once
// Turns a key a VST2 host passes to the editor (effEditKeyDown, effEditKeyUp) into the
// editor's key record, with Windows virtual-key codes as the editor expects them.
// [thread-safe]
#include "graphics/IInputTypes.h"
#include "vst2/Vst2Interface.h"

// The Windows virtual-key code of a VST virtual key; keys 0 (none) and VKEY_EQUALS use the
// character instead. Unknown keys give 0.
int WindowsKeyOfVstKey(VstIntPtr vstKey, char character) noexcept;

// The Windows key scan of a character on the US keyboard layout: the key code in the low
// byte, 1 in the high byte when it needs shift; −1 when no key produces it.
int KeyScanOfCharacter(char character) noexcept;

// character: the host's index argument; vstKey: its value; modifiers: its opt (VstModifierKey bits).
graphics::IKeyEvent Vst2KeyEvent(VstInt32 character, VstIntPtr vstKey, float modifiers) noexcept;
