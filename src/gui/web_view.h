// The preview browser's engine: Qt WebEngine (from the engines library,
// gui/engines.h), with the program serving the
// local documents itself through its own address scheme ("zelbrin:/E:/a.htm"
// for the file E:\a.htm). So the program, not the engine, decides how a
// document is read: pages by their declared character set (none, gb2312 and
// gbk as code page 936), text documents decoded and shown as plain text,
// folders as a listing of their names, doc and ppt files as a one-line note.
// Local pages load their own pictures, style sheets, scripts and frames but
// reach neither remote addresses nor other files through their scripts.
#pragma once

#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

namespace gui {

// What has to happen before the QApplication is made: the engine's OpenGL
// contexts are shared, and its sandbox is switched off when the program runs
// as root (it cannot start there otherwise), only then. The engine itself is
// loaded with the first browser shown (gui/engines.h), which registers the
// program's scheme before it starts.
void prepareWebEngine();

// The scheme's address of a Windows path, and back ("" for another address).
QUrl localDocumentUrl(std::string_view windowsPath);
std::string windowsPathOfDocumentUrl(const QUrl& url);

// The address the browser model records for an address of the engine: a
// local document as "file:///E:/a.htm" (the model's form), another address
// as it is.
std::string modelAddressOf(const QUrl& url);

}  // namespace gui
