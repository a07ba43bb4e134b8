#include "builder/ObjectDialog.h"

#include "builder/Choosers.h"
#include "builder/FontDialog.h"
#include "builder/ScreenListDialog.h"
#include "model/Project.h"
#include "tavctrls/TavFonts.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace tav::builder {
namespace {

constexpr DWORD kOk = 1;
constexpr DWORD kCancel = 2;
constexpr DWORD kName = 90;
constexpr DWORD kX = 4, kY = 6, kWidth = 8, kHeight = 10;

// Animation block.
constexpr DWORD kInterval = 12;
constexpr DWORD kFrameEdit = 14;
constexpr DWORD kAddFrame = 16;
constexpr DWORD kFrameList = 17;
constexpr DWORD kDeleteFrame = 18;

// Plain object block: the transparent check box and the colour controls it shows and hides.
constexpr DWORD kObjectTransparent = 14;
constexpr DWORD kFirstTransparentColour = 15, kLastTransparentColour = 20;

constexpr DWORD kButtonClickLabel = 40;
constexpr DWORD kButtonClickScreen = 41;
constexpr DWORD kButtonSelectScreen = 42;
// What a click does, one of three boxes checked at a time (in the order of ClickAction).
constexpr DWORD kClickActions[] = {43, 44, 45};
constexpr int kButtonDialogGrowth = 30;

std::string NumberText(std::int32_t value) {
    return std::to_string(value);
}

} // namespace

std::int32_t ReadNumber(const std::string& text) {
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        at = 1;
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > std::numeric_limits<std::int32_t>::max() + 1LL)
            break; // saturate below
    }
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

std::int32_t& ObjectDialog::Binding::NumberOf(ObjectDef& object) const {
    return number != nullptr ? object.*number : (object.*colour).*component;
}

ObjectDialog::ObjectDialog() : DialogKit(400, 480) {}
ObjectDialog::~ObjectDialog() = default;

void ObjectDialog::AfterInitialize() {
    if (editedIndex < 0 || project == nullptr) {
        m_newObject = std::make_unique<ObjectDef>();
        m_newObject->screenName = screenName;
        if (project != nullptr)
            m_newObject->SetKind(kind, *project, screenName);
        m_object = m_newObject.get();
    } else {
        m_object = &project->Object(editedIndex);
    }
    SetBackgroundImage("art//dback.bmp", TAVBACK_STRETCH);
    AddCommonBlock();
    AddKindBlock();
    AddOkCancel(kOk, kCancel);
    fontList.clear();
    for (std::string& family : TavGetFontFamilies())
        if (!family.empty())
            fontList.push_back(std::move(family));
}

// Building blocks ----------------------------------------------------------------------------------

CTavEdit* ObjectDialog::AddEditControl(DWORD id, const std::string& text, int x, int y, int width,
                                       int digits) {
    return AddEdit(id, text, x, y, width, 20, digits);
}

CTavEdit* ObjectDialog::AddTextEdit(DWORD id, std::string ObjectDef::*field, int x, int y, int width) {
    m_bindings.push_back({Binding::Text, id, field, nullptr, nullptr, nullptr});
    return AddEditControl(id, m_object->*field, x, y, width, 0);
}

CTavEdit* ObjectDialog::AddNumberEdit(DWORD id, std::int32_t ObjectDef::*field, int x, int y, int width,
                                      int maxLength) {
    m_bindings.push_back({Binding::Number, id, nullptr, field, nullptr, nullptr});
    return AddEditControl(id, NumberText(m_object->*field), x, y, width, maxLength);
}

CTavCheckBox* ObjectDialog::AddCheck(DWORD id, const char* caption, Flag ObjectDef::*field, int x, int y,
                                     int width, int height) {
    m_bindings.push_back({Binding::Check, id, nullptr, field, nullptr, nullptr});
    CTavCheckBox* check = AddCheckBox(id, caption, x, y, width, height);
    if (check != nullptr)
        check->SetValue(m_object->*field == 1 ? TRUE : FALSE);
    return check;
}

void ObjectDialog::AddColourGroup(DWORD labelId, const char* text, int labelWidth, int y,
                                  RgbTriple ObjectDef::*field, const int (&labelX)[3],
                                  const int (&editX)[3]) {
    AddLabel(labelId, text, 35, y, labelWidth);
    AddColourEdits(labelId + 1, y, field, labelX, editX);
}

