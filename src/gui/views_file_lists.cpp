// Views of the drive, folder and file list boxes (the folder chooser shows
// a drive list and a folder list; the main window's are hidden).
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/icons.h"
#include "gui/qt_convert.h"
#include "platform/controls/file_lists.h"
#include "platform/error.h"
#include "platform/files/drives.h"
#include "platform/text/text.h"

namespace gui {

namespace {

// What a list box lists; nothing when its folder or drive cannot be read.
template <class F>
std::vector<std::string> listed(F&& list) {
    try {
        return list();
    } catch (const platform::Error&) {
        return {};
    }
}

// The picture of a drive list entry ("e: [DATA]") by the drive's type.
QIcon driveIcon(const std::string& entry) {
    const bool cd = platform::files::driveType(platform::text::left(entry, 2)) ==
                    platform::files::drive_type::CdRom;
    return icon(cd ? "drivecd" : "drivefixed");
}

}  // namespace

class DriveListBoxView : public ControlView {
  public:
    DriveListBoxView(platform::DriveListBox& m, FormView& f) : ControlView(m, f), m_(m) {
        box_ = new QComboBox;
        QObject::connect(box_, &QComboBox::activated, box_, [this](int i) {
            if (i < 0 || i >= static_cast<int>(entries_.size())) return;
            platform::DriveListBox& m = m_;
            const std::string drive = entries_[static_cast<std::size_t>(i)];
            gesture([&m, &drive] { m.userChoose(drive); });
        });
        setWidget(box_);
    }

  protected:
    void apply() override {
        std::vector<std::string> entries = listed([&] { return m_.list(); });
        if (entries != entries_) {
            entries_ = std::move(entries);
            box_->clear();
            for (const std::string& e : entries_) box_->addItem(driveIcon(e), toQ(e));
        }
        int current = -1;
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (platform::text::startsWith(platform::text::lcase(entries_[i]), m_.drive()))
                current = static_cast<int>(i);
        box_->setCurrentIndex(current);
    }

  private:
    platform::DriveListBox& m_;
    QComboBox* box_;
    std::vector<std::string> entries_;
};

// The folder list: the open folders from the drive root down to the current
// one, then the current folder's subfolders; a double click opens one.
class DirListBoxView : public ControlView {
  public:
    DirListBoxView(platform::DirListBox& m, FormView& f) : ControlView(m, f), m_(m) {
        list_ = new QListWidget;
        list_->setSelectionMode(QAbstractItemView::SingleSelection);
        list_->setIconSize(QSize(16, 16));
        QObject::connect(list_, &QListWidget::itemDoubleClicked, list_,
                         [this](QListWidgetItem* item) {
                             platform::DirListBox& m = m_;
                             const std::string path = fromQ(item->data(Qt::UserRole).toString());
                             gesture([&m, &path] { m.userOpen(path); });
                         });
        setWidget(list_);
    }

  protected:
    void apply() override {
        list_->clear();
        const std::string& path = m_.path();
        std::vector<std::string> parts = platform::text::split(path, "\\");
        if (!parts.empty() && parts.back().empty()) parts.pop_back();
        std::string full;
        int depth = 0;
        for (const std::string& part : parts) {
            full += part;
            full += '\\';
            const std::string shown = depth == 0 ? full : full.substr(0, full.size() - 1);
            add(depth == 0 ? full : part, shown, depth, "openedfolder");
            ++depth;
        }
        QListWidgetItem* current = list_->count() ? list_->item(list_->count() - 1) : nullptr;
        const std::string base = platform::text::endsWith(path, "\\") ? path : path + "\\";
        for (const std::string& sub : listed([&] { return m_.subFolders(); }))
            add(sub, base + sub, depth, "folder");
        if (current) list_->setCurrentItem(current);
    }

  private:
    void add(const std::string& name, const std::string& path, int depth, const char* picture) {
        auto* item = new QListWidgetItem(icon(picture), QString(depth * 2, ' ') + toQ(name), list_);
        item->setData(Qt::UserRole, toQ(path));
    }

    platform::DirListBox& m_;
    QListWidget* list_;
};

class FileListBoxView : public ControlView {
  public:
    FileListBoxView(platform::FileListBox& m, FormView& f) : ControlView(m, f), m_(m) {
        list_ = new QListWidget;
        setWidget(list_);
    }

  protected:
    void apply() override {
        list_->clear();
        for (const std::string& name : listed([&] { return m_.items(); }))
            list_->addItem(toQ(name));
    }

  private:
    platform::FileListBox& m_;
    QListWidget* list_;
};

void addFileListViews(ViewFactory& f) {
    f.add("DriveListBox", makerOf<DriveListBoxView, platform::DriveListBox>());
    f.add("DirListBox", makerOf<DirListBoxView, platform::DirListBox>());
    f.add("FileListBox", makerOf<FileListBoxView, platform::FileListBox>());
}

}  // namespace gui
