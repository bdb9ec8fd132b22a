// The small rules of start-up (the Form1 procedures are in form1_startup.cpp).
#include "mainwindow/startup.h"

#include <cmath>
#include <string>

#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace text = platform::text;

namespace startup {

platform::Color mirrorColour(std::string_view stored) {
    const std::string_view number =
        (stored == "Error" || stored.empty()) ? std::string_view("12") : stored;
    const double n = std::nearbyint(text::val(number));
    // Only the 16 palette colours: any other number would take the colour of
    // ordinary rows (black) or one nobody chose.
    if (!(n >= 0 && n <= 15)) return platform::qbColor(12);
    return platform::qbColor(static_cast<int>(n));
}

std::string rootOfFirstCharacter(std::string_view text) { return text::left(text, 1) + ":\\"; }

std::string sendToCaption(std::string_view setting) {
    return text::trim(setting).empty() ? std::string("你的文件夹") : std::string(setting);
}

std::string unreadableFileMessage(std::string_view file, std::string_view reason) {
    std::string message = "无法读取文件“";
    message.append(file).append("”：").append(reason).append("。\r\n");
    message += "程序将不使用这个文件继续运行，也不会覆盖它。";
    return message;
}

void reportUnreadableFile(platform::Ui& ui, std::string_view file, std::string_view reason) {
    ui.msgBox(unreadableFileMessage(file, reason), platform::MsgButtons::OK, "提示");
}

}  // namespace startup
