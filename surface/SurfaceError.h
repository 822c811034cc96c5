#pragma once

#include <stdexcept>
#include <string>

namespace vedivez {

// Failure to create the drawing surface's back buffer; the message is the one the user sees.
class SurfaceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vedivez
