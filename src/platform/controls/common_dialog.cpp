#include "platform/controls/common_dialog.h"

#include "platform/controls/form.h"
#include "platform/ui/ui.h"

namespace platform {

CommonDialog::CommonDialog(Form& owner, std::string name) : Control(owner, std::move(name)) {
    setVisible(false);
}

void CommonDialog::setFileName(std::string v) { setField(s_.fileName, std::move(v)); }
void CommonDialog::setFileTitle(std::string v) { setField(s_.fileTitle, std::move(v)); }
void CommonDialog::setFilter(std::string v) { setField(s_.filter, std::move(v)); }
void CommonDialog::setInitDir(std::string v) { setField(s_.initDir, std::move(v)); }
void CommonDialog::setDialogTitle(std::string v) { setField(s_.dialogTitle, std::move(v)); }
void CommonDialog::setDefaultExt(std::string v) { setField(s_.defaultExt, std::move(v)); }
void CommonDialog::setFlags(long v) { setField(s_.flags, v); }
void CommonDialog::setColor(Color v) { setField(s_.color, v); }

template <class Show>
bool CommonDialog::run(Show show) {
    const Settings before = s_;
    if (show(form().ui())) return true;
    if (!(s_ == before)) {
        s_ = before;
        changed();
    }
    return false;
}

bool CommonDialog::showOpen() {
    return run([this](Ui& ui) { return ui.showOpen(*this); });
}

bool CommonDialog::showSave() {
    return run([this](Ui& ui) { return ui.showSave(*this); });
}

bool CommonDialog::showColor() {
    return run([this](Ui& ui) { return ui.showColor(*this); });
}

}  // namespace platform