void ObjectDialog::AddColourEdits(DWORD firstId, int y, RgbTriple ObjectDef::*field, const int (&labelX)[3],
                                  const int (&editX)[3]) {
    static constexpr const char* kLetters[3] = {"R:", "G:", "B:"};
    static constexpr std::int32_t RgbTriple::*kComponents[3] = {&RgbTriple::red, &RgbTriple::green,
                                                                &RgbTriple::blue};
    for (int i = 0; i < 3; ++i) {
        const DWORD labelId = firstId + 2 * static_cast<DWORD>(i);
        AddLabel(labelId, kLetters[i], labelX[i], y, 15);
        m_bindings.push_back({Binding::Number, labelId + 1, nullptr, nullptr, field, kComponents[i]});
        AddEditControl(labelId + 1, NumberText((m_object->*field).*kComponents[i]), editX[i], y, 30, 3);
    }
}

CTavEdit* ObjectDialog::EditById(DWORD id) const {
    return dynamic_cast<CTavEdit*>(GetObjectByID(id));
}

// Blocks ---------------------------------------------------------------------------------------------

void ObjectDialog::AddCommonBlock() {
    AddLabel(0, "Name:", 35, 35, 50);
    AddTextEdit(kName, &ObjectDef::name, 90, 35, 150);
    AddLabel(3, "X:", 35, 70, 20);
    CTavEdit* x = AddNumberEdit(kX, &ObjectDef::x, 70, 70, 35, 4);
    AddLabel(5, "Y:", 120, 70, 20);
    CTavEdit* y = AddNumberEdit(kY, &ObjectDef::y, 150, 70, 35, 4);
    if (presetX != -1)
        x->SetText(NumberText(presetX).c_str());
    if (presetY != -1)
        y->SetText(NumberText(presetY).c_str());
    AddLabel(7, "Width:", 190, 70, 40);
    AddNumberEdit(kWidth, &ObjectDef::width, 240, 70, 40, 4);
    AddLabel(9, "Height:", 290, 70, 40);
    AddNumberEdit(kHeight, &ObjectDef::height, 340, 70, 40, 4);
}

void ObjectDialog::AddKindBlock() {
    switch (kind) {
    case ObjectKind::Button:
        AddButtonBlock();
        break;
    case ObjectKind::Static:
        AddStaticBlock(false);
        break;
    case ObjectKind::Edit:
        AddStaticBlock(true);
        break;
    case ObjectKind::CheckBox:
        AddCheckBoxBlock();
        break;
    case ObjectKind::ListBox:
        AddListBoxBlock();
        break;
    case ObjectKind::Tree:
        AddTreeBlock();
        break;
    case ObjectKind::Animation:
        AddAnimationBlock();
        break;
    case ObjectKind::Object:
        AddObjectBlock();
        break;
    }
}

void ObjectDialog::AddButtonBlock() {
    AddLabel(11, "Up State:", 35, 120, 70);
    AddTextEdit(12, &ObjectDef::upBitmap, 120, 120, 150);
    AddButton(13, "Browse", 280, 120);
    AddLabel(14, "Over State:", 35, 150, 70);
    AddTextEdit(15, &ObjectDef::overBitmap, 120, 150, 150);
    AddButton(16, "Browse", 280, 150);
    AddLabel(17, "Down State:", 35, 180, 70);
    AddTextEdit(18, &ObjectDef::downBitmap, 120, 180, 150);
    AddButton(19, "Browse", 280, 180);
    AddLabel(20, "Caption:", 35, 210, 70);
    AddTextEdit(21, &ObjectDef::caption, 110, 210, 100);
    AddLabel(22, "Font:", 35, 250, 50);
    AddTextEdit(23, &ObjectDef::fontName, 75, 250, 150);
    AddButton(24, "Select", 230, 250, 45);
    AddLabel(25, "Size:", 35, 280, 35);
    AddNumberEdit(26, &ObjectDef::fontSize, 75, 280, 30, 3);
    AddCheck(27, "Bold", &ObjectDef::bold, 130, 280, 70, 17);
    AddColourGroup(28, "Text Color:", 80, 310, &ObjectDef::textColor, {120, 190, 250}, {150, 210, 270});
    AddLabel(35, "Text Offset:", 35, 350, 100);
    AddLabel(36, "X:", 150, 350, 15);
    AddNumberEdit(37, &ObjectDef::textOffsetX, 170, 350, 30, 2);
    AddLabel(38, "Y:", 230, 350, 15);
    AddNumberEdit(39, &ObjectDef::textOffsetY, 250, 350, 30, 2);
    // Room for the click row.
    SetHeight(GetHeight() + kButtonDialogGrowth);
    AddLabel(46, "On Click:", 35, 390, 60);
    const auto addChoice = [this](DWORD id, const char* caption, int x, int width) {
        AddCheckBox(id, caption, x, 390, width, 17);
    };
    addChoice(kClickActions[0], "Open screen", 100, 100);
    // Closing is offered where there is something to close over or in; a full screen quits instead.
    const ScreenDef* screen = project != nullptr ? project->FindScreen(screenName) : nullptr;
    const bool closes = screen == nullptr || screen->type != ScreenType::FullScreen;
    if (closes)
        addChoice(kClickActions[1], "Close screen", 212, 105);
    addChoice(kClickActions[2], "Quit", closes ? 330 : 212, 50);
    AddLabel(kButtonClickLabel, "Screen to open:", 35, 420, 140);
    AddTextEdit(kButtonClickScreen, &ObjectDef::clickScreen, 180, 420, 100);
    AddButton(kButtonSelectScreen, "Select", 280, 420);
    ClickActionChosen(ShownClickAction(), TRUE);
}

