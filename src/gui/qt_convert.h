// Small conversions between the program's values and Qt's: UTF-8 text,
// twips and pixels, 0x00BBGGRR colours, mouse buttons, shift states and key
// codes as the program's events carry them, and Windows paths for the
// native widgets and files.
#pragma once

#include <QColor>
#include <QKeyEvent>
#include <QString>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "platform/controls/control.h"

namespace gui {

inline QString toQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string fromQ(const QString& s) { return s.toUtf8().toStdString(); }

// Twips to whole pixels (15 twips a pixel) and back.
inline int px(double twips) {
    return static_cast<int>(std::lround(twips / platform::TwipsPerPixel));
}
inline double twips(double pixels) { return pixels * platform::TwipsPerPixel; }

// A colour of the program, or nothing for "the control's default colour"
// (and every other system colour, which has the top bit set).
inline std::optional<QColor> qColor(platform::Color c) {
    if (c & 0x80000000u) return std::nullopt;
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline platform::Color fromQColor(const QColor& c) {
    return static_cast<platform::Color>(c.red()) | (static_cast<platform::Color>(c.green()) << 8) |
           (static_cast<platform::Color>(c.blue()) << 16);
}

// The program's mouse button number (1 left, 2 right, 4 middle; 0 none).
int mouseButton(Qt::MouseButton b);
// The buttons held down, as the program's button mask.
int mouseButtons(Qt::MouseButtons b);
// The program's shift state: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers m);
// The program's key code of a key event (65 for A, 13 Enter, 37..40 arrows,
// 112.. F1..); 0 for a key it has no code for.
int keyCode(const QKeyEvent& e);
// The character code of a typed key (13 Enter, 8 Backspace, 27 Esc, the
// ASCII code of a printable character); 0 when the key types nothing or a
// character beyond ASCII.
int keyAscii(const QKeyEvent& e);

// The cursor of a mouse pointer number (0 default, 7 and 9 the sizing
// arrows, 11 the hourglass).
Qt::CursorShape pointerShape(int pointer);

// Text with CR LF line breaks (the program's) and with LF (Qt's).
QString toQLines(std::string_view crlf);
std::string fromQLines(const QString& lf);

// The native path of a Windows path; "" when it is empty or cannot be mapped.
std::string nativePathOf(std::string_view windowsPath);
// The last name of a path or address, after its last "\" or "/"
// ("file:\E:\a\b.swf" -> "b.swf").
std::string_view lastNameOf(std::string_view path);

}  // namespace gui
