// Views of the plain controls: text and combo boxes, labels, check boxes,
// option buttons, frames, command buttons, the progress bar and the slider.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextBlock>
#include <cmath>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "platform/controls/simple_controls.h"

namespace gui {

namespace {

// The UTF-16 offset of a character position (code points) in s.
int utf16Offset(const QString& s, int chars) {
    int offset = 0;
    for (int i = 0; i < chars && offset < s.size(); ++i) offset += s.at(offset).isHighSurrogate() ? 2 : 1;
    return offset;
}

void setForeground(QWidget* w, platform::Color c, QPalette::ColorRole role = QPalette::WindowText) {
    QPalette p = w->palette();
    const auto colour = qColor(c);
    p.setColor(role, colour ? *colour : QApplication::palette().color(role));
    w->setPalette(p);
}

// A label's caption as shown: "&&" is one "&", and a single "&" only marks
// the key letter after it.
QString labelText(std::string_view caption) {
    const QString c = toQ(caption);
    QString shown;
    shown.reserve(c.size());
    for (qsizetype i = 0; i < c.size(); ++i) {
        if (c[i] == QChar('&') && i + 1 < c.size()) ++i;
        else if (c[i] == QChar('&')) continue;
        shown += c[i];
    }
    return shown;
}

}  // namespace

// ---- TextBox ----

class TextBoxView : public ControlView {
public:
    TextBoxView(platform::TextBox& m, FormView& f) : ControlView(m, f), m_(m) { build(); }

protected:
    void apply() override {
        if (m_.multiLine() != (plain_ != nullptr)) build();
        if (plain_) plain_->setReadOnly(m_.locked());
        else line_->setReadOnly(m_.locked());
        const QString text = m_.multiLine() ? toQLines(m_.text()) : toQ(m_.text());
        bool textSet = false;
        if (plain_) {
            plain_->setLineWrapMode(m_.scrollBars() & 1 ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
            plain_->setVerticalScrollBarPolicy(m_.scrollBars() & 2 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            plain_->setHorizontalScrollBarPolicy(m_.scrollBars() & 1 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            if (plain_->toPlainText() != text) {
                plain_->setPlainText(text);
                textSet = true;
            }
        } else {
            line_->setEchoMode(m_.passwordChar().empty() ? QLineEdit::Normal : QLineEdit::Password);
            if (line_->text() != text) {
                line_->setText(text);
                textSet = true;
            }
        }
        // The selection set by code (a typed text moves only the caret).
        const std::pair<int, int> sel{m_.selStart(), m_.selLength()};
        if (textSet || (sel != applied_ && !typing_)) {
            const int start = utf16Offset(text, sel.first);
            const int end = utf16Offset(text, sel.first + sel.second);
            if (plain_) {
                QTextCursor c = plain_->textCursor();
                c.setPosition(start);
                c.setPosition(end, QTextCursor::KeepAnchor);
                plain_->setTextCursor(c);
            } else {
                line_->setSelection(start, end - start);
                if (end == start) line_->setCursorPosition(start);
            }
        }
        applied_ = sel;
    }

private:
    void build() {
        plain_ = nullptr;
        line_ = nullptr;
        if (m_.multiLine()) {
            plain_ = new QPlainTextEdit;
            plain_->setTabChangesFocus(true);
            QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_, [this] {
                type(fromQLines(plain_->toPlainText()));
            });
            setWidget(plain_);
        } else {
            line_ = new QLineEdit;
            QObject::connect(line_, &QLineEdit::textEdited, line_, [this](const QString& t) { type(fromQ(t)); });
            setWidget(line_);
        }
    }
    void type(std::string text) {
        typing_ = true;
        platform::TextBox& m = m_;
        gesture([&m, &text] { m.userType(std::move(text)); });
        typing_ = false;
    }

    platform::TextBox& m_;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    std::pair<int, int> applied_{-1, -1};
    bool typing_ = false;
};

// ---- ComboBox ----

class ComboBoxView : public ControlView {
public:
    ComboBoxView(platform::ComboBox& m, FormView& f) : ControlView(m, f), m_(m) {
        box_ = new QComboBox;
        box_->setInsertPolicy(QComboBox::NoInsert);
        box_->setMaxVisibleItems(12);
        QObject::connect(box_, &QComboBox::activated, box_, [this](int i) {
            platform::ComboBox& m = m_;
            gesture([&m, i] { m.userChoose(i); });
        });
        setWidget(box_);
    }

protected:
    void apply() override {
        const bool editable = m_.style() != 2;
        if (box_->isEditable() != editable) {
            box_->setEditable(editable);
            if (editable) {
                box_->setCompleter(nullptr);
                QObject::connect(box_->lineEdit(), &QLineEdit::textEdited, box_, [this](const QString& t) {
                    platform::ComboBox& m = m_;
                    std::string text = fromQ(t);
                    gesture([&m, &text] { m.userType(std::move(text)); });
                });
            }
        }
        if (m_.items() != items_) {
            items_ = m_.items();
            box_->clear();
            QStringList list;
            for (const std::string& s : items_) list << toQ(s);
            box_->addItems(list);
        }
        const QString text = toQ(m_.text());
        if (editable) {
            box_->setCurrentIndex(box_->findText(text, Qt::MatchExactly));
            if (box_->lineEdit()->text() != text) box_->lineEdit()->setText(text);
        } else {
            box_->setCurrentIndex(box_->findText(text, Qt::MatchExactly));
        }
    }

private:
    platform::ComboBox& m_;
    QComboBox* box_;
    std::vector<std::string> items_;
};

// ---- Label ----

// A label takes the mouse: a press captures it (Qt delivers moves and the
// release to the pressed widget), and the model's events get positions in
// twips relative to the label.
class LabelWidget : public QLabel {
public:
    std::function<void(QMouseEvent*, int kind)> onMouse;  // 0 down, 1 move, 2 up

protected:
    void mousePressEvent(QMouseEvent* e) override { onMouse(e, 0); }
    void mouseMoveEvent(QMouseEvent* e) override { onMouse(e, 1); }
    void mouseReleaseEvent(QMouseEvent* e) override { onMouse(e, 2); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { onMouse(e, 0); }
};

class LabelView : public ControlView {
public:
    LabelView(platform::Label& m, FormView& f) : ControlView(m, f), m_(m) {
        label_ = new LabelWidget;
        label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label_->setWordWrap(true);
        label_->setTextFormat(Qt::PlainText);
        label_->onMouse = [this](QMouseEvent* e, int kind) { mouse(e, kind); };
        setWidget(label_);
    }
    bool light() const override { return true; }

protected:
    void apply() override {
        label_->setText(labelText(m_.caption()));
        setForeground(label_, m_.foreColor());
        QFont f = label_->font();
        f.setUnderline(m_.fontUnderline());
        label_->setFont(f);
        label_->setMouseTracking(static_cast<bool>(m_.MouseMove));
    }

private:
    void mouse(QMouseEvent* e, int kind) {
        const double x = twips(e->position().x()), y = twips(e->position().y());
        const int shift = shiftState(e->modifiers());
        platform::Label& m = m_;
        if (kind == 0) {
            const int b = mouseButton(e->button());
            gesture([&] { m.userMouseDown(b, shift, x, y); });
        } else if (kind == 1) {
            const int b = mouseButtons(e->buttons());
            if (!b && !m.MouseMove) return;
            gesture([&] { m.userMouseMove(b, shift, x, y); });
        } else {
            const int b = mouseButton(e->button());
            gesture([&] { m.userMouseUp(b, shift, x, y); });
        }
    }

    platform::Label& m_;
    LabelWidget* label_;
};

// ---- CheckBox, OptionButton, Frame, CommandButton ----

class CheckBoxView : public ControlView {
public:
    CheckBoxView(platform::CheckBox& m, FormView& f) : ControlView(m, f), m_(m) {
        box_ = new QCheckBox;
        box_->setTristate(true);
        QObject::connect(box_, &QCheckBox::clicked, box_, [this] {
            platform::CheckBox& m = m_;
            gesture([&m] { m.userClick(); });
        });
        setWidget(box_);
    }

protected:
    void apply() override {
        box_->setText(toQ(m_.caption()));
        box_->setCheckState(m_.value() == 1 ? Qt::Checked : m_.value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }

private:
    platform::CheckBox& m_;
    QCheckBox* box_;
};

class OptionButtonView : public ControlView {
public:
    OptionButtonView(platform::OptionButton& m, FormView& f) : ControlView(m, f), m_(m) {
        button_ = new QRadioButton;
        button_->setAutoExclusive(false);  // the model keeps one of a group
        QObject::connect(button_, &QRadioButton::clicked, button_, [this] {
            platform::OptionButton& m = m_;
            gesture([&m] { m.userClick(); });
        });
        setWidget(button_);
    }

protected:
    void apply() override {
        button_->setText(toQ(m_.caption()));
        button_->setChecked(m_.value());
    }

private:
    platform::OptionButton& m_;
    QRadioButton* button_;
};

class FrameView : public ControlView {
public:
    FrameView(platform::Frame& m, FormView& f) : ControlView(m, f), m_(m) {
        box_ = new QGroupBox;
        setWidget(box_);
    }

protected:
    void apply() override { box_->setTitle(toQ(m_.caption())); }

private:
    platform::Frame& m_;
    QGroupBox* box_;
};

class CommandButtonView : public ControlView {
public:
    CommandButtonView(platform::CommandButton& m, FormView& f) : ControlView(m, f), m_(m) {
        button_ = new QPushButton;
        button_->setAutoDefault(false);  // Enter and Esc are the form's (dialogKey)
        QObject::connect(button_, &QPushButton::clicked, button_, [this] {
            platform::CommandButton& m = m_;
            gesture([&m] { m.userClick(); });
        });
        setWidget(button_);
    }

protected:
    void apply() override {
        button_->setText(toQ(m_.caption()));
        // A graphical button shows its face colour.
        const auto colour = m_.graphical() ? qColor(m_.backColor()) : std::nullopt;
        if (colour)
            button_->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
                                       .arg(colour->name()));
        else
            button_->setStyleSheet(QString());
        QFont f = button_->font();
        f.setBold(m_.isDefault());
        button_->setFont(f);
    }

private:
    platform::CommandButton& m_;
    QPushButton* button_;
};

// ---- ProgressBar, Slider ----

class ProgressBarView : public ControlView {
public:
    ProgressBarView(platform::ProgressBar& m, FormView& f) : ControlView(m, f), m_(m) {
        bar_ = new QProgressBar;
        bar_->setTextVisible(false);
        setWidget(bar_);
    }
    bool light() const override { return true; }

protected:
    void apply() override {
        // Single-precision values, shown in hundredths.
        bar_->setRange(static_cast<int>(std::lround(m_.min() * 100)), static_cast<int>(std::lround(m_.max() * 100)));
        bar_->setValue(static_cast<int>(std::lround(m_.value() * 100)));
    }

private:
    platform::ProgressBar& m_;
    QProgressBar* bar_;
};

class SliderView : public ControlView {
public:
    SliderView(platform::Slider& m, FormView& f) : ControlView(m, f), m_(m) {
        slider_ = new QSlider(Qt::Horizontal);
        slider_->setTickPosition(QSlider::TicksBelow);
        slider_->setTickInterval(1);
        slider_->setPageStep(1);
        QObject::connect(slider_, &QSlider::valueChanged, slider_, [this](int v) {
            platform::Slider& m = m_;
            gesture([&m, v] { m.userSetValue(v); });
        });
        setWidget(slider_);
    }

protected:
    void apply() override {
        slider_->setRange(m_.min(), m_.max());
        slider_->setValue(m_.value());
    }

private:
    platform::Slider& m_;
    QSlider* slider_;
};

void addBasicViews(ViewFactory& f) {
    f.add("TextBox", makerOf<TextBoxView, platform::TextBox>());
    f.add("ComboBox", makerOf<ComboBoxView, platform::ComboBox>());
    f.add("Label", makerOf<LabelView, platform::Label>());
    f.add("CheckBox", makerOf<CheckBoxView, platform::CheckBox>());
    f.add("OptionButton", makerOf<OptionButtonView, platform::OptionButton>());
    f.add("Frame", makerOf<FrameView, platform::Frame>());
    f.add("CommandButton", makerOf<CommandButtonView, platform::CommandButton>());
    f.add("ProgressBar", makerOf<ProgressBarView, platform::ProgressBar>());
    f.add("Slider", makerOf<SliderView, platform::Slider>());
}

}  // namespace gui