DWORD ObjectDialog::ShownClickAction() const {
    const DWORD stored = kClickActions[static_cast<int>(m_object->Click())];
    return GetObjectByID(stored) != nullptr ? stored : kClickActions[2];
}

void ObjectDialog::ClickActionChosen(DWORD cID, BOOL checked) {
    // Unchecking the checked box falls back to opening a screen.
    const DWORD chosen = checked ? cID : kClickActions[0];
    for (const DWORD id : kClickActions)
        SetValueOf(this, id, id == chosen ? TRUE : FALSE);
    SetVisibleOf(this, {kButtonClickLabel, kButtonClickScreen, kButtonSelectScreen},
                 chosen == kClickActions[0] ? TRUE : FALSE);
}

ClickAction ObjectDialog::ChosenClickAction() const {
    for (int i = 1; i < 3; ++i)
        if (ValueOf(this, kClickActions[i]))
            return static_cast<ClickAction>(i);
    return ClickAction::OpenScreen;
}

void ObjectDialog::AddObjectBlock() {
    AddLabel(11, "Image:", 35, 150, 50);
    AddTextEdit(12, &ObjectDef::image, 100, 150, 150);
    AddButton(13, "Browse", 260, 150);
    AddCheck(kObjectTransparent, "Transparent", &ObjectDef::transparent, 35, 190, 100, 17);
    AddColourEdits(kFirstTransparentColour, 190, &ObjectDef::transparentColor, {140, 190, 240},
                   {155, 205, 255});
    OnCheckBoxClick(kObjectTransparent, m_object->transparent == 1 ? TRUE : FALSE);
}

void ObjectDialog::AddFontRows(int fontY, int sizeY, int nameWidth) {
    AddLabel(28, "Font:", 35, fontY, 50);
    AddTextEdit(29, &ObjectDef::fontName, 75, fontY, nameWidth);
    AddButton(30, "Select", 230, fontY, 45);
    AddLabel(31, "Size:", 35, sizeY, 35);
    AddNumberEdit(32, &ObjectDef::fontSize, 75, sizeY, 30, 3);
    AddCheck(33, "Bold", &ObjectDef::bold, 130, sizeY, 70, 17);
    AddColourGroup(34, "Text Color:", 80, 340, &ObjectDef::textColor, {120, 190, 250}, {150, 210, 270});
}

void ObjectDialog::AddCheckBoxBlock() {
    AddLabel(11, "Caption:", 35, 120, 70);
    AddTextEdit(12, &ObjectDef::caption, 110, 120, 50);
    AddCheck(13, "Value", &ObjectDef::checkValue, 180, 120, 100, 16);
    AddLabel(14, "Unchecked:", 35, 150, 70);
    AddTextEdit(15, &ObjectDef::uncheckedBitmap, 120, 150, 150);
    AddButton(16, "Browse", 280, 150);
    AddLabel(17, "Checked:", 35, 180, 70);
    AddTextEdit(18, &ObjectDef::checkedBitmap, 120, 180, 150);
    AddButton(19, "Browse", 280, 180);
    AddCheck(20, "Transparent", &ObjectDef::transparent, 35, 220, 100, 17);
    AddColourGroup(21, "Back Color:", 100, 250, &ObjectDef::backColor, {140, 190, 240}, {155, 205, 255});
    AddFontRows(280, 310, 150);
}

