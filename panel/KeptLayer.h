#pragma once

#include "surface/Surface.h"

#include <QImage>

namespace vedivez {

// The lower layers of a frame (background, tiles, grid, check marks) kept between frames:
// they depend only on what `Key` holds and change far less often than every 16 ms. A copy
// costs a copy of the buffer, so one is kept only once the layers stayed the same for two
// frames, not while an edit changes them every frame.
template <typename Key> class KeptLayer {
public:
    // Puts the layers for `key` on the surface: the kept copy when it is theirs, else
    // `draw()`'s drawing.
    template <typename Draw> void Show(Surface& surface, const Key& key, Draw&& draw) {
        if (on_ && valid_ && key == keptKey_) {
            surface.RestoreBuffer(kept_);
        } else {
            draw();
            valid_ = false;
            if (on_ && key == lastKey_) {
                surface.SaveBuffer(kept_);
                keptKey_ = key;
                valid_ = true;
            }
        }
        lastKey_ = key;
    }

    void SetOn(bool on) {
        on_ = on;
        valid_ = false;
    }

private:
    bool on_ = true;
    bool valid_ = false;
    QImage kept_;
    Key keptKey_{};
    Key lastKey_{}; // of the previous frame
};

} // namespace vedivez
