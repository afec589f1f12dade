#pragma once
// Every test program keeps editor settings in a folder of its own process (PrivateSettings.cpp).

namespace testsupport {

// Removes what editors stored so far (the display scale), so a test starts as on a fresh install.
void ForgetStoredSettings();

}  // namespace testsupport