void ObjectDialog::AddStaticBlock(bool editBox) {
    AddLabel(11, "Caption:", 35, 120, 60);
    AddTextEdit(12, &ObjectDef::caption, 100, 120, 100);
    AddCheck(13, "Multiline", &ObjectDef::multiline, 35, 150, editBox ? 70 : 100, editBox ? 16 : 17);
    AddCheck(14, "Transparent", &ObjectDef::transparent, editBox ? 150 : 180, 150, 100, 17);
    AddLabel(41, "Back bitmap:", 35, 190, 85);
    AddTextEdit(42, &ObjectDef::image, 120, 190, 120);
    AddButton(43, "Browse", 250, 190);
    AddColourGroup(21, "Back Color:", 100, 230, &ObjectDef::backColor, {140, 190, 240}, {155, 205, 255});
    AddFontRows(280, 310, 150);
    AddLabel(44, "Text Offset:", 35, 370, 100);
    AddLabel(45, "X:", 150, 370, 15);
    AddNumberEdit(46, &ObjectDef::textOffsetX, 170, 370, 30, 2);
    AddLabel(47, "Y:", 230, 370, 15);
    AddNumberEdit(48, &ObjectDef::textOffsetY, 250, 370, 30, 2);
}

void ObjectDialog::AddListBoxBlock() {
    SetWidth(GetWidth() + 40);
    SetHeight(GetHeight() + 40);
    AddLabel(11, "Background:", 35, 110, 80);
    AddTextEdit(12, &ObjectDef::listBackground, 120, 110, 200);
    AddButton(13, "Browse", 330, 110);
    AddColourGroup(21, "Back Color:", 100, 150, &ObjectDef::backColor, {140, 190, 240}, {155, 205, 255});
    AddLabel(28, "Item Font:", 35, 190, 70);
    AddTextEdit(29, &ObjectDef::fontName, 105, 190, 100);
    AddButton(30, "Select", 210, 190, 45);
    AddLabel(31, "Size:", 280, 190, 35);
    AddNumberEdit(32, &ObjectDef::fontSize, 320, 190, 30, 3);
    AddCheck(33, "Bold", &ObjectDef::bold, 330, 220, 70, 17);
    AddColourGroup(34, "Text Color:", 80, 220, &ObjectDef::textColor, {120, 190, 250}, {150, 210, 270});
    AddLabel(41, "Column Font:", 35, 260, 100);
    AddTextEdit(42, &ObjectDef::columnFontName, 135, 260, 110);
    AddButton(43, "Select", 250, 260, 45);
    AddLabel(44, "Size:", 320, 260, 35);
    AddNumberEdit(45, &ObjectDef::columnFontSize, 360, 260, 30, 3);
    AddCheck(46, "Bold", &ObjectDef::columnBold, 350, 290, 70, 17);
    constexpr int kLabels[3] = {160, 220, 280}, kEdits[3] = {180, 240, 300};
    AddColourGroup(47, "Column Text Color:", 120, 290, &ObjectDef::columnTextColor, kLabels, kEdits);
    AddColourGroup(54, "Selected Color:", 120, 320, &ObjectDef::selectedColor, kLabels, kEdits);
    AddColourGroup(61, "Line Color:", 120, 350, &ObjectDef::lineColor, kLabels, kEdits);
    AddColourGroup(72, "Column Back Color:", 120, 380, &ObjectDef::columnBackColor, kLabels, kEdits);
    AddLabel(68, "Column Height:", 35, 420, 100);
    AddNumberEdit(69, &ObjectDef::columnHeight, 140, 420, 30, 2);
    AddLabel(70, "Item Height:", 215, 420, 100);
    AddNumberEdit(71, &ObjectDef::itemHeight, 310, 420, 30, 2);
}

