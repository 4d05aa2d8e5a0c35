// Discovery over the real registry of the test prefix.
#include <gtest/gtest.h>

#include "client/discovery.h"
#include "client/footprint.h"
#include "discovery_cases.h"
#include "fake_environment.h"
#include "platform/environment.h"
#include "platform/error.h"
#include "registry_fixture_win.h"

namespace qln::client {
namespace {

const MessageLookup builtin_texts = [](const std::string& builtin, const std::string&) {
  return builtin;
};

class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override { test::delete_client_branch(); }
  void TearDown() override { test::delete_client_branch(); }
};

TEST_F(RealRegistry, DiscoveryTable) {
  for (const auto& c : test::discovery_cases()) {
    SCOPED_TRACE(c.title);
    test::delete_client_branch();
    if (c.key_exists) {
      win32::RegKey key = test::create_key(std::string(kClientKey));
      for (const auto& v : c.values) {
        if (v.value.is_string()) {
          test::set_text(key.get(), v.name, v.value.text, v.value.type);
        } else {
          DWORD one = 1;
          test::set_raw(key.get(), v.name, v.value.type, &one, sizeof one);
        }
      }
    }
    test::FakeEnvironment env;
    env.variables = {{"APPDATA", test::kAppData}, {"A", "alpha"}, {"B", "beta"}};
    EXPECT_EQ(ClientInstalled(local_registry()), c.key_exists);
    if (c.error) {
      try {
        discover_locations(local_registry(), env, builtin_texts);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.what(), *c.error);
      }
      continue;
    }
    ClientLocations found = discover_locations(local_registry(), env, builtin_texts);
    EXPECT_EQ(found.program.directory, c.program);
    EXPECT_EQ(found.mail.directory, c.mail);
  }
}

TEST_F(RealRegistry, AppDataOfTheRunningProcess) {
  win32::RegKey key = test::create_key(std::string(kClientKey));
  test::set_text(key.get(), "Working Directory", "%APPDATA%\\The Bat!\\");
  std::optional<std::string> appdata = local_environment().variable("APPDATA");
  ASSERT_TRUE(appdata && !appdata->empty());
  EXPECT_EQ(discover_mail_directory(local_registry(), local_environment(), builtin_texts).directory,
            *appdata + "\\The Bat!\\");
}

TEST_F(RealRegistry, StringsWithoutTerminatorAndWithEmbeddedNul) {
  win32::RegKey key = test::create_key(std::string(kClientKey));
  const wchar_t unterminated[] = {L'C', L':', L'\\', L'T', L'B'};
  test::set_raw(key.get(), "ProgramDir", REG_SZ, unterminated, sizeof unterminated);
  const wchar_t embedded[] = L"D:\\Mail\\\0junk";
  test::set_raw(key.get(), "Working Directory", REG_SZ, embedded, sizeof embedded);
  test::FakeEnvironment env;
  ClientLocations found = discover_locations(local_registry(), env, builtin_texts);
  EXPECT_EQ(found.program.directory, "C:\\TB");
  EXPECT_EQ(found.mail.directory, "D:\\Mail\\");
}

}  // namespace
}  // namespace qln::client
