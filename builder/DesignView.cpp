#include "builder/DesignView.h"

#include "builder/BuilderApp.h"
#include "builder/MainScreen.h"
#include "builder/SelectionArrows.h"
#include "model/Project.h"
#include "model/edits/ObjectEdits.h"

#include <cstring>
#include <string>

namespace tav::builder {
namespace {

constexpr int kPopupWidth = 130;
constexpr const char* kPopupBackground = "art//popmenuback.bmp";

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

} // namespace

DesignView::~DesignView() = default;

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

bool DesignView::AnyControlFocused() const {
    for (int i = 0; i < GetObjectCount(); ++i) {
        const CTavObject* control = GetObjectAt(i);
        if (!IsArrowId(control->GetID()) && control->HasFocus())
            return true;
    }
    return false;
}

void DesignView::AfterInitialize() {
    AddSelectionArrows(this);
}

// Selection ------------------------------------------------------------------------------------------

void DesignView::OnObjectGotFocus(DWORD oID) {
    if (IsArrowId(oID))
        return;
    // A control in use may hold state of its own (typed text, a tick): the next rebuild makes it anew.
    ForgetSourceOf(oID);
    CTavObject* control = GetObjectByID(oID);
    if (control == nullptr)
        return;
    FrameWithArrows(this, *control);
    if (const ObjectDef* object = ObjectOfControl(oID))
        SelectInTree(*object);
}

void DesignView::SelectInTree(const ObjectDef& object) {
    CTavTree* tree = Owner()->Tree();
    if (tree == nullptr)
        return;
    // Copies: selecting may let the owner change the project.
    const std::string name = object.name;
    const std::string screenName = object.screenName;
    tree->SetRedrawEnabled(FALSE);
    for (const int item : tree->GetItemIDs()) {
        const int parent = tree->GetParentID(item);
        if (parent == -1 || tree->GetParentID(parent) == -1 ||
            tree->GetParentID(tree->GetParentID(parent)) != -1)
            continue; // not an object item
        if (tree->GetItemText(item) != name || tree->GetItemText(parent) != screenName)
            continue;
        if (!tree->IsItemExpanded(parent))
            tree->SetItemExpanded(parent, TRUE);
        tree->SelectItem(item);
        break;
    }
    tree->SetRedrawEnabled(TRUE);
}

void DesignView::OnObjectLostFocus(DWORD oID) {
    if (IsArrowId(oID))
        return;
    if (!AnyControlFocused())
        HideArrows(this);
}

void DesignView::AfterObjectDoubleClick(DWORD oID, int, int) {
    if (IsArrowId(oID))
        return;
    if (MainScreen* owner = Owner())
        owner->OnObjectProperties();
}

// Dragging -------------------------------------------------------------------------------------------

void DesignView::AfterLMouseDown(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr)
        return;
    for (CTavObject* control : ObjectsSnapshot()) {
        if (IsArrowId(control->GetID()) || !Owns(control) || !control->HitTest(x, y))
            continue;
        // The image starts where the control is shown, scrolling included.
        app->StartDrag(BuilderApp::MovingObject, control, control->GetAppX(), control->GetAppY());
        app->draggedObjectId = static_cast<int>(control->GetID());
        return;
    }
}

void DesignView::AfterMouseMove(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || app->DragState != BuilderApp::MovingObject || app->DragImage() == nullptr)
        return;
    if (ContainsWindowPoint(x, y) && GetObjectByID(static_cast<DWORD>(app->draggedObjectId)) != nullptr)
        app->DragImage()->SetPosition(static_cast<float>(x), static_cast<float>(y));
}

void DesignView::AfterLMouseUp(int x, int y) {
    BuilderApp* app = TheBuilderApp();
    if (app == nullptr || app->DragImage() == nullptr || !ContainsWindowPoint(x, y))
        return;
    int viewX = -1, viewY = -1;
    ScreenToClient(Truncated(app->DragImage()->GetX()), Truncated(app->DragImage()->GetY()), &viewX, &viewY);
    if (app->DragState == BuilderApp::MovingObject)
        FinishMove(viewX, viewY);
    else if (app->DragState == BuilderApp::PlacingObject)
        FinishPlacing(viewX, viewY);
}

void DesignView::FinishMove(int x, int y) {
    const DWORD id = static_cast<DWORD>(TheBuilderApp()->draggedObjectId);
    CTavObject* control = GetObjectByID(id);
    // An image left of or above the view has no place in it; the control stays.
    if (control == nullptr || IsArrowId(id) || x < 0 || y < 0)
        return;
    control->SetPosition(static_cast<float>(x), static_cast<float>(y));
    // The model first, as one step: selecting in the tree may rebuild the view from it.
    if (ObjectDef* object = ObjectOfControl(id)) {
        const Project& project = *Owner()->GetProject();
        const int index = project.FindObjectIndex(object->name, object->screenName);
        if (x != object->x || y != object->y) {
            Owner()->ApplyEdit(std::make_unique<edits::MoveObjects>(
                std::vector<edits::MoveObjects::Shift>{{index, x - object->x, y - object->y}}));
            return;
        }
    }
    OnObjectGotFocus(id);
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

// Menus and keys -------------------------------------------------------------------------------------

void DesignView::AfterRMouseDown(int x, int y) {
    MainScreen* owner = Owner();
    if (owner == nullptr || owner->GetProject() == nullptr || owner->GetProject()->ScreenCount() < 1)
        return;
    const int level = owner->SelectedLevel();
    if (level != 1 && level != 2)
        return;
    if (AnyControlFocused())
        OpenPopup(x, y, 45, {"Properties", "Delete", "Screen Properties"});
    else
        OpenPopup(x, y, 120,
                  {"Add Animation", "Add Button", "Add Edit Box", "Add List Box", "Add Object", "Add Static",
                   "Add Tree", "Screen Properties"});
}

void DesignView::OpenPopup(int x, int y, int height, std::initializer_list<const char*> items) {
    int viewX = -1, viewY = -1;
    ScreenToClient(x, y, &viewX, &viewY);
    auto* popup = new CTavPopupMenu;
    if (popup->Initialize(static_cast<float>(viewX), static_cast<float>(viewY), kPopupWidth, height, this,
                          kPopupBackground) != TAVERROR_OK) {
        popup->Finish();
        delete popup;
        return;
    }
    for (const char* item : items)
        popup->AddItem(item);
    SetPopupMenu(popup);
}

void DesignView::OnPopupMenuItemClicked(const char* item) {
    MainScreen* owner = Owner();
    if (owner == nullptr || item == nullptr)
        return;
    for (const AddItem& add : kAddItems) {
        if (std::strcmp(item, add.text) == 0) {
            owner->OnAddObject(add.kind, -1, -1);
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

void DesignView::AfterKeyDown(UINT nChar) {
    if (previewFlag != 1) {
        // Keys pressed while the view holds the focus are the main screen's (F5).
        if (MainScreen* owner = Owner())
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
