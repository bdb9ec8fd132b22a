// The log-in dialog "登录": at start it asks for the password (log-in mode);
// from the menu it stores a new one (set mode, Form1::Set_Password true).
// The password and the switch "have_password" are values of the settings key.
// The dialog hands its verdict back in Form1::LoginSucceeded; its close box
// only closes it, leaving the verdict unset (start-up takes that as a refusal).
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

// True when a password typed in set mode reads back unchanged from the
// settings key: no leading blank (a read drops them), at most 254 bytes in
// code page 936, and only characters code page 936 has. "Error" is refused
// too: it reads back as a failed read, which matches no typed text.
bool passwordSurvivesStore(std::string_view typed);

class password : public platform::Form {
  public:
    explicit password(Form1& main);

    platform::Label lblLabels1{*this, "lblLabels(1)"};  // "密码(&P):"
    platform::TextBox txtPassword{*this, "txtPassword"};
    platform::CommandButton cmdOK{*this, "cmdOK"};
    platform::CommandButton cmdCancel{*this, "cmdCancel"};
    platform::Label lblLabels0{*this, "lblLabels(0)"};  // "欢迎使用Zelbrin!"
    platform::CheckBox Check1{*this, "Check1"};

    void cmdOK_Click();
    void cmdCancel_Click();

  protected:
    void Form_Load() override;

  private:
    // Writes a value of the settings key, creating the key first when a read
    // of the value fails.
    void writeSetting(std::string_view name, std::string_view value);
    // "无效的密码，请重试!" and the whole typed text selected for another try.
    void refuse();

    Form1& main_;
};
