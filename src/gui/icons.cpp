#include "gui/icons.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace gui {

namespace {

// What a picture shows. File types are a page with a small symbol and a
// coloured band naming the type; everything else fills the whole picture.
enum class Shape {
    // file types (page + symbol + label)
    Blank,
    Lines,
    Picture,
    Note,
    Film,
    Web,
    Code,
    Gear,
    Window,
    Letter,
    Database,
    Book,
    Flash,
    Archive,
    Palette,
    Word,
    // whole pictures
    Folder,
    OpenFolder,
    Disc,
    Magnifier,
    Globe,
    Check,
    Cross,
    Help,
    Grid,
    Floppy,
    Arrow,
    ListStep,
    Eject,
    Media,
    Fullscreen,
    Clock,
    Copy,
    Tree,
    List,
    Package,
    Eye,
    Rename,
    Badge,
    DocPage,
    Category,
    FixedDrive,
    CdDrive
};

// A small sign drawn over the lower right quarter.
enum class Mark { None, Tick, Plus, Star, Pencil, ArrowIn, ArrowOut, Lens, Globe };

// Directions of arrows and the media buttons' kinds.
enum Dir { Left = 0, Right, Up, Down, DownToBar };
enum MediaKind { Previous = 0, Next, Backward, Forward, Pause, Stop };

struct Spec {
    const char* key;
    Shape shape;
    QRgb colour;
    const char* label;
    Mark mark = Mark::None;
    int dir = 0;
};

// The image list's pictures, in its order (numbers 1..112). Picture 57 is
// not used by any command and has no key of its own here.
const Spec specs[] = {
    {"folder", Shape::Folder, 0xE8B830, ""},
    {"url", Shape::Globe, 0x2A7FD4, ""},
    {"finddisc", Shape::Category, 0x2E8B7A, ""},
    {"disc", Shape::Disc, 0x9AB0C8, ""},
    {"search", Shape::Magnifier, 0x3070C0, ""},
    {"find", Shape::DocPage, 0x607D8B, "", Mark::Lens},
    {"dot", Shape::Blank, 0x9E9E9E, ""},
    {"bat", Shape::Lines, 0x424242, "BAT"},
    {"bmp", Shape::Picture, 0x2E7D32, "BMP"},
    {"doc", Shape::Word, 0x2B5797, "W"},
    {"css", Shape::Code, 0x7B1FA2, "CSS"},
    {"sys", Shape::Gear, 0x616161, "SYS"},
    {"exe", Shape::Window, 0x1E5AA8, "EXE"},
    {"gif", Shape::Picture, 0xC2185B, "GIF"},
    {"htm", Shape::Web, 0x1565C0, "HTM"},
    {"html", Shape::Web, 0x0D47A1, "HTML"},
    {"jpg", Shape::Picture, 0xE65100, "JPG"},
    {"ini", Shape::Lines, 0x607D8B, "INI"},
    {"pdf", Shape::Word, 0xC62828, "PDF"},
    {"rm", Shape::Film, 0x283593, "RM"},
    {"ppt", Shape::Word, 0xD84315, "P"},
    {"xls", Shape::Word, 0x1E7145, "X"},
    {"dll", Shape::Gear, 0x5D4037, "DLL"},
    {"txt", Shape::Lines, 0x455A64, "TXT"},
    {"zip", Shape::Archive, 0xF9A825, "ZIP"},
    {"avi", Shape::Film, 0x6A1B9A, "AVI"},
    {"bas", Shape::Lines, 0x00838F, "BAS"},
    {"chm", Shape::Book, 0x5E35B1, "CHM"},
    {"drv", Shape::Gear, 0x00695C, "DRV"},
    {"fon", Shape::Letter, 0x8D6E63, "FON"},
    {"frm", Shape::Window, 0x00897B, "FRM"},
    {"hlp", Shape::Book, 0xEF8F00, "HLP"},
    {"ins", Shape::Lines, 0x795548, "INS"},
    {"mdb", Shape::Database, 0xAD1457, "MDB"},
    {"reg", Shape::Lines, 0x1565C0, "REG"},
    {"ttf", Shape::Letter, 0x37474F, "TTF"},
    {"vbp", Shape::Window, 0x283593, "VBP"},
    {"wav", Shape::Note, 0x2E7D32, "WAV"},
    {"wmf", Shape::Picture, 0x00838F, "WMF"},
    {"xml", Shape::Code, 0xE65100, "XML"},
    {"xsl", Shape::Code, 0x558B2F, "XSL"},
    {"vxd", Shape::Gear, 0x4527A0, "VXD"},
    {"down", Shape::Arrow, 0x1565C0, "", Mark::None, DownToBar},
    {"eject1", Shape::Eject, 0x78909C, ""},
    {"eject", Shape::Eject, 0x37474F, ""},
    {"help", Shape::Help, 0x1976D2, ""},
    {"wrong", Shape::Cross, 0xD32F2F, ""},
    {"asa", Shape::Web, 0x6D4C41, "ASA"},
    {"asf", Shape::Film, 0x0277BD, "ASF"},
    {"mpeg", Shape::Film, 0xAD1457, "MPG"},
    {"au", Shape::Note, 0x6A1B9A, "AU"},
    {"clr", Shape::Palette, 0x8E24AA, "CLR"},
    {"pcx", Shape::Picture, 0x5D4037, "PCX"},
    {"fla", Shape::Flash, 0xB71C1C, "FLA"},
    {"tif", Shape::Picture, 0x00695C, "TIF"},
    {"mid", Shape::Note, 0xC62828, "MID"},
    {"", Shape::Badge, 0x9E9E9E, ""},  // 57: no command uses it
    {"check", Shape::Check, 0x2E7D32, ""},
    {"grid", Shape::Grid, 0x455A64, ""},
    {"save", Shape::Floppy, 0x1565C0, ""},
    {"savetag", Shape::Floppy, 0x1565C0, "", Mark::Tick},
    {"copytag", Shape::Copy, 0x607D8B, "", Mark::Tick},
    {"wdl", Shape::Lines, 0x00838F, "WDL"},
    {"swf", Shape::Flash, 0xD32F2F, "SWF"},
    {"openedfolder", Shape::OpenFolder, 0xE8B830, ""},
    {"changeorder", Shape::Disc, 0x9AB0C8, "", Mark::Pencil},
    {"import", Shape::DocPage, 0x2E7D32, "", Mark::ArrowIn},
    {"export", Shape::DocPage, 0xC62828, "", Mark::ArrowOut},
    {"copy1", Shape::Copy, 0x1565C0, "1"},
    {"copy2", Shape::Copy, 0x1565C0, "2"},
    {"copy3", Shape::Copy, 0x1565C0, "3"},
    {"newsoft", Shape::Package, 0x8D6E63, "", Mark::Star},
    {"whitedisc", Shape::Disc, 0xFFFFFF, ""},
    {"rar", Shape::Archive, 0x6A1B9A, "RAR"},
    {"psd", Shape::Picture, 0x0D47A1, "PSD"},
    {"t1", Shape::Badge, 0x00897B, "1"},
    {"t2", Shape::Badge, 0x00897B, "2"},
    {"t78", Shape::Badge, 0x5C6BC0, "78"},
    {"t79", Shape::Badge, 0x5C6BC0, "79"},
    {"t80", Shape::Badge, 0x5C6BC0, "80"},
    {"t81", Shape::Badge, 0x5C6BC0, "81"},
    {"t82", Shape::Badge, 0x5C6BC0, "82"},
    {"t83", Shape::Badge, 0x5C6BC0, "83"},
    {"t84", Shape::Badge, 0x5C6BC0, "84"},
    {"t85", Shape::Badge, 0x5C6BC0, "85"},
    {"t86", Shape::Badge, 0x5C6BC0, "86"},
    {"t87", Shape::Badge, 0x5C6BC0, "87"},
    {"t88", Shape::Badge, 0x5C6BC0, "88"},
    {"t89", Shape::Badge, 0x5C6BC0, "89"},
    {"t90", Shape::Badge, 0x5C6BC0, "90"},
    {"cda", Shape::Note, 0x0277BD, "CDA"},
    {"preview", Shape::Eye, 0x1565C0, ""},
    {"preview1", Shape::Eye, 0x6A1B9A, ""},
    {"softw", Shape::Package, 0x8D6E63, ""},
    {"left", Shape::Arrow, 0x2E7D32, "", Mark::None, Left},
    {"right", Shape::Arrow, 0x2E7D32, "", Mark::None, Right},
    {"downs", Shape::ListStep, 0x1565C0, "", Mark::None, Down},
    {"ups", Shape::ListStep, 0x1565C0, "", Mark::None, Up},
    {"softwarelist", Shape::List, 0x5D4037, ""},
    {"tree", Shape::Tree, 0x2E7D32, ""},
    {"savew", Shape::Floppy, 0x1565C0, "", Mark::Globe},
    {"PreviousCD", Shape::Media, 0x37474F, "", Mark::None, Previous},
    {"NextCD", Shape::Media, 0x37474F, "", Mark::None, Next},
    {"BackwardCD", Shape::Media, 0x37474F, "", Mark::None, Backward},
    {"ForwardCD", Shape::Media, 0x37474F, "", Mark::None, Forward},
    {"PauseCD", Shape::Media, 0x37474F, "", Mark::None, Pause},
    {"StopCD", Shape::Media, 0xC62828, "", Mark::None, Stop},
    {"Fullscreen", Shape::Fullscreen, 0x37474F, ""},
    {"caj", Shape::Lines, 0xB71C1C, "CAJ"},
    {"altername", Shape::Rename, 0x1565C0, ""},
    {"addselect", Shape::DocPage, 0x2E7D32, "", Mark::Plus},
    {"time", Shape::Clock, 0x1565C0, ""},
    // Not in the image list: the drive list's pictures by drive type.
    {"drivefixed", Shape::FixedDrive, 0x78909C, ""},
    {"drivecd", Shape::CdDrive, 0x78909C, ""},
};

// The application's picture: a catalogued disc under a magnifier.
const Spec application{"", Shape::Disc, 0x9AB0C8, "", Mark::Lens};

const Spec neutral{"", Shape::Badge, 0x9E9E9E, ""};

const Spec& specOf(std::string_view key) {
    if (!key.empty())
        for (const Spec& s : specs)
            if (key == s.key) return s;
    return neutral;
}

// ---- a 3 x 5 pixel font for the type labels, so that they stay sharp at 16 pixels ----

// Five rows of three bits (the high bit is the left pixel).
std::array<unsigned char, 5> glyph(char c) {
    switch (c) {
        case 'A':
            return {2, 5, 7, 5, 5};
        case 'B':
            return {6, 5, 6, 5, 6};
        case 'C':
            return {3, 4, 4, 4, 3};
        case 'D':
            return {6, 5, 5, 5, 6};
        case 'E':
            return {7, 4, 6, 4, 7};
        case 'F':
            return {7, 4, 6, 4, 4};
        case 'G':
            return {3, 4, 5, 5, 3};
        case 'H':
            return {5, 5, 7, 5, 5};
        case 'I':
            return {7, 2, 2, 2, 7};
        case 'J':
            return {1, 1, 1, 5, 2};
        case 'K':
            return {5, 5, 6, 5, 5};
        case 'L':
            return {4, 4, 4, 4, 7};
        case 'M':
            return {5, 7, 5, 5, 5};
        case 'N':
            return {6, 5, 5, 5, 5};
        case 'O':
            return {2, 5, 5, 5, 2};
        case 'P':
            return {6, 5, 6, 4, 4};
        case 'Q':
            return {2, 5, 5, 6, 3};
        case 'R':
            return {6, 5, 6, 5, 5};
        case 'S':
            return {3, 4, 2, 1, 6};
        case 'T':
            return {7, 2, 2, 2, 2};
        case 'U':
            return {5, 5, 5, 5, 7};
        case 'V':
            return {5, 5, 5, 5, 2};
        case 'W':
            return {5, 5, 5, 7, 5};
        case 'X':
            return {5, 5, 2, 5, 5};
        case 'Y':
            return {5, 5, 2, 2, 2};
        case 'Z':
            return {7, 1, 2, 4, 7};
        case '0':
            return {7, 5, 5, 5, 7};
        case '1':
            return {2, 6, 2, 2, 7};
        case '2':
            return {6, 1, 2, 4, 7};
        case '3':
            return {6, 1, 2, 1, 6};
        case '4':
            return {5, 5, 7, 1, 1};
        case '5':
            return {7, 4, 6, 1, 6};
        case '6':
            return {3, 4, 7, 5, 7};
        case '7':
            return {7, 1, 2, 2, 2};
        case '8':
            return {7, 5, 7, 5, 7};
        case '9':
            return {7, 5, 7, 1, 6};
        case '?':
            return {6, 1, 2, 0, 2};
        default:
            return {0, 0, 0, 0, 0};
    }
}

int pixelTextWidth(std::string_view text) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 4 - 1;
}

