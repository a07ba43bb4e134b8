#include "builder/ProjectViews.h"

#include "builder/DesignView.h"
#include "builder/SelectionArrows.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tav::builder {
namespace {

// Where the view is laid out: the frame of the main screen, or the whole preview.
struct Area {
    int x, y, width, height;
};
constexpr Area kNormalArea{210, 30, 550, 450};
constexpr Area kPreviewArea{0, 0, 800, 600};

COLORREF Colour(const RgbTriple& rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}
int Weight(Flag bold) {
    return bold == 1 ? FW_BOLD : 0;
}
float At(std::int32_t value) {
    return static_cast<float>(value);
}

// Gives the control back when `result` is a success, else finishes and deletes it.
template <typename Control>
Control* Made(Control* control, DWORD result) {
    if (result == TAVERROR_OK)
        return control;
    control->Finish();
    delete control;
    return nullptr;
}

CTavObject* MakePlainObject(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* object = new CTavObject;
    const DWORD result =
        o.image.empty() ? object->Initialize(id, At(o.x), At(o.y), o.width, o.height, view)
                        : object->Initialize(id, At(o.x), At(o.y), o.image.c_str(), o.width, o.height, view);
    if (Made(object, result) == nullptr)
        return nullptr;
    if (o.transparent == 1)
        object->SetTransparent(TRUE, Colour(o.transparentColor));
    return object;
}

CTavObject* MakeButton(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* button = new CTavButton;
    const DWORD result = button->Initialize(o.caption.c_str(), id, At(o.x), At(o.y), o.width, o.height, view,
                                            o.upBitmap.c_str(), o.overBitmap.c_str(), o.downBitmap.c_str());
    if (Made(button, result) == nullptr)
        return nullptr;
    button->SetTextColor(Colour(o.textColor));
    button->SetFont(o.fontName.c_str(), 0, o.fontSize, Weight(o.bold));
    button->SetTextOffset(o.textOffsetX, o.textOffsetY);
    return button;
}

CTavObject* MakeCheckBox(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* box = new CTavCheckBox;
    const DWORD result = box->Initialize(o.caption.c_str(), id, At(o.x), At(o.y), o.width, o.height, view,
                                         o.checkedBitmap.c_str(), o.uncheckedBitmap.c_str());
    if (Made(box, result) == nullptr)
        return nullptr;
    box->SetBackColor(Colour(o.backColor));
    box->SetTextColor(Colour(o.textColor));
    box->SetFont(o.fontName.c_str(), 0, o.fontSize, Weight(o.bold));
    if (o.transparent == 1)
        box->SetTransparent(TRUE, box->GetBackColor());
    return box;
}

// Statics and edit boxes are configured alike.
CTavObject* MakeText(CTavStatic* text, const ObjectDef& o, DWORD id, CTavScreen* view) {
    const DWORD result =
        text->Initialize(o.caption.c_str(), id, At(o.x), At(o.y), o.width, o.height, view, o.image.c_str());
    if (Made(text, result) == nullptr)
        return nullptr;
    text->SetMultiline(o.multiline == 1 ? TRUE : FALSE);
    text->SetBackColor(Colour(o.backColor));
    if (o.transparent == 1)
        text->SetTransparent(TRUE, text->GetBackColor());
    text->SetTextColor(Colour(o.textColor));
    text->SetFont(o.fontName.c_str(), 0, o.fontSize, Weight(o.bold));
    text->SetTextExtent(o.textOffsetX, o.textOffsetY);
    return text;
}

CTavObject* MakeListBox(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* list = new CTavListBox;
    const DWORD result =
        list->Initialize(id, At(o.x), At(o.y), o.width, o.height, view, o.listBackground.c_str());
    if (Made(list, result) == nullptr)
        return nullptr;
    list->SetBackColor(Colour(o.backColor));
    list->SetFont(o.fontName.c_str(), 0, o.fontSize, Weight(o.bold));
    list->SetTextColor(Colour(o.textColor));
    list->SetColumnFont(o.columnFontName.c_str(), 0, o.columnFontSize, Weight(o.columnBold));
    list->SetColumnTextColor(Colour(o.columnTextColor));
    list->SetSelectedColor(Colour(o.selectedColor));
    list->SetLineColor(Colour(o.lineColor));
    list->SetColumnBackColor(Colour(o.columnBackColor));
    if (o.columnHeight > 0)
        list->SetColumnHeight(o.columnHeight);
    if (o.itemHeight > 0)
        list->SetItemHeight(o.itemHeight);
    // Sample columns, so that the header shows.
    list->AddColumn("Col1", o.width / 2);
    list->AddColumn("Col2", o.width / 2);
    return list;
}

CTavObject* MakeTree(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* tree = new CTavTree;
    const DWORD result =
        tree->Initialize(At(o.x), At(o.y), id, view, o.width, o.height, o.treeBackground.c_str(),
                         o.plusBitmap.c_str(), o.minusBitmap.c_str());
    if (Made(tree, result) == nullptr)
        return nullptr;
    tree->SetRedrawEnabled(FALSE);
    tree->SetFontName(o.fontName.c_str());
    tree->SetFontHeight(o.fontSize);
    if (o.bold == 1)
        tree->SetFontStyle(FW_BOLD);
    tree->SetTextColor(Colour(o.textColor));
    tree->SetItemBackColor(Colour(o.backColor));
    tree->SetSelectedItemColor(Colour(o.selectedColor));
    tree->SetItemHeight(o.itemHeight);
    tree->SetTabSpace(o.tabSpace);
    // Sample items, one level below the other.
    int parent = -1;
    for (const char* text : {"This", "is a", "tree", "control"})
        parent = tree->AddItem(text, -1, parent);
    tree->ExpandAll();
    tree->SetRedrawEnabled(TRUE);
    return tree;
}

CTavObject* MakeAnimation(const ObjectDef& o, DWORD id, CTavScreen* view) {
    auto* animation = new CTavAnimation;
    if (Made(animation, animation->Initialize(id, At(o.x), At(o.y), o.width, o.height, view)) == nullptr)
        return nullptr;
    for (const std::string& frame : o.frames)
        animation->AddFrame(frame.c_str());
    animation->SetFrameFrequency(static_cast<float>(o.interval * 0.001));
    if (o.transparent == 1)
        animation->SetTransparent(TRUE, Colour(o.transparentColor));
    return animation;
}

// Offset that centres `size` in `area` when it is smaller, else the area's start.
int Centred(int origin, int area, int size) {
    return size < area ? origin + (area - size) / 2 : origin;
}

// The content size the view scrolls over; bars appear only where it exceeds the view.
void SetScrollExtent(CTavScreen* view, int width, int height) {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(view->GetScrollBarsObject()))
        bars->SetContentSize(width, height);
    else
        view->SetScrollBars(width, height, 4);
}

