#include "ChooserStyle.h"

namespace tav::builder {
namespace {

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 20;
constexpr int kButtonFontHeight = 13;

// Where a caption starts so that it sits in the middle of the button.
void CentreCaption(CTavScreen* screen, CTavButton* button, const char* caption) {
    int width = 0, height = 0;
    CTavSurface* surface = screen->GetSurface();
    if (surface == nullptr ||
        !surface->GetTextExtent(caption, kChooserFont, 0, kButtonFontHeight, FW_BOLD, &width, &height))
        return;
    button->SetTextOffset(width < kButtonWidth ? (kButtonWidth - width) / 2 : 0,
                          height < kButtonHeight ? (kButtonHeight - height) / 2 : 0);
}

} // namespace

CTavButton* AddChooserButton(CTavScreen* screen, DWORD id, const char* caption, int x, int y) {
    auto* button = new CTavButton;
    button->Initialize(caption, id, static_cast<float>(x), static_cast<float>(y), kButtonWidth, kButtonHeight,
                       screen, "art//buttonnormal.bmp", "art//buttonover.bmp", "art//buttondown.bmp");
    button->SetTextColor(kChooserInk);
    button->SetFont(kChooserFont, 0, kButtonFontHeight, FW_BOLD);
    CentreCaption(screen, button, caption);
    screen->AddObject(button);
    return button;
}

CTavStatic* AddChooserLabel(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width,
                            int height) {
    auto* label = new CTavStatic;
    label->Initialize(text, id, static_cast<float>(x), static_cast<float>(y), width, height, screen);
    label->SetBackColor(0);
    label->SetTransparent(TRUE, label->GetBackColor());
    label->SetTextColor(kChooserLight);
    label->SetFont(kChooserFont, 0, 14, 0);
    screen->AddObject(label);
    return label;
}

CTavEdit* AddChooserEdit(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width,
                         int height) {
    auto* edit = new CTavEdit;
    edit->Initialize(text, id, static_cast<float>(x), static_cast<float>(y), width, height, screen);
    edit->SetBackColor(RGB(240, 240, 240));
    edit->SetTextColor(kChooserInk);
    edit->SetFont(kChooserFont, 0, 14, 0);
    edit->SetTextExtent(4, 3);
    screen->AddObject(edit);
    return edit;
}

CTavListBox* AddChooserList(CTavScreen* screen, DWORD id, const char* column, int x, int y, int width,
                            int height, int columnWidth) {
    auto* list = new CTavListBox;
    list->Initialize(id, static_cast<float>(x), static_cast<float>(y), width, height, screen,
                     "art//listback.bmp");
    list->SetBackColor(RGB(232, 236, 240));
    list->SetSelectedColor(RGB(127, 214, 200));
    list->SetColumnBackColor(RGB(42, 53, 64));
    list->SetColumnTextColor(kChooserLight);
    list->SetTextColor(kChooserInk);
    list->SetLineColor(RGB(190, 198, 206));
    list->SetFont(kChooserFont, 0, 14, 0);
    list->SetColumnFont(kChooserFont, 0, 14, FW_BOLD);
    list->SetItemHeight(18);
    list->AddColumn(column, columnWidth);
    screen->AddObject(list);
    return list;
}

} // namespace tav::builder
