#include "ImageList.h"

#include "Cp1250.h"
#include "ImageError.h"

#include <utility>

namespace vedivez {

void ImageList::Add(std::string name, KeyedImage image) {
    const int index = Count();
    // Overwriting the entry is what makes the later of two equal names win.
    index_[Cp1250LowerCase(name)] = index;
    items_.push_back({std::move(name), std::move(image)});
}

int ImageList::FindImage(std::string_view name) const {
    const int index = TryFindImage(name);
    if (index < 0)
        throw ImageError("Image '" + MessageExcerpt(name) + "' not found");
    return index;
}

int ImageList::TryFindImage(std::string_view name) const {
    const auto it = index_.find(Cp1250LowerCase(name));
    return it == index_.end() ? -1 : it->second;
}

} // namespace vedivez
