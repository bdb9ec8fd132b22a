// The font every form is drawn in. The forms' geometry was laid out for a
// 12-pixel Song face (each Chinese character a 12 x 12 cell, a line 12 pixels
// high): AR PL UMing at 12 pixels has exactly those metrics (ascent 11,
// descent 1, Chinese characters 12 wide, Latin 6) and, drawn unsmoothed,
// comes from its own crisp pixel strike; labels, captions and tabs hold
// their text at the design size. Without it, a Noto
// CJK face at 11 pixels is the nearest (its lines are taller; labels then
// grow past their design height rather than cut their text).
#pragma once

#include <QFont>

class QApplication;

namespace gui {

// The UI font: the first installed of the faces above, at its size.
QFont uiFont();

// Makes it the application's font.
void applyUiFont(QApplication& app);

}  // namespace gui