// Draws text in the pixel font with its top left corner at (x, y), scale
// units per font pixel.
void pixelText(QPainter& p, std::string_view text, double x, double y, const QColor& colour,
               double scale = 1) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (char c : text) {
        const auto rows = glyph(c);
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 3; ++col)
                if (rows[static_cast<std::size_t>(r)] & (4 >> col))
                    p.drawRect(QRectF(x + col * scale, y + r * scale, scale, scale));
        x += 4 * scale;
    }
    p.restore();
}

// ---- drawing helpers, in a 16 x 16 unit grid ----

QColor shade(const QColor& c, int factor) {
    return factor >= 100 ? c.lighter(factor) : c.darker(200 - factor);
}

QPen outline(const QColor& c, double w = 1) {
    QPen pen(c, w);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A white page with a folded corner, spanning x0..x1, y0..y1.
void page(QPainter& p, double x0 = 2.5, double y0 = 0.5, double x1 = 13.5, double y1 = 15.5) {
    QPainterPath path;
    path.moveTo(x0, y0);
    path.lineTo(x1 - 3, y0);
    path.lineTo(x1, y0 + 3);
    path.lineTo(x1, y1);
    path.lineTo(x0, y1);
    path.closeSubpath();
    p.setPen(outline(QColor(0x80, 0x80, 0x80)));
    p.setBrush(Qt::white);
    p.drawPath(path);
    QPainterPath fold;
    fold.moveTo(x1 - 3, y0);
    fold.lineTo(x1 - 3, y0 + 3);
    fold.lineTo(x1, y0 + 3);
    p.setBrush(QColor(0xE0, 0xE0, 0xE0));
    p.drawPath(fold);
}

// The coloured band at the foot of a file-type page, with the type's name.
void typeBand(QPainter& p, const QColor& colour, std::string_view label) {
    const int w = pixelTextWidth(label);
    const double bandX = w > 11 ? 0 : 1;
    const double bandW = w > 11 ? 16 : 14;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(bandX, 9, bandW, 7));
    pixelText(p, label, std::floor((16 - w) / 2.0), 10, Qt::white);
}

