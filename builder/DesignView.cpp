#include "builder/DesignView.h"

#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "builder/PopupMenus.h"
#include "builder/SelectionArrows.h"
#include "builder/StatusLine.h"
#include "model/Project.h"
#include "model/edits/ObjectEdits.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tav::builder {
namespace {

constexpr int kPopupWidth = 130;
constexpr int kPopupItemHeight = 15;
constexpr int kWheelStep = 40; // pixels per notch
constexpr int kBigNudge = 10;

struct AddItem {
    const char* text;
    ObjectKind kind;
};
constexpr AddItem kAddItems[] = {
    {"Add Animation", ObjectKind::Animation}, {"Add Button", ObjectKind::Button},
    {"Add Edit Box", ObjectKind::Edit},       {"Add List Box", ObjectKind::ListBox},
    {"Add Object", ObjectKind::Object},       {"Add Static", ObjectKind::Static},
    {"Add Tree", ObjectKind::Tree},
};

int Truncated(float value) {
    return static_cast<int>(value);
}

bool KeyHeld(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

SnapSettings CurrentSnap() {
    BuilderApp* app = TheBuilderApp();
    return app != nullptr ? app->snap : SnapSettings{};
}

} // namespace

DesignView::~DesignView() {
    BuilderApp* app = TheBuilderApp();
    if (app != nullptr && app->GestureView() == this)
        app->EndDrag();
}

MainScreen* DesignView::Owner() {
    if (m_owner == nullptr)
        m_owner = dynamic_cast<MainScreen*>(GetParent());
    return m_owner;
}

ObjectDef* DesignView::ObjectOfControl(DWORD oID) {
    MainScreen* owner = Owner();
    Project* project = owner != nullptr ? owner->GetProject() : nullptr;
    if (project == nullptr || project != m_shownProject || m_shownScreen.empty())
        return nullptr;
    for (const auto& object : project->objects)
        if (object->designId == oID && object->screenName == m_shownScreen)
            return object.get();
    return nullptr;
}

const DesignView::ControlSource* DesignView::SourceOf(DWORD oID) const {
    const auto found = m_sources.find(oID);
    return found != m_sources.end() ? &found->second : nullptr;
}

bool DesignView::ContainsWindowPoint(int x, int y) const {
    return ContainsPoint(x, y) != FALSE;
}

bool DesignView::IsMark(DWORD id) const {
    return IsArrowId(id) || id == GridLayer::kId;
}

bool DesignView::MoveControls(const std::vector<std::int32_t>& indexes) {
    std::vector<std::pair<CTavObject*, const ObjectDef*>> moves;
    for (const std::int32_t index : indexes) {
        CTavObject* control = ControlOfIndex(index);
        if (control == nullptr)
            return false;
        const ObjectDef* object = ObjectOfControl(control->GetID());
        if (object != &m_shownProject->Object(index))
            return false;
        moves.emplace_back(control, object);
    }
    for (const auto& [control, object] : moves) {
        control->SetPosition(static_cast<float>(object->x), static_cast<float>(object->y));
        // A control that still matches its object stays through the next rebuild.
        if (const auto source = m_sources.find(control->GetID()); source != m_sources.end()) {
            source->second.object.x = object->x;
            source->second.object.y = object->y;
        }
    }
    RefreshMarks();
    return true;
}

int DesignView::IndexOf(const std::string& name) const {
    return m_shownProject != nullptr ? m_shownProject->FindObjectIndex(name, m_shownScreen) : -1;
}

CTavObject* DesignView::ControlOfIndex(int index) const {
    if (m_shownProject == nullptr || index < 0 || index >= m_shownProject->ObjectCount())
        return nullptr;
    const DWORD id = m_shownProject->Object(index).designId;
    return IsMark(id) ? nullptr : GetObjectByID(id);
}

CTavObject* DesignView::ControlAt(int x, int y) {
    const std::vector<CTavObject*> controls = ObjectsSnapshot();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (!IsMark((*it)->GetID()) && (*it)->HitTest(x, y) && ObjectOfControl((*it)->GetID()) != nullptr)
            return *it;
    return nullptr;
}

void DesignView::ContentPoint(int x, int y, int* outX, int* outY) const {
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    *outX = x - GetAppX() + scrollX;
    *outY = y - GetAppY() + scrollY;
}

void DesignView::NewObjectPoint(int* x, int* y) const {
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const ObjectDef fresh;
    *x = scrollX + std::max(0, (GetWidth() - fresh.width) / 2);
    *y = scrollY + std::max(0, (GetHeight() - fresh.height) / 2);
}

void DesignView::AfterInitialize() {
    AddSelectionArrows(this);
}

// Selection ------------------------------------------------------------------------------------------

void DesignView::SetShownScreen(const std::string& name) {
    if (name != m_shownScreen)
        m_selection.clear();
    m_shownScreen = name;
}

void DesignView::SetShownProject(const Project* project) {
    if (project != m_shownProject)
        m_selection.clear();
    m_shownProject = project;
}

void DesignView::SetSelection(std::vector<std::string> names) {
    m_selection = std::move(names);
    RefreshMarks();
}

// The preview shows the screen as the program will: no grid.
bool DesignView::GridShown() const {
    return !m_shownScreen.empty() && previewFlag != 1;
}

void DesignView::RefreshMarks() {
    std::erase_if(m_selection, [this](const std::string& name) { return IndexOf(name) == -1; });
    CTavObject* primary = m_selection.empty() ? nullptr : ControlOfIndex(IndexOf(m_selection.front()));
    if (primary != nullptr)
        FrameWithArrows(this, *primary);
    else
        HideArrows(this);
    UpdateGrid(this, CurrentSnap(), GridShown());
    Invalidate();
}

void DesignView::OnObjectGotFocus(DWORD oID) {
    if (IsMark(oID))
        return;
    // A control in use may hold state of its own (typed text, a tick): the next rebuild makes it anew.
    ForgetSourceOf(oID);
    // A click decides in its own handler; otherwise the tree chose this object.
    CTavApp* app = TavGetApp();
    if (m_syncingTree || (app != nullptr && app->IsMouseButtonDown() &&
                          ContainsWindowPoint(app->GetMouseX(), app->GetMouseY())))
        return;
    if (const ObjectDef* object = ObjectOfControl(oID))
        Choose(object->name, false);
}

void DesignView::OnObjectLostFocus(DWORD) {}

void DesignView::SelectAll() {
    if (m_shownProject == nullptr)
        return;
    std::vector<std::string> names;
    for (const auto& object : m_shownProject->objects)
        if (object->screenName == m_shownScreen)
            names.push_back(object->name);
    // The primary stays first.
    if (!m_selection.empty())
        std::rotate(names.begin(), std::find(names.begin(), names.end(), m_selection.front()),
                    std::find(names.begin(), names.end(), m_selection.front()) + 1);
    SetSelection(std::move(names));
    SelectInTree(m_selection.empty() ? std::string() : m_selection.front());
}

void DesignView::Choose(const std::string& name, bool toggle) {
    std::vector<std::string> names = m_selection;
    const auto found = std::find(names.begin(), names.end(), name);
    const bool wasSelected = found != names.end();
    if (wasSelected)
        names.erase(found);
    else if (!toggle)
        names.clear();
    if (!toggle || !wasSelected)
        names.insert(names.begin(), name);
    SetSelection(std::move(names));
    SelectInTree(m_selection.empty() ? std::string() : m_selection.front());
}

void DesignView::SelectInTree(const std::string& name) {
    MainScreen* owner = Owner();
    CTavTree* tree = owner != nullptr ? owner->Tree() : nullptr;
    if (tree == nullptr)
        return;
    // Copies: selecting may let the owner change the project.
    const std::string screenName = m_shownScreen;
    m_syncingTree = true;
    tree->SetRedrawEnabled(FALSE);
    for (const int item : tree->GetItemIDs()) {
        const int parent = tree->GetParentID(item);
        // The screen's item for no object, else the object's.
        const bool screenItem = parent != -1 && tree->GetParentID(parent) == -1;
        if (name.empty()
                ? !(screenItem && tree->GetItemText(item) == screenName)
                : (screenItem || parent == -1 || tree->GetParentID(tree->GetParentID(parent)) != -1 ||
                   tree->GetItemText(item) != name || tree->GetItemText(parent) != screenName))
            continue;
        if (!name.empty() && !tree->IsItemExpanded(parent))
            tree->SetItemExpanded(parent, TRUE);
        if (tree->GetSelectedItem() != item)
            tree->SelectItem(item);
        break;
    }
    tree->SetRedrawEnabled(TRUE);
    m_syncingTree = false;
}

void DesignView::AfterObjectDoubleClick(DWORD oID, int, int) {
    if (IsMark(oID))
        return;
    if (MainScreen* owner = Owner())
        owner->OnObjectProperties();
}

// Gestures -------------------------------------------------------------------------------------------

void DesignView::AfterLMouseDown(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || m_shownProject == nullptr)
        return;
    int cx = 0, cy = 0;
    ContentPoint(x, y, &cx, &cy);
    const bool toggle = KeyHeld(VK_SHIFT) || KeyHeld(VK_CONTROL);
    const int primary = m_selection.empty() ? -1 : IndexOf(m_selection.front());
    if (!toggle && primary != -1) {
        if (const int edges = HandleAt(BoundsOf(m_shownProject->Object(primary)), cx, cy)) {
            StartGesture(BuilderApp::ResizingObject, cx, cy, {primary});
            m_gesture.edges = edges;
            return;
        }
    }
    if (CTavObject* control = ControlAt(x, y)) {
        const std::string name = ObjectOfControl(control->GetID())->name;
        Choose(name, toggle);
        if (std::find(m_selection.begin(), m_selection.end(), name) == m_selection.end())
            return; // taken out of the selection
        std::vector<int> indexes;
        for (const std::string& each : m_selection)
            indexes.push_back(IndexOf(each));
        StartGesture(BuilderApp::MovingObject, cx, cy, std::move(indexes));
        return;
    }
    if (!toggle && !m_selection.empty()) {
        SetSelection({});
        SelectInTree("");
    }
    StartGesture(BuilderApp::Banding, cx, cy, {});
    m_gesture.base = m_selection;
}

