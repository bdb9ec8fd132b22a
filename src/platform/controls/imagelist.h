// The image list shared by the trees, the lists and the toolbar: images
// numbered from 1 in the order they were added, each with a key. The
// controls refer to an image by its number.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class ImageList : public Control {
  public:
    ImageList(Form& owner, std::string name);
    const char* kind() const override { return "ImageList"; }

    // Appends an image; picture names the program's resource that draws it
    // (may be empty). A duplicate key raises 35602.
    int add(std::string key, std::string picture = {});
    void clear();
    int count() const { return static_cast<int>(images_.size()); }
    // Key and picture of image i (1-based; 35600 outside 1..count).
    const std::string& key(int index) const;
    const std::string& picture(int index) const;
    // The number of the image with exactly that key, 0 when none.
    int indexOf(std::string_view key) const;

  private:
    struct Image {
        std::string key;
        std::string picture;
    };
    const Image& at(int index) const;
    std::vector<Image> images_;
    std::unordered_map<std::string, int> index_;
};

}  // namespace platform
