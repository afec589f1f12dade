#pragma once
// Identifies a host from the name it reports, for the bindings' host-specific workarounds.

namespace framework {

// The host code of a host name: the first known substring found in the lower-cased name
// (at most its first 255 characters) decides; 0 when none is found or the name is null.
// [thread-safe]
int HostLookup(const char* hostName) noexcept;

}  // namespace framework