void DesignView::StartGesture(int state, int x, int y, std::vector<int> indexes) {
    m_gesture = Gesture{};
    m_gesture.startX = x;
    m_gesture.startY = y;
    m_gesture.indexes = std::move(indexes);
    const Project& project = *m_shownProject;
    for (const int index : m_gesture.indexes) {
        const Bounds bounds = BoundsOf(project.Object(index));
        m_gesture.box = m_gesture.before.empty() ? bounds : United(m_gesture.box, bounds);
        m_gesture.before.push_back(bounds);
    }
    m_gesture.now = m_gesture.box;
    if (state != BuilderApp::Banding) {
        std::vector<Bounds> others;
        for (int index = 0; index < project.ObjectCount(); ++index)
            if (project.Object(index).screenName == m_shownScreen &&
                std::find(m_gesture.indexes.begin(), m_gesture.indexes.end(), index) ==
                    m_gesture.indexes.end())
                others.push_back(BoundsOf(project.Object(index)));
        const ScreenDef* screen = project.FindScreen(m_shownScreen);
        const bool full = screen == nullptr || screen->type == ScreenType::FullScreen;
        const Bounds area{0, 0, full ? project.width : screen->width, full ? project.height : screen->height};
        m_gesture.snapper = std::make_unique<Snapper>(others, area, CurrentSnap());
    }
    TheBuilderApp()->StartGesture(state, this);
}

