#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "settings/ClientEnvironment.h"
#include "settings/FileIo.h"
#include "settings/SettingsStore.h"

namespace qarnis::settings {
namespace {

using qarnis::testing::ReadFile;
using qarnis::testing::TempFolder;
using qarnis::testing::WriteFile;

class SettingsStoreTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder.File("Winsetb.ini");
  SettingsStore store{path};
};

TEST_F(SettingsStoreTest, MissingFileOrKeyReadsEmpty) {
  EXPECT_FALSE(store.FileExists());
  EXPECT_EQ(store.ReadKey("DQZH"), "");
  ASSERT_TRUE(store.WriteKey("KQSYTS", kOn));
  EXPECT_TRUE(store.FileExists());
  EXPECT_EQ(store.ReadKey("DQZH"), "");
}

TEST_F(SettingsStoreTest, FirstWriteCreatesFileAndSection) {
  ASSERT_TRUE(store.WriteKey("KQSYTS", kOn));
  ASSERT_TRUE(store.WriteKey("YXJTC", kOn));
  EXPECT_EQ(ReadFile(path), "[set]\r\nKQSYTS=\xD5\xE6\r\nYXJTC=\xD5\xE6\r\n");
}

TEST_F(SettingsStoreTest, ReplacesKeyAndKeepsEveryOtherLine) {
  WriteFile(path, "; kept comment\n[other]\nDQZH=elsewhere\n[SET]\nDqzh = old\nKQSYTS=x\n\n[tail]\nk=v\n");
  ASSERT_TRUE(store.WriteKey("DQZH", "\xD5\xC5\xC8\xFD"));
  EXPECT_EQ(ReadFile(path),
            "; kept comment\n[other]\nDQZH=elsewhere\n[SET]\nDQZH=\xD5\xC5\xC8\xFD\r\nKQSYTS=x\n\n[tail]\nk=v\n");
  EXPECT_EQ(store.ReadKey("dqzh"), "\xD5\xC5\xC8\xFD");
  ASSERT_TRUE(store.WriteKey("NowBanBen", "1.005"));
  EXPECT_EQ(store.ReadKey("NOWBANBEN"), "1.005");
  EXPECT_EQ(store.ReadKey("KQSYTS"), "x");
  EXPECT_NE(ReadFile(path).find("[tail]\nk=v\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, ValueIsSeenThroughATenKilobyteBuffer) {
  std::string longValue(20000, 'a');
  ASSERT_TRUE(store.WriteKey("DQMM", longValue));
  EXPECT_EQ(store.ReadKey("DQMM"), std::string(kValueBuffer - 1, 'a'));
}

TEST_F(SettingsStoreTest, FlagIsOnOnlyForTheExactWord) {
  struct Case {
    std::string value;
    bool on;
  } cases[] = {{std::string(kOn), true}, {std::string(kOff), false}, {"", false}, {"1", false},
               {std::string(kOn) + "x", false}};
  for (const Case& c : cases) {
    ASSERT_TRUE(store.WriteKey("YXJTC", c.value));
    EXPECT_EQ(store.ReadFlag("YXJTC"), c.on) << c.value;
  }
}

TEST_F(SettingsStoreTest, RefusedWriteReportsFalseAndLeavesFileWhole) {
  ASSERT_TRUE(store.WriteKey("DQZH", "a"));
  const std::string before = ReadFile(path);
  ASSERT_EQ(::chmod(folder.Path().c_str(), S_IRUSR | S_IXUSR), 0);
  const bool written = store.WriteKey("DQZH", "b");
  ::chmod(folder.Path().c_str(), S_IRWXU);
  if (::geteuid() != 0) {
    EXPECT_FALSE(written);  // root ignores the folder's permissions
  }
  if (!written) {
    EXPECT_EQ(ReadFile(path), before);
  }
}

TEST(ClientEnvironment, HostKeysOverrideBuiltInHostsWhenNotEmpty) {
  TempFolder folder;
  ClientEnvironment env = ClientEnvironment::InFolder(folder.Path());
  const auto builtIn = env.serverHosts;
  SettingsStore store(env.settingsFile);
  ASSERT_TRUE(store.WriteKey("FWQ2", "tips.example.test"));
  ASSERT_TRUE(store.WriteKey("FWQ3", ""));
  ASSERT_TRUE(store.WriteKey("BFZD", "127.0.0.1:8080"));
  env.ApplyHostOverrides();
  EXPECT_EQ(env.serverHosts[0], builtIn[0]);
  EXPECT_EQ(env.serverHosts[1], "tips.example.test");
  EXPECT_EQ(env.serverHosts[2], builtIn[2]);
  EXPECT_EQ(env.liveHost, "127.0.0.1:8080");
  EXPECT_EQ(env.serverHosts[0], "127.0.0.1");
}

TEST(ClientEnvironment, DefaultsLiveInOwnerOnlyXdgFolders) {
  TempFolder folder;
  ::setenv("XDG_CONFIG_HOME", folder.File("cfg").c_str(), 1);
  ::setenv("XDG_DATA_HOME", folder.File("data").c_str(), 1);
  ClientEnvironment env = ClientEnvironment::Defaults();
  EXPECT_EQ(env.settingsFile, folder.File("cfg") + "/qarnis/Winsetb.ini");
  EXPECT_EQ(env.historyFile, folder.File("data") + "/qarnis/LTLiShiJiLu.txt");
  EXPECT_EQ(env.noticesFile, folder.File("data") + "/qarnis/LTLiShiGongGao.txt");
  struct stat st {};
  ASSERT_EQ(::stat((folder.File("cfg") + "/qarnis").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(AtomicWrite, FailedRewriteLeavesPreviousContentByteForByte) {
  TempFolder folder;
  const std::string path = folder.File("LTLiShiJiLu.txt");
  ASSERT_TRUE(WriteWholeFileAtomically(path, "old\r\n"));
  // A path inside a missing folder cannot take the temporary file: nothing may change.
  EXPECT_FALSE(WriteWholeFileAtomically(folder.File("missing/x.txt"), "new"));
  // A target that is a folder makes the final rename fail after the data were written.
  ASSERT_TRUE(EnsureFolder(folder.File("dir")));
  EXPECT_FALSE(WriteWholeFileAtomically(folder.File("dir"), "new"));
  EXPECT_EQ(ReadFile(path), "old\r\n");
  std::string content;
  EXPECT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "old\r\n");
  EXPECT_FALSE(ReadWholeFile(folder.File("none"), content));
  EXPECT_EQ(content, "");
}

}  // namespace
}  // namespace qarnis::settings
