#pragma once
// A test suite that loads the built Korvel.clap once and initialises its entry; each test
// then makes its own host and instance on it.
#include <gtest/gtest.h>

#include "ClapTestHost.h"

namespace claptest {

class ModuleSuite : public testing::Test {
protected:
  static void SetUpTestSuite() {
    module = new Module(KORVEL_CLAP_MODULE);
    ASSERT_TRUE(module->Entry()->init(module->Path().c_str()));
  }
  static void TearDownTestSuite() {
    module->Entry()->deinit();
    delete module;
    module = nullptr;
  }

  inline static Module* module = nullptr;
};

}  // namespace claptest