void lines(QPainter& p, const QColor& c, double x0, double x1, std::initializer_list<double> ys) {
    p.setPen(outline(c));
    double last = *(ys.end() - 1);
    for (double y : ys) p.drawLine(QPointF(x0, y), QPointF(y == last ? (x0 + x1) / 2 : x1, y));
}

void globe(QPainter& p, QPointF c, double r, const QColor& colour) {
    p.setPen(outline(shade(colour, 60)));
    QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.5);
    g.setColorAt(0, shade(colour, 170));
    g.setColorAt(1, colour);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(255, 255, 255, 200), 0.7));
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
}

void tick(QPainter& p, const QColor& c, double x, double y, double s, double width) {
    QPainterPath path;
    path.moveTo(x, y + s * 0.5);
    path.lineTo(x + s * 0.38, y + s * 0.88);
    path.lineTo(x + s, y);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(Qt::white, width + 1.6));
    p.drawPath(path);
    p.setPen(outline(c, width));
    p.drawPath(path);
}

void arrow(QPainter& p, const QColor& c, QPointF from, QPointF to, double width, double head) {
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const QPointF base = to - u * head;
    p.setPen(outline(c, width));
    p.drawLine(from, base);
    p.setPen(outline(c, 0.8));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, base + n * head * 0.8, base - n * head * 0.8}));
}

