#include "builder/FormControls.h"

#include <algorithm>
#include <system_error>

namespace tav::builder {

namespace {

constexpr const char* kButtonNormal = "art//buttonnormal.bmp";
constexpr const char* kButtonOver = "art//buttonover.bmp";
constexpr const char* kButtonDown = "art//buttondown.bmp";
constexpr const char* kCheckYes = "art//checkyes.bmp";
constexpr const char* kCheckNo = "art//checkno.bmp";
constexpr const char* kListBack = "art//listback.bmp";

// The back colour of labels and check boxes, keyed out over the background.
constexpr COLORREF kKey = RGB(0, 0, 255);
constexpr COLORREF kLight = RGB(235, 240, 245);
constexpr COLORREF kInk = RGB(24, 32, 40);
constexpr COLORREF kFieldBack = RGB(240, 243, 246);
constexpr int kFontHeight = 15;

// Adds an object whose initialisation succeeded; drops it otherwise.
template <typename T>
T* Keep(CTavScreen* screen, T* object, DWORD initialized) {
    if (initialized == TAVERROR_OK && screen->AddObject(object) == TAVERROR_OK)
        return object;
    TavDeleteObject(object);
    return nullptr;
}

int CaptionWidth(const char* caption) {
    CTavSurface probe;
    int width = 0;
    if (probe.Create(1, 1) == TAVERROR_OK)
        probe.GetTextExtent(caption, "Verdana", 0, kFontHeight, FW_BOLD, &width, nullptr);
    return width;
}

} // namespace

CTavStatic* AddLabel(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width, int height) {
    auto* label = new CTavStatic;
    const DWORD made =
        label->Initialize(text, id, static_cast<float>(x), static_cast<float>(y), width, height, screen);
    if (made == TAVERROR_OK) {
        label->SetBackColor(kKey);
        label->SetTransparent(TRUE, kKey);
        label->SetTextColor(kLight);
        label->SetFont("Verdana", 0, kFontHeight, 0);
    }
    return Keep(screen, label, made);
}

CTavEdit* AddEdit(CTavScreen* screen, DWORD id, const std::string& text, int x, int y, int width, int height,
                  int digitsLimit) {
    auto* edit = new CTavEdit;
    const DWORD made = edit->Initialize(text.c_str(), id, static_cast<float>(x), static_cast<float>(y), width,
                                        height, screen);
    if (made == TAVERROR_OK) {
        edit->SetBackColor(kFieldBack);
        edit->SetTextColor(kInk);
        edit->SetFont("Verdana", 0, kFontHeight, 0);
        edit->SetTextExtent(3, std::max(0, (height - kFontHeight) / 2));
        if (digitsLimit > 0) {
            edit->SetNumbersOnly(TRUE);
            edit->SetMaxLength(digitsLimit);
        }
    }
    return Keep(screen, edit, made);
}

CTavCheckBox* AddCheckBox(CTavScreen* screen, DWORD id, const char* caption, int x, int y, int width,
                          int height) {
    auto* box = new CTavCheckBox;
    const DWORD made = box->Initialize(caption, id, static_cast<float>(x), static_cast<float>(y), width,
                                       height, screen, kCheckYes, kCheckNo);
    if (made == TAVERROR_OK) {
        box->SetBackColor(kKey);
        box->SetTransparent(TRUE, kKey);
        box->SetTextColor(kLight);
        box->SetFont("Verdana", 0, kFontHeight, 0);
    }
    return Keep(screen, box, made);
}

CTavButton* AddButton(CTavScreen* screen, DWORD id, const char* caption, int x, int y) {
    constexpr int kWidth = 50;
    constexpr int kHeight = 20;
    auto* button = new CTavButton;
    const DWORD made = button->Initialize(caption, id, static_cast<float>(x), static_cast<float>(y), kWidth,
                                          kHeight, screen, kButtonNormal, kButtonOver, kButtonDown);
    if (made == TAVERROR_OK) {
        button->SetTextColor(kInk);
        button->SetFont("Verdana", 0, kFontHeight, FW_BOLD);
        button->SetTextOffset(std::max(0, (kWidth - CaptionWidth(caption)) / 2), (kHeight - kFontHeight) / 2);
    }
    return Keep(screen, button, made);
}

CTavListBox* AddListBox(CTavScreen* screen, DWORD id, int x, int y, int width, int height) {
    auto* list = new CTavListBox;
    const DWORD made =
        list->Initialize(id, static_cast<float>(x), static_cast<float>(y), width, height, screen, kListBack);
    if (made == TAVERROR_OK) {
        list->SetBackColor(RGB(233, 237, 242));
        list->SetSelectedColor(RGB(127, 214, 200));
        list->SetColumnBackColor(RGB(42, 53, 64));
        list->SetColumnTextColor(kLight);
        list->SetTextColor(kInk);
        list->SetLineColor(RGB(190, 198, 206));
        list->SetFont("Verdana", 0, 14, 0);
        list->SetColumnFont("Verdana", 0, 14, FW_BOLD);
    }
    return Keep(screen, list, made);
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

std::filesystem::path SaveFolder() {
    std::error_code error;
    return std::filesystem::current_path(error) / "save";
}

std::vector<std::string> ProjectFileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError; // an entry that vanished meanwhile is skipped, not the rest
        if (name.ends_with(".tvp") && it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void FillProjectList(CTavListBox* list) {
    if (list == nullptr)
        return;
    for (const std::string& name : ProjectFileNames(SaveFolder()))
        list->AddItem(name.c_str());
}

bool RunDialog(CTavScreen* parent, CTavScreen* dialog, int x, int y, int width, int height) {
    if (dialog->Initialize(1, x, y, width, height, TAVSCREEN_POPUP, parent) != TAVERROR_OK ||
        parent->SetChildScreen(dialog) != TAVERROR_OK) {
        TavDeleteScreen(dialog);
        return false;
    }
    return true;
}

} // namespace tav::builder
