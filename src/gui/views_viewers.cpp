// Views of the preview pane's viewers: the picture box (Qt's image readers),
// the media player (the video of a video file, the name of a sound file, with
// its own play, stop and position controls; the playing is the media engine's) and the Flash player
// (a panel naming the movie: no Flash player exists on this platform). The web browser is in
// web_view.cpp.
#include <QBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

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

// The position bar's look with one change: a press of the left button puts
// the handle where it was pressed (and a drag goes on from there) instead
// of moving it a page towards the press.
class PositionBarStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton | Qt::MiddleButton;
        return QProxyStyle::styleHint(hint, opt, w, ret);
    }
};

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

// The media player shows its own controls below the picture, as the media
// control does: play or pause, stop (back to the start) and a position bar
// with the time played and the file's length. They act on the player's model
// as the program's own calls do; the bar follows the playing four times a
// second while a file is loaded. The video widget is made for the first
// video shown: Qt Multimedia is loaded only when the program first plays
// something.
class MediaPlayerView : public ControlView {
  public:
    MediaPlayerView(platform::MediaPlayer& m, FormView& f) : ControlView(m, f), m_(m) {
        auto* box = new QWidget;
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        stack_ = new QStackedWidget;
        label_ = panel();
        QPalette p = label_->palette();
        p.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        p.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
        label_->setPalette(p);
        stack_->addWidget(label_);
        column->addWidget(stack_, 1);

        auto* bar = new QWidget;
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(2, 2, 4, 2);
        row->setSpacing(2);
        play_ = new QToolButton;
        stop_ = new QToolButton;
        stop_->setIcon(box->style()->standardIcon(QStyle::SP_MediaStop));
        stop_->setToolTip(QStringLiteral("停止"));
        position_ = new QSlider(Qt::Horizontal);
        position_->setFocusPolicy(Qt::NoFocus);
        auto* barStyle = new PositionBarStyle;
        barStyle->setParent(position_);
        position_->setStyle(barStyle);
        time_ = new QLabel;
        row->addWidget(play_);
        row->addWidget(stop_);
        row->addWidget(position_, 1);
        row->addWidget(time_);
        column->addWidget(bar);

        QObject::connect(play_, &QToolButton::clicked, box, [this] {
            platform::MediaPlayer& m = m_;
            gesture([&m] {
                if (m.playState() == platform::MediaState::Playing)
                    m.pause();
                else
                    m.play();
            });
        });
        QObject::connect(stop_, &QToolButton::clicked, box, [this] {
            platform::MediaPlayer& m = m_;
            gesture([&m] {
                m.stop();
                m.setCurrentPosition(0);
            });
        });
        // A click on the bar goes to the place clicked at once; a drag goes
        // to the place where the bar is let go.
        QObject::connect(position_, &QSlider::sliderReleased, box, [this] { seek(); });
        QObject::connect(position_, &QSlider::valueChanged, box, [this] {
            if (!position_->isSliderDown()) seek();
        });
        follow_ = new QTimer(box);
        follow_->setInterval(250);
        QObject::connect(follow_, &QTimer::timeout, box, [this] {
            if (widget() && widget()->isVisible()) showPosition();
        });
        setWidget(box);
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
        if (m_.fileName().empty())
            follow_->stop();
        else if (!follow_->isActive())
            follow_->start();
        showPosition();
    }

  private:
    // The controls as the player stands: its state, position and length.
    void showPosition() {
        const bool loaded = !m_.fileName().empty();
        const bool playing = loaded && m_.playState() == platform::MediaState::Playing;
        play_->setIcon(
            play_->style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
        play_->setToolTip(playing ? QStringLiteral("暂停") : QStringLiteral("播放"));
        for (QWidget* w : {static_cast<QWidget*>(play_), static_cast<QWidget*>(stop_),
                           static_cast<QWidget*>(position_)})
            w->setEnabled(loaded);
        const double length = loaded ? m_.duration() : 0;
        const double at = loaded ? std::min(m_.currentPosition(), length > 0 ? length : 1e9) : 0;
        time_->setText(timeText(at) + QStringLiteral(" / ") + timeText(length));
        if (position_->isSliderDown()) return;
        QSignalBlocker quiet(position_);
        position_->setRange(0, static_cast<int>(std::lround(length * 1000)));
        position_->setSingleStep(1000);
        position_->setPageStep(std::max(1000, position_->maximum() / 10));
        position_->setValue(static_cast<int>(std::lround(at * 1000)));
    }

    void seek() {
        platform::MediaPlayer& m = m_;
        const double to = position_->value() / 1000.0;
        gesture([&m, to] { m.setCurrentPosition(to); });
    }

    // "m:ss" (whole seconds).
    static QString timeText(double seconds) {
        const auto s = static_cast<long long>(std::max(0.0, seconds));
        return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
    }

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
    QToolButton* play_;
    QToolButton* stop_;
    QSlider* position_;
    QLabel* time_;
    QTimer* follow_;
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
