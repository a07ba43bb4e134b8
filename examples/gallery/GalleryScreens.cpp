#include "GalleryScreens.h"

#include <string>

namespace {

constexpr COLORREF kWhite = RGB(240, 240, 240); // the back colour of the text areas
constexpr COLORREF kInk = RGB(24, 32, 40);
constexpr COLORREF kLight = RGB(235, 240, 245);

CTavStatic* AddLabel(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width) {
    auto* label = new CTavStatic;
    label->Initialize(text, id, static_cast<float>(x), static_cast<float>(y), width, 20, screen);
    label->SetBackColor(0);
    label->SetTransparent(TRUE, label->GetBackColor());
    label->SetTextColor(kLight);
    label->SetFont("DejaVu Sans", 0, 15, 0);
    screen->AddObject(label);
    return label;
}

CTavEdit* AddEdit(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width, int height) {
    auto* edit = new CTavEdit;
    edit->Initialize(text, id, static_cast<float>(x), static_cast<float>(y), width, height, screen);
    edit->SetBackColor(kWhite);
    edit->SetTextColor(kInk);
    edit->SetFont("DejaVu Sans", 0, 15, 0);
    edit->SetTextExtent(3, 2);
    screen->AddObject(edit);
    return edit;
}

} // namespace

void GalleryScreen::AfterInitialize() {
    SetBackgroundImage("art/dback.bmp", TAVBACK_STRETCH);
    AddMenus();
    AddForm();
    AddLists();
    AddAnimations();
    AddMap();
    AddLabel(this, GALLERY_STATUS, "Right-click anywhere for a popup menu.", 20, 572, 500);
}

void GalleryScreen::AddMenus() {
    auto* bar = new CTavMenuBar;
    bar->Initialize(this);
    bar->SetBackColor(RGB(28, 36, 44));
    bar->SetTextColor(kLight);
    bar->SetHighlightColor(RGB(43, 179, 160));
    bar->SetFont("DejaVu Sans", 0, 15, 0);
    const int file = bar->AddMenu("FILE");
    bar->AddMenuItem("Ask a question", file);
    bar->AddMenuItem("Exit", file);
    const int list = bar->AddMenu("LIST");
    bar->AddMenuItem("Sort by name", list);
    bar->AddMenuItem("Sort by score", list);
    bar->AddMenuItem("Add a row", list);
    const int help = bar->AddMenu("HELP");
    bar->AddMenuItem("About", help);
    SetMenuBar(bar);
}

void GalleryScreen::AddForm() {
    auto* title = AddLabel(this, GALLERY_TITLE, "TavCtrls gallery", 20, 26, 300);
    title->SetHeight(32);
    title->SetFont("DejaVu Sans", 0, 24, FW_BOLD);
    AddLabel(this, GALLERY_NAME_LABEL, "Name", 20, 72, 60);
    AddEdit(this, GALLERY_NAME_EDIT, "Player One", 90, 70, 200, 22);
    AddLabel(this, GALLERY_AGE_LABEL, "Age", 20, 102, 60);
    CTavEdit* age = AddEdit(this, GALLERY_AGE_EDIT, "42", 90, 100, 60, 22);
    age->SetNumbersOnly(TRUE);
    age->SetMaxLength(3);
    CTavEdit* notes =
        AddEdit(this, GALLERY_NOTES_EDIT, "Notes go here.\nSeveral lines fit.", 20, 132, 270, 70);
    notes->SetMultiline(TRUE);

    auto* sound = new CTavCheckBox;
    sound->Initialize("Sound on", GALLERY_SOUND_CHECK, 20, 214, 150, 20, this, "art/checkyes.bmp",
                      "art/checkno.bmp");
    sound->SetBackColor(0);
    sound->SetTransparent(TRUE, sound->GetBackColor());
    sound->SetTextColor(kLight);
    sound->SetFont("DejaVu Sans", 0, 15, 0);
    sound->SetValue(TRUE);
    AddObject(sound);

    auto* ask = new CTavButton;
    ask->Initialize("Ask me", GALLERY_ASK_BUTTON, 190, 210, 100, 28, this, "art/buttonnormal.bmp",
                    "art/buttonover.bmp", "art/buttondown.bmp");
    ask->SetTextColor(kInk);
    ask->SetFont("DejaVu Sans", 0, 15, FW_BOLD);
    ask->SetTextOffset(22, 5);
    AddObject(ask);
}

