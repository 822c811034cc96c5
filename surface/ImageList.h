#pragma once

#include "KeyedImage.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vedivez {

// The ordered list of named pictures the renderer draws from, with a name index so that the
// per-frame lookups of every element cost a hash probe rather than a scan.
class ImageList {
public:
    // Appends a picture. The name is kept as given (8-bit Windows-1250 bytes); a name that is
    // already present now resolves to this newer item.
    void Add(std::string name, KeyedImage image);

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Name(int index) const { return items_.at(index).name; }
    const KeyedImage& Image(int index) const { return items_.at(index).image; }
    int ImageWidth(int index) const { return Image(index).Width(); }
    int ImageHeight(int index) const { return Image(index).Height(); }

    // Index of the item with this name, ignoring the case of the letters of Windows-1250 (so
    // "č" finds "Č" as "a" finds "A"); of several items with one name, the one added last. Throws
    // ImageError "Image '<name>' not found".
    int FindImage(std::string_view name) const;

    // As FindImage, but -1 for a missing name.
    int TryFindImage(std::string_view name) const;

private:
    struct Item {
        std::string name;
        KeyedImage image;
    };

    std::vector<Item> items_;
    // By the name's small letters (Cp1250LowerCase).
    std::unordered_map<std::string, int> index_;
};

} // namespace vedivez
