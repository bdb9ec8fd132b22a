#include "gui/ui_font.h"

#include <QApplication>
#include <QFontDatabase>

namespace gui {

QFont uiFont() {
    struct Face {
        const char* family;
        int pixels;
        bool bitmap;  // drawn from the face's own pixel strike, not smoothed
    };
    static constexpr Face faces[] = {
        {"AR PL UMing CN", 12, true},
        {"Noto Sans CJK SC", 11, false},
        {"WenQuanYi Micro Hei", 11, false},
    };
    const QStringList installed = QFontDatabase::families();
    for (const Face& face : faces) {
        const QString family = QString::fromLatin1(face.family);
        if (!installed.contains(family)) continue;
        QFont f(family);
        f.setPixelSize(face.pixels);
        if (face.bitmap) f.setStyleStrategy(QFont::NoAntialias);
        return f;
    }
    QFont f = QApplication::font();
    f.setPixelSize(12);
    return f;
}

void applyUiFont(QApplication& app) { app.setFont(uiFont()); }

}  // namespace gui