void GalleryScreen::AddLists() {
    auto* scores = new CTavListBox;
    scores->Initialize(GALLERY_SCORES, 320, 40, 300, 200, this, "art/listback.bmp");
    scores->SetBackColor(RGB(232, 236, 240));
    scores->SetSelectedColor(RGB(127, 214, 200));
    scores->SetColumnBackColor(RGB(42, 53, 64));
    scores->SetColumnTextColor(kLight);
    scores->SetTextColor(kInk);
    scores->SetLineColor(RGB(190, 198, 206));
    scores->SetFont("DejaVu Sans", 0, 14, 0);
    scores->SetColumnFont("DejaVu Sans", 0, 14, FW_BOLD);
    scores->SetItemHeight(20);
    scores->AddColumn("Name", 120);
    scores->AddColumn("Score", 80);
    scores->AddColumn("Level", 80);
    const char* rows[][3] = {{"Ada", "930", "7"},  {"Brian", "410", "3"}, {"Chen", "780", "6"},
                             {"Dora", "120", "1"}, {"Eve", "655", "5"},   {"Farid", "990", "8"},
                             {"Gus", "300", "2"},  {"Hana", "845", "7"},  {"Ivo", "505", "4"},
                             {"Jun", "720", "6"},  {"Kai", "260", "2"},   {"Lea", "880", "7"}};
    for (const auto& row : rows) {
        const int index = scores->AddItem(row[0]);
        scores->SetItemText(index, 1, row[1]);
        scores->SetItemText(index, 2, row[2]);
    }
    AddObject(scores);

    auto* levels = new CTavTree;
    levels->Initialize(640, 40, GALLERY_LEVELS, this, 150, 200, "art/treeback.bmp", "art/plus.bmp",
                       "art/minus.bmp");
    levels->SetItemBackColor(RGB(42, 53, 64));
    levels->SetSelectedItemColor(RGB(43, 179, 160));
    levels->SetTextColor(kLight);
    levels->SetFontName("DejaVu Sans");
    levels->SetFontHeight(14);
    levels->SetFontStyle(0);
    levels->SetItemHeight(18);
    const int world = levels->AddItem("World 1", -1, -1);
    levels->AddItem("Meadow", -1, world);
    levels->AddItem("Caves", -1, world);
    const int castle = levels->AddItem("Castle", -1, world);
    levels->AddItem("Gate", -1, castle);
    levels->AddItem("Tower", -1, castle);
    const int second = levels->AddItem("World 2", -1, -1);
    levels->AddItem("Desert", -1, second);
    levels->AddItem("Oasis", -1, second);
    levels->AddItem("Bonus", -1, -1);
    levels->ExpandAll();
    AddObject(levels);
}

void GalleryScreen::AddAnimations() {
    auto* spinner = new CTavAnimation;
    spinner->Initialize(GALLERY_SPINNER, 660, 260, 64, 64, this);
    spinner->AddFrame("art/spin1.bmp");
    spinner->AddFrame("art/spin2.bmp");
    spinner->AddFrame("art/spin3.bmp");
    spinner->SetFrameFrequency(0.12f);
    spinner->SetTransparent(TRUE, RGB(255, 0, 255));
    AddObject(spinner);

    auto* led = new CTavAnimation;
    led->Initialize(GALLERY_LED, 740, 276, 32, 32, this);
    led->AddFrame("art/ledon.bmp");
    led->AddFrame("art/ledoff.bmp");
    led->SetFrameFrequency(0.5f);
    AddObject(led);
}