void DesignView::PlaceGestureControls(int dx, int dy) {
    for (size_t i = 0; i < m_gesture.indexes.size(); ++i)
        if (CTavObject* control = ControlOfIndex(m_gesture.indexes[i]))
            control->SetPosition(static_cast<float>(m_gesture.before[i].x + dx),
                                 static_cast<float>(m_gesture.before[i].y + dy));
}

void DesignView::DragTo(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || m_shownProject == nullptr)
        return;
    int cx = 0, cy = 0;
    ContentPoint(x, y, &cx, &cy);
    int dx = cx - m_gesture.startX, dy = cy - m_gesture.startY;
    const bool snapping = m_gesture.snapper != nullptr && !KeyHeld(VK_MENU);
    m_guides.clear();
    const Bounds& box = m_gesture.box;
    if (app->DragState == BuilderApp::MovingObject) {
        if (snapping && (dx != 0 || dy != 0)) {
            Snap snap = m_gesture.snapper->Move({box.x + dx, box.y + dy, box.width, box.height});
            dx += snap.dx;
            dy += snap.dy;
            m_guides = std::move(snap.guides);
        }
        m_gesture.now = {box.x + dx, box.y + dy, box.width, box.height};
        PlaceGestureControls(dx, dy);
    } else if (app->DragState == BuilderApp::ResizingObject) {
        const int edges = m_gesture.edges;
        // The moving edges follow the pointer; the others stay.
        int left = box.x, top = box.y, right = box.x + box.width, bottom = box.y + box.height;
        const auto apply = [&](int ex, int ey) {
            left += (edges & Snapper::Left) != 0 ? ex : 0;
            right += (edges & Snapper::Right) != 0 ? ex : 0;
            top += (edges & Snapper::Top) != 0 ? ey : 0;
            bottom += (edges & Snapper::Bottom) != 0 ? ey : 0;
        };
        apply(dx, dy);
        if (snapping) {
            Snap snap = m_gesture.snapper->Resize({left, top, right - left, bottom - top}, edges);
            apply(snap.dx, snap.dy);
            m_guides = std::move(snap.guides);
        }
        // At least one pixel, the fixed edge kept.
        if (right - left < 1)
            (edges & Snapper::Left) != 0 ? left = right - 1 : right = left + 1;
        if (bottom - top < 1)
            (edges & Snapper::Top) != 0 ? top = bottom - 1 : bottom = top + 1;
        m_gesture.now = {left, top, right - left, bottom - top};
        if (CTavObject* control = ControlOfIndex(m_gesture.indexes.front())) {
            control->SetPosition(static_cast<float>(left), static_cast<float>(top));
            control->SetWidth(right - left);
            control->SetHeight(bottom - top);
        }
    } else if (app->DragState == BuilderApp::Banding) {
        m_band = Bounds{std::min(cx, m_gesture.startX), std::min(cy, m_gesture.startY), std::abs(dx),
                        std::abs(dy)};
        std::vector<std::string> names = m_gesture.base;
        for (const auto& object : m_shownProject->objects)
            if (object->screenName == m_shownScreen && Touches(*m_band, BoundsOf(*object)) &&
                std::find(names.begin(), names.end(), object->name) == names.end())
                names.push_back(object->name);
        SetSelection(std::move(names));
        ShowStatusText(BoundsText(*m_band));
        return;
    }
    RefreshMarks();
    ShowStatusText(BoundsText(m_gesture.now));
}

