// The interval dialog of automatic browsing: a slider of 13 positions, each
// labelled with its interval in seconds (0.5 to 6.5). OK hands the chosen
// interval to the main window (b_interval = the slider's value / 2); Cancel
// and the close box hand nothing back.
#pragma once

#include <array>

#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

class Form1;

class Dialog2 : public platform::Form {
  public:
    explicit Dialog2(Form1& main);

    platform::Slider Slider1{*this, "Slider1"};
    platform::Label Label1{*this, "Label1"};
    platform::Label Label2{*this, "Label2"};
    platform::Label Label3{*this, "Label3"};
    platform::Label Label4{*this, "Label4"};
    platform::Label Label5{*this, "Label5"};
    platform::Label Label6{*this, "Label6"};
    platform::Label Label7{*this, "Label7"};
    platform::Label Label8{*this, "Label8"};
    platform::Label Label9{*this, "Label9"};
    platform::Label Label10{*this, "Label10"};
    platform::Label Label11{*this, "Label11"};
    platform::Label Label12{*this, "Label12"};
    platform::Label Label13{*this, "Label13"};
    platform::CommandButton OKButton{*this, "OKButton"};          // "确定"
    platform::CommandButton CancelButton{*this, "CancelButton"};  // "取消"

    void OKButton_Click();
    void CancelButton_Click();

    // The slider's range, and its position when the dialog opens (1.0 s).
    static constexpr int SliderMin = 1;
    static constexpr int SliderMax = 13;
    static constexpr int SliderStart = 2;

  private:
    std::array<platform::Label*, 13> labels();

    Form1& main_;
};