void GalleryScreen::AddMap() {
    // A sub screen whose content (600 x 400) is larger than its view, with both scroll bars.
    auto* map = new CTavScreen;
    map->Initialize(GALLERY_MAP, 20, 260, 600, 300, TAVSCREEN_SUBSCREEN, this);
    map->SetBackgroundImage("art/mainback.bmp", TAVBACK_TILE);
    map->SetScrollBars(1000, 700, 1);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 7; ++column) {
            auto* tile = new CTavButton;
            const std::string caption =
                std::string(1, static_cast<char>('A' + row)) + std::to_string(column + 1);
            tile->Initialize(caption.c_str(), GALLERY_MAP_TILE + row * 7 + column, 30.0f + column * 135,
                             30.0f + row * 130, 100, 30, map, "art/buttonnormal.bmp", "art/buttonover.bmp",
                             "art/buttondown.bmp");
            tile->SetTextColor(kInk);
            tile->SetFont("DejaVu Sans", 0, 15, FW_BOLD);
            tile->SetTextOffset(38, 6);
            map->AddObject(tile);
        }
    AddSubScreen(map);
}

void GalleryScreen::ShowStatus(const char* text) {
    if (auto* status = static_cast<CTavStatic*>(GetObjectByID(GALLERY_STATUS)))
        status->SetText(text);
}

BOOL GalleryScreen::OnButtonDown(DWORD bID) {
    if (bID == GALLERY_ASK_BUTTON) {
        const BOOL yes = QuestionBox("Do you like what you see?");
        ShowStatus(yes ? "You said Yes." : "You said No.");
    }
    return FALSE;
}

BOOL GalleryScreen::OnMenuItemClicked(const char* topItem, const char* subItem) {
    const std::string top = topItem, sub = subItem;
    auto* scores = static_cast<CTavListBox*>(GetObjectByID(GALLERY_SCORES));
    if (top == "FILE" && sub == "Ask a question") {
        MessageBox(QuestionBox("Is this a question box?") ? "Right: Yes." : "It is one all the same.");
    } else if (top == "FILE" && sub == "Exit") {
        if (QuestionBox("Are you sure you want to exit?") && app != nullptr)
            app->Shutdown(); // ends the program here
    } else if (top == "LIST" && sub == "Sort by name" && scores != nullptr) {
        scores->SortByColumn(0, 2);
    } else if (top == "LIST" && sub == "Sort by score" && scores != nullptr) {
        scores->SortByColumn(1, 1);
    } else if (top == "LIST" && sub == "Add a row" && scores != nullptr) {
        const int row = scores->AddItem("New player");
        scores->SetItemText(row, 1, "0");
        scores->SetItemText(row, 2, "1");
    } else if (top == "HELP") {
        MessageBox(
            "The TavCtrls gallery shows every control of the library. Click the column headers to sort, "
            "double-click tree items to fold them, scroll the map, right-click for a popup menu.");
    }
    return FALSE;
}

void GalleryScreen::AfterRMouseUp(int x, int y) {
    auto* menu = new CTavPopupMenu;
    if (menu->Initialize(static_cast<float>(x), static_cast<float>(y), 120, 3 * 15, this,
                         "art/popmenuback.bmp") != TAVERROR_OK) {
        menu->Finish();
        delete menu;
        return;
    }
    menu->SetTextColor(kLight);
    menu->SetHighlightColor(RGB(43, 179, 160));
    menu->SetFont("DejaVu Sans", 0, 13, 0);
    menu->AddItem("Say hello");
    menu->AddItem("Clear the name");
    menu->AddItem("About");
    SetPopupMenu(menu);
}

void GalleryScreen::OnPopupMenuItemClicked(const char* item) {
    const std::string chosen = item;
    if (chosen == "Say hello")
        MessageBox("Hello from the popup menu.");
    else if (chosen == "Clear the name")
        static_cast<CTavEdit*>(GetObjectByID(GALLERY_NAME_EDIT))->SetText("");
    else
        OnMenuItemClicked("HELP", "About");
}

void GalleryScreen::OnListBoxItemChange(DWORD, int item) {
    auto* scores = static_cast<CTavListBox*>(GetObjectByID(GALLERY_SCORES));
    const std::string text = "Selected " + std::string(scores->GetItemText(item)) + ".";
    ShowStatus(text.c_str());
}

void GalleryScreen::AfterTreeCntrlSelectionChanged(DWORD, int itemID) {
    const std::string text = "Tree item " + std::to_string(itemID) + " selected.";
    ShowStatus(text.c_str());
}

void GalleryScreen::OnCheckBoxClick(DWORD, BOOL newValue) {
    ShowStatus(newValue ? "Sound on." : "Sound off.");
}