void DesignView::EndGesture(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    MainScreen* owner = Owner();
    if (app == nullptr || owner == nullptr || m_shownProject == nullptr)
        return;
    const int state = app->DragState;
    app->EndDrag();
    m_guides.clear();
    m_band.reset();
    const Bounds& box = m_gesture.box;
    const Bounds now = m_gesture.now;
    // Released outside the view: nothing moves.
    const bool inside = ContainsWindowPoint(x, y);
    if (state == BuilderApp::MovingObject && now != box) {
        if (!inside)
            return CancelGesture();
        std::vector<edits::MoveObjects::Shift> shifts;
        for (const int index : m_gesture.indexes)
            shifts.push_back({index, now.x - box.x, now.y - box.y});
        owner->ApplyEdit(std::make_unique<edits::MoveObjects>(std::move(shifts)));
    } else if (state == BuilderApp::ResizingObject && now != box) {
        if (!inside)
            return CancelGesture();
        const int index = m_gesture.indexes.front();
        owner->ApplyEdit(
            std::make_unique<edits::SetBounds>("Resize " + m_shownProject->Object(index).name,
                                               std::vector<edits::SetBounds::Change>{{index, box, now}}));
    } else if (state == BuilderApp::Banding) {
        SelectInTree(m_selection.empty() ? std::string() : m_selection.front());
    }
    m_gesture = Gesture{};
    RefreshMarks();
}

