#include "platform/files/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "files_fixture.h"

namespace {

using namespace platform::files;
using files_test::FilesTest;
using files_test::readBytes;
using files_test::writeBytes;
namespace fs = std::filesystem;

// Sets environment variables for the lifetime of the object.
class ScopedEnv {
  public:
    ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> vars) {
        for (const auto& [name, value] : vars) {
            const char* old = ::getenv(name);
            saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
            if (value) {
                ::setenv(name, value, 1);
            } else {
                ::unsetenv(name);
            }
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(FilesTest, ZelbrinHomeHoldsDataAndConfiguration) {
    const std::string home = c() + "/portable";
    ScopedEnv env{{"ZELBRIN_HOME", home.c_str()}};
    EXPECT_EQ(dataFolder(), home);
    EXPECT_EQ(configFolder(), home);
    EXPECT_EQ(ProgramFolder(), "C:\\portable");
}

TEST_F(FilesTest, WithoutZelbrinHomeTheXdgFoldersAreUsed) {
    ScopedEnv env{{"ZELBRIN_HOME", nullptr},
                  {"HOME", c().c_str()},
                  {"XDG_DATA_HOME", nullptr},
                  {"XDG_CONFIG_HOME", "/etc/xdg-test"}};
    EXPECT_EQ(dataFolder(), c() + "/.local/share/zelbrin");
    EXPECT_EQ(configFolder(), "/etc/xdg-test/zelbrin");
    EXPECT_EQ(ProgramFolder(), "C:\\.local\\share\\zelbrin");
}

TEST_F(FilesTest, AProgramFolderOutsideEveryDriveGetsALetter) {
    table().remove("Z:");
    ScopedEnv env{{"ZELBRIN_HOME", "/opt/zelbrin-test"}};
    EXPECT_EQ(ProgramFolder(), "Y:\\");
    EXPECT_EQ(ProgramFolder(), "Y:\\");
}

TEST_F(FilesTest, ResourcesAreCopiedWhenMissingAndNeverOverwritten) {
    const std::string res = c() + "/res";
    const std::string data = c() + "/data";
    writeBytes(res + "/readme.htm", "shipped readme");
    writeBytes(res + "/webmodel/modeltext/a_A.htm", "template");
    writeBytes(data + "/readme.htm", "the user's readme");
    // Installed resources are read-only; the copies are the user's to change.
    fs::permissions(res + "/webmodel/modeltext/a_A.htm",
                    fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(installResources(res, data), 1);
    EXPECT_EQ(readBytes(data + "/readme.htm"), "the user's readme");
    EXPECT_EQ(readBytes(data + "/webmodel/modeltext/a_A.htm"), "template");
    EXPECT_EQ(fs::status(data + "/webmodel/modeltext/a_A.htm").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::status(res + "/webmodel/modeltext/a_A.htm").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(installResources(res, data), 0);
    EXPECT_EQ(installResources(c() + "/nothing", data), 0);
}

}  // namespace