void SetScrollPosition(CTavScreen* view, int x, int y) {
    if (auto* bars = dynamic_cast<CTavScrollBars*>(view->GetScrollBarsObject()))
        bars->SetScrollPosition(x, y);
}

// The state of the bitmap files that objects read, as text; each file is looked at once per rebuild.
class FileStamps {
public:
    std::string Of(const ObjectDef& o) {
        std::string stamps;
        for (const std::string* path :
             {&o.image, &o.upBitmap, &o.overBitmap, &o.downBitmap, &o.checkedBitmap, &o.uncheckedBitmap,
              &o.listBackground, &o.treeBackground, &o.plusBitmap, &o.minusBitmap})
            Append(stamps, *path);
        for (const std::string& frame : o.frames)
            Append(stamps, frame);
        return stamps;
    }

private:
    void Append(std::string& out, const std::string& path) {
        if (path.empty())
            return;
        const auto [known, added] = m_known.try_emplace(path);
        if (added)
            known->second = Stamp(path);
        out += known->second;
        out += ';';
    }
    static std::string Stamp(const std::string& path) {
        namespace fs = std::filesystem;
        const fs::path file = TavResolveResourcePath(path.c_str());
        std::error_code failed;
        const auto size = fs::file_size(file, failed);
        if (failed)
            return "-";
        const auto time = fs::last_write_time(file, failed);
        return std::to_string(size) + '@' + std::to_string(time.time_since_epoch().count());
    }

    std::unordered_map<std::string, std::string> m_known;
};

// An object the view is to show, and whether its control from the last rebuild can stay.
struct Shown {
    int index;
    DWORD id;
    std::string files;
    bool keep;
};

bool CanKeep(const DesignView& view, const ObjectDef& object, DWORD id, const std::string& files) {
    const CTavObject* control = view.GetObjectByID(id);
    const DesignView::ControlSource* source = view.SourceOf(id);
    return control != nullptr && !control->HasFocus() && source != nullptr && source->files == files &&
           source->object == object;
}

