#pragma once

#include <stdexcept>
#include <string>

namespace vedivez {

// Failure to find a picture in the image list; the message is the one the user sees.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vedivez