void triangle(QPainter& p, QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF({a, b, c})); }

// ---- the symbols in the upper part of a file-type page (x 3..13, y 1..9) ----

void typeSymbol(QPainter& p, const Spec& s, const QColor& colour) {
    switch (s.shape) {
        case Shape::Blank:
            break;
        case Shape::Lines:
            lines(p, QColor(0x90, 0x90, 0x90), 4.5, 10.5, {3.5, 5.5, 7.5});
            break;
        case Shape::Picture: {
            p.setPen(outline(colour));
            p.setBrush(QColor(0xBB, 0xDE, 0xFB));
            p.drawRect(QRectF(3.5, 1.5, 8, 6.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x43, 0xA0, 0x47));
            triangle(p, {4, 8}, {7, 4}, {10, 8});
            p.setBrush(QColor(0xFF, 0xC1, 0x07));
            p.drawEllipse(QPointF(9.5, 3.5), 1.2, 1.2);
            break;
        }
        case Shape::Note: {
            p.setPen(outline(colour, 1.2));
            p.drawLine(QPointF(9, 1.5), QPointF(9, 6.5));
            p.drawLine(QPointF(9, 1.5), QPointF(11.5, 3));
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(7.3, 6.8), 2, 1.5);
            break;
        }
        case Shape::Film: {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRect(QRectF(3.5, 1.5, 9, 6.5));
            p.setBrush(Qt::white);
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(4.3 + i * 2.1, 2.1, 1.1, 1));
                p.drawRect(QRectF(4.3 + i * 2.1, 6.4, 1.1, 1));
            }
            p.setBrush(shade(colour, 160));
            p.drawRect(QRectF(5, 3.6, 6, 2.3));
            break;
        }
        case Shape::Web:
            globe(p, {8, 4.8}, 3.6, QColor(0x1E, 0x88, 0xE5));
            break;
        case Shape::Code: {
            p.setPen(outline(colour, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(QPolygonF({{6, 2}, {4, 4.8}, {6, 7.6}}));
            p.drawPolyline(QPolygonF({{10, 2}, {12, 4.8}, {10, 7.6}}));
            p.drawLine(QPointF(8.8, 2), QPointF(7.2, 7.6));
            break;
        }
        case Shape::Gear: {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            const QPointF c(8, 4.8);
            for (int i = 0; i < 8; ++i) {
                const double a = i * M_PI / 4;
                p.drawEllipse(c + QPointF(std::cos(a) * 3, std::sin(a) * 3), 0.9, 0.9);
            }
            p.drawEllipse(c, 2.9, 2.9);
            p.setBrush(Qt::white);
            p.drawEllipse(c, 1.1, 1.1);
            break;
        }
        case Shape::Window: {
            p.setPen(outline(colour));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 1.5, 9, 6.5));
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRect(QRectF(3.5, 1.5, 9, 2));
            break;
        }
        case Shape::Letter: {
            QFont f(QStringLiteral("DejaVu Serif"));
            f.setPixelSize(8);
            f.setBold(true);
            p.setFont(f);
            p.setPen(colour);
            p.drawText(QRectF(3, 0.5, 10, 8.5), Qt::AlignCenter,
                       s.label[0] == 'T' ? QStringLiteral("T") : QStringLiteral("A"));
            break;
        }
        case Shape::Database: {
            p.setPen(outline(shade(colour, 60)));
            p.setBrush(colour);
            p.drawRect(QRectF(4.5, 2.5, 7, 5));
            p.drawEllipse(QRectF(4.5, 6, 7, 2.5));
            p.setBrush(shade(colour, 150));
            p.drawEllipse(QRectF(4.5, 1.2, 7, 2.6));
            break;
        }
        case Shape::Book: {
            p.setPen(outline(shade(colour, 60)));
            p.setBrush(colour);
            p.drawRect(QRectF(4.5, 1.5, 7, 7));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(10.5, 2.5, 1, 5.5));
            pixelText(p, "?", 6.5, 2.5, Qt::white);
            break;
        }
        case Shape::Flash: {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(4, 1.2, 8, 7.3), 1.5, 1.5);
            p.setPen(outline(Qt::white, 1.2));
            QPainterPath f;
            f.moveTo(10, 2.6);
            f.cubicTo(8, 2.2, 7.6, 3.5, 7.6, 5);
            f.lineTo(7.2, 7.5);
            p.setBrush(Qt::NoBrush);
            p.drawPath(f);
            p.drawLine(QPointF(6.2, 4.8), QPointF(9.4, 4.8));
            break;
        }
        case Shape::Archive: {
            p.setPen(outline(shade(colour, 60)));
            p.setBrush(colour);
            p.drawRect(QRectF(4.5, 1.5, 7, 7));
            p.setPen(outline(QColor(0x42, 0x42, 0x42), 1));
            for (double y = 2; y < 8; y += 1.5) p.drawLine(QPointF(7.5, y), QPointF(8.5, y));
            break;
        }
        case Shape::Palette: {
            p.setPen(outline(QColor(0x79, 0x55, 0x48)));
            p.setBrush(QColor(0xFF, 0xE0, 0xB2));
            p.drawEllipse(QPointF(8, 4.8), 4.2, 3.6);
            p.setPen(Qt::NoPen);
            const QColor dots[] = {Qt::red, QColor(0x43, 0xA0, 0x47), Qt::blue,
                                   QColor(0xFF, 0xC1, 0x07)};
            const QPointF at[] = {{6, 3.5}, {8.5, 2.8}, {10.3, 4.3}, {6.5, 6.2}};
            for (int i = 0; i < 4; ++i) {
                p.setBrush(dots[i]);
                p.drawEllipse(at[i], 0.9, 0.9);
            }
            break;
        }
        default:
            break;
    }
}

