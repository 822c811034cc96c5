#include "ImageList.h"

#include "ImageError.h"

namespace vedivez {

void ImageList::Add(std::string name, KeyedImage image) {
    const int index = Count();
    // Overwriting the entry is what makes the later of two equal names win.
    index_[FoldedName(name)] = index;
    items_.push_back({std::move(name), std::move(image)});
}

int ImageList::FindImage(std::string_view name) const {
    const int index = TryFindImage(name);
    if (index < 0)
        throw ImageError("Image '" + std::string(name) + "' not found");
    return index;
}

int ImageList::TryFindImage(std::string_view name) const {
    const auto it = index_.find(FoldedName(name));
    return it == index_.end() ? -1 : it->second;
}

std::string ImageList::FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

} // namespace vedivez
