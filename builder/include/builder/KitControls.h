#pragma once

#include "tavctrls/TavCtrls.h"

#include <string>

namespace tav::builder {

// The font a kit control draws its text with.
struct KitFont {
    std::string name;
    int height = 0;
    int weight = 0;
};

// A dialog button that acts only on a release that follows a press on it.
class KitButton : public CTavButton {
public:
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnLMouseUp(int x, int y) override;
    void SetKitFont(const KitFont& font);
    const KitFont& GetKitFont() const { return m_font; }

private:
    KitFont m_font;
};

// A dialog check box that toggles only on a release that follows a press on it.
class KitCheckBox : public CTavCheckBox {
public:
    BOOL OnLMouseDown(int x, int y) override;
    BOOL OnLMouseUp(int x, int y) override;
    void SetKitFont(const KitFont& font);
    const KitFont& GetKitFont() const { return m_font; }

private:
    KitFont m_font;
};

} // namespace tav::builder
