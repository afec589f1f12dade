// The module's entry, factory and descriptor, through the built Korvel.clap.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "ClapTestHost.h"

namespace {

using claptest::FakeHost;
using claptest::Module;

class ClapEntry : public testing::Test {
protected:
  void TearDown() override {
    // Leave the module uninitialised for the next test, however this one ended.
    while (entry->get_factory(CLAP_PLUGIN_FACTORY_ID)) entry->deinit();
  }

  static const clap_plugin_factory_t* Factory(const clap_plugin_entry_t* e) {
    return static_cast<const clap_plugin_factory_t*>(e->get_factory(CLAP_PLUGIN_FACTORY_ID));
  }

  Module module{KORVEL_CLAP_MODULE};
  const clap_plugin_entry_t* entry = module.Entry();
};

TEST_F(ClapEntry, PublishesVersion1_2_10) {
  EXPECT_EQ(entry->clap_version.major, 1u);
  EXPECT_EQ(entry->clap_version.minor, 2u);
  EXPECT_EQ(entry->clap_version.revision, 10u);
}

TEST_F(ClapEntry, InitCountsPerPathAndDeinitFreesAtZero) {
  EXPECT_FALSE(entry->init(nullptr));
  EXPECT_FALSE(entry->init(""));
  EXPECT_EQ(Factory(entry), nullptr) << "a refused init leaves the count at 0";

  const std::string path = module.Path();
  ASSERT_TRUE(entry->init(path.c_str()));
  ASSERT_TRUE(entry->init(path.c_str()));
  EXPECT_FALSE(entry->init((path + "x").c_str())) << "a second path is refused";
  EXPECT_FALSE(entry->init(path.substr(0, path.size() - 1).c_str())) << "a prefix is another path";

  entry->deinit();
  const clap_plugin_factory_t* factory = Factory(entry);
  ASSERT_NE(factory, nullptr) << "count 1 keeps the module initialised";
  EXPECT_NE(factory->get_plugin_descriptor(factory, 0), nullptr);
  entry->deinit();
  EXPECT_EQ(Factory(entry), nullptr);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 0), nullptr);
  entry->deinit();  // at 0: nothing happens
  ASSERT_TRUE(entry->init("/another/place/Korvel.clap")) << "after the last deinit any path is new";
}

TEST_F(ClapEntry, FactoryAnswersOnlyWhileInitialisedAndOnlyItsId) {
  EXPECT_EQ(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  ASSERT_TRUE(entry->init(module.Path().c_str()));
  for (const char* id : {"clap.plugin-factory ", "CLAP.PLUGIN-FACTORY", "clap.preset-discovery-factory/2", ""})
    EXPECT_EQ(entry->get_factory(id), nullptr) << id;
  EXPECT_EQ(entry->get_factory(nullptr), nullptr);
  const clap_plugin_factory_t* factory = Factory(entry);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->get_plugin_count(factory), 1u);
  EXPECT_EQ(factory->get_plugin_count(nullptr), 1u);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, UINT32_MAX), nullptr);
}

TEST_F(ClapEntry, DescriptorNamesTheOnePlugin) {
  ASSERT_TRUE(entry->init(module.Path().c_str()));
  const clap_plugin_factory_t* factory = Factory(entry);
  const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, 0);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->clap_version.major, 1u);
  EXPECT_EQ(d->clap_version.minor, 2u);
  EXPECT_EQ(d->clap_version.revision, 10u);
  EXPECT_STREQ(d->id, "com.marrowbyaudio.korvel");
  EXPECT_STREQ(d->name, "Korvel");
  EXPECT_STREQ(d->vendor, "Marrowby Audio");
  ASSERT_NE(d->url, nullptr);
  EXPECT_NE(std::string(d->url), "");
  ASSERT_NE(d->manual_url, nullptr);
  EXPECT_STREQ(d->manual_url, "");
  EXPECT_STREQ(d->support_url, d->url);
  EXPECT_STREQ(d->version, "4.1.0");
  EXPECT_STREQ(d->description, "Korvel audio plug-in");
  ASSERT_NE(d->features, nullptr);
  EXPECT_STREQ(d->features[0], "audio-effect");
  EXPECT_STREQ(d->features[1], "analyzer");
  EXPECT_STREQ(d->features[2], "stereo");
  EXPECT_EQ(d->features[3], nullptr);
}

TEST_F(ClapEntry, CreatePluginRefusesWhatItCannotServe) {
  FakeHost host;
  ASSERT_TRUE(entry->init(module.Path().c_str()));
  const clap_plugin_factory_t* factory = Factory(entry);
  EXPECT_EQ(factory->create_plugin(factory, nullptr, "com.marrowbyaudio.korvel"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), nullptr), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), "com.marrowbyaudio.korvel2"), nullptr);
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), "COM.MARROWBYAUDIO.KORVEL"), nullptr);
  claptest::HostOptions old;
  old.clapMajor = 0;
  FakeHost oldHost(old);
  EXPECT_EQ(factory->create_plugin(factory, oldHost.Host(), "com.marrowbyaudio.korvel"), nullptr);

  const clap_plugin_t* plugin = factory->create_plugin(factory, host.Host(), "com.marrowbyaudio.korvel");
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->desc, factory->get_plugin_descriptor(factory, 0));
  EXPECT_NE(plugin->plugin_data, nullptr);
  plugin->destroy(plugin);

  entry->deinit();
  EXPECT_EQ(factory->create_plugin(factory, host.Host(), "com.marrowbyaudio.korvel"), nullptr) << "after deinit";
}

TEST_F(ClapEntry, InstancesCreatedFromSeveralThreadsAreIndependent) {
  ASSERT_TRUE(entry->init(module.Path().c_str()));
  const clap_plugin_factory_t* factory = Factory(entry);
  FakeHost host;
  constexpr int kThreads = 4;
  const clap_plugin_t* plugins[kThreads] = {};
  std::thread threads[kThreads];
  for (int t = 0; t < kThreads; ++t)
    threads[t] = std::thread([&, t] { plugins[t] = factory->create_plugin(factory, host.Host(), "com.marrowbyaudio.korvel"); });
  for (auto& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_NE(plugins[t], nullptr);
    for (int u = 0; u < t; ++u) EXPECT_NE(plugins[t]->plugin_data, plugins[u]->plugin_data);
  }
  for (const clap_plugin_t* p : plugins) p->destroy(p);
}

}  // namespace