// ---- the small signs over the lower right quarter ----

void drawMark(QPainter& p, Mark m) {
    switch (m) {
        case Mark::None:
            break;
        case Mark::Tick:
            tick(p, QColor(0x2E, 0x7D, 0x32), 8.5, 9, 6.5, 1.8);
            break;
        case Mark::Plus: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x2E, 0x7D, 0x32));
            p.drawEllipse(QPointF(12, 12), 3.8, 3.8);
            p.setPen(outline(Qt::white, 1.4));
            p.drawLine(QPointF(12, 9.8), QPointF(12, 14.2));
            p.drawLine(QPointF(9.8, 12), QPointF(14.2, 12));
            break;
        }
        case Mark::Star: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double a = -M_PI / 2 + i * M_PI / 5;
                const double r = i % 2 ? 1.7 : 4;
                star << QPointF(12 + r * std::cos(a), 12 + r * std::sin(a));
            }
            p.setPen(outline(QColor(0xE6, 0x51, 0x00), 0.8));
            p.setBrush(QColor(0xFF, 0xD5, 0x4F));
            p.drawPolygon(star);
            break;
        }
        case Mark::Pencil: {
            p.setPen(outline(QColor(0x5D, 0x40, 0x37), 0.8));
            p.setBrush(QColor(0xFF, 0xB3, 0x00));
            QPolygonF body({{8.5, 13}, {13, 8.5}, {15, 10.5}, {10.5, 15}});
            p.drawPolygon(body);
            p.setBrush(QColor(0x42, 0x42, 0x42));
            triangle(p, {8.5, 13}, {10.5, 15}, {7.5, 16});
            break;
        }
        case Mark::ArrowIn:
            arrow(p, QColor(0x2E, 0x7D, 0x32), {15.5, 8.5}, {9.5, 14.5}, 2, 3.2);
            break;
        case Mark::ArrowOut:
            arrow(p, QColor(0xC6, 0x28, 0x28), {9, 15}, {15.5, 8.5}, 2, 3.2);
            break;
        case Mark::Lens: {
            p.setPen(outline(QColor(0x37, 0x47, 0x4F), 2.2));
            p.drawLine(QPointF(13, 13), QPointF(15.2, 15.2));
            p.setPen(outline(QColor(0x37, 0x47, 0x4F), 1.3));
            p.setBrush(QColor(0xE3, 0xF2, 0xFD, 220));
            p.drawEllipse(QPointF(11, 11), 2.9, 2.9);
            break;
        }
        case Mark::Globe:
            globe(p, {12, 12}, 3.6, QColor(0x1E, 0x88, 0xE5));
            break;
    }
}

// ---- whole pictures ----

void folder(QPainter& p, const QColor& c, bool open) {
    p.setPen(outline(shade(c, 55)));
    p.setBrush(shade(c, 80));
    QPainterPath back;
    back.moveTo(0.5, 3);
    back.lineTo(5.5, 3);
    back.lineTo(7, 4.5);
    back.lineTo(15.5, 4.5);
    back.lineTo(15.5, 14.5);
    back.lineTo(0.5, 14.5);
    back.closeSubpath();
    p.drawPath(back);
    if (open) {
        p.setBrush(shade(c, 125));
        p.drawPolygon(QPolygonF({{3, 7.5}, {15.8, 7.5}, {13.5, 14.5}, {0.5, 14.5}}));
    } else {
        QLinearGradient g(0, 6, 0, 14.5);
        g.setColorAt(0, shade(c, 130));
        g.setColorAt(1, c);
        p.setBrush(g);
        p.drawRect(QRectF(0.5, 6.5, 15, 8));
    }
}

void disc(QPainter& p, const QColor& c) {
    const QPointF o(8, 8);
    QConicalGradient g(o, 30);
    g.setColorAt(0, shade(c, 120));
    g.setColorAt(0.25, QColor(0xF8, 0xBB, 0xD0).lighter(105));
    g.setColorAt(0.5, shade(c, 110));
    g.setColorAt(0.75, QColor(0xB3, 0xE5, 0xFC));
    g.setColorAt(1, shade(c, 120));
    p.setPen(outline(QColor(0x60, 0x6B, 0x78)));
    p.setBrush(c == QColor(Qt::white) ? QBrush(Qt::white) : QBrush(g));
    p.drawEllipse(o, 7.3, 7.3);
    p.setBrush(QColor(0xEC, 0xEF, 0xF1));
    p.drawEllipse(o, 2.6, 2.6);
    p.setBrush(Qt::white);
    p.drawEllipse(o, 1.1, 1.1);
}

