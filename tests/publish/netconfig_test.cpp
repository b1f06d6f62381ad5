// The stored configurations of the publishing dialogs.
#include <gtest/gtest.h>

#include "platform/memorysettings.h"
#include "platform/registry.h"
#include "publish/netconfig.h"

namespace tarn::publish {
namespace {

TEST(NetConfig, FtpConfigurationsKeepThePasswordOnlyWhenAsked) {
  platform::MemorySettings settings;
  platform::Registry registry(settings);
  FtpConfigurations configs(registry);
  EXPECT_EQ(configs.Count(), 0);
  // "numConfTot" missing: the first configuration added is number 1, the
  // default one being number 0.
  EXPECT_EQ(configs.Add("Mine"), 1);
  EXPECT_EQ(configs.Count(), 2);
  FtpConfig c = configs.Load(1);
  EXPECT_EQ(c.name, "Mine");
  EXPECT_EQ(c.port, 21);
  EXPECT_EQ(c.timeout, 30);
  EXPECT_EQ(c.baseDir, "/");
  c.server = "127.0.0.1";
  c.port = 2121;
  c.password = "secret";
  c.savePassword = true;
  configs.Save(1, c);
  EXPECT_EQ(configs.Load(1).password, "secret");
  c.savePassword = false;
  configs.Save(1, c);
  EXPECT_EQ(registry.ReadSubkeyValue("ftpnet\\1", "pass"), "");
  EXPECT_EQ(configs.Load(1).password, "");
  EXPECT_EQ(configs.Load(1).port, 2121);

  EXPECT_EQ(configs.Selected(2), 0);
  configs.SetSelected(2, 1);
  EXPECT_EQ(configs.Selected(2), 1);
  configs.SetSelected(0, 7);
  EXPECT_EQ(configs.Selected(0), 0);
  EXPECT_TRUE(configs.AutoChooseModified());
  configs.SetAutoChooseModified(false);
  EXPECT_FALSE(configs.AutoChooseModified());
}

TEST(NetConfig, ServerConfigurationsAndTheirDefaults) {
  platform::MemorySettings settings;
  platform::Registry registry(settings);
  registry.WriteNetworkDefaults();
  Tarn3Configurations configs(registry);
  ASSERT_EQ(configs.Count(), 1);
  Tarn3Config c = configs.Load(0);
  EXPECT_EQ(c.port, 80);
  EXPECT_EQ(c.uploadProgram, "tarnupd.dll");
  registry.WriteSubkeyValue("tarnnet\\0", "sezione", "-3");
  EXPECT_EQ(configs.Load(0).section, 0);
  c.name = "Second";
  configs.Save(1, c);
  EXPECT_EQ(configs.Count(), 2);
  configs.SetSelected(1);
  EXPECT_EQ(configs.Selected(), 1);
  // Added after the last with the defaults; the proxy kept with the rest.
  EXPECT_EQ(configs.Add("Third"), 2);
  EXPECT_EQ(configs.Names(), (std::vector<std::string>{"DefaultNT", "Second", "Third"}));
  EXPECT_EQ(configs.Load(2).server, "www.example.com");
  Tarn3Config third = configs.Load(2);
  third.proxy = "proxy.local:3128";
  configs.Save(2, third);
  EXPECT_EQ(configs.Load(2).proxy, "proxy.local:3128");
  EXPECT_EQ(configs.Load(0).proxy, "");
}

}  // namespace
}  // namespace tarn::publish
