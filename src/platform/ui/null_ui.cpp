#include "platform/controls/form.h"
#include "platform/ui/ui.h"

namespace platform {

int NullUi::msgBox(std::string_view, MsgButtons buttons, std::string_view) {
    return cancelAnswer(buttons);
}

void NullUi::runModal(Form& form) {
    if (form.loaded()) form.userClose();
    if (form.loaded()) form.unload();
}

}  // namespace platform
