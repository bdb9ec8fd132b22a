// Views of the preview pane's viewers: the picture box (Qt's image readers),
// the media player (the video of a video file, the name of a sound file; the
// playing is the media engine's) and the Flash player (a panel naming the
// movie: no Flash player exists on this platform). The web browser is in
// web_view.cpp.
#include <QLabel>
#include <QStackedWidget>
#include <algorithm>
#include <array>
#include <cctype>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/media_engine.h"
#include "gui/qt_convert.h"
#include "platform/controls/media_player.h"
#include "platform/controls/viewers.h"

namespace gui {

namespace {

// The media files that carry pictures, by extension.
bool isVideoPath(std::string_view path) {
    static const std::array<std::string_view, 7> video = {"avi", "wmv", "mpg", "mpeg",
                                                          "mov", "asf", "dat"};
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    std::string ext(path.substr(dot + 1));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(video.begin(), video.end(), ext) != video.end();
}

// A plain panel with a centred line of text.
QLabel* panel() {
    auto* l = new QLabel;
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

}  // namespace

// ---- PictureBox ----

class PictureBoxView : public ControlView {
  public:
    PictureBoxView(platform::PictureBox& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = new QLabel;
        label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        setWidget(label_);
    }

  protected:
    void apply() override {
        if (m_.picture() == shown_) return;
        shown_ = m_.picture();
        label_->clear();
        if (shown_.empty()) return;
        // At its own size from the top left corner, read by Qt's image
        // readers (the first picture of an icon file); what they cannot read
        // (a metafile, a broken file) leaves the box empty.
        QPixmap pm;
        const std::string native = nativePathOf(shown_);
        if (!native.empty() && pm.load(toQ(native))) label_->setPixmap(pm);
    }

  private:
    platform::PictureBox& m_;
    QLabel* label_;
    std::string shown_;
};

// ---- MediaPlayer and FlashPlayer ----

// The video widget is made for the first video shown: Qt Multimedia is
// loaded only when the program first plays something.
class MediaPlayerView : public ControlView {
  public:
    MediaPlayerView(platform::MediaPlayer& m, FormView& f) : ControlView(m, f), m_(m) {
        stack_ = new QStackedWidget;
        label_ = panel();
        QPalette p = label_->palette();
        p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        p.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
        label_->setPalette(p);
        stack_->addWidget(label_);
        setWidget(stack_);
    }
    ~MediaPlayerView() override {
        if (!video_) return;
        auto* engine = dynamic_cast<QtMediaEngine*>(&m_.engine());
        if (engine && engine->videoOutput() == video_) engine->setVideoOutput(nullptr);
    }

  protected:
    void apply() override {
        label_->setText(toQ(lastNameOf(m_.fileName())));
        QWidget* shown = label_;
        if (isVideoPath(m_.fileName()) && videoWidget()) {
            // The pictures go to the player's engine (one given later too).
            auto* engine = dynamic_cast<QtMediaEngine*>(&m_.engine());
            if (engine && engine->videoOutput() != video_) engine->setVideoOutput(video_);
            shown = video_;
        }
        stack_->setCurrentWidget(shown);
    }

  private:
    // The video widget, made at the first call; nullptr without the engines.
    QWidget* videoWidget() {
        if (!video_)
            if (engines::Engines* e = engines::engines()) {
                video_ = e->makeVideoWidget();
                stack_->addWidget(video_);
            }
        return video_;
    }

    platform::MediaPlayer& m_;
    QStackedWidget* stack_;
    QLabel* label_;
    QWidget* video_ = nullptr;
};

class FlashPlayerView : public ControlView {
  public:
    FlashPlayerView(platform::FlashPlayer& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = panel();
        setWidget(label_);
    }

  protected:
    void apply() override { label_->setText(toQ(lastNameOf(m_.movie()))); }

  private:
    platform::FlashPlayer& m_;
    QLabel* label_;
};

void addViewerViews(ViewFactory& f) {
    addWebBrowserView(f);
    f.add("PictureBox", makerOf<PictureBoxView, platform::PictureBox>());
    f.add("MediaPlayer", makerOf<MediaPlayerView, platform::MediaPlayer>());
    f.add("FlashPlayer", makerOf<FlashPlayerView, platform::FlashPlayer>());
}

}  // namespace gui
