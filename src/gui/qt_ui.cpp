#include "gui/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>

#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/qt_convert.h"
#include "platform/controls/common_dialog.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/viewers.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"

namespace gui {

namespace {

const QString OkText = QStringLiteral("确定");
const QString CancelText = QStringLiteral("取消");
const QString YesText = QStringLiteral("是");
const QString NoText = QStringLiteral("否");

QString titleOr(std::string_view title, std::string_view fallback) {
    return toQ(title.empty() ? fallback : title);
}

std::string folderOf(std::string_view path) {
    const std::size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

// The file dialog's listing with its size and date columns written in Qt's
// default locale (Chinese), as the rest of the dialog is: Qt's file system
// model writes them in the system's locale ("10 bytes", "11 Dec 2026").
class LocaleColumns : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        // A folder or a drive has no size: the model's own empty text stays.
        if (index.column() == 1)
            return files->isDir(source)
                       ? QIdentityProxyModel::data(index, role)
                       : QVariant(QLocale().formattedDataSize(files->size(source)));
        const QDateTime modified = files->lastModified(source);
        return modified.isValid() ? QVariant(QLocale().toString(modified, QLocale::ShortFormat))
                                  : QIdentityProxyModel::data(index, role);
    }
};

// A file dialog's listing: sizes and dates in Chinese, and the size, type
// and date columns as wide as what they show, so that no type or date is
// cut; the name column keeps the rest.
void prepareDetails(QFileDialog& dlg) {
    dlg.setProxyModel(new LocaleColumns(&dlg));
    auto* details = dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details) return;
    QHeaderView* header = details->header();
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

}  // namespace

QtUi::QtUi(FrontEnd& frontEnd) : frontEnd_(frontEnd) {}

QtUi::~QtUi() {
    if (pointer_ != platform::PointerDefault) QApplication::restoreOverrideCursor();
}

QWidget* QtUi::owner() const {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    FormView* main = frontEnd_.mainView();
    return main && main->window()->isVisible() ? main->window() : nullptr;
}

int QtUi::msgBox(std::string_view prompt, platform::MsgButtons buttons, std::string_view title) {
    frontEnd_.syncAll();
    QMessageBox box(owner());
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(titleOr(title, platform::DefaultMsgTitle));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQLines(prompt));
    // The buttons keep the order given; Esc and the close box answer as
    // the box allows (a Yes/No box cannot be closed).
    struct Choice {
        QPushButton* button;
        int answer;
    };
    std::vector<Choice> choices;
    auto add = [&](const QString& text, int answer) {
        choices.push_back({box.addButton(text, QMessageBox::ActionRole), answer});
    };
    switch (buttons) {
        case platform::MsgButtons::OK:
            add(OkText, platform::MsgOK);
            box.setEscapeButton(choices[0].button);
            break;
        case platform::MsgButtons::OKCancel:
            add(OkText, platform::MsgOK);
            add(CancelText, platform::MsgCancel);
            box.setEscapeButton(choices[1].button);
            break;
        case platform::MsgButtons::YesNo:
        case platform::MsgButtons::YesNoDefaultNo:
            add(YesText, platform::MsgYes);
            add(NoText, platform::MsgNo);
            box.setWindowFlag(Qt::WindowCloseButtonHint, false);
            break;
    }
    box.setDefaultButton(choices[buttons == platform::MsgButtons::YesNoDefaultNo ? 1 : 0].button);
    platform::Dispatcher::ModalWait wait;
    box.exec();
    for (const Choice& c : choices)
        if (box.clickedButton() == c.button) return c.answer;
    return platform::cancelAnswer(buttons);
}

std::string QtUi::inputBox(std::string_view prompt, std::string_view title,
                           std::string_view defaultText) {
    frontEnd_.syncAll();
    QInputDialog dlg(owner());
    dlg.setWindowTitle(titleOr(title, platform::DefaultMsgTitle));
    dlg.setLabelText(toQLines(prompt));
    dlg.setTextValue(toQ(defaultText));
    dlg.setOkButtonText(OkText);
    dlg.setCancelButtonText(CancelText);
    dlg.setInputMode(QInputDialog::TextInput);
    platform::Dispatcher::ModalWait wait;
    if (dlg.exec() != QDialog::Accepted) return {};
    return fromQ(dlg.textValue());
}

QString QtUi::nameFilters(std::string_view filter) {
    if (filter.empty()) return {};
    const std::vector<std::string> parts = platform::text::split(filter, "|");
    if (parts.size() == 1) return toQ(platform::text::replace(parts[0], ";", " "));
    QStringList lines;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string patterns = platform::text::replace(parts[i + 1], ";", " ");
        lines << toQ(parts[i] + " (" + patterns + ")");
    }
    return lines.join(QStringLiteral(";;"));
}

