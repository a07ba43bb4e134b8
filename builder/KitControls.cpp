#include "builder/KitControls.h"

#include "builder/DialogKit.h"

namespace tav::builder {
namespace {

DialogKit* KitOf(CTavScreen* screen) {
    return dynamic_cast<DialogKit*>(screen);
}

// True when the release at hand ends a press on `control`; it ends that press either way.
bool ReleaseEndsPress(CTavScreen* screen, CTavObject* control) {
    DialogKit* kit = KitOf(screen);
    if (kit == nullptr)
        return true;
    const bool pressed = kit->PressedOn(control);
    kit->Press(nullptr);
    return pressed;
}

} // namespace

BOOL KitButton::OnLMouseDown(int x, int y) {
    if (DialogKit* kit = KitOf(GetScreen()))
        kit->Press(this);
    return CTavButton::OnLMouseDown(x, y);
}

BOOL KitButton::OnLMouseUp(int x, int y) {
    if (!ReleaseEndsPress(GetScreen(), this)) {
        SetState(1);
        return FALSE;
    }
    return CTavButton::OnLMouseUp(x, y);
}

void KitButton::SetKitFont(const KitFont& font) {
    m_font = font;
    SetFont(font.name.c_str(), 0, font.height, font.weight);
}

BOOL KitCheckBox::OnLMouseDown(int x, int y) {
    if (DialogKit* kit = KitOf(GetScreen()))
        kit->Press(this);
    return CTavCheckBox::OnLMouseDown(x, y);
}

BOOL KitCheckBox::OnLMouseUp(int x, int y) {
    return ReleaseEndsPress(GetScreen(), this) ? CTavCheckBox::OnLMouseUp(x, y) : FALSE;
}

void KitCheckBox::SetKitFont(const KitFont& font) {
    m_font = font;
    SetFont(font.name.c_str(), 0, font.height, font.weight);
}

} // namespace tav::builder