// The objects of the named screen in project order.
std::vector<Shown> ObjectsToShow(Project& project, const std::string& screenName, const DesignView& view) {
    std::vector<Shown> shown;
    FileStamps stamps;
    for (int index = 0; index < project.ObjectCount(); ++index) {
        ObjectDef& object = project.Object(index);
        if (object.screenName != screenName)
            continue;
        const DWORD id = ViewIdOf(index);
        std::string files = stamps.Of(object);
        // Sources are kept without an id: the id is given again below.
        object.designId = kNoDesignId;
        const bool keep = CanKeep(view, object, id, files);
        shown.push_back({index, id, std::move(files), keep});
    }
    return shown;
}

// Removes every control but the arrows and those kept; closes the popup, drops the background.
void ClearView(DesignView* view, const std::vector<Shown>& shown) {
    std::unordered_set<DWORD> kept;
    for (const Shown& each : shown)
        if (each.keep)
            kept.insert(each.id);
    for (CTavObject* control : view->ObjectsSnapshot()) {
        const DWORD id = control->GetID();
        if (IsArrowId(id) || id == GridLayer::kId || kept.count(id) != 0)
            continue;
        view->ForgetSourceOf(id);
        view->RemoveObject(id);
    }
    view->ClosePopupMenu();
    HideArrows(view);
    view->RemoveBackgroundImage();
}

// A kept control starts over as a new one would.
void Restart(CTavObject* control) {
    if (auto* button = dynamic_cast<CTavButton*>(control); button != nullptr && button->GetState() != 0)
        button->SetState(0);
    else if (auto* animation = dynamic_cast<CTavAnimation*>(control);
             animation != nullptr && animation->GetCurrentFrame() != 0)
        animation->SetCurrentFrame(0);
}

// Sizes and places the view for `screen`; gives the content size to scroll over. In the preview a full
// screen gets the program's window size where it fits the area, and scrolls where it does not.
void Layout(const Project& project, const ScreenDef& screen, CTavScreen* view, const Area& area, bool preview,
            int* extentWidth, int* extentHeight) {
    if (screen.type == ScreenType::FullScreen) {
        if (preview) {
            view->SetWidth(std::min(project.width, area.width));
            view->SetHeight(std::min(project.height, area.height));
        }
        *extentWidth = project.width;
        *extentHeight = project.height;
    } else {
        // Sizes beyond the window are refused; the view then keeps its size and scrolls.
        view->SetWidth(screen.width);
        view->SetHeight(screen.height);
        *extentWidth = screen.width;
        *extentHeight = screen.height;
    }
    // After the sizing: a centred background is placed by the view's size when it is set.
    if (!screen.background.empty())
        view->SetBackgroundImage(screen.background.c_str(),
                                 static_cast<int>(ShownBackgroundMode(screen.backgroundMode)));
    view->SetPosition(Centred(area.x, area.width, view->GetWidth()),
                      Centred(area.y, area.height, view->GetHeight()));
}

void AddControls(Project& project, std::vector<Shown>& shown, DesignView* view) {
    int position = 0;
    for (Shown& each : shown) {
        ObjectDef& object = project.Object(each.index);
        if (each.keep) {
            Restart(view->GetObjectByID(each.id));
        } else {
            CTavObject* control = MakeViewControl(object, each.id, view);
            if (control != nullptr && view->AddObject(control) != TAVERROR_OK) {
                control->Finish();
                delete control;
                control = nullptr;
            }
            // An object without a control must not keep an id that another control may have now.
            if (control == nullptr)
                continue;
            view->SetSourceOf(each.id, {object, std::move(each.files)});
        }
        object.designId = each.id;
        // Drawn in project order, as they were made.
        view->SetObjectOrder(each.id, position++);
    }
}

} // namespace

DWORD ViewIdOf(int index) {
    return static_cast<DWORD>(index <= 100 ? index : index + 4);
}