bool QtUi::fileDialog(platform::CommonDialog& dialog, bool save) {
    frontEnd_.syncAll();
    QFileDialog dlg(owner(), titleOr(dialog.dialogTitle(), save ? "另存为" : "打开"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QString filters = nameFilters(dialog.filter());
    if (!filters.isEmpty()) dlg.setNameFilter(filters);
    if (!dialog.defaultExt().empty()) dlg.setDefaultSuffix(toQ(dialog.defaultExt()));
    std::string dir = nativePathOf(dialog.initDir());
    if (dir.empty()) dir = nativePathOf(folderOf(dialog.fileName()));
    if (!dir.empty()) dlg.setDirectory(toQ(dir));
    if (save && !dialog.fileName().empty()) dlg.selectFile(toQ(lastNameOf(dialog.fileName())));
    dlg.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存") : QStringLiteral("打开"));
    dlg.setLabelText(QFileDialog::Reject, CancelText);
    prepareDetails(dlg);
    platform::Dispatcher::ModalWait wait;
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    // A name that no drive holds raises the files layer's error.
    const std::string windows = platform::files::toWindows(fromQ(dlg.selectedFiles().first()));
    dialog.setFileName(windows);
    dialog.setFileTitle(std::string(lastNameOf(windows)));
    return true;
}

bool QtUi::showOpen(platform::CommonDialog& dialog) { return fileDialog(dialog, false); }

bool QtUi::showSave(platform::CommonDialog& dialog) { return fileDialog(dialog, true); }

bool QtUi::showColor(platform::CommonDialog& dialog) {
    frontEnd_.syncAll();
    const auto initial = qColor(dialog.color());
    QColorDialog dlg(initial ? *initial : QColor(Qt::black), owner());
    dlg.setOption(QColorDialog::DontUseNativeDialog);
    dlg.setWindowTitle(QStringLiteral("颜色"));
    platform::Dispatcher::ModalWait wait;
    if (dlg.exec() != QDialog::Accepted) return false;
    dialog.setColor(fromQColor(dlg.selectedColor()));
    return true;
}

std::string QtUi::browseForFolder(std::string_view title) {
    frontEnd_.syncAll();
    QFileDialog dlg(owner(), toQ(title));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setLabelText(QFileDialog::Accept, OkText);
    dlg.setLabelText(QFileDialog::Reject, CancelText);
    prepareDetails(dlg);
    platform::Dispatcher::ModalWait wait;
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return platform::files::toWindows(fromQ(dlg.selectedFiles().first()));
}

void QtUi::runModal(platform::Form& form) {
    frontEnd_.syncAll();
    if (!form.loaded()) return;
    FormView& view = frontEnd_.open(form, FrontEnd::WindowKind::Dialog);
    // The view goes however the showing ends, an escaping error included.
    struct CloseView {
        FrontEnd& frontEnd;
        const platform::Form& form;
        ~CloseView() { frontEnd.close(form); }
    } closeView{frontEnd_, form};
    QDialog* dlg = view.dialog();
    view.onUnloaded = [dlg] { dlg->done(0); };
    view.showWindow();
    if (!form.loaded()) return;
    // The ticks that waited may unload the form before it is shown.
    platform::Dispatcher::ModalWait wait;
    if (form.loaded()) dlg->exec();
}

// Every pop-up menu follows a click of the right button, so it opens where
// the pointer is: the place the program asks for was worked out for the
// design's window and would miss once the window is larger or moved.
platform::MenuItem* QtUi::popupMenu(platform::Form&, platform::MenuItem& menu, double, double) {
    frontEnd_.syncAll();
    QMenu m(owner());
    fillMenu(&m, menu);
    if (m.actions().isEmpty()) return nullptr;
    const QPoint at = QCursor::pos();
    platform::Dispatcher::ModalWait wait;
    return itemOf(m.exec(at));
}

void QtUi::setMousePointer(int pointer) {
    if (pointer == pointer_) return;
    const bool had = pointer_ != platform::PointerDefault;
    pointer_ = pointer;
    const Qt::CursorShape shape = pointerShape(pointer);
    if (pointer == platform::PointerDefault)
        QApplication::restoreOverrideCursor();
    else if (had)
        QApplication::changeOverrideCursor(QCursor(shape));
    else
        QApplication::setOverrideCursor(QCursor(shape));
}

void QtUi::flush() {
    if (frontEnd_.flushing()) return;
    frontEnd_.syncLight();
    // Paint what changed; no input and no timer tick runs meanwhile (this is
    // no modal wait: ticks are held while an event runs).
    frontEnd_.setFlushing(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    frontEnd_.setFlushing(false);
}

void QtUi::browserSaveAs(platform::WebBrowser& browser) {
    const std::string page = browser.locationPath();
    const std::string source = nativePathOf(page);
    if (source.empty()) return;
    frontEnd_.syncAll();
    QFileDialog dlg(owner(), QStringLiteral("保存网页"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.selectFile(toQ(lastNameOf(page)));
    dlg.setLabelText(QFileDialog::Accept, QStringLiteral("保存"));
    dlg.setLabelText(QFileDialog::Reject, CancelText);
    prepareDetails(dlg);
    {
        platform::Dispatcher::ModalWait wait;
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    }
    const std::string target = fromQ(dlg.selectedFiles().first());
    if (target == source) return;
    // The copy replaces a former file only once it is whole; a saved page
    // can be written to even when it came from a disc.
    // The copy is made beneath the chosen folder, from beneath the page's own.
    bool saved = false;
    try {
        namespace files = platform::files;
        const std::filesystem::path from(source), to(target);
        const files::ConfinedRoot sourceFolder =
            files::ConfinedRoot::openNative(from.parent_path().string());
        files::ConfinedRoot::openNative(to.parent_path().string())
            .copyInto(to.filename().string(), sourceFolder, from.filename().string(),
                      files::OnExisting::Replace, files::ReadOnlyToo::Yes);
        saved = true;
    } catch (const platform::Error&) {
    }
    if (!saved) msgBox("无法保存: " + target, platform::MsgButtons::OK, platform::DefaultMsgTitle);
}

}  // namespace gui
