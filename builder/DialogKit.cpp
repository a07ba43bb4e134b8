#include "builder/DialogKit.h"

#include "builder/KitControls.h"

#include <algorithm>

namespace tav::builder {
namespace {

// The back colour of labels and check boxes, keyed out over the background.
constexpr COLORREF kKey = RGB(0, 0, 255);
constexpr COLORREF kFieldBack = RGB(240, 243, 246);
constexpr int kButtonGap = 8;
constexpr int kCaptionPadding = 12;
constexpr float kRowSlack = 8;

// Adds an object whose initialisation succeeded; drops it otherwise.
template <typename T>
T* Keep(CTavScreen* screen, T* object, DWORD initialized) {
    if (initialized == TAVERROR_OK && screen->AddObject(object) == TAVERROR_OK)
        return object;
    TavDeleteObject(object);
    return nullptr;
}

int TextWidth(const std::string& text, const KitFont& font) {
    CTavSurface probe;
    int width = 0;
    if (probe.Create(1, 1) == TAVERROR_OK)
        probe.GetTextExtent(text.c_str(), font.name.c_str(), 0, font.height, font.weight, &width, nullptr);
    return width;
}

// Where a side of `size` starts, relative to its owner, to sit in the owner's middle and inside the window.
int Centred(int ownerAt, int ownerSize, int windowSize, int size) {
    const int at = std::clamp(ownerAt + (ownerSize - size) / 2, 0, std::max(0, windowSize - size));
    return at - ownerAt;
}

bool IsField(const CTavObject* object) {
    return dynamic_cast<const CTavEdit*>(object) != nullptr ||
           dynamic_cast<const CTavCheckBox*>(object) != nullptr ||
           dynamic_cast<const CTavListBox*>(object) != nullptr ||
           dynamic_cast<const CTavButton*>(object) != nullptr;
}

} // namespace

DialogKit::DialogKit(int width, int height) : m_statedWidth(width), m_statedHeight(height) {}

bool DialogKit::Open(CTavScreen* owner) {
    const int width = std::min(m_statedWidth, owner->GetWidth());
    const int height = std::min(m_statedHeight, owner->GetHeight());
    if (Initialize(1, 0, 0, width, height, TAVSCREEN_POPUP, owner) != TAVERROR_OK)
        return false;
    const CTavScreen* window = owner;
    while (window->GetParent() != nullptr)
        window = window->GetParent();
    // Placed once the fields are in: a dialog may have grown for them.
    SetPosition(Centred(owner->GetAppX(), owner->GetWidth(), window->GetWidth(), GetWidth()),
                Centred(owner->GetAppY(), owner->GetHeight(), window->GetHeight(), GetHeight()));
    SetFocus(TRUE);
    if (Focused() == nullptr)
        if (const std::vector<CTavObject*> order = FocusOrder(); !order.empty())
            FocusField(order.front());
    return owner->SetChildScreen(this) == TAVERROR_OK;
}

std::vector<CTavObject*> DialogKit::FocusOrder() const {
    std::vector<CTavObject*> fields;
    for (int i = 0; i < GetObjectCount(); ++i)
        if (CTavObject* object = GetObjectAt(i); object->IsVisible() && IsField(object))
            fields.push_back(object);
    // Rows first, then left to right within a row: fields a few pixels apart in height share a row.
    std::stable_sort(fields.begin(), fields.end(),
                     [](const CTavObject* a, const CTavObject* b) { return a->GetY() < b->GetY(); });
    for (auto row = fields.begin(); row != fields.end();) {
        const float top = (*row)->GetY();
        const auto end = std::find_if(row, fields.end(),
                                      [top](const CTavObject* f) { return f->GetY() > top + kRowSlack; });
        std::stable_sort(row, end,
                         [](const CTavObject* a, const CTavObject* b) { return a->GetX() < b->GetX(); });
        row = end;
    }
    return fields;
}

CTavObject* DialogKit::Focused() const {
    for (int i = 0; i < GetObjectCount(); ++i)
        if (CTavObject* object = GetObjectAt(i); object->HasFocus() && object->IsVisible())
            return object;
    return nullptr;
}

void DialogKit::FocusField(CTavObject* field) {
    if (field == nullptr)
        return;
    field->SetFocus(TRUE);
    if (auto* edit = dynamic_cast<CTavEdit*>(field))
        edit->SelectAll();
    Invalidate();
}

void DialogKit::MoveFocus(int step) {
    const std::vector<CTavObject*> order = FocusOrder();
    if (order.empty())
        return;
    const auto at = std::find(order.begin(), order.end(), Focused());
    const int count = static_cast<int>(order.size());
    // Nothing focused: forwards starts at the first field, backwards at the last.
    const int from = at != order.end() ? static_cast<int>(at - order.begin()) : (step > 0 ? -1 : 0);
    FocusField(order[static_cast<size_t>(((from + step) % count + count) % count)]);
}

void DialogKit::AfterKeyDown(UINT key) {
    CTavObject* focused = Focused();
    const auto* button = dynamic_cast<const CTavButton*>(focused);
    switch (key) {
    case VK_TAB:
        MoveFocus((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1);
        break;
    case VK_ESCAPE:
        if (m_hasKeys)
            OnButtonDown(m_cancel);
        break;
    case VK_RETURN:
        // A multi-line edit takes Return as a new line; a focused button is pressed.
        if (const auto* edit = dynamic_cast<const CTavEdit*>(focused); edit != nullptr && edit->IsMultiline())
            break;
        if (button != nullptr)
            OnButtonDown(button->GetID());
        else if (m_hasKeys)
            OnButtonDown(m_ok);
        break;
    case VK_SPACE:
        if (button != nullptr)
            OnButtonDown(button->GetID());
        break;
    default:
        break;
    }
}

void DialogKit::AfterLMouseDown(int x, int y) {
    // A press beside the pressed control leaves nothing pressed.
    if (m_pressed != nullptr) {
        bool on = false;
        for (int i = 0; i < GetObjectCount(); ++i)
            on = on || (GetObjectAt(i) == m_pressed && m_pressed->HitTest(x, y));
        if (!on)
            m_pressed = nullptr;
    }
}

void DialogKit::AfterBackBufferRedrawn() {
    CTavObject* field = Focused();
    CTavSurface* surface = GetSurface();
    if (field == nullptr || surface == nullptr || !IsField(field))
        return;
    const int left = static_cast<int>(field->GetX()), top = static_cast<int>(field->GetY());
    const int right = left + field->GetWidth(), bottom = top + field->GetHeight();
    for (int ring = 1; ring <= 2; ++ring) {
        const int l = left - ring, t = top - ring, r = right + ring - 1, b = bottom + ring - 1;
        surface->DrawLine(l, t, r, t, kAccent);
        surface->DrawLine(r, t, r, b, kAccent);
        surface->DrawLine(r, b, l, b, kAccent);
        surface->DrawLine(l, b, l, t, kAccent);
    }
}

void DialogKit::OnObjectGotFocus(DWORD) {
    Invalidate();
}

CTavStatic* DialogKit::AddLabel(DWORD id, const std::string& text, int x, int y, int width, int height) {
    auto* label = new CTavStatic;
    const DWORD made = label->Initialize(text.c_str(), id, static_cast<float>(x), static_cast<float>(y),
                                         width, height, this);
    if (made == TAVERROR_OK) {
        label->SetBackColor(kKey);
        label->SetTransparent(TRUE, kKey);
        label->SetTextColor(kLight);
        label->SetFont(kFont, 0, kFontHeight, 0);
        label->SetTextExtent(0, std::max(0, (height - kFontHeight - 3) / 2));
    }
    return Keep(this, label, made);
}

CTavStatic* DialogKit::AddText(DWORD id, const std::string& text, int x, int y, int width, int height) {
    CTavStatic* label = AddLabel(id, text, x, y, width, height);
    if (label != nullptr) {
        label->SetTextExtent(0, 0);
        label->SetMultiline(TRUE);
    }
    return label;
}

CTavEdit* DialogKit::AddEdit(DWORD id, const std::string& text, int x, int y, int width, int height,
                             int digits) {
    auto* edit = new CTavEdit;
    const DWORD made =
        edit->Initialize(text.c_str(), id, static_cast<float>(x), static_cast<float>(y), width, height, this);
    if (made == TAVERROR_OK) {
        edit->SetBackColor(kFieldBack);
        edit->SetTextColor(kInk);
        edit->SetFont(kFont, 0, kFontHeight, 0);
        edit->SetTextExtent(3, std::max(0, (height - kFontHeight - 3) / 2));
        if (digits > 0) {
            edit->SetNumbersOnly(TRUE);
            edit->SetMaxLength(digits);
        }
    }
    return Keep(this, edit, made);
}

CTavCheckBox* DialogKit::AddCheckBox(DWORD id, const std::string& caption, int x, int y, int width,
                                     int height) {
    auto* box = new KitCheckBox;
    const DWORD made = box->Initialize(caption.c_str(), id, static_cast<float>(x), static_cast<float>(y),
                                       width, height, this, "art//checkyes.bmp", "art//checkno.bmp");
    if (made == TAVERROR_OK) {
        box->SetBackColor(kKey);
        box->SetTransparent(TRUE, kKey);
        box->SetTextColor(kLight);
        box->SetKitFont({kFont, kFontHeight, 0});
    }
    return Keep<CTavCheckBox>(this, box, made);
}

CTavButton* DialogKit::AddButton(DWORD id, const std::string& caption, int x, int y, int width) {
    const KitFont font{kFont, kFontHeight, FW_BOLD};
    const int textWidth = TextWidth(caption, font);
    width = std::max(width, textWidth + kCaptionPadding);
    auto* button = new KitButton;
    const DWORD made = button->Initialize(caption.c_str(), id, static_cast<float>(x), static_cast<float>(y),
                                          width, kButtonHeight, this, "art//buttonnormal.bmp",
                                          "art//buttonover.bmp", "art//buttondown.bmp");
    if (made == TAVERROR_OK) {
        button->SetTextColor(kInk);
        button->SetKitFont(font);
        button->SetTextOffset((width - textWidth) / 2, (kButtonHeight - kFontHeight - 3) / 2);
    }
    return Keep<CTavButton>(this, button, made);
}

CTavListBox* DialogKit::AddList(DWORD id, int x, int y, int width, int height) {
    auto* list = new CTavListBox;
    const DWORD made = list->Initialize(id, static_cast<float>(x), static_cast<float>(y), width, height, this,
                                        "art//listback.bmp");
    if (made == TAVERROR_OK) {
        list->SetBackColor(RGB(233, 237, 242));
        list->SetSelectedColor(RGB(127, 214, 200));
        list->SetColumnBackColor(RGB(42, 53, 64));
        list->SetColumnTextColor(kLight);
        list->SetTextColor(kInk);
        list->SetLineColor(RGB(190, 198, 206));
        list->SetFont(kFont, 0, kFontHeight, 0);
        list->SetColumnFont(kFont, 0, kFontHeight, FW_BOLD);
        list->SetItemHeight(18);
    }
    return Keep(this, list, made);
}

void DialogKit::AddOkCancel(DWORD ok, DWORD cancel, const std::string& okCaption) {
    const int y = GetHeight() - kMargin - kButtonHeight;
    const int cancelX = GetWidth() - kMargin - kButtonWidth;
    AddButton(ok, okCaption, cancelX - kButtonGap - kButtonWidth, y);
    AddButton(cancel, "Cancel", cancelX, y);
    SetKeyButtons(ok, cancel);
}

void DialogKit::SetKeyButtons(DWORD ok, DWORD cancel) {
    m_hasKeys = true;
    m_ok = ok;
    m_cancel = cancel;
}

void DialogKit::ShowError(const std::string& message) {
    MessageBox(message.c_str());
}

std::string TextOf(const CTavScreen* screen, DWORD id) {
    const auto* text = dynamic_cast<const CTavStatic*>(screen->GetObjectByID(id));
    return text != nullptr ? text->GetText() : "";
}

void SetTextOf(CTavScreen* screen, DWORD id, const std::string& text) {
    if (auto* field = dynamic_cast<CTavStatic*>(screen->GetObjectByID(id)))
        field->SetText(text.c_str());
}

BOOL ValueOf(const CTavScreen* screen, DWORD id) {
    const auto* box = dynamic_cast<const CTavCheckBox*>(screen->GetObjectByID(id));
    return box != nullptr && box->GetValue() ? TRUE : FALSE;
}

void SetValueOf(CTavScreen* screen, DWORD id, BOOL value) {
    if (auto* box = dynamic_cast<CTavCheckBox*>(screen->GetObjectByID(id)))
        box->SetValue(value);
}

void SetVisibleOf(CTavScreen* screen, std::initializer_list<DWORD> ids, BOOL visible) {
    for (DWORD id : ids)
        if (CTavObject* object = screen->GetObjectByID(id))
            object->SetVisible(visible);
}

void FocusOn(CTavScreen* screen, DWORD id) {
    if (CTavObject* object = screen->GetObjectByID(id))
        object->SetFocus(TRUE);
}

} // namespace tav::builder
