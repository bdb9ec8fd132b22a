// The about box "关于": the program's name and version, and three web sites,
// each a caption and beside it a link label showing the site's address. A
// link is blue and underlined; once the mouse has passed over it, it stays
// red until the box is opened again. A click opens the address with the
// desktop's browser. "取消", Esc and the close box close the box; it hands
// nothing back.
#pragma once

#include <string_view>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

class about1 : public platform::Form {
  public:
    explicit about1(Form1& main);

    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"
    platform::Label Label1{*this, "Label1"};                      // the name and version
    platform::Label Label2{*this, "Label2"};                      // the author's site
    platform::Label Label7{*this, "Label7"};                      // its address, a link
    platform::Label Label3{*this, "Label3"};                      // a web directory
    platform::Label Label9{*this, "Label9"};                      // its address, a link
    platform::Label Label4{*this, "Label4"};                      // an e-book library
    platform::Label Label10{*this, "Label10"};                    // its address, a link

    void Label7_Click();
    void Label9_Click();
    void Label10_Click();
    void Label7_MouseMove();
    void Label9_MouseMove();
    void Label10_MouseMove();
    void CancelButton_Click();
    // Asks the shell to carry out the operation on the file or address.
    void RunShellExecute(std::string_view operation, std::string_view file,
                         std::string_view parameters, std::string_view directory, int showMode);

    static constexpr std::string_view Version = "Zelbrin18.0";
    // The links' colours: blue at rest, red once the mouse has been over them.
    static constexpr platform::Color LinkColor = 0xFF0000;   // RGB(0, 0, 255)
    static constexpr platform::Color HoverColor = 0x0000FF;  // RGB(255, 0, 0)

  protected:
    void Form_Load() override;

  private:
    Form1& main_;
};