void ObjectDialog::AddTreeBlock() {
    SetWidth(GetWidth() + 40);
    AddLabel(11, "Background:", 35, 110, 80);
    AddTextEdit(12, &ObjectDef::treeBackground, 140, 110, 200);
    AddButton(13, "Browse", 350, 110);
    AddLabel(14, "Plus bitmap:", 35, 140, 100);
    AddTextEdit(15, &ObjectDef::plusBitmap, 140, 140, 200);
    AddButton(16, "Browse", 350, 140);
    AddLabel(17, "Minus bitmap:", 35, 170, 100);
    AddTextEdit(18, &ObjectDef::minusBitmap, 140, 170, 200);
    AddButton(19, "Browse", 350, 170);
    AddLabel(20, "Font:", 35, 210, 40);
    AddTextEdit(21, &ObjectDef::fontName, 80, 210, 100);
    AddButton(22, "Select", 180, 210);
    AddLabel(23, "Size:", 250, 210, 40);
    AddNumberEdit(24, &ObjectDef::fontSize, 300, 210, 30, 2);
    AddCheck(25, "Bold", &ObjectDef::bold, 340, 210, 80, 20);
    constexpr int kLabels[3] = {190, 250, 310}, kEdits[3] = {210, 270, 330};
    AddColourGroup(26, "Text Color:", 100, 240, &ObjectDef::textColor, kLabels, kEdits);
    AddColourGroup(33, "Item Back Color:", 105, 270, &ObjectDef::backColor, kLabels, kEdits);
    AddColourGroup(40, "Selected Color:", 105, 300, &ObjectDef::selectedColor, kLabels, kEdits);
    AddLabel(47, "Item Height:", 35, 340, 100);
    AddNumberEdit(48, &ObjectDef::itemHeight, 140, 340, 30, 2);
    AddLabel(49, "Tab Space:", 35, 370, 100);
    AddNumberEdit(50, &ObjectDef::tabSpace, 140, 370, 30, 2);
}

void ObjectDialog::AddAnimationBlock() {
    AddLabel(11, "Interval (Milliseconds):", 35, 120, 140);
    AddNumberEdit(kInterval, &ObjectDef::interval, 180, 120, 40, 5);
    AddCheck(19, "Transparent", &ObjectDef::transparent, 35, 170, 100, 17);
    AddColourEdits(20, 170, &ObjectDef::transparentColor, {140, 190, 240}, {155, 205, 255});
    AddLabel(13, "Bitmap:", 35, 210, 50);
    AddEditControl(kFrameEdit, "", 85, 210, 120, 0);
    AddButton(15, "Browse", 205, 210);
    AddButton(kAddFrame, "Add Frame", 260, 210, 70);
    if (CTavListBox* list = AddList(kFrameList, 35, 240, 290, 150)) {
        list->AddColumn("Bitmap File", 290);
        for (const std::string& frame : m_object->frames)
            list->AddItem(frame.c_str());
    }
    AddButton(kDeleteFrame, "Delete Frame", 35, GetHeight() - 80, 100);
}

// Callbacks ------------------------------------------------------------------------------------------

void ObjectDialog::OnCheckBoxClick(DWORD cID, BOOL newValue) {
    if (kind == ObjectKind::Button &&
        std::find(std::begin(kClickActions), std::end(kClickActions), cID) != std::end(kClickActions))
        ClickActionChosen(cID, newValue);
    if (kind != ObjectKind::Object || cID != kObjectTransparent)
        return;
    for (DWORD id = kFirstTransparentColour; id <= kLastTransparentColour; ++id)
        if (CTavObject* control = GetObjectByID(id))
            control->SetVisible(newValue == TRUE ? TRUE : FALSE);
}

BOOL ObjectDialog::OnButtonDown(DWORD bID) {
    if (bID == kOk)
        Accept();
    else if (bID == kCancel)
        Cancel();
    else if (IsBrowseButton(bID))
        Browse(bID);
    else if (const std::optional<DWORD> fontEdit = FontEditFor(bID))
        SelectFont(*fontEdit);
    else if (kind == ObjectKind::Button && bID == kButtonSelectScreen)
        SelectScreen();
    else if (kind == ObjectKind::Animation && bID == kAddFrame)
        AddFrame();
    else if (kind == ObjectKind::Animation && bID == kDeleteFrame)
        DeleteFrame();
    return FALSE;
}

bool ObjectDialog::IsBrowseButton(DWORD bID) const {
    switch (kind) {
    case ObjectKind::Object:
    case ObjectKind::ListBox:
        return bID == 13;
    case ObjectKind::Button:
    case ObjectKind::Tree:
        return bID == 13 || bID == 16 || bID == 19;
    case ObjectKind::CheckBox:
        return bID == 16 || bID == 19;
    case ObjectKind::Static:
    case ObjectKind::Edit:
        return bID == 43;
    case ObjectKind::Animation:
        return bID == 15;
    }
    return false;
}

