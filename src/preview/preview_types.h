// The file types the preview pane shows, and the viewer each goes to: the
// picture box (pictures of its own kinds), the media player, the Flash
// player, and the browser (web pages, text and office documents, and the
// pictures gif, jpg and jpeg). Every other type is not previewed.
#pragma once

#include <optional>
#include <string_view>

namespace preview {

enum class ViewerKind { Pic, Media, Flash, Web };

// The viewer of a file type (an extension without its "."), compared whole
// with ASCII letter case ignored; nothing for a type outside the table
// ("文件夹", "No扩展名", "png", "dir\README", "").
std::optional<ViewerKind> viewerKindOf(std::string_view type);

// The name the main window keeps for the viewer in front: "pic", "media",
// "flash" or "web".
std::string_view kindName(ViewerKind kind);

}  // namespace preview
