#include "preview/interval_dialog.h"

#include <cstddef>
#include <string>

#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"

namespace {

// The labels under the slider's positions: 375 twips square, from left 240
// in steps of 480.
constexpr double LabelLeft = 240;
constexpr double LabelStep = 480;
constexpr double LabelTop = 720;
constexpr double LabelSize = 375;

}  // namespace

Dialog2::Dialog2(Form1& main) : Form(main.services(), "Dialog2"), main_(main) {
    setCaption("请选择自动浏览的间隔时间(秒)");
    setInnerSize(6585, 1725);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::CenterScreen);

    Slider1.move(120, 120, 6256, 600);
    Slider1.setMin(SliderMin);
    Slider1.setMax(SliderMax);
    Slider1.setValue(SliderStart);
    const std::array<platform::Label*, 13> all = labels();
    for (std::size_t k = 0; k < all.size(); ++k) {
        // "0.5", "1.0", ... "6.5"
        const int halves = static_cast<int>(k) + 1;
        all[k]->setCaption(std::to_string(halves / 2) + (halves % 2 ? ".5" : ".0"));
        all[k]->move(LabelLeft + LabelStep * static_cast<double>(k), LabelTop, LabelSize,
                     LabelSize);
    }
    platform::applyDesign({
        {OKButton, "确定", 3600, 1200, 1215, 375},
        {CancelButton, "取消", 5040, 1200, 1215, 375},
    });
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

std::array<platform::Label*, 13> Dialog2::labels() {
    return {&Label1, &Label2, &Label3,  &Label4,  &Label5,  &Label6, &Label7,
            &Label8, &Label9, &Label10, &Label11, &Label12, &Label13};
}

void Dialog2::OKButton_Click() {
    main_.b_interval = Slider1.value() / 2.0;
    unload();
}

void Dialog2::CancelButton_Click() { unload(); }
