#pragma once
// The host automation that the binding tests make while a plug-in's editor is closed: how
// many parameter changes, and whether a state load follows them.
#include <gtest/gtest.h>

namespace testsupport {

struct ClosedEditorCase {
  int changes;
  bool stateLoadAfter;

  testing::Message Describe() const {
    return testing::Message() << changes << " changes" << (stateLoadAfter ? ", then a state load" : "");
  }
};

// Fewer changes than the editor's queue holds, more, and many more.
inline constexpr ClosedEditorCase kClosedEditorCases[] = {{10, false},  {10, true},    {600, false},
                                                          {600, true},  {5000, false}, {5000, true}};

}  // namespace testsupport
