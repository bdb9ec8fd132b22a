#include "platform/controls/imagelist.h"

#include "platform/controls/control_helpers.h"
#include "platform/error.h"

namespace platform {

ImageList::ImageList(Form& owner, std::string name) : Control(owner, std::move(name)) {
    setVisible(false);
}

int ImageList::add(std::string key, std::string picture) {
    if (!key.empty()) {
        if (index_.count(key)) raise(err::KeyNotUnique);
        index_.emplace(key, count() + 1);
    }
    images_.push_back({std::move(key), std::move(picture)});
    changed();
    return count();
}

void ImageList::clear() {
    images_.clear();
    index_.clear();
    changed();
}

const ImageList::Image& ImageList::at(int index) const { return detail::atIndex(images_, index); }

const std::string& ImageList::key(int index) const { return at(index).key; }

const std::string& ImageList::picture(int index) const { return at(index).picture; }

int ImageList::indexOf(std::string_view key) const {
    auto it = index_.find(std::string(key));
    return it == index_.end() ? 0 : it->second;
}

}  // namespace platform
