// Views of the plain controls: text and combo boxes, labels, check boxes,
// option buttons, frames, command buttons, the progress bar and the slider.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/qt_convert.h"
#include "platform/controls/form.h"
#include "platform/controls/simple_controls.h"

namespace gui {

namespace {

// The UTF-16 offset of a character position (code points) in s.
int utf16Offset(const QString& s, int chars) {
    int offset = 0;
    for (int i = 0; i < chars && offset < s.size(); ++i)
        offset += s.at(offset).isHighSurrogate() ? 2 : 1;
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
        if (c[i] == QChar('&') && i + 1 < c.size())
            ++i;
        else if (c[i] == QChar('&'))
            continue;
        shown += c[i];
    }
    return shown;
}

// The style of a password box: it echoes every character as the model's
// password character, at once.
class PasswordStyle : public QProxyStyle {
  public:
    explicit PasswordStyle(QChar echo) : echo_(echo) {}
    QChar echo() const { return echo_; }
    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return echo_.unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, opt, w, ret);
    }

  private:
    QChar echo_;
};

}  // namespace

// ---- TextBox ----

class TextBoxView : public ControlView {
  public:
    TextBoxView(platform::TextBox& m, FormView& f) : ControlView(m, f), m_(m) { build(); }

  protected:
    void apply() override {
        if (m_.multiLine() != (plain_ != nullptr)) build();
        if (plain_)
            plain_->setReadOnly(m_.locked());
        else
            line_->setReadOnly(m_.locked());
        const QString text = m_.multiLine() ? toQLines(m_.text()) : toQ(m_.text());
        bool textSet = false;
        if (plain_) {
            plain_->setLineWrapMode(m_.scrollBars() & 1 ? QPlainTextEdit::NoWrap
                                                        : QPlainTextEdit::WidgetWidth);
            plain_->setVerticalScrollBarPolicy(m_.scrollBars() & 2 ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
            plain_->setHorizontalScrollBarPolicy(m_.scrollBars() & 1 ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
            if (plain_->toPlainText() != text) {
                plain_->setPlainText(text);
                textSet = true;
            }
        } else {
            applyPasswordChar();
            if (line_->text() != text) {
                line_->setText(text);
                textSet = true;
            }
        }
        // The selection set by code (a typed text moves only the caret). A box
        // the user is not in shows its text from the start: the caret goes to
        // the selection's start (a whole text selected shows its beginning, not
        // its end); in the box it ends the selection.
        const std::pair<int, int> sel{m_.selStart(), m_.selLength()};
        if (textSet || (sel != applied_ && !typing_)) {
            const int start = utf16Offset(text, sel.first);
            const int end = utf16Offset(text, sel.first + sel.second);
            const bool caretAtEnd = widget()->hasFocus();
            const int anchor = caretAtEnd ? start : end, caret = caretAtEnd ? end : start;
            if (plain_) {
                QTextCursor c = plain_->textCursor();
                c.setPosition(anchor);
                c.setPosition(caret, QTextCursor::KeepAnchor);
                plain_->setTextCursor(c);
            } else {
                line_->setSelection(anchor, caret - anchor);
                if (end == start) line_->setCursorPosition(start);
            }
        }
        applied_ = sel;
    }

  private:
    void applyPasswordChar() {
        const QString echo = toQ(m_.passwordChar());
        line_->setEchoMode(echo.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
        if (echo.isEmpty()) return;
        auto* now = dynamic_cast<PasswordStyle*>(line_->style());
        if (now && now->echo() == echo.at(0)) return;
        // The style lives as long as the box.
        auto* style = new PasswordStyle(echo.at(0));
        style->setParent(line_);
        line_->setStyle(style);
        if (now) now->deleteLater();
    }
    void build() {
        plain_ = nullptr;
        line_ = nullptr;
        if (m_.multiLine()) {
            plain_ = new QPlainTextEdit;
            plain_->setTabChangesFocus(true);
            QObject::connect(plain_, &QPlainTextEdit::textChanged, plain_,
                             [this] { type(fromQLines(plain_->toPlainText())); });
            setWidget(plain_);
        } else {
            line_ = new QLineEdit;
            QObject::connect(line_, &QLineEdit::textEdited, line_,
                             [this](const QString& t) { type(fromQ(t)); });
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

class ComboBoxView : public ModelView<platform::ComboBox, QComboBox> {
  public:
    ComboBoxView(platform::ComboBox& m, FormView& f) : ModelView(m, f, new QComboBox) {
        w_->setInsertPolicy(QComboBox::NoInsert);
        w_->setMaxVisibleItems(12);
        QObject::connect(w_, &QComboBox::activated, w_, [this](int i) {
            toModel([i](platform::ComboBox& m) { m.userChoose(i); });
        });
    }

  protected:
    void apply() override {
        const bool editable = m_.style() != 2;
        if (w_->isEditable() != editable) {
            w_->setEditable(editable);
            if (editable) {
                w_->setCompleter(nullptr);
                QObject::connect(
                    w_->lineEdit(), &QLineEdit::textEdited, w_, [this](const QString& t) {
                        std::string text = fromQ(t);
                        toModel([&text](platform::ComboBox& m) { m.userType(std::move(text)); });
                    });
            }
        }
        const QString before = editable ? w_->lineEdit()->text() : QString();
        if (m_.items() != items_) {
            items_ = m_.items();
            w_->clear();
            QStringList list;
            for (const std::string& s : items_) list << toQ(s);
            w_->addItems(list);
        }
        const QString text = toQ(m_.text());
        w_->setCurrentIndex(w_->findText(text, Qt::MatchExactly));
        if (!editable) return;
        if (w_->lineEdit()->text() != text) w_->lineEdit()->setText(text);
        // A text set by code shows from its start unless the user is in the box.
        if (text != before && !w_->lineEdit()->hasFocus()) w_->lineEdit()->setCursorPosition(0);
    }

  private:
    std::vector<std::string> items_;
};

// ---- Label ----

// A label takes the mouse: a press captures it (Qt delivers moves and the
// release to the pressed widget), and the model's events get positions in
// twips relative to the label. A label with a MouseMove handler gets the
// moves without a button too.
//
// A caption that starts with spaces keeps that indent on every line it wraps
// onto (the spaces hold the text off the form's edge), so the widget's text
// stays whole while it is drawn after the spaces.
class LabelWidget : public QLabel {
  public:
    std::function<void(QMouseEvent*, int kind)> onMouse;  // 0 down, 1 move, 2 up

    // The leading spaces of the text and their width in pixels.
    qsizetype leadingSpaces() const {
        const QString& t = text();
        qsizetype n = 0;
        while (n < t.size() && t.at(n) == QChar(' ')) ++n;
        return n;
    }
    int hangingIndent() const {
        const qsizetype n = leadingSpaces();
        return n == text().size() ? 0 : fontMetrics().horizontalAdvance(QString(n, QChar(' ')));
    }
    // The room the text needs when it wraps at width.
    QSize textSize(int width) const {
        const int indent = hangingIndent();
        const QRect need = fontMetrics().boundingRect(
            QRect(0, 0, std::max(1, width - indent), INT_MAX / 2),
            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text().mid(leadingSpaces()));
        return {need.width() + indent, need.height()};
    }

  protected:
    void paintEvent(QPaintEvent* e) override {
        const int indent = hangingIndent();
        if (indent == 0 || !wordWrap()) {
            QLabel::paintEvent(e);
            return;
        }
        QPainter p(this);
        drawFrame(&p);
        style()->drawItemText(&p, contentsRect().adjusted(indent, 0, 0, 0),
                              static_cast<int>(alignment()) | Qt::TextWordWrap, palette(),
                              isEnabled(), text().mid(leadingSpaces()), foregroundRole());
    }
    void mousePressEvent(QMouseEvent* e) override { onMouse(e, 0); }
    void mouseMoveEvent(QMouseEvent* e) override { onMouse(e, 1); }
    void mouseReleaseEvent(QMouseEvent* e) override { onMouse(e, 2); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { onMouse(e, 0); }
};

class LabelView : public ModelView<platform::Label, LabelWidget> {
  public:
    LabelView(platform::Label& m, FormView& f) : ModelView(m, f, new LabelWidget) {
        w_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w_->setWordWrap(true);
        w_->setTextFormat(Qt::PlainText);
        w_->onMouse = [this](QMouseEvent* e, int kind) { mouse(e, kind); };
    }
    bool light() const override { return true; }

  protected:
    // The text is wrapped at the label's width; what does not fit below (or a
    // word wider than the label) makes the widget larger, never cut.
    QRect placement(const QRect& model) const override {
        // An AutoSize label is as large as its text, on one line.
        // An underline below the text's descent gets room too (it is drawn
        // from the row under the baseline plus its offset).
        if (m_.autoSize()) {
            const QFontMetrics fm = w_->fontMetrics();
            QSize size = fm.size(Qt::TextSingleLine, w_->text());
            if (m_.fontUnderline())
                size.setHeight(
                    std::max(size.height(), fm.ascent() + fm.underlinePos() + fm.lineWidth() + 1));
            return {model.topLeft(), size};
        }
        if (w_->text().isEmpty() || model.width() <= 0) return model;
        QSize need = w_->textSize(model.width());
        if (need.height() > model.height()) {
            // Too long for its lines: the free room to its right comes first.
            const int room = freeWidth(model, need.height());
            if (room > model.width()) {
                const QSize wider = w_->textSize(room);
                if (wider.height() < need.height())
                    return {model.topLeft(), wider.expandedTo({room, model.height()})};
            }
        }
        return {model.topLeft(), model.size().expandedTo(need)};
    }
    void apply() override {
        w_->setText(labelText(m_.caption()));
        setForeground(w_, m_.foreColor());
        QFont f = w_->font();
        f.setUnderline(m_.fontUnderline());
        w_->setFont(f);
        w_->setMouseTracking(static_cast<bool>(m_.MouseMove));
    }

  private:
    // How wide the label may grow to its right: up to the nearest control
    // beside the rows it takes (height pixels from its top), or the form's
    // edge. Every control counts, shown or not, so that a page shown later
    // never finds the label over one of its controls.
    int freeWidth(const QRect& model, int height) const {
        const platform::Form& form = m_.form();
        int right = px(form.scaleWidth());
        for (const platform::Control* c : form.controls()) {
            if (c == &m_) continue;
            const QRect r(px(c->left()), px(c->top()), px(c->width()), px(c->height()));
            if (r.isEmpty() || r.bottom() < model.top() || r.top() >= model.top() + height)
                continue;
            if (r.left() >= model.right()) right = std::min(right, r.left() - LabelGap);
        }
        return right - model.left();
    }
    static constexpr int LabelGap = 4;  // pixels kept free before the next control

    void mouse(QMouseEvent* e, int kind) {
        const double x = twips(e->position().x()), y = twips(e->position().y());
        const int shift = shiftState(e->modifiers());
        const int b = kind == 1 ? mouseButtons(e->buttons()) : mouseButton(e->button());
        if (kind == 0)
            toModel([&](platform::Label& m) { m.userMouseDown(b, shift, x, y); });
        else if (kind == 2)
            toModel([&](platform::Label& m) { m.userMouseUp(b, shift, x, y); });
        else if (b || m_.MouseMove)
            toModel([&](platform::Label& m) { m.userMouseMove(b, shift, x, y); });
    }
};

// ---- CheckBox, OptionButton, Frame, CommandButton: a click is the model's user click ----

// A check box or option button whose caption wraps onto further lines when
// it is wider than the control (centred in the height beside the box), and
// which a click anywhere on the control presses.
template <class Base, QStyle::ControlElement Element, QStyle::SubElement Contents>
class WrappingButton : public Base {
  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        const QString text = opt.text;
        opt.text.clear();
        p.drawControl(Element, opt);
        const QRect r = this->style()->subElementRect(Contents, &opt, this);
        p.drawItemText(r,
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                       this->palette(), this->isEnabled(), text, QPalette::WindowText);
    }
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
using CheckBoxWidget = WrappingButton<QCheckBox, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents>;
using OptionButtonWidget =
    WrappingButton<QRadioButton, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents>;

template <class Model, class Button>
class ButtonView : public ModelView<Model, Button> {
  public:
    ButtonView(Model& m, FormView& f) : ModelView<Model, Button>(m, f, new Button) {
        QObject::connect(this->w_, &Button::clicked, this->w_,
                         [this] { this->toModel([](Model& m) { m.userClick(); }); });
    }
};

class CheckBoxView : public ButtonView<platform::CheckBox, CheckBoxWidget> {
  public:
    CheckBoxView(platform::CheckBox& m, FormView& f) : ButtonView(m, f) { w_->setTristate(true); }

  protected:
    void apply() override {
        w_->setText(toQ(m_.caption()));
        w_->setCheckState(m_.value() == 1   ? Qt::Checked
                          : m_.value() == 2 ? Qt::PartiallyChecked
                                            : Qt::Unchecked);
    }
};

class OptionButtonView : public ButtonView<platform::OptionButton, OptionButtonWidget> {
  public:
    OptionButtonView(platform::OptionButton& m, FormView& f) : ButtonView(m, f) {
        w_->setAutoExclusive(false);  // the model keeps one of a group
    }

  protected:
    void apply() override {
        w_->setText(toQ(m_.caption()));
        w_->setChecked(m_.value());
    }
};

class FrameView : public ModelView<platform::Frame, QGroupBox> {
  public:
    FrameView(platform::Frame& m, FormView& f) : ModelView(m, f, new QGroupBox) {}

  protected:
    void apply() override { w_->setTitle(toQ(m_.caption())); }
};

class CommandButtonView : public ButtonView<platform::CommandButton, QPushButton> {
  public:
    CommandButtonView(platform::CommandButton& m, FormView& f) : ButtonView(m, f) {
        w_->setAutoDefault(false);  // Enter and Esc are the form's (FormView::dialogKey)
    }

  protected:
    void apply() override {
        w_->setText(toQ(m_.caption()));
        // A graphical button shows its face colour.
        const auto colour = m_.graphical() ? qColor(m_.backColor()) : std::nullopt;
        w_->setStyleSheet(
            colour
                ? QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
                      .arg(colour->name())
                : QString());
        QFont f = w_->font();
        f.setBold(m_.isDefault());
        w_->setFont(f);
    }
};

// ---- ProgressBar, Slider ----

class ProgressBarView : public ModelView<platform::ProgressBar, QProgressBar> {
  public:
    ProgressBarView(platform::ProgressBar& m, FormView& f) : ModelView(m, f, new QProgressBar) {
        w_->setTextVisible(false);
    }
    bool light() const override { return true; }

  protected:
    void apply() override {
        // Single-precision values, shown in hundredths.
        w_->setRange(static_cast<int>(std::lround(m_.min() * 100)),
                     static_cast<int>(std::lround(m_.max() * 100)));
        w_->setValue(static_cast<int>(std::lround(m_.value() * 100)));
    }
};

class SliderView : public ModelView<platform::Slider, QSlider> {
  public:
    SliderView(platform::Slider& m, FormView& f) : ModelView(m, f, new QSlider(Qt::Horizontal)) {
        w_->setTickPosition(QSlider::TicksBelow);
        w_->setTickInterval(1);
        w_->setPageStep(1);
        QObject::connect(w_, &QSlider::valueChanged, w_, [this](int v) {
            toModel([v](platform::Slider& m) { m.userSetValue(v); });
        });
    }

  protected:
    void apply() override {
        w_->setRange(m_.min(), m_.max());
        w_->setValue(m_.value());
    }
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
