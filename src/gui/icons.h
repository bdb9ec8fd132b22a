// The pictures of the image list: small icons of our own, drawn in code from
// a table keyed by the image list's keys (file types, folders, discs and the
// toolbar's commands), the drive list's pictures ("drivefixed", "drivecd")
// and the application's icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace gui {

// True when the table has a picture of its own for key.
bool hasIcon(std::string_view key);

// The picture of key at size x size pixels (16 in trees, lists and the
// toolbar). A key the table does not know gets a neutral tag picture.
QPixmap iconPixmap(std::string_view key, int size = 16);

// The same as an icon, cached per key.
QIcon icon(std::string_view key);

// The application's icon (a catalogued disc under a magnifier; no picture of
// the image list looks like it).
QIcon applicationIcon();

}  // namespace gui
