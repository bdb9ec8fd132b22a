// The log-in dialog in set mode (from the menu) and the round-trip rule for
// new passwords. Log-in mode is driven through start-up in form1_startup_test.cpp.
#include "mainwindow/password_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/text.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* Refused = "无效的密码，请重试!";
constexpr const char* TakesEffect = "若想设置生效，请重新打开程序！";

std::string setting(Harness& h, const char* name) {
    return h.form.module1().GetRegValue(SettingsKey, name);
}

TEST(PasswordRule, OnlyTextsThatReadBackUnchanged) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", true},
        {"Abc 1 ", true},  // trailing blanks are kept by a read
        {"密码", true},
        {std::string(254, 'x'), true},
        {std::string(255, 'x'), false},
        {" abc", false},              // a read drops leading blanks
        {"\xF0\x9F\x98\x80", false},  // not in code page 936
        {std::string("a\0b", 3), false},
        {"Error", false},  // indistinguishable from a failed read
        {"error", true},
    };
    for (const auto& [typed, ok] : cases) EXPECT_EQ(passwordSurvivesStore(typed), ok) << typed;
    EXPECT_TRUE(passwordSurvivesStore(std::string(250, 'x') + "密码"));   // 254 bytes
    EXPECT_FALSE(passwordSurvivesStore(std::string(251, 'x') + "密码"));  // 255 bytes
}

TEST(SetPassword, StoresThePasswordAndSwitchesTheLogInOn) {
    Harness h;
    h.start();
    h.ui.onModal<password>([&h](password& d) {
        EXPECT_EQ(d.caption(), "登录");
        EXPECT_FALSE(d.Check1.visible());
        EXPECT_EQ(d.txtPassword.passwordChar(), "*");
        d.txtPassword.userType("密码Abc");
        h.ui.answerMsgBox(platform::MsgOK, TakesEffect);
        d.cmdOK.userClick();
        EXPECT_FALSE(d.loaded());
    });
    h.form.setpassword.userClick();
    EXPECT_TRUE(h.form.Set_Password);
    EXPECT_TRUE(h.form.Have_Password);
    EXPECT_EQ(setting(h, "Password"), "密码Abc");
    EXPECT_EQ(setting(h, "have_password"), "true");
}

TEST(SetPassword, EmptyPasswordCanBeSetAndUsed) {
    Harness h;
    h.start();
    h.ui.onModal<password>([&h](password& d) {
        h.ui.answerMsgBox(platform::MsgOK, TakesEffect);
        d.cmdOK.userClick();
    });
    h.form.setpassword.userClick();
    EXPECT_EQ(setting(h, "Password"), "");

    // The next start asks for it; an empty entry logs in.
    Harness next;
    next.form.module1().CreateRegKey(SettingsKey);
    next.form.module1().SetRegValue(SettingsKey, "have_password", setting(h, "have_password"));
    next.form.module1().SetRegValue(SettingsKey, "Password", setting(h, "Password"));
    next.ui.onModal<password>([](password& d) { d.cmdOK.userClick(); });
    next.start();
    EXPECT_TRUE(next.form.visible());
}

TEST(SetPassword, RefusesAPasswordThatCouldNeverBeTyped) {
    Harness h;
    h.start();
    h.ui.onModal<password>([&h](password& d) {
        for (const std::string& bad :
             {std::string(" lead"), std::string(255, 'x'), std::string("\xF0\x9F\x98\x80")}) {
            d.txtPassword.userType(bad);
            h.ui.answerMsgBox(platform::MsgOK, Refused);
            d.cmdOK.userClick();
            EXPECT_TRUE(d.loaded());
            EXPECT_EQ(d.txtPassword.selStart(), 0);
            EXPECT_EQ(d.txtPassword.selLength(), static_cast<int>(platform::text::len(bad)));
        }
        d.cmdCancel.userClick();
    });
    h.form.setpassword.userClick();
    EXPECT_EQ(h.ui.log().back().title, "登录");
    // Nothing stored; Cancel leaves its verdict.
    EXPECT_EQ(setting(h, "Password"), "Error");
    EXPECT_EQ(setting(h, "have_password"), "Error");
    EXPECT_EQ(h.form.LoginSucceeded, false);
}

TEST(LogIn, UnreadableStoredPasswordMatchesNothing) {
    Harness h;
    h.form.module1().CreateRegKey(SettingsKey);
    h.form.module1().SetRegValue(SettingsKey, "have_password", "true");
    h.ui.onModal<password>([&h](password& d) {
        for (const char* typed : {"Error", ""}) {
            d.txtPassword.userType(typed);
            h.ui.answerMsgBox(platform::MsgOK, Refused);
            d.cmdOK.userClick();
        }
        d.cmdCancel.userClick();
    });
    h.start();
    EXPECT_FALSE(h.form.loaded());
}

}  // namespace