void DesignView::CancelGesture() {
    if (BuilderApp* app = TheBuilderApp(); app != nullptr && app->GestureView() == this) {
        if (app->DragState == BuilderApp::Banding)
            SetSelection(m_gesture.base);
        app->EndDrag();
    }
    for (size_t i = 0; i < m_gesture.indexes.size(); ++i)
        if (CTavObject* control = ControlOfIndex(m_gesture.indexes[i])) {
            const Bounds& b = m_gesture.before[i];
            control->SetPosition(static_cast<float>(b.x), static_cast<float>(b.y));
            control->SetWidth(b.width);
            control->SetHeight(b.height);
        }
    m_gesture = Gesture{};
    m_guides.clear();
    m_band.reset();
    RefreshMarks();
}

void DesignView::AfterMouseMove(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || app->GestureView() != nullptr)
        return;
    int cx = 0, cy = 0;
    ContentPoint(x, y, &cx, &cy);
    ShowStatusText(PointText(cx, cy));
}

void DesignView::ShowStatusText(const std::string& text) {
    if (MainScreen* owner = Owner())
        ShowStatus(owner, text);
}

void DesignView::AfterLMouseUp(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || app->DragImage() == nullptr || !ContainsWindowPoint(x, y) ||
        app->DragState != BuilderApp::PlacingObject)
        return;
    int viewX = -1, viewY = -1;
    ScreenToClient(Truncated(app->DragImage()->GetX()), Truncated(app->DragImage()->GetY()), &viewX, &viewY);
    FinishPlacing(viewX, viewY);
}

void DesignView::FinishPlacing(int x, int y) {
    MainScreen* owner = Owner();
    if (owner == nullptr || owner->GetProject() == nullptr)
        return;
    BuilderApp* app = TheBuilderApp();
    const ObjectKind kind = app->dragKind;
    app->EndDrag();
    owner->OnAddObject(kind, x, y);
}

void DesignView::AfterBackBufferRedrawn() {
    Marks marks;
    for (const std::string& name : m_selection)
        if (const int index = IndexOf(name); index != -1)
            marks.selected.push_back(BoundsOf(m_shownProject->Object(index)));
    // While dragged, the controls show where the objects will be.
    BuilderApp* app = TheBuilderApp();
    if (app != nullptr && app->GestureView() == this && app->DragState != BuilderApp::Banding) {
        const int dx = m_gesture.now.x - m_gesture.box.x, dy = m_gesture.now.y - m_gesture.box.y;
        for (Bounds& b : marks.selected)
            b.x += dx, b.y += dy;
        if (app->DragState == BuilderApp::ResizingObject && !marks.selected.empty())
            marks.selected.front() = m_gesture.now;
    }
    marks.handles = !marks.selected.empty();
    marks.guides = m_guides;
    marks.band = m_band;
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    DrawMarks(GetSurface(), scrollX, scrollY, marks);
    // An open menu stays on top.
    if (CTavObject* popup = GetPopupMenu())
        popup->Display(GetSurface());
}

void DesignView::AfterSetScrollPosition(int, int, int, int) {
    UpdateGrid(this, CurrentSnap(), GridShown());
}