void floppy(QPainter& p, const QColor& c) {
    p.setPen(outline(shade(c, 55)));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{1.5, 1.5}, {13, 1.5}, {14.5, 3}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xCF, 0xD8, 0xDC));
    p.drawRect(QRectF(4, 1.5, 7, 4.5));
    p.setBrush(shade(c, 60));
    p.drawRect(QRectF(8.5, 2.3, 1.6, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 8.5, 9, 6));
    lines(p, QColor(0xB0, 0xBE, 0xC5), 4.5, 11.5, {10.5, 12.5});
}

void media(QPainter& p, const QColor& c, int kind) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    switch (kind) {
        case Previous:
            p.drawRect(QRectF(2, 3.5, 2, 9));
            triangle(p, {4, 8}, {9, 3.5}, {9, 12.5});
            triangle(p, {9, 8}, {14, 3.5}, {14, 12.5});
            break;
        case Next:
            triangle(p, {2, 3.5}, {7, 8}, {2, 12.5});
            triangle(p, {7, 3.5}, {12, 8}, {7, 12.5});
            p.drawRect(QRectF(12, 3.5, 2, 9));
            break;
        case Backward:
            triangle(p, {1.5, 8}, {8, 3.5}, {8, 12.5});
            triangle(p, {8, 8}, {14.5, 3.5}, {14.5, 12.5});
            break;
        case Forward:
            triangle(p, {1.5, 3.5}, {8, 8}, {1.5, 12.5});
            triangle(p, {8, 3.5}, {14.5, 8}, {8, 12.5});
            break;
        case Pause:
            p.drawRect(QRectF(3.5, 3, 3, 10));
            p.drawRect(QRectF(9.5, 3, 3, 10));
            break;
        default:
            p.drawRect(QRectF(3.5, 3.5, 9, 9));
            break;
    }
}

// A category: an open box of discs, a file card's tab on its front.
void category(QPainter& p, const QColor& c) {
    for (double x : {4.5, 8.5}) {
        p.setPen(outline(QColor(0x60, 0x6B, 0x78)));
        p.setBrush(QColor(0xB3, 0xE5, 0xFC));
        p.drawEllipse(QPointF(x + 1.5, 5.5), 3.8, 3.8);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(x + 1.5, 5.5), 1, 1);
    }
    p.setPen(outline(shade(c, 55)));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{0.5, 7.5}, {15.5, 7.5}, {14.5, 15.5}, {1.5, 15.5}}));
    p.setBrush(shade(c, 150));
    p.drawRect(QRectF(5.5, 9.5, 5, 3));
}

// A drive: the box with its light, and for a CD drive the tray's slot with a
// disc's edge in it.
void drive(QPainter& p, const QColor& c, bool cd) {
    p.setPen(outline(shade(c, 55)));
    QLinearGradient g(0, 4, 0, 13);
    g.setColorAt(0, shade(c, 150));
    g.setColorAt(1, c);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 4.5, 15, 8.5), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x43, 0xA0, 0x47));
    p.drawRect(QRectF(12, 10, 2, 1.5));
    if (cd) {
        p.setBrush(QColor(0x37, 0x47, 0x4F));
        p.drawRect(QRectF(2, 6.5, 12, 1.6));
        p.setPen(outline(QColor(0x60, 0x6B, 0x78)));
        p.setBrush(QColor(0xF8, 0xBB, 0xD0));
        p.drawChord(QRectF(4, 0.5, 8, 8), 0, 180 * 16);
    } else {
        p.setBrush(shade(c, 60));
        p.drawRect(QRectF(2, 10, 8, 1.2));
    }
}

