#include "mainwindow/module1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/files_fixture.h"
#include "platform/system/registry.h"
#include "platform/ui/ui.h"

namespace {

// A Ui that records the message boxes: prompt and title.
class RecordingUi : public platform::NullUi {
  public:
    int msgBox(std::string_view prompt, platform::MsgButtons buttons,
               std::string_view title) override {
        boxes.push_back({std::string(prompt), std::string(title)});
        return platform::NullUi::msgBox(prompt, buttons, title);
    }

    struct Box {
        std::string prompt, title;
    };
    std::vector<Box> boxes;
};

class Module1Test : public ::testing::Test {
  protected:
    std::string key{SettingsKey};
    platform::system::MemoryRegistryStore store;
    RecordingUi ui;
    Module1 module{store, ui,
                   [](int n) { return n == 16 ? std::string("C:\\Desktop") : std::string(); }};

    // Stores a value directly, as another program (or an older run) left it.
    void put(const std::string& name, const std::string& value) {
        ASSERT_TRUE(store.createKey(key));
        ASSERT_TRUE(store.set(key, name, value));
    }
};

TEST_F(Module1Test, FirstRunReadsErrorAndTheFirstWriteCreatesTheKey) {
    EXPECT_EQ(module.GetRegValue(key, "Color"), "Error");
    module.SetRegValue(key, "Color", "12");  // no key yet: no effect
    EXPECT_EQ(module.GetRegValue(key, "Color"), "Error");
    EXPECT_FALSE(store.keyExists(key));

    module.CreateRegKey(key);
    module.SetRegValue(key, "Color", "12");
    EXPECT_EQ(module.GetRegValue(key, "Color"), "12");
    EXPECT_EQ(module.GetRegValue(key, "Path"), "Error");  // a missing value
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Module1Test, ReadRule) {
    struct Case {
        std::string stored;
        std::string read;
    };
    const Case cases[] = {
        {"密码", "密码"},
        {" lead", "lead"},
        {"trail ", "trail "},
        {"  both  ", "both  "},
        {"", ""},
        {"   ", ""},
        {std::string(254, 'x'), std::string(254, 'x')},
        {std::string(255, 'x'), "Error"},
        {" 中文 ", "中文 "},
    };
    for (const auto& c : cases) {
        put("v", c.stored);
        EXPECT_EQ(module.GetRegValue(key, "v"), c.read) << c.stored;
    }
    // 127 Chinese characters take 254 bytes: read whole; 128 take 256: "Error".
    std::string chinese127;
    for (int i = 0; i < 127; ++i) chinese127 += "中";
    put("v", chinese127);
    EXPECT_EQ(module.GetRegValue(key, "v"), chinese127);
    put("v", chinese127 + "中");
    EXPECT_EQ(module.GetRegValue(key, "v"), "Error");
}

TEST_F(Module1Test, RefusedPathsShowIncorrectFormat) {
    for (const std::string path :
         {"hkey_local_machine\\SOFTWARE", "HKEY_LOCAL_MACHINE\\SOFTWARE\\", "SOFTWARE"}) {
        ui.boxes.clear();
        EXPECT_EQ(module.GetRegValue(path, "Color"), "") << path;
        ASSERT_EQ(ui.boxes.size(), 1u) << path;
        EXPECT_EQ(ui.boxes[0].prompt, "Incorrect Format:\n\n" + path);
        EXPECT_EQ(ui.boxes[0].title, "");  // the application's title
        module.CreateRegKey(path);
        module.SetRegValue(path, "Color", "9");
    }
    EXPECT_FALSE(store.keyExists("hkey_local_machine\\SOFTWARE"));
}

TEST_F(Module1Test, UnknownRootNameGivesNothingWithoutABox) {
    put("Color", "9");
    const std::string path = "HKEY_Local_Machine\\SOFTWARE\\Microsoft\\Zelbrin";
    EXPECT_EQ(module.GetRegValue(path, "Color"), "");
    module.SetRegValue(path, "Color", "2");
    EXPECT_EQ(module.GetRegValue(key, "Color"), "9");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Module1Test, ParseKeyPathAndRoots) {
    std::string path = key;
    std::int64_t root = -1;
    EXPECT_TRUE(module.ParseKeyPath(path, root));
    EXPECT_EQ(path, "SOFTWARE\\Microsoft\\Zelbrin");
    EXPECT_EQ(root, Module1::RootKeyFromName("HKEY_LOCAL_MACHINE"));

    path = "HKEY_USERS";
    EXPECT_TRUE(module.ParseKeyPath(path, root));
    EXPECT_EQ(path, "");
    EXPECT_NE(root, 0);

    for (const char* name :
         {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
          "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"}) {
        EXPECT_NE(Module1::RootKeyFromName(name), 0) << name;
    }
    EXPECT_EQ(Module1::RootKeyFromName("HKEY_Users"), 0);
    EXPECT_EQ(Module1::RootKeyFromName(""), 0);
}

TEST_F(Module1Test, ShellHelpers) {
    EXPECT_EQ(module.GetSpecialFolderPath(16), "C:\\Desktop\\");
    EXPECT_EQ(module.GetSpecialFolderPath(99), "");
}

class Module1SystemTest : public files_test::FilesTest {};

TEST_F(Module1SystemTest, TheDesktopFolderInWindowsForm) {
    platform::system::MemoryRegistryStore store;
    platform::NullUi ui;
    Module1 module(store, ui);
    const std::string desktop = module.GetSpecialFolderPath(16);
    EXPECT_EQ(desktop.rfind("Z:\\", 0), 0u) << desktop;  // "Z:" stands for "/" here
    EXPECT_EQ(desktop.back(), '\\');
    EXPECT_EQ(module.GetSpecialFolderPath(8), "");
}

}  // namespace
