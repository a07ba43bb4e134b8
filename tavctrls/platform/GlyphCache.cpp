#include "tavctrls/platform/GlyphCache.h"

namespace tav::platform {

const Glyph* GlyphCache::Find(char32_t codePoint) {
    const Glyph* found = nullptr;
    if (codePoint < latin1_.size()) {
        found = latin1_[codePoint].get();
    } else if (auto it = others_.find(codePoint); it != others_.end()) {
        found = &it->second;
    }
    ++(found != nullptr ? hits_ : misses_);
    return found;
}

const Glyph& GlyphCache::Insert(char32_t codePoint, Glyph glyph) {
    const std::size_t bytes = glyph.Bytes();
    if (bytes_ + bytes > budget_)
        Clear();
    bytes_ += bytes;
    ++count_;
    if (codePoint < latin1_.size()) {
        auto& slot = latin1_[codePoint];
        slot = std::make_unique<Glyph>(std::move(glyph));
        return *slot;
    }
    return others_.insert_or_assign(codePoint, std::move(glyph)).first->second;
}

void GlyphCache::Clear() {
    for (auto& slot : latin1_)
        slot.reset();
    others_.clear();
    bytes_ = 0;
    count_ = 0;
}

} // namespace tav::platform