void badge(QPainter& p, const QColor& c, std::string_view label) {
    p.setPen(outline(shade(c, 60)));
    p.setBrush(c);
    p.drawPolygon(QPolygonF({{0.5, 8}, {4.5, 3.5}, {15.5, 3.5}, {15.5, 12.5}, {4.5, 12.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(3.8, 8), 0.9, 0.9);
    pixelText(p, label, 6 + (label.size() < 2 ? 2 : 0), 5.5, Qt::white);
}

void wholePicture(QPainter& p, const Spec& s, const QColor& c) {
    switch (s.shape) {
        case Shape::Folder:
            folder(p, c, false);
            break;
        case Shape::OpenFolder:
            folder(p, c, true);
            break;
        case Shape::Disc:
            disc(p, c);
            break;
        case Shape::Magnifier: {
            p.setPen(outline(QColor(0x37, 0x47, 0x4F), 3));
            p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
            p.setPen(outline(c, 1.6));
            p.setBrush(QColor(0xE3, 0xF2, 0xFD));
            p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
            p.setPen(outline(Qt::white, 1));
            p.drawArc(QRectF(3.5, 3.5, 6, 6), 100 * 16, 70 * 16);
            break;
        }
        case Shape::Globe:
            globe(p, {8, 8}, 7, c);
            break;
        case Shape::Check:
            tick(p, c, 1.5, 3, 13, 3);
            break;
        case Shape::Cross:
            p.setPen(outline(c, 3));
            p.drawLine(QPointF(3, 3), QPointF(13, 13));
            p.drawLine(QPointF(13, 3), QPointF(3, 13));
            break;
        case Shape::Help: {
            p.setPen(outline(shade(c, 60)));
            p.setBrush(c);
            p.drawEllipse(QPointF(8, 8), 7.2, 7.2);
            pixelText(p, "?", 5, 3, Qt::white, 2);
            break;
        }
        case Shape::Grid: {
            p.setPen(outline(c));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            for (double v : {5.83, 10.17}) {
                p.drawLine(QPointF(1.5, v), QPointF(14.5, v));
                p.drawLine(QPointF(v, 1.5), QPointF(v, 14.5));
            }
            break;
        }
        case Shape::Floppy:
            floppy(p, c);
            break;
        case Shape::Arrow:
            switch (s.dir) {
                case Left:
                    arrow(p, c, {14, 8}, {1.5, 8}, 3, 5.5);
                    break;
                case Right:
                    arrow(p, c, {2, 8}, {14.5, 8}, 3, 5.5);
                    break;
                case Up:
                    arrow(p, c, {8, 14}, {8, 1.5}, 3, 5.5);
                    break;
                case Down:
                    arrow(p, c, {8, 2}, {8, 14.5}, 3, 5.5);
                    break;
                default:
                    arrow(p, c, {8, 1}, {8, 11}, 3, 5);
                    p.setPen(Qt::NoPen);
                    p.setBrush(QColor(0x37, 0x47, 0x4F));
                    p.drawRect(QRectF(1.5, 12.5, 13, 2.5));
                    break;
            }
            break;
        case Shape::ListStep: {
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 4; ++i) {
                p.setBrush(i == (s.dir == Down ? 2 : 1) ? c : QColor(0x90, 0xA4, 0xAE));
                p.drawRect(QRectF(1, 1.5 + i * 3.5, 7, 2));
            }
            if (s.dir == Down)
                arrow(p, c, {12, 1.5}, {12, 14.5}, 2.4, 4.5);
            else
                arrow(p, c, {12, 14.5}, {12, 1.5}, 2.4, 4.5);
            break;
        }
        case Shape::Eject:
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            triangle(p, {8, 2}, {14.5, 9}, {1.5, 9});
            p.drawRect(QRectF(1.5, 11, 13, 3));
            break;
        case Shape::Media:
            media(p, c, s.dir);
            break;
        case Shape::Fullscreen: {
            p.setPen(outline(QColor(0x90, 0xA4, 0xAE)));
            p.setBrush(QColor(0xEC, 0xEF, 0xF1));
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            const QPointF corners[] = {{2.5, 2.5}, {13.5, 2.5}, {2.5, 13.5}, {13.5, 13.5}};
            for (const QPointF& k : corners)
                arrow(p, c, QPointF(8, 8) + (k - QPointF(8, 8)) * 0.2, k, 1.3, 2.8);
            break;
        }
        case Shape::Clock: {
            p.setPen(outline(shade(c, 60), 1.2));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
            p.setPen(outline(c, 1.4));
            p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
            p.drawLine(QPointF(8, 8), QPointF(11.5, 9.5));
            break;
        }
        case Shape::Copy: {
            page(p, 1.5, 0.5, 10.5, 11.5);
            page(p, 5.5, 4.5, 14.5, 15.5);
            if (*s.label) {
                pixelText(p, s.label, 8.5, 8, c, 1.4);
            } else {
                lines(p, QColor(0x90, 0x90, 0x90), 7.5, 12.5, {8.5, 10.5});
            }
            break;
        }
        case Shape::Tree: {
            p.setPen(outline(QColor(0x78, 0x90, 0x9C)));
            p.drawLine(QPointF(3.5, 4), QPointF(3.5, 12.5));
            p.drawLine(QPointF(3.5, 8.5), QPointF(8, 8.5));
            p.drawLine(QPointF(3.5, 12.5), QPointF(8, 12.5));
            p.setPen(outline(shade(c, 60)));
            p.setBrush(c);
            p.drawRect(QRectF(1.5, 1, 4, 3.5));
            p.setBrush(QColor(0xE8, 0xB8, 0x30));
            p.drawRect(QRectF(8.5, 6.5, 6, 4));
            p.drawRect(QRectF(8.5, 11, 6, 4));
            break;
        }
        case Shape::List: {
            for (int i = 0; i < 4; ++i) {
                p.setPen(Qt::NoPen);
                p.setBrush(c);
                p.drawRect(QRectF(1.5, 1.5 + i * 3.5, 2.5, 2.5));
                p.setBrush(QColor(0x90, 0xA4, 0xAE));
                p.drawRect(QRectF(5.5, 2 + i * 3.5, 9, 1.5));
            }
            break;
        }
        case Shape::Package: {
            p.setPen(outline(shade(c, 55)));
            p.setBrush(shade(c, 130));
            p.drawPolygon(QPolygonF({{1.5, 4.5}, {5.5, 1.5}, {14.5, 1.5}, {10.5, 4.5}}));
            p.setBrush(c);
            p.drawRect(QRectF(1.5, 4.5, 9, 10));
            p.setBrush(shade(c, 75));
            p.drawPolygon(QPolygonF({{10.5, 4.5}, {14.5, 1.5}, {14.5, 11.5}, {10.5, 14.5}}));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xFF, 0xE0, 0x82));
            p.drawRect(QRectF(5, 4.5, 2, 4));
            break;
        }
        case Shape::Eye: {
            QPainterPath eye;
            eye.moveTo(0.8, 8);
            eye.quadTo(8, -0.5, 15.2, 8);
            eye.quadTo(8, 16.5, 0.8, 8);
            p.setPen(outline(shade(c, 60)));
            p.setBrush(Qt::white);
            p.drawPath(eye);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawEllipse(QPointF(8, 8), 3.3, 3.3);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(8, 8), 1.4, 1.4);
            break;
        }
        case Shape::Rename: {
            p.setPen(outline(QColor(0x78, 0x90, 0x9C)));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(0.5, 4.5, 15, 7));
            pixelText(p, "AB", 2, 5.5, c);
            p.setPen(outline(QColor(0x21, 0x21, 0x21)));
            p.drawLine(QPointF(11.5, 2.5), QPointF(11.5, 13.5));
            p.drawLine(QPointF(10, 2.5), QPointF(13, 2.5));
            p.drawLine(QPointF(10, 13.5), QPointF(13, 13.5));
            break;
        }
        case Shape::DocPage:
            page(p, 1.5, 0.5, 12.5, 15.5);
            lines(p, QColor(0x90, 0x90, 0x90), 3.5, 10.5, {4.5, 6.5, 8.5});
            break;
        case Shape::Badge:
            badge(p, c, s.label);
            break;
        case Shape::Category:
            category(p, c);
            break;
        case Shape::FixedDrive:
        case Shape::CdDrive:
            drive(p, c, s.shape == Shape::CdDrive);
            break;
        default:
            break;
    }
}

