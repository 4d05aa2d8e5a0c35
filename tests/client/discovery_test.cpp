#include "client/discovery.h"

#include <gtest/gtest.h>

#include "client/footprint.h"
#include "discovery_cases.h"
#include "fake_environment.h"
#include "platform/error.h"
#include "platform/fake/fake_registry.h"

namespace qln::client {
namespace {

const MessageLookup builtin_texts = [](const std::string& builtin, const std::string&) {
  return builtin;
};

test::FakeEnvironment table_environment() {
  test::FakeEnvironment env;
  env.variables = {{"APPDATA", test::kAppData}, {"A", "alpha"}, {"B", "beta"}};
  return env;
}

TEST(Discovery, TableOverStoredValues) {
  for (const auto& c : test::discovery_cases()) {
    SCOPED_TRACE(c.title);
    FakeRegistry registry;
    if (c.key_exists) registry.add_key(std::string(kClientKey));
    for (const auto& v : c.values) registry.set_value(std::string(kClientKey), v.name, v.value);
    auto env = table_environment();
    if (c.error) {
      try {
        discover_locations(registry, env, builtin_texts);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        EXPECT_EQ(e.what(), *c.error);
      }
      continue;
    }
    ClientLocations found = discover_locations(registry, env, builtin_texts);
    EXPECT_EQ(found.program.directory, c.program);
    EXPECT_EQ(found.mail.directory, c.mail);
  }
}

TEST(Discovery, LabelsShowThePathOrTheLookedUpNotFoundText) {
  FakeRegistry registry;
  registry.set_string(std::string(kClientKey), "ProgramDir", "C:\\TheBat");
  test::FakeEnvironment env;
  std::vector<std::string> asked;
  MessageLookup misc = [&](const std::string& builtin, const std::string& key) {
    asked.push_back(key + "=" + builtin);
    return "<" + key + ">";
  };
  ClientLocations found = discover_locations(registry, env, misc);
  EXPECT_EQ(found.program, (FoundDirectory{"C:\\TheBat", "C:\\TheBat", true}));
  EXPECT_EQ(found.mail, (FoundDirectory{"error", "<MSG_18>", false}));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0],
            "MSG_18=Kein The Bat!-Mail Verzeichnis gefunden!\rEventuell manuell wählen...");

  FakeRegistry empty;
  EXPECT_EQ(discover_program_directory(empty, builtin_texts).label,
            "Kein The Bat! Verzeichnis gefunden!\rEventuell manuell wählen...");
}

TEST(Discovery, ExpansionLooksUpTheNameAsWrittenAndDoesNotReexpand) {
  test::FakeEnvironment env;
  env.variables = {{"X", "%X%-%Y%"}, {"Y", "why"}};
  EXPECT_EQ(expand_first_variable("%X%\\%X%", env), "%X%-%Y%\\%X%-%Y%");
  EXPECT_EQ(expand_first_variable("a%%b", env), "a%%b");  // no variable has an empty name
  EXPECT_EQ(expand_first_variable("", env), "");
  EXPECT_EQ(expand_first_variable("%x%", env), "");  // names are looked up as written
}

TEST(Discovery, ClientInstalledExactlyWhenTheKeyExists) {
  FakeRegistry registry;
  EXPECT_FALSE(ClientInstalled(registry));
  registry.add_key("Software\\RIT");
  EXPECT_FALSE(ClientInstalled(registry));
  registry.add_key("Software\\RIT\\The Bat!");
  EXPECT_TRUE(ClientInstalled(registry));
}

}  // namespace
}  // namespace qln::client
