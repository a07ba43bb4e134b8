#include "tavctrls/platform/FontMatcher.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <set>
#include <utility>

namespace tav::platform {

namespace {

// Enough for every font a program asks for; a flood of distinct names only costs new look-ups.
constexpr std::size_t kMaxRemembered = 256;

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// Fontconfig for the life of the process, handed back at exit so that leak checkers see a clean end.
struct Fontconfig {
    bool ok = FcInit() == FcTrue;

    Fontconfig() = default;
    ~Fontconfig() {
        if (ok)
            FcFini();
    }
    Fontconfig(const Fontconfig&) = delete;
    Fontconfig& operator=(const Fontconfig&) = delete;
};

bool Initialized() {
    static const Fontconfig fontconfig;
    return fontconfig.ok;
}

std::optional<FaceLocation> QueryFace(const std::string& family, bool bold) {
    Pattern pattern(FcPatternCreate());
    if (pattern == nullptr)
        return std::nullopt;
    // Added as a plain string rather than parsed, so that ':' or '-' in a name mean nothing special.
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (match == nullptr || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    FaceLocation location;
    location.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &location.index);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    location.bold = weight >= FC_WEIGHT_DEMIBOLD;
    return location;
}

} // namespace

std::optional<FaceLocation> MatchFace(const std::string& family, bool bold) {
    static std::map<std::pair<std::string, bool>, std::optional<FaceLocation>> remembered;
    if (!Initialized())
        return std::nullopt;
    auto key = std::make_pair(family, bold);
    if (auto it = remembered.find(key); it != remembered.end())
        return it->second;
    if (remembered.size() >= kMaxRemembered)
        remembered.clear();
    return remembered.emplace(std::move(key), QueryFace(family, bold)).first->second;
}

std::vector<std::string> ListFamilies() {
    std::set<std::string> families;
    if (!Initialized())
        return {};
    Pattern pattern(FcPatternCreate());
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
    FcFontSet* fonts =
        pattern != nullptr && objects != nullptr ? FcFontList(nullptr, pattern.get(), objects) : nullptr;
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            families.emplace(reinterpret_cast<const char*>(family));
    }
    if (fonts != nullptr)
        FcFontSetDestroy(fonts);
    if (objects != nullptr)
        FcObjectSetDestroy(objects);
    return {families.begin(), families.end()};
}

} // namespace tav::platform
