#include "tests/builder/MainScreenDriver.h"

#include "builder/DesignMarks.h"
#include "builder/ObjectDialog.h"
#include "builder/PreviewScreen.h"
#include "builder/SelectionArrows.h"
#include "model/ProjectFile.h"

#include <cxxabi.h>
#include <typeinfo>

namespace tav::testing {

namespace fs = std::filesystem;
using namespace builder;

namespace {

template <typename T>
bool Is(CTavScreen* popup) {
    return dynamic_cast<T*>(popup) != nullptr;
}

} // namespace

Point Middle(const CTavObject* control) {
    return {static_cast<int>(control->GetAppX()) + control->GetWidth() / 2,
            static_cast<int>(control->GetAppY()) + control->GetHeight() / 2};
}

ScreenDef& AddScreen(Project& project, const std::string& name, ScreenType type, int width, int height,
                     const std::string& background) {
    const std::string parent = type == ScreenType::FullScreen ? "" : project.screens.front()->name;
    auto screen = test::MakeScreen(name, type, parent);
    screen->width = width;
    screen->height = height;
    screen->background = background;
    project.AddScreen(std::move(screen));
    return *project.screens.back();
}

ObjectDef& AddObject(Project& project, ObjectKind kind, const std::string& screen, const std::string& name,
                     int x, int y, int width, int height) {
    auto o = test::MakeObject(kind, screen, name);
    o->x = x;
    o->y = y;
    o->width = width;
    o->height = height;
    o->upBitmap = "art//buttonnormal.bmp";
    o->overBitmap = "art//buttonover.bmp";
    o->downBitmap = "art//buttondown.bmp";
    o->checkedBitmap = "art//checkyes.bmp";
    o->uncheckedBitmap = "art//checkno.bmp";
    o->listBackground = "art//listback.bmp";
    o->treeBackground = "art//treeback.bmp";
    o->plusBitmap = "art//plus.bmp";
    o->minusBitmap = "art//minus.bmp";
    o->textColor = {255, 255, 255};
    project.AddObject(std::move(o));
    return *project.objects.back();
}

std::string TextWithoutViewIds(const Project& project) {
    Project copy;
    if (!ParseProjectFile(copy, FormatProjectFile(project)))
        return FormatProjectFile(project);
    for (auto& object : copy.objects)
        object->designId = 0;
    return FormatProjectFile(copy);
}

std::string Describe(CTavScreen* popup) {
    if (auto* box = dynamic_cast<CTavMessageBox*>(popup))
        return (Is<CTavQuestionBox>(popup) ? "question: " : "message: ") + std::string(box->GetText());
    if (auto* dialog = dynamic_cast<ObjectDialog*>(popup))
        return "ObjectDialog " + std::to_string(static_cast<int>(dialog->kind));
    char* name = abi::__cxa_demangle(typeid(*popup).name(), nullptr, nullptr, nullptr);
    const std::string text = name != nullptr ? name : "?";
    std::free(name);
    return text.substr(text.rfind(':') + 1); // the class without its namespace
}

void MainScreenTest::SetUp() {
    HeadlessAppTest::SetUp();
    // The save folder lies under the current directory; the art is found beside the program.
    previousDirectory = fs::current_path();
    fs::current_path(folder.path());
    // The designer's recovery data and settings stay in the test's folder.
    setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ASSERT_EQ(Init(app, 800, 600), TAVERROR_OK);
    display->SetWaitLimit(60);
    main = new MainScreen;
    ASSERT_EQ(main->Initialize(0), TAVERROR_OK);
    ASSERT_EQ(app.SetChildScreen(main), TAVERROR_OK);
    Drive(1);
}

void MainScreenTest::TearDown() {
    if (display != nullptr)
        display->SetIdleHandler(nullptr);
    fs::current_path(previousDirectory);
    HeadlessAppTest::TearDown();
}

void MainScreenTest::Drive(int frames) {
    if (display == nullptr)
        return;
    try {
        Frame(app, frames);
    } catch (const ProcessEnded& end) {
        ended = end.status;
        display = nullptr;
        main = nullptr;
    }
}

void MainScreenTest::Run(std::vector<Step> steps) {
    script = std::move(steps);
    done = 0;
    if (display == nullptr)
        return;
    display->SetIdleHandler([this](platform::HeadlessDisplay&) {
        if (done >= script.size() || main == nullptr)
            return;
        CTavScreen* inner = main->GetInnermostScreen();
        if (inner != nullptr && inner != main && inner->GetParent() != nullptr &&
            inner->GetParent()->IsModalRunning())
            script[done++](inner);
    });
    Drive();
    EXPECT_EQ(done, script.size()) << "a popup that the script expected never came";
    if (display != nullptr)
        display->SetIdleHandler(nullptr);
}

void MainScreenTest::Menu(const std::string& title, const std::string& item, std::vector<Step> steps) {
    auto* bar = dynamic_cast<CTavMenuBar*>(main->GetMenuBar());
    ASSERT_NE(bar, nullptr);
    int menu = 0, row = 0;
    while (menu < bar->GetMenuCount() && title != bar->GetMenuTitle(menu))
        ++menu;
    ASSERT_LT(menu, bar->GetMenuCount()) << title;
    while (row < bar->GetMenuItemCount(menu) && std::string(bar->GetMenuItem(menu, row)).rfind(item, 0) != 0)
        ++row;
    ASSERT_LT(row, bar->GetMenuItemCount(menu)) << item;
    display->LClick(bar->GetTitleX(menu) + bar->GetTitleWidth(menu) / 2, 8);
    Drive(1);
    CTavObject* drop = bar->GetDropDown();
    ASSERT_NE(drop, nullptr) << title << " did not open";
    display->LClick(static_cast<int>(drop->GetX()) + 10,
                    static_cast<int>(drop->GetY()) + row * bar->GetFontHeight() + bar->GetFontHeight() / 2);
    Run(std::move(steps));
}

int MainScreenTest::FindItem(const std::string& text, const std::string& parent) const {
    for (int id : Tree()->GetItemIDs()) {
        const int up = Tree()->GetParentID(id);
        if (Tree()->GetItemText(id) == text &&
            (parent.empty() || (up != -1 && Tree()->GetItemText(up) == parent)))
            return id;
    }
    return -1;
}

std::vector<std::string> MainScreenTest::TreeTexts() const {
    std::vector<std::string> texts;
    for (int id : Tree()->GetItemIDs())
        texts.push_back(Tree()->GetItemText(id));
    return texts;
}

void MainScreenTest::ClickItem(const std::string& text, const std::string& parent, bool right) {
    CTavTree* tree = Tree();
    const int id = FindItem(text, parent);
    ASSERT_NE(id, -1) << "no tree item " << text;
    // Shown: every ancestor expanded.
    for (int up = tree->GetParentID(id); up != -1; up = tree->GetParentID(up))
        tree->SetItemExpanded(up, TRUE);
    const int row = tree->GetItemRow(id);
    ASSERT_GE(row, 0);
    const int x = static_cast<int>(tree->GetAppX()) + (tree->GetTabSpace() + 5) * main->ItemLevel(id) + 14;
    const int y = static_cast<int>(tree->GetAppY()) + row * tree->GetItemHeight() + tree->GetItemHeight() / 2;
    ASSERT_EQ(tree->ItemAt(x, y), id);
    right ? display->RClick(x, y) : display->LClick(x, y);
    Drive(1);
}

void MainScreenTest::ClickPopupItem(CTavScreen* screen, const std::string& item) {
    auto* popup = dynamic_cast<CTavPopupMenu*>(screen->GetPopupMenu());
    ASSERT_NE(popup, nullptr) << "no popup menu open";
    int row = 0;
    while (row < popup->GetItemCount() && item != popup->GetItem(row))
        ++row;
    ASSERT_LT(row, popup->GetItemCount()) << item;
    display->LClick(static_cast<int>(popup->GetAppX()) + 10, static_cast<int>(popup->GetAppY()) +
                                                                 row * popup->GetItemHeight() +
                                                                 popup->GetItemHeight() / 2);
}

void MainScreenTest::ClickObject(CTavScreen* screen, DWORD id) {
    CTavObject* object = screen->GetObjectByID(id);
    ASSERT_NE(object, nullptr) << "object " << id;
    LClick(Middle(object));
}

void MainScreenTest::Drag(Point from, Point to, std::vector<Step> steps) {
    display->LButtonDown(from[0], from[1]);
    display->MouseMove(to[0], to[1]);
    display->LButtonUp(to[0], to[1]);
    Run(std::move(steps));
}

void MainScreenTest::ExpectArrows(const CTavObject* c) const {
    // The left arrow tells whom they frame; the screenshots pin the rest.
    const Rect left = c == nullptr ? Rect{-50, -50, 20, 20}
                                   : Rect{static_cast<int>(c->GetX()) - 20,
                                          static_cast<int>(c->GetY()) + c->GetHeight() / 2 - 10, 20, 20};
    EXPECT_EQ(RectOf(View()->GetObjectByID(LeftArrow)), left);
}

std::vector<DWORD> MainScreenTest::ViewControls(CTavScreen* view) {
    std::vector<DWORD> ids;
    for (int i = 0; view != nullptr && i < view->GetObjectCount(); ++i)
        if (const DWORD id = view->GetObjectAt(i)->GetID(); !IsArrowId(id) && id != GridLayer::kId)
            ids.push_back(id);
    return ids;
}

std::unique_ptr<Project> MainScreenTest::DemoProject() const {
    auto project = std::make_unique<Project>();
    project->name = "Demo";
    AddScreen(*project, "MyScreen").startup = 1;
    AddScreen(*project, "Popup1", ScreenType::Popup, 300, 200);
    ObjectDef& button = AddObject(*project, ObjectKind::Button, "MyScreen", "Button1", 40, 60, 80, 20);
    button.caption = "Go";
    button.textColor = {};
    ObjectDef& text = AddObject(*project, ObjectKind::Static, "MyScreen", "Static1", 40, 120, 120, 20);
    text.caption = "Hello";
    text.backColor = {40, 90, 160};
    AddObject(*project, ObjectKind::Static, "Popup1", "Static2", 0, 0, 50, 50);
    project->modified = 0;
    return project;
}

Step MainScreenTest::Message(const std::string& text) {
    return [this, text](CTavScreen* popup) {
        EXPECT_EQ(Describe(popup), "message: " + text);
        ClickObject(popup, 0);
    };
}

Step MainScreenTest::Question(const std::string& text, bool yes) {
    return [this, text, yes](CTavScreen* popup) {
        EXPECT_EQ(Describe(popup), "question: " + text);
        ClickObject(popup, yes ? 0 : 1);
    };
}

Step MainScreenTest::Click(DWORD id) {
    return [this, id](CTavScreen* popup) { ClickObject(popup, id); };
}

Step MainScreenTest::Type(DWORD id, const std::string& text) {
    return [id, text](CTavScreen* popup) { SetTextOf(popup, id, text); };
}

Step MainScreenTest::AnswerObjectDialog(const std::string& expected, DWORD button) {
    return [this, expected, button](CTavScreen* popup) {
        auto* dialog = dynamic_cast<ObjectDialog*>(popup);
        ASSERT_NE(dialog, nullptr) << Describe(popup);
        EXPECT_EQ(std::to_string(static_cast<int>(dialog->kind)) + " " + std::to_string(dialog->editedIndex) +
                      " " + TextOf(popup, 4) + "," + TextOf(popup, 6),
                  expected);
        ClickObject(popup, button);
    };
}

Step MainScreenTest::Dismiss(const std::string& expected) {
    return [this, expected](CTavScreen* popup) {
        EXPECT_EQ(Describe(popup), expected);
        if (Is<PreviewScreen>(popup))
            return display->KeyDown(VK_ESCAPE);
        for (const std::string caption : {"No", "Cancel", "Close", "OK"})
            for (int i = 0; i < popup->GetObjectCount(); ++i)
                if (auto* b = dynamic_cast<CTavButton*>(popup->GetObjectAt(i));
                    b != nullptr && b->IsVisible() && b->GetCaption() == caption)
                    return LClick(Middle(b));
        ADD_FAILURE() << "no way out of " << Describe(popup);
    };
}

} // namespace tav::testing
