#include "tavctrls/platform/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <string_view>
#include <utility>

namespace tav::platform {

struct FontFace::Library {
    FT_Library handle = nullptr;

    Library() {
        if (FT_Init_FreeType(&handle) != 0)
            handle = nullptr;
    }
    ~Library() {
        if (handle != nullptr)
            FT_Done_FreeType(handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

namespace {

// OS/2 tables that FreeType could not read carry this version.
constexpr FT_UShort kMissingOs2 = 0xFFFF;

const TT_OS2* Os2Table(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2 != nullptr && os2->version != kMissingOs2 ? os2 : nullptr;
}

} // namespace

std::shared_ptr<FontFace> FontFace::Open(const FaceLocation& location) {
    static std::weak_ptr<Library> sharedLibrary;
    static std::map<std::pair<std::string, int>, std::weak_ptr<FontFace>> opened;

    const auto key = std::make_pair(location.file, location.index);
    if (auto it = opened.find(key); it != opened.end())
        if (auto face = it->second.lock())
            return face;
    std::shared_ptr<Library> library = sharedLibrary.lock();
    if (library == nullptr) {
        library = std::make_shared<Library>();
        if (library->handle == nullptr)
            return nullptr;
        sharedLibrary = library;
    }
    FT_Face handle = nullptr;
    if (FT_New_Face(library->handle, location.file.c_str(), location.index, &handle) != 0)
        return nullptr;
    std::shared_ptr<FontFace> face(new FontFace(std::move(library), handle, location));
    if (face->scalable() && (face->cellAscent_ + face->cellDescent_ <= 0 || face->averageWidth_ <= 0))
        return nullptr;
    if (!face->scalable() && face->face_->num_fixed_sizes < 1)
        return nullptr;
    std::erase_if(opened, [](const auto& entry) { return entry.second.expired(); });
    opened[key] = face;
    return face;
}

FontFace::FontFace(std::shared_ptr<Library> library, FT_Face face, FaceLocation location)
    : library_(std::move(library)), face_(face), location_(std::move(location)) {
    // Symbol fonts have no Unicode map; their first map is the best there is.
    if (face_->charmap == nullptr && face_->num_charmaps > 0)
        FT_Set_Charmap(face_, face_->charmaps[0]);
    if (scalable()) {
        MeasureCell();
        MeasureAverageWidth();
    }
}

FontFace::~FontFace() {
    FT_Done_Face(face_);
}

bool FontFace::scalable() const {
    return FT_IS_SCALABLE(face_);
}

int FontFace::unitsPerEm() const {
    return face_->units_per_EM;
}

void FontFace::MeasureCell() {
    if (const TT_OS2* os2 = Os2Table(face_); os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        cellAscent_ = os2->usWinAscent;
        cellDescent_ = os2->usWinDescent;
    } else if (face_->ascender - face_->descender > 0) {
        cellAscent_ = face_->ascender;
        cellDescent_ = -face_->descender;
    } else {
        cellAscent_ = static_cast<int>(face_->bbox.yMax);
        cellDescent_ = static_cast<int>(-face_->bbox.yMin);
    }
}

void FontFace::MeasureAverageWidth() {
    if (const TT_OS2* os2 = Os2Table(face_); os2 != nullptr && os2->xAvgCharWidth > 0) {
        averageWidth_ = os2->xAvgCharWidth;
        return;
    }
    // Without the table: the mean advance of the lower-case letters and the space.
    static constexpr char kSample[] = "abcdefghijklmnopqrstuvwxyz ";
    long total = 0;
    int count = 0;
    for (const char c : std::string_view(kSample)) {
        FT_Fixed advance = 0;
        const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(c));
        if (index != 0 && FT_Get_Advance(face_, index, FT_LOAD_NO_SCALE, &advance) == 0 && advance > 0) {
            total += advance;
            ++count;
        }
    }
    averageWidth_ = count > 0 ? static_cast<int>(total / count) : face_->units_per_EM / 2;
}

} // namespace tav::platform
