#include "ImageList.h"

#include "Cp1250.h"
#include "ImageError.h"

#include <array>
#include <utility>

namespace vedivez {

namespace {

// Small letter of each Windows-1250 byte. Besides A-Z the code page has capitals at 0x8A-0x8F
// (without 0x8B), five scattered ones between 0xA3 and 0xBC, and 0xC0-0xDE, all with their
// small letter at a fixed distance; 0xD7 is the multiplication sign, not a letter.
constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> lower{};
    for (int b = 0; b < 256; ++b)
        lower[b] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        lower[b] = static_cast<unsigned char>(b + 0x20);
    for (int b : {0x8A, 0x8C, 0x8D, 0x8E, 0x8F})
        lower[b] = static_cast<unsigned char>(b + 0x10);
    const std::pair<int, int> scattered[] = {
        {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE}};
    for (auto [upper, small] : scattered)
        lower[upper] = static_cast<unsigned char>(small);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7)
            lower[b] = static_cast<unsigned char>(b + 0x20);
    return lower;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

} // namespace

void ImageList::Add(std::string name, KeyedImage image) {
    const int index = Count();
    // Overwriting the entry is what makes the later of two equal names win.
    index_[FoldedName(name)] = index;
    items_.push_back({std::move(name), std::move(image)});
}

int ImageList::FindImage(std::string_view name) const {
    const int index = TryFindImage(name);
    if (index < 0)
        throw ImageError("Image '" + MessageExcerpt(name) + "' not found");
    return index;
}

int ImageList::TryFindImage(std::string_view name) const {
    const auto it = index_.find(FoldedName(name));
    return it == index_.end() ? -1 : it->second;
}

std::string ImageList::FoldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
    return folded;
}

} // namespace vedivez
