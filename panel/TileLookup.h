#pragma once

#include <functional>
#include <string>
#include <unordered_set>

namespace vedivez {

class ImageList;

// Finds the pictures of element names in the image list for walks over many elements: the
// last name is kept at hand (neighbouring cells often hold the same tile), and each name
// without a picture is reported once.
class TileLookup {
public:
    explicit TileLookup(const ImageList& images) : images_(images) {}

    // Index of the name's picture, -1 when it has none.
    int IndexFor(const std::string& name);

    // Receives "Image '<name>' not found" the first time a name has no picture.
    std::function<void(const std::string& message)> onMissingImage;

private:
    const ImageList& images_;
    std::unordered_set<std::string> reported_;
    std::string lastName_;
    int lastIndex_ = -1;
    bool lastValid_ = false;
};

} // namespace vedivez
