#include "panel/TileLookup.h"

#include "surface/Cp1250.h"
#include "surface/ImageList.h"

namespace vedivez {

int TileLookup::IndexFor(const std::string& name) {
    if (!lastValid_ || name != lastName_) {
        lastName_ = name;
        lastIndex_ = images_.TryFindImage(name);
        lastValid_ = true;
        if (lastIndex_ < 0 && reported_.insert(name).second && onMissingImage)
            onMissingImage("Image '" + MessageExcerpt(name) + "' not found");
    }
    return lastIndex_;
}

} // namespace vedivez