bool isFileType(Shape s) { return s <= Shape::Word; }

void draw(QPainter& p, const Spec& s);

QPixmap pixmapOf(const Spec& s, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, s);
    return pm;
}

void draw(QPainter& p, const Spec& s) {
    const QColor c = QColor::fromRgb(s.colour);
    if (isFileType(s.shape)) {
        page(p);
        if (s.shape == Shape::Word) {
            // A one-letter office type: the letter large on the band.
            const std::string_view label = s.label;
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            if (label.size() == 1) {
                p.drawRect(QRectF(0.5, 3.5, 10, 10));
                pixelText(p, label, 2.5, 4, Qt::white, 1.6);
                lines(p, QColor(0x90, 0x90, 0x90), 11, 13, {6.5, 9.5, 12.5});
            } else {
                lines(p, QColor(0x90, 0x90, 0x90), 4.5, 10.5, {3.5, 5.5, 7.5});
                typeBand(p, c, label);
            }
        } else {
            typeSymbol(p, s, c);
            if (*s.label) typeBand(p, c, s.label);
        }
    } else {
        wholePicture(p, s, c);
    }
    drawMark(p, s.mark);
}

}  // namespace

bool hasIcon(std::string_view key) { return &specOf(key) != &neutral; }

QPixmap iconPixmap(std::string_view key, int size) { return pixmapOf(specOf(key), size); }

namespace {

// An icon of our pictures with the pictures of a few sizes, each drawn when it
// is first asked for: a window draws most of its icons at one size only.
// Otherwise it answers as an icon of ready pictures does: the smallest size
// at least as large as the one asked for (else the largest), scaled down to
// it, and the style's disabled or selected look made from it.
class DrawnIconEngine final : public QIconEngine {
  public:
    DrawnIconEngine(const Spec& spec, std::initializer_list<int> sides)
        : spec_(spec), sides_(sides) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = sideFor(size);
        return QSize(side, side).scaled(size.boundedTo(QSize(side, side)), Qt::KeepAspectRatio);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = sideFor(size);
        auto it = drawn_.find(side);
        if (it == drawn_.end()) it = drawn_.insert(side, pixmapOf(spec_, side));
        QPixmap pm = *it;
        const QSize shown = actualSize(size, mode, state);
        if (shown != pm.size())
            pm = pm.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal && mode != QIcon::Active) {
            QStyleOption option;
            option.palette = QApplication::palette();
            const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pm, &option);
            if (!generated.isNull()) pm = generated;
        }
        return pm;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : sides_) sizes << QSize(side, side);
        return sizes;
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

  private:
    int sideFor(const QSize& size) const {
        const int wanted = size.width() * size.height();
        int best = 0;
        for (int side : sides_)
            if (side * side >= wanted && (best == 0 || side < best)) best = side;
        return best != 0 ? best : sides_.back();
    }

    const Spec& spec_;
    std::vector<int> sides_;
    QHash<int, QPixmap> drawn_;
};

}  // namespace

QIcon icon(std::string_view key) {
    static QHash<QString, QIcon> cache;
    const QString k = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    auto it = cache.find(k);
    if (it != cache.end()) return *it;
    const QIcon i(new DrawnIconEngine(specOf(key), {16, 32}));
    cache.insert(k, i);
    return i;
}

QIcon applicationIcon() { return QIcon(new DrawnIconEngine(application, {16, 32, 48, 64, 128})); }

}  // namespace gui