void DesignView::AfterMouseWheel(int, int, int delta) {
    auto* bars = dynamic_cast<CTavScrollBars*>(GetScrollBarsObject());
    if (bars == nullptr)
        return;
    int scrollX = 0, scrollY = 0;
    GetScrollPosition(&scrollX, &scrollY);
    const int step = -delta * kWheelStep / WHEEL_DELTA;
    if (KeyHeld(VK_SHIFT))
        bars->SetScrollPosition(scrollX + step, scrollY);
    else
        bars->SetScrollPosition(scrollX, scrollY + step);
}

// Menus and keys -------------------------------------------------------------------------------------

void DesignView::AfterRMouseDown(int x, int y) {
    MainScreen* owner = Owner();
    if (owner == nullptr || owner->GetProject() == nullptr || owner->GetProject()->ScreenCount() < 1)
        return;
    const int level = owner->SelectedLevel();
    if (level != 1 && level != 2)
        return;
    ContentPoint(x, y, &m_popupX, &m_popupY);
    if (CTavObject* control = ControlAt(x, y)) {
        const std::string name = ObjectOfControl(control->GetID())->name;
        if (m_selection.empty() || m_selection.front() != name)
            Choose(name, false);
        OpenPopupMenu(this, x, y, kPopupWidth, 3 * kPopupItemHeight,
                      {"Properties", "Delete", "Screen Properties"});
    } else {
        OpenPopupMenu(this, x, y, kPopupWidth, 8 * kPopupItemHeight,
                      {"Add Animation", "Add Button", "Add Edit Box", "Add List Box", "Add Object",
                       "Add Static", "Add Tree", "Screen Properties"});
    }
}

void DesignView::OnPopupMenuItemClicked(const char* item) {
    MainScreen* owner = Owner();
    if (owner == nullptr || item == nullptr)
        return;
    for (const AddItem& add : kAddItems) {
        if (std::strcmp(item, add.text) == 0) {
            owner->OnAddObject(add.kind, m_popupX, m_popupY);
            return;
        }
    }
    if (std::strcmp(item, "Screen Properties") == 0)
        owner->OnScreenProperties();
    else if (std::strcmp(item, "Properties") == 0)
        owner->OnObjectProperties();
    else if (std::strcmp(item, "Delete") == 0)
        owner->OnDeleteObject();
}

void DesignView::Nudge(int dx, int dy) {
    std::vector<edits::MoveObjects::Shift> shifts;
    for (const std::string& name : m_selection)
        shifts.push_back({IndexOf(name), dx, dy});
    Owner()->ApplyEdit(std::make_unique<edits::MoveObjects>(std::move(shifts)));
}

void DesignView::AfterKeyDown(UINT nChar) {
    BuilderApp* app = TheBuilderApp();
    if (app != nullptr && app->GestureView() == this) {
        if (nChar == VK_ESCAPE)
            CancelGesture();
        return;
    }
    MainScreen* owner = Owner();
    const bool selected = !m_selection.empty() && owner != nullptr;
    const int step = KeyHeld(VK_SHIFT) ? kBigNudge : 1;
    switch (nChar) {
    case VK_ESCAPE:
        if (selected) {
            SetSelection({});
            SelectInTree("");
            return;
        }
        break;
    case 'A':
        if (KeyHeld(VK_CONTROL))
            return SelectAll();
        break;
    case VK_DELETE:
        if (selected)
            return owner->OnDeleteObject();
        break;
    case VK_RETURN:
        if (selected)
            return owner->OnObjectProperties();
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (selected)
            return Nudge(nChar == VK_LEFT    ? -step
                         : nChar == VK_RIGHT ? step
                                             : 0,
                         nChar == VK_UP     ? -step
                         : nChar == VK_DOWN ? step
                                            : 0);
        break;
    default:
        break;
    }
    if (previewFlag != 1) {
        // Keys pressed while the view holds the focus are the main screen's (F5).
        if (owner != nullptr)
            owner->AfterKeyDown(nChar);
        return;
    }
    if (nChar != VK_ESCAPE || GetChildScreen() != nullptr)
        return;
    CTavScreen* preview = GetParent();
    if (preview != nullptr && preview->GetChildScreen() == nullptr)
        preview->Close();
}

} // namespace tav::builder
