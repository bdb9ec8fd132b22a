#include "mainwindow/password_dialog.h"

#include "mainwindow/form1.h"
#include "mainwindow/module1.h"
#include "platform/controls/design_table.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace text = platform::text;

namespace {
constexpr std::string_view Title = "登录";
}  // namespace

bool passwordSurvivesStore(std::string_view typed) {
    if (!text::isValidUtf8(typed)) return false;
    if (typed == "Error") return false;
    if (typed.find('\0') != std::string_view::npos) return false;
    if (text::ltrim(typed) != typed) return false;
    if (text::cp936Length(typed) > MaxRegValueBytes) return false;
    // Characters outside code page 936 take four bytes in GB18030.
    for (std::size_t pos = 1, n = text::len(typed); pos <= n; ++pos)
        if (text::cp936Length(text::mid(typed, pos, 1)) > 2) return false;
    return true;
}

password::password(Form1& main) : Form(main.services(), "password"), main_(main) {
    setCaption(std::string(Title));
    setInnerSize(3750, 1545);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::CenterScreen);

    platform::applyDesign({
        {lblLabels1, "密码(&P):", 105, 540, 1080, 270},
        {txtPassword, "", 1050, 525, 2565, 345},
        {cmdOK, "确定", 1200, 1020, 1140, 390},
        {cmdCancel, "取消", 2520, 1020, 1140, 390},
        {lblLabels0, "欢迎使用Zelbrin!", 840, 120, 2160, 270},
        {Check1, "下次不出此框", 120, 1080, 975, 375},
    });
    txtPassword.setPasswordChar("*");
    cmdOK.setDefault(true);
    cmdCancel.setCancel(true);

    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void password::Form_Load() {
    if (main_.Set_Password) Check1.setVisible(false);
    txtPassword.setFocus();
}

void password::writeSetting(std::string_view name, std::string_view value) {
    Module1& m = main_.module1();
    if (m.GetRegValue(SettingsKey, name) == "Error") m.CreateRegKey(SettingsKey);
    m.SetRegValue(SettingsKey, name, value);
}

void password::refuse() {
    ui().msgBox("无效的密码，请重试!", platform::MsgButtons::OK, Title);
    txtPassword.setFocus();
    txtPassword.setSelStart(0);
    txtPassword.setSelLength(static_cast<int>(text::len(txtPassword.text())));
}

void password::cmdOK_Click() {
    const std::string typed = txtPassword.text();
    if (main_.Set_Password) {
        // A password that would read back changed could never be typed again.
        if (!passwordSurvivesStore(typed)) {
            refuse();
            return;
        }
        writeSetting("Password", typed);
        main_.Have_Password = true;
        writeSetting("have_password", "true");
        ui().msgBox("若想设置生效，请重新打开程序！", platform::MsgButtons::OK, "提示");
        unload();
        return;
    }
    // A stored password that cannot be read ("Error") matches nothing.
    const std::string stored = main_.module1().GetRegValue(SettingsKey, "Password");
    if (stored == "Error" || stored != typed) {
        refuse();
        return;
    }
    main_.LoginSucceeded = true;
    if (Check1.value() == 1) {
        main_.Have_Password = false;
        writeSetting("have_password", "false");
    }
    unload();
}

void password::cmdCancel_Click() {
    main_.LoginSucceeded = false;
    unload();
}
