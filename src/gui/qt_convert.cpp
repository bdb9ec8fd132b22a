#include "gui/qt_convert.h"

#include "platform/controls/simple_controls.h"
#include "platform/error.h"
#include "platform/files/paths.h"
#include "platform/ui/ui.h"

namespace gui {

int mouseButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return platform::LeftButton;
        case Qt::RightButton:
            return platform::RightButton;
        case Qt::MiddleButton:
            return platform::MiddleButton;
        default:
            return 0;
    }
}

int mouseButtons(Qt::MouseButtons b) {
    int mask = 0;
    if (b & Qt::LeftButton) mask |= platform::LeftButton;
    if (b & Qt::RightButton) mask |= platform::RightButton;
    if (b & Qt::MiddleButton) mask |= platform::MiddleButton;
    return mask;
}

int shiftState(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

int keyCode(const QKeyEvent& e) {
    const int k = e.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

int keyAscii(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    const QString t = e.text();
    if (t.size() != 1) return 0;
    const char16_t c = t.at(0).unicode();
    return c >= 32 && c < 127 ? static_cast<int>(c) : 0;
}

Qt::CursorShape pointerShape(int pointer) {
    switch (pointer) {
        case platform::PointerSizeNS:
            return Qt::SizeVerCursor;
        case platform::PointerSizeWE:
            return Qt::SizeHorCursor;
        case platform::PointerHourglass:
            return Qt::WaitCursor;
        default:
            return Qt::ArrowCursor;
    }
}

QString toQLines(std::string_view crlf) {
    QString s = toQ(crlf);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

std::string fromQLines(const QString& lf) {
    QString s = lf;
    s.replace(QChar('\n'), QStringLiteral("\r\n"));
    return fromQ(s);
}

std::string nativePathOf(std::string_view windowsPath) {
    if (windowsPath.empty()) return {};
    try {
        return platform::files::toNative(windowsPath);
    } catch (const platform::Error&) {
        return {};
    }
}

std::string_view lastNameOf(std::string_view path) {
    const std::size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

}  // namespace gui
