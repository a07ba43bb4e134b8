#pragma once

#include "tavctrls/platform/FontMatcher.h"

#include <memory>

// FreeType's handle, declared as FreeType declares it so that this header needs none of its headers.
typedef struct FT_FaceRec_* FT_Face;

namespace tav::platform {

// One opened FreeType face, shared by every sized font made from it, with the metrics (in font units)
// that the cell height and the average character width are measured against.
class FontFace {
public:
    // The face at `location`, shared with the fonts that already use it; null when FreeType cannot
    // open it or it has no usable metrics.
    static std::shared_ptr<FontFace> Open(const FaceLocation& location);

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_Face face() const { return face_; }
    const FaceLocation& location() const { return location_; }
    bool scalable() const;

    // Font units: the cell above and below the baseline, and the average character width.
    int cellAscent() const { return cellAscent_; }
    int cellDescent() const { return cellDescent_; }
    int averageWidth() const { return averageWidth_; }
    int unitsPerEm() const;

private:
    struct Library;

    FontFace(std::shared_ptr<Library> library, FT_Face face, FaceLocation location);
    void MeasureCell();
    void MeasureAverageWidth();

    std::shared_ptr<Library> library_; // outlives the face
    FT_Face face_;
    FaceLocation location_;
    int cellAscent_ = 0;
    int cellDescent_ = 0;
    int averageWidth_ = 0;
};

} // namespace tav::platform