void FillProjectTree(const Project& project, CTavTree* tree, const std::string& screenName,
                     const std::string& objectName) {
    constexpr std::size_t kAhead = 8;
    tree->SetRedrawEnabled(FALSE);
    const COLORREF treeColour = tree->GetTextColor();
    const int root = tree->AddItem(project.name);
    tree->SetItemExpanded(root, TRUE);
    // The objects of each screen name, in project order, found in one pass; a screen's objects mostly
    // lie together, so the name before is tried first.
    std::unordered_map<std::string_view, std::size_t> listOf;
    for (const auto& screen : project.screens)
        listOf.emplace(screen->name, listOf.size());
    std::vector<std::vector<const ObjectDef*>> objectsOf(listOf.size());
    std::string_view lastName;
    std::size_t last = listOf.size();
    const auto& all = project.objects;
    for (std::size_t i = 0; i < all.size(); ++i) {
        // Objects lie far apart in memory: each is asked for ahead of its turn.
        if (i + kAhead < all.size())
            __builtin_prefetch(&all[i + kAhead]->screenName);
        const ObjectDef* object = all[i].get();
        if (last == listOf.size() || object->screenName != lastName) {
            const auto found = listOf.find(object->screenName);
            last = found != listOf.end() ? found->second : listOf.size();
            lastName = object->screenName;
        }
        if (last < objectsOf.size())
            objectsOf[last].push_back(object);
    }
    int selected = -1;
    for (const auto& screen : project.screens) {
        tree->SetTextColor(kScreenItemColour);
        const int screenItem = tree->AddItem(screen->name, -1, root);
        const bool isNamedScreen = screen->name == screenName;
        if (isNamedScreen)
            selected = screenItem;
        const std::vector<const ObjectDef*>& objects = objectsOf[listOf.at(screen->name)];
        if (objects.empty())
            continue;
        tree->SetTextColor(kObjectItemColour);
        for (std::size_t i = 0; i < objects.size(); ++i) {
            if (i + kAhead < objects.size())
                __builtin_prefetch(&objects[i + kAhead]->name);
            const ObjectDef* object = objects[i];
            const int objectItem = tree->AddItem(object->name, -1, screenItem);
            if (isNamedScreen && object->name == objectName) {
                tree->SetItemExpanded(screenItem, TRUE);
                selected = objectItem;
            }
        }
    }
    tree->SetTextColor(treeColour);
    if (selected != -1)
        tree->SelectItem(selected);
    tree->SetRedrawEnabled(TRUE);
}

void ShowScreenInView(Project* project, DesignView* view, const std::string& screenName, bool previewLayout,
                      MainScreen* mainScreen, PreviewScreen* /*previewScreen*/) {
    int scrollX = 0, scrollY = 0;
    if (!previewLayout)
        view->GetScrollPosition(&scrollX, &scrollY);
    ScreenDef* screen = project != nullptr ? project->FindScreen(screenName) : nullptr;
    std::vector<Shown> shown;
    if (screen != nullptr)
        shown = ObjectsToShow(*project, screen->name, *view);
    ClearView(view, shown);
    const Area& area = previewLayout ? kPreviewArea : kNormalArea;
    // Sized at the window's corner, where any size fits, then moved to the area's corner.
    view->SetPosition(0, 0);
    view->SetWidth(area.width);
    view->SetHeight(area.height);
    view->SetPosition(area.x, area.y);
    int extentWidth = view->GetWidth(), extentHeight = view->GetHeight();

    view->SetShownScreen(screen != nullptr ? screen->name : std::string());
    view->SetShownProject(screen != nullptr ? project : nullptr);
    if (screen != nullptr) {
        Layout(*project, *screen, view, area, previewLayout, &extentWidth, &extentHeight);
        AddControls(*project, shown, view);
        RaiseArrows(view);
    }
    SetScrollExtent(view, extentWidth, extentHeight);
    SetScrollPosition(view, scrollX, scrollY);
    if (previewLayout) {
        view->SetOwner(mainScreen);
        view->previewFlag = 1;
    }
    view->RefreshMarks();
}

CTavObject* MakeViewControl(const ObjectDef& object, DWORD id, CTavScreen* view) {
    switch (object.kind) {
    case ObjectKind::Button:
        return MakeButton(object, id, view);
    case ObjectKind::Static:
        return MakeText(new CTavStatic, object, id, view);
    case ObjectKind::Edit:
        return MakeText(new CTavEdit, object, id, view);
    case ObjectKind::CheckBox:
        return MakeCheckBox(object, id, view);
    case ObjectKind::ListBox:
        return MakeListBox(object, id, view);
    case ObjectKind::Tree:
        return MakeTree(object, id, view);
    case ObjectKind::Animation:
        return MakeAnimation(object, id, view);
    case ObjectKind::Object:
        break;
    }
    // Kinds outside the list show as plain objects, as the project file may hold them.
    return MakePlainObject(object, id, view);
}

} // namespace tav::builder