std::optional<DWORD> ObjectDialog::FontEditFor(DWORD bID) const {
    switch (kind) {
    case ObjectKind::Button:
        if (bID == 24)
            return 23;
        break;
    case ObjectKind::CheckBox:
    case ObjectKind::Static:
    case ObjectKind::Edit:
        if (bID == 30)
            return 29;
        break;
    case ObjectKind::ListBox:
        if (bID == 30 || bID == 43)
            return bID - 1;
        break;
    case ObjectKind::Tree:
        if (bID == 22)
            return 21;
        break;
    default:
        break;
    }
    return std::nullopt;
}

void ObjectDialog::Browse(DWORD bID) {
    // The chooser leaves the current directory as it found it.
    if (const std::optional<std::string> path =
            ChooseBitmapFor(this, TextOf(this, bID - 1), project != nullptr ? project->folder : ""))
        SetTextOf(this, bID - 1, *path);
}

void ObjectDialog::SelectFont(DWORD editId) {
    const std::optional<std::string> name = Run(this, new FontDialog(fontList), [](const FontDialog& dialog) {
        return dialog.confirmed ? std::optional<std::string>(dialog.chosenName) : std::nullopt;
    });
    if (name)
        SetTextOf(this, editId, *name);
}

void ObjectDialog::SelectScreen() {
    auto* dialog = new ScreenListDialog;
    dialog->project = project;
    const std::optional<std::string> name = Run(this, dialog, [](const ScreenListDialog& shown) {
        return shown.confirmed ? std::optional<std::string>(shown.chosenName) : std::nullopt;
    });
    if (name)
        SetTextOf(this, kButtonClickScreen, *name);
}

void ObjectDialog::AddFrame() {
    CTavEdit* edit = EditById(kFrameEdit);
    auto* list = dynamic_cast<CTavListBox*>(GetObjectByID(kFrameList));
    if (edit == nullptr || list == nullptr)
        return;
    const std::string path = edit->GetText();
    if (path.empty()) {
        ShowError("Enter the location of the bitmap for this frame first");
        return;
    }
    edit->SetText("");
    list->AddItem(path.c_str());
}

void ObjectDialog::DeleteFrame() {
    auto* list = dynamic_cast<CTavListBox*>(GetObjectByID(kFrameList));
    if (list == nullptr)
        return;
    if (list->GetRowCount() == 0)
        ShowError("There are no items in list to delete");
    else if (list->GetSelection() < 0)
        ShowError("Select an item from the list first");
    else
        list->RemoveItem(list->GetSelection());
}

// OK and Cancel --------------------------------------------------------------------------------------

void ObjectDialog::WriteBack(ObjectDef& target) const {
    target.screenName = screenName;
    target.kind = kind;
    for (const Binding& binding : m_bindings) {
        CTavObject* control = GetObjectByID(binding.id);
        if (binding.type == Binding::Check) {
            if (auto* check = dynamic_cast<CTavCheckBox*>(control))
                target.*binding.number = check->GetValue() ? 1 : 0;
        } else if (auto* edit = dynamic_cast<CTavEdit*>(control)) {
            if (binding.type == Binding::Text)
                target.*binding.text = edit->GetText();
            else
                binding.NumberOf(target) = ReadNumber(edit->GetText());
        }
    }
    if (kind == ObjectKind::Button) {
        target.reservedNumber = static_cast<std::int32_t>(ChosenClickAction());
        if (target.Click() != ClickAction::OpenScreen)
            target.clickScreen.clear();
    }
    if (kind == ObjectKind::Animation) {
        if (auto* list = dynamic_cast<CTavListBox*>(GetObjectByID(kFrameList))) {
            target.frames.clear();
            for (int row = 0; row < list->GetRowCount(); ++row)
                target.frames.push_back(list->GetItemText(row));
        }
    }
}

void ObjectDialog::Accept() {
    if (project == nullptr || m_object == nullptr)
        return;
    ObjectDef candidate = *m_object; // fields the dialog does not show keep their values
    WriteBack(candidate);
    const std::string message =
        project->ValidateObject(candidate, editedIndex < 0 ? Project::kNewItem : editedIndex);
    if (!message.empty()) {
        ShowError(message);
        return;
    }
    *m_object = std::move(candidate);
    if (m_newObject)
        project->AddObject(std::move(m_newObject));
    else
        project->modified = 1;
    confirmed = 1;
    Close();
}

void ObjectDialog::Cancel() {
    m_newObject.reset();
    m_object = editedIndex < 0 || project == nullptr ? nullptr : &project->Object(editedIndex);
    confirmed = 0;
    Close();
}

} // namespace tav::builder
