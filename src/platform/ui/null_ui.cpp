#include "platform/controls/form.h"
#include "platform/ui/ui.h"

namespace platform {

int NullUi::msgBox(std::string_view, MsgButtons buttons, std::string_view) {
    switch (buttons) {
        case MsgButtons::OKCancel: return MsgCancel;
        case MsgButtons::YesNo: return MsgNo;
        case MsgButtons::OK: break;
    }
    return MsgOK;
}

void NullUi::runModal(Form& form) {
    if (form.loaded()) form.userClose();
    if (form.loaded()) form.unload();
}

}  // namespace platform
