#include "codegen/ScreenClassGenerator.h"

#include "StubTable.h"
#include "Template.h"
#include "codegen/CodeText.h"
#include "codegen/GeneratedFile.h"
#include "model/Project.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace tav {

namespace {

constexpr std::string_view kHeaderClass =
    "class «Screen» : public CTavScreen\n"
    "{\n"
    "public:\n"
    "\t«Screen»();\n"
    "\tvirtual ~«Screen»();\n"
    "\n"
    "\tvirtual BOOL OnButtonDown(DWORD bID); \n"
    "\tvirtual void OnObjectGotFocus(DWORD oID);\n"
    "\tvirtual void OnObjectLostFocus(DWORD oID); \n"
    "\tvirtual void OnCheckBoxClick(DWORD cID, BOOL newValue);\n"
    "\tvirtual BOOL OnMenuItemClicked(const char* topItem, const char* subItem);\n"
    "\tvirtual void AfterTreeCntrlDoubleClicked(DWORD tID, int itemID);\n"
    "\tvirtual void AfterTreeCntrlSelectionChanged(DWORD tID, int itemID);\n"
    "\tvirtual void OnTreeCntrlItemRightClick(DWORD tID, int itemID);\n"
    "\tvirtual void OnListBoxItemChange(DWORD lID, int item);\n"
    "\tvirtual void OnListBoxItemDoubleClicked(DWORD lID, int item);\n"
    "\tvirtual void OnListBoxItemRightClicked(DWORD lID, int item);\n"
    "\tvirtual void AfterSetScrollPosition(int oldX, int oldY, int newX, int newY);\n"
    "\tvirtual void OnPopupMenuItemClicked(const char* item);\n"
    "\n"
    "protected:\n"
    "\tvirtual void AfterInitialize();\n"
    "\tvirtual void AfterBackBufferRedrawn();\n"
    "\tvirtual void AfterRestore();\n"
    "\tvirtual void AfterSetPosition(int x, int y);\n"
    "\tvirtual void AfterSetWidth(int w);\n"
    "\tvirtual void AfterSetHeight(int h);\n"
    "\tvirtual void AfterFinish();\n"
    "\tvirtual void AfterDisplay(CTavSurface *sur);\n"
    "\tvirtual void AfterMouseMove(int x, int y);\n"
    "\tvirtual void AfterLMouseDown(int x, int y);\n"
    "\tvirtual void AfterLMouseUp(int x, int y);\n"
    "\tvirtual void AfterRMouseDown(int x, int y); \n"
    "\tvirtual void AfterRMouseUp(int x, int y);\n"
    "\tvirtual void AfterKeyDown(UINT nChar);\n"
    "\tvirtual void AfterDoubleClick(int x, int y);\n"
    "\tvirtual void AfterChar(char c);\n"
    "\n"
    "\tvirtual BOOL OnObjectLMouseDown(DWORD oID);\n"
    "\tvirtual BOOL OnObjectLMouseUp(DWORD oID);\n"
    "\tvirtual BOOL OnObjectRMouseDown(DWORD oID);\n"
    "\tvirtual BOOL OnObjectRMouseUp(DWORD oID);\n"
    "};\n"
    "#endif";

constexpr std::string_view kSourceTop = "«Screen»::«Screen»()\n"
                                        "{\n"
                                        "//«Screen» constructor\n"
                                        "}\n"
                                        "\n"
                                        "«Screen»::~«Screen»()\n"
                                        "{\n"
                                        "//«Screen» destructor\n"
                                        "}\n"
                                        "\n"
                                        "void «Screen»::AfterInitialize()\n"
                                        "{\n"
                                        "// This get called after screen has been initialized.\n"
                                        "// Add your screen objects here. \n"
                                        "\n";

constexpr std::string_view kButtonDownTop =
    "BOOL «Screen»::OnButtonDown(DWORD bID)\n"
    "{\n"
    "// This get called after a button has been pressed.\n"
    "// bID is the id of the button.\n"
    "// You can call ((CTavButton*)GetObjectByID(bID)) to get the pointer to this button\n"
    "// If you terminate the screen or the application here, return TRUE, otherwise FALSE\n"
    "// Add your custom handling here. \n";

constexpr std::string_view kOpenScreen =
    "if (bID == «Id»)\n"
    "\t{\n"
    "\t\t«Target»* scr = new «Target»;\n"
    "\t\tscr->Initialize(0,«ScreenX», «ScreenY», «ScreenW», «ScreenH», TAVSCREEN_POPUP, this);\n"
    "\t\tSetChildScreen(scr);\n"
    "\t\tRemoveChildScreen();\n"
    "\t}\n";

// A popup ends its modal run, a sub screen leaves its parent.
constexpr std::string_view kCloseScreen = "if (bID == «Id»)\n"
                                          "\t{\n"
                                          "\t\tClose();\n"
                                          "\t\treturn TRUE;\n"
                                          "\t}\n";

// As the window's close button: the application's OnCloseMessage decides.
constexpr std::string_view kQuit = "if (bID == «Id»)\n"
                                   "\t{\n"
                                   "\t\tTavPostClose();\n"
                                   "\t\treturn TRUE;\n"
                                   "\t}\n";

constexpr std::string_view kScreenComments1[] = {
    "// This gets called when one of the screen's objects received focus.",
    "// oID is the id of the object that received focus. ",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments2[] = {
    "// This gets called when one of the screen's objects loses focus.",
    "// oID is the id of the object that lost focus. ",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments3[] = {
    "// This get called when a check box is clicked. ",
    "// cID is the id of the checkbox and newValue is its new value",
    "// Add you custom handling code here",
};
constexpr std::string_view kScreenComments4[] = {
    "// This get called when on of the menu item is clicked",
    "// subItem is the name of the item that got clicked",
    "// topItem is the name of the parent item on the menu ",
    "// If you terminate the screen or the application here, return TRUE, otherwise FALSE",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments5[] = {
    "// This get called when an item in the tree control get double clicked",
    "// tID is the id of the tree control ",
    "// itemID is the id of the item in the tree control that got double clicked",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments6[] = {
    "// This get called when selection in the tree control changes",
    "// tID is the id of the tree control",
    "// itemID is the id of the newly selected item in the tree control",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments7[] = {
    "//This get called when an item in the tree control gets right clicked.",
    "//tID is the id of the tree control. itemID is the id of the item that was clicked.",
    "//Add  your custom handling code here",
};
constexpr std::string_view kScreenComments8[] = {
    "// This gets called when list box's item selection changes",
    "// lID is the id of the list box",
    "// item is the index of the newly selected item ",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments9[] = {
    "// This get called when an item in the list box gets double clicked",
    "// lID is the id of the list box",
    "// item is the index of the double clicked item in the list box",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments10[] = {
    "//This get called when an item in the list box gets right clicked.",
    "//lID is the id of the list box and item is the index of the item that got clicked.",
    "//Add you custom handling code here",
};
constexpr std::string_view kScreenComments11[] = {
    "// This get called when screen's scroll bars (if any) are moved",
    "// oldX and oldY are the position of the scrollbars before they moved",
    "// newX and newY are scroll bar's current position",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments12[] = {
    "// This get called after back buffer is redrawn. ",
    "// Add you custom drawing code here",
    "// You can get a pointer to the screen's surface by calling GetSurface()",
};
constexpr std::string_view kScreenComments13[] = {
    "// This get called after surfaces get restored ",
    "// Restore any custom surfaces here",
};
constexpr std::string_view kScreenComments14[] = {
    "// This get called after screen's position changes",
    "// x and y are screen's new position",
    "// Add you custom handling code here",
};
constexpr std::string_view kScreenComments15[] = {
    "// This gets called after screen's width changes",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments16[] = {
    "// This gets called after screen's height changes",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments17[] = {
    "// This get called after screen has been destroyed",
    "// Delete any custom objects here",
};
constexpr std::string_view kScreenComments18[] = {
    "// This get called after screen has been drawn",
    "// sur is the destination surface",
    "// Add your custom drawing code here",
};
constexpr std::string_view kScreenComments19[] = {
    "// This get called after a mouse move message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments20[] = {
    "// This get called after a left mouse down message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments21[] = {
    "// This get called after a left mouse up message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments22[] = {
    "//This get called after right mouse down message",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments23[] = {
    "//This get called after right mouse up message",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments24[] = {
    "// This get called after a key down message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments25[] = {
    "// This get called after a double click message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments26[] = {
    "// This get called after a WM_CHAR message",
    "// Add your custom handling code here",
};
constexpr std::string_view kScreenComments27[] = {
    "//This get called on left mouse down over object.",
    "//oID is the id of the object",
    "//This function should return TRUE if an object, screen or application is destroyed",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments28[] = {
    "//This get called on left mouse up over object.",
    "//oID is the id of the object",
    "//This function should return TRUE if an object, screen or application is destroyed",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments29[] = {
    "//This get called on right mouse down over object.",
    "//oID is the id of the object",
    "//This function should return TRUE if an object, screen or application is destroyed",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments30[] = {
    "//This get called on right mouse up over object.",
    "//oID is the id of the object",
    "//This function should return TRUE if an object, screen or application is destroyed",
    "//Add your custom handling code here",
};
constexpr std::string_view kScreenComments31[] = {
    "//This get called when an item was clicked in a popup menu",
    "//Add your custom handling code here",
};
constexpr Stub kScreenStubs[] = {
    {"void", "OnObjectGotFocus(DWORD oID)", kScreenComments1, ""},
    {"void", "OnObjectLostFocus(DWORD oID)", kScreenComments2, ""},
    {"void", "OnCheckBoxClick(DWORD cID, BOOL newValue)", kScreenComments3, ""},
    {"BOOL", "OnMenuItemClicked(const char* topItem, const char* subItem)", kScreenComments4,
     "return FALSE;"},
    {"void", "AfterTreeCntrlDoubleClicked(DWORD tID, int itemID)", kScreenComments5, ""},
    {"void", "AfterTreeCntrlSelectionChanged(DWORD tID, int itemID)", kScreenComments6, ""},
    {"void", "OnTreeCntrlItemRightClick(DWORD tID, int itemID)", kScreenComments7, ""},
    {"void", "OnListBoxItemChange(DWORD lID, int item)", kScreenComments8, ""},
    {"void", "OnListBoxItemDoubleClicked(DWORD lID, int item)", kScreenComments9, ""},
    {"void", "OnListBoxItemRightClicked(DWORD lID, int item)", kScreenComments10, ""},
    {"void", "AfterSetScrollPosition(int oldX, int oldY, int newX, int newY)", kScreenComments11, ""},
    {"void", "AfterBackBufferRedrawn()", kScreenComments12, ""},
    {"void", "AfterRestore()", kScreenComments13, ""},
    {"void", "AfterSetPosition(int x, int y)", kScreenComments14, ""},
    {"void", "AfterSetWidth(int w)", kScreenComments15, ""},
    {"void", "AfterSetHeight(int h)", kScreenComments16, ""},
    {"void", "AfterFinish()", kScreenComments17, ""},
    {"void", "AfterDisplay(CTavSurface *sur)", kScreenComments18, ""},
    {"void", "AfterMouseMove(int x, int y)", kScreenComments19, ""},
    {"void", "AfterLMouseDown(int x, int y)", kScreenComments20, ""},
    {"void", "AfterLMouseUp(int x, int y)", kScreenComments21, ""},
    {"void", "AfterRMouseDown(int x, int y)", kScreenComments22, ""},
    {"void", "AfterRMouseUp(int x, int y)", kScreenComments23, ""},
    {"void", "AfterKeyDown(UINT nChar)", kScreenComments24, ""},
    {"void", "AfterDoubleClick(int x, int y)", kScreenComments25, ""},
    {"void", "AfterChar(char c)", kScreenComments26, ""},
    {"BOOL", "OnObjectLMouseDown(DWORD oID)", kScreenComments27, "return FALSE;"},
    {"BOOL", "OnObjectLMouseUp(DWORD oID)", kScreenComments28, "return FALSE;"},
    {"BOOL", "OnObjectRMouseDown(DWORD oID)", kScreenComments29, "return FALSE;"},
    {"BOOL", "OnObjectRMouseUp(DWORD oID)", kScreenComments30, "return FALSE;"},
    {"void", "OnPopupMenuItemClicked(const char* item)", kScreenComments31, ""},
};

// The code form of each bitmap path of a screen, worked out once: the same few bitmaps recur in
// most objects, and finding a path's form looks at the disk.
class CodePaths {
public:
    explicit CodePaths(const Project& project) : project_(project) {}

    const std::string& Of(const std::string& path) {
        const auto [known, added] = forms_.try_emplace(path);
        if (added)
            known->second = CodePath(project_, path);
        return known->second;
    }

private:
    const Project& project_;
    std::unordered_map<std::string, std::string> forms_;
};

// The values one object block is filled with.
struct ObjectValues {
    const Project& project;
    const ObjectDef& object;
    std::string var;
    std::string id;
    CodePaths& paths;

    // An empty bitmap field stays empty, also once the bitmaps were copied.
    const std::string& Path(const std::string& path) const { return path.empty() ? path : paths.Of(path); }
};

void Line(std::string& out, std::initializer_list<std::string_view> pieces) {
    out.append("\t");
    for (const std::string_view piece : pieces)
        out.append(piece);
    out.append("\n");
}

std::string Int(std::int32_t value) {
    return std::to_string(value);
}

const char* Weight(Flag bold) {
    return bold == 1 ? "FW_BOLD" : "0";
}

// "«Id», «X», «Y», «W», «H», this"
std::string Placement(const ObjectValues& v) {
    const ObjectDef& o = v.object;
    return v.id + ", " + Int(o.x) + ", " + Int(o.y) + ", " + Int(o.width) + ", " + Int(o.height) + ", this";
}

void ColourLine(std::string& out, const ObjectValues& v, std::string_view setter, const RgbTriple& colour) {
    Line(out, {v.var, "->", setter, "(RGB(", RgbText(colour), "));"});
}

void FontLine(std::string& out, const ObjectValues& v, std::string_view setter, const std::string& font,
              std::int32_t size, Flag bold) {
    Line(out,
         {v.var, "->", setter, "(\"", EscapeLiteral(font), "\", 0, ", Int(size), ", ", Weight(bold), ");"});
}

void TransparentLine(std::string& out, const ObjectValues& v) {
    Line(out, {v.var, "->SetTransparent(TRUE,RGB(", RgbText(v.object.transparentColor), "));"});
}

void BackColourTransparency(std::string& out, const ObjectValues& v) {
    if (v.object.transparent == 1)
        Line(out, {v.var, "->SetTransparent(TRUE, ", v.var, "->GetBackColor());"});
}

void AppendPlainObject(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavObject *", v.var, " = new CTavObject;"});
    if (!o.image.empty())
        Line(out, {v.var, "->Initialize(", v.id, ", ", Int(o.x), ", ", Int(o.y), ", \"", v.Path(o.image),
                   "\", ", Int(o.width), ", ", Int(o.height), ", this);"});
    else
        Line(out, {v.var, "->Initialize(", Placement(v), ");"});
    if (o.transparent == 1)
        TransparentLine(out, v);
    Line(out, {"AddObject(", v.var, ");"});
    out.append("\n");
}

void AppendButton(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavButton *", v.var, " = new CTavButton;"});
    Line(out, {v.var, "->Initialize(\"", EscapeLiteral(o.caption), "\", ", Placement(v), ", \"",
               v.Path(o.upBitmap), "\", \"", v.Path(o.overBitmap), "\", \"", v.Path(o.downBitmap), "\");"});
    ColourLine(out, v, "SetTextColor", o.textColor);
    FontLine(out, v, "SetFont", o.fontName, o.fontSize, o.bold);
    Line(out, {v.var, "->SetTextOffset(", Int(o.textOffsetX), ", ", Int(o.textOffsetY), ");"});
    Line(out, {"AddObject(", v.var, "); "});
    out.append("\n");
}

void AppendCheckBox(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavCheckBox *", v.var, " = new CTavCheckBox; "});
    Line(out, {v.var, "->Initialize(\"", EscapeLiteral(o.caption), "\", ", Placement(v), ", \"",
               v.Path(o.checkedBitmap), "\", \"", v.Path(o.uncheckedBitmap), "\");"});
    ColourLine(out, v, "SetBackColor", o.backColor);
    BackColourTransparency(out, v);
    ColourLine(out, v, "SetTextColor", o.textColor);
    FontLine(out, v, "SetFont", o.fontName, o.fontSize, o.bold);
    Line(out, {"AddObject(", v.var, ");"});
    out.append("\n");
}

// Statics and edit boxes share one block.
void AppendTextObject(std::string& out, const ObjectValues& v, std::string_view className) {
    const ObjectDef& o = v.object;
    Line(out, {className, " *", v.var, " = new ", className, "; "});
    if (!o.image.empty())
        Line(out, {v.var, "->Initialize(\"", EscapeLiteral(o.caption), "\", ", Placement(v), ", \"",
                   v.Path(o.image), "\");"});
    else
        Line(out, {v.var, "->Initialize(\"", EscapeLiteral(o.caption), "\", ", Placement(v), ");"});
    Line(out, {v.var, o.multiline == 1 ? "->SetMultiline(TRUE);" : "->SetMultiline(FALSE);"});
    ColourLine(out, v, "SetBackColor", o.backColor);
    BackColourTransparency(out, v);
    ColourLine(out, v, "SetTextColor", o.textColor);
    FontLine(out, v, "SetFont", o.fontName, o.fontSize, o.bold);
    Line(out, {v.var, "->SetTextExtent(", Int(o.textOffsetX), ", ", Int(o.textOffsetY), ");"});
    Line(out, {"AddObject(", v.var, ");"});
    out.append("\n");
}

void AppendListBox(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavListBox *", v.var, " = new CTavListBox;"});
    Line(out, {v.var, "->Initialize(", Placement(v), ", \"", v.Path(o.listBackground), "\");"});
    ColourLine(out, v, "SetBackColor", o.backColor);
    FontLine(out, v, "SetFont", o.fontName, o.fontSize, o.bold);
    ColourLine(out, v, "SetTextColor", o.textColor);
    FontLine(out, v, "SetColumnFont", o.columnFontName, o.columnFontSize, o.columnBold);
    ColourLine(out, v, "SetColumnTextColor", o.columnTextColor);
    ColourLine(out, v, "SetSelectedColor", o.selectedColor);
    ColourLine(out, v, "SetLineColor", o.lineColor);
    Line(out, {v.var, "->SetColumnHeight(", Int(o.columnHeight), ");"});
    Line(out, {v.var, "->SetItemHeight(", Int(o.itemHeight), ");"});
    ColourLine(out, v, "SetColumnBackColor", o.columnBackColor);
    Line(out, {"AddObject(", v.var, ");"});
    out.append("\n");
}

void AppendTree(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavTree *", v.var, " = new CTavTree;"});
    Line(out, {v.var, "->Initialize(", Int(o.x), ", ", Int(o.y), ", ", v.id, ", this, ", Int(o.width), ", ",
               Int(o.height), ", \"", v.Path(o.treeBackground), "\", \"", v.Path(o.plusBitmap), "\", \"",
               v.Path(o.minusBitmap), "\");"});
    ColourLine(out, v, "SetTextColor", o.textColor);
    Line(out, {v.var, "->SetFontName(\"", EscapeLiteral(o.fontName), "\");"});
    Line(out, {v.var, "->SetFontHeight(", Int(o.fontSize), ");"});
    if (o.bold == 1)
        Line(out, {v.var, "->SetFontStyle(FW_BOLD);"});
    ColourLine(out, v, "SetItemBackColor", o.backColor);
    ColourLine(out, v, "SetSelectedItemColor", o.selectedColor);
    Line(out, {v.var, "->SetItemHeight(", Int(o.itemHeight), ");"});
    Line(out, {v.var, "->SetTabSpace(", Int(o.tabSpace), ");"});
    Line(out, {"AddObject(", v.var, ");"});
    out.append("\n");
}

// The only block without an empty line at its end.
void AppendAnimation(std::string& out, const ObjectValues& v) {
    const ObjectDef& o = v.object;
    Line(out, {"CTavAnimation *", v.var, " = new CTavAnimation; "});
    Line(out, {v.var, "->Initialize(", Placement(v), ");"});
    for (const std::string& frame : o.frames)
        Line(out, {v.var, "->AddFrame(\"", v.Path(frame), "\");"});
    Line(out, {v.var, "->SetFrameFrequency(", SecondsText(o.interval), ");"});
    if (o.transparent == 1)
        TransparentLine(out, v);
    Line(out, {"AddObject(", v.var, ");"});
}

void AppendObjectBlock(std::string& out, const ObjectValues& v) {
    switch (v.object.kind) {
    case ObjectKind::Button:
        return AppendButton(out, v);
    case ObjectKind::CheckBox:
        return AppendCheckBox(out, v);
    case ObjectKind::Static:
        return AppendTextObject(out, v, "CTavStatic");
    case ObjectKind::Edit:
        return AppendTextObject(out, v, "CTavEdit");
    case ObjectKind::ListBox:
        return AppendListBox(out, v);
    case ObjectKind::Tree:
        return AppendTree(out, v);
    case ObjectKind::Animation:
        return AppendAnimation(out, v);
    case ObjectKind::Object:
        break;
    }
    AppendPlainObject(out, v); // and kinds outside the list
}

std::vector<const ObjectDef*> ObjectsOf(const Project& project, const ScreenDef& screen) {
    std::vector<const ObjectDef*> objects;
    for (const auto& object : project.objects)
        if (object->screenName == screen.name)
            objects.push_back(object.get());
    return objects;
}

bool OpensScreen(const ObjectDef& object) {
    return object.kind == ObjectKind::Button && object.Click() == ClickAction::OpenScreen &&
           !object.clickScreen.empty();
}

// The block a button's click runs, if any. Closing a full screen would leave the program without
// one, so there it quits.
std::string_view ClickBlockOf(const ScreenDef& screen, const ObjectDef& object) {
    if (object.kind != ObjectKind::Button)
        return {};
    switch (object.Click()) {
    case ClickAction::ClosePopup:
        return screen.type == ScreenType::FullScreen ? kQuit : kCloseScreen;
    case ClickAction::Quit:
        return kQuit;
    case ClickAction::OpenScreen:
        break;
    }
    return OpensScreen(object) ? kOpenScreen : std::string_view();
}

const char* BackModeName(BackgroundMode mode) {
    switch (mode) {
    case BackgroundMode::Center:
        return "TAVBACK_CENTER";
    case BackgroundMode::Stretch:
        return "TAVBACK_STRETCH";
    default:
        return "TAVBACK_TILE";
    }
}

void AppendTargetIncludes(std::string& out, const std::vector<const ObjectDef*>& objects) {
    std::vector<std::string_view> included;
    for (const ObjectDef* object : objects) {
        if (!OpensScreen(*object) ||
            std::find(included.begin(), included.end(), object->clickScreen) != included.end())
            continue;
        included.push_back(object->clickScreen);
        out.append("#include \"").append(object->clickScreen).append(".h\"\n");
    }
}

// A popup opens at its own rectangle; an unknown target (refused before generation) takes the caller's.
const ScreenDef& TargetOf(const Project& project, const ScreenDef& caller, const ObjectDef& button) {
    const ScreenDef* target = project.FindScreen(button.clickScreen);
    return target != nullptr ? *target : caller;
}

void AppendButtonDown(std::string& out, const Project& project, const ScreenDef& screen,
                      const std::vector<const ObjectDef*>& objects) {
    AppendFilled(out, kButtonDownTop, {{"Screen", screen.name}});
    bool first = true;
    for (const ObjectDef* object : objects) {
        const std::string_view block = ClickBlockOf(screen, *object);
        if (block.empty())
            continue;
        out.append(first ? "\t" : "\telse ");
        first = false;
        const std::string id = screen.name + "_" + object->name;
        const ScreenDef& target = TargetOf(project, screen, *object);
        AppendFilled(out, block,
                     {{"Id", id},
                      {"Target", object->clickScreen},
                      {"ScreenX", Int(target.x)},
                      {"ScreenY", Int(target.y)},
                      {"ScreenW", Int(target.width)},
                      {"ScreenH", Int(target.height)}});
    }
    out.append("\treturn FALSE;\n}\n\n");
}

} // namespace

std::string ScreenHeaderText(const Project& project, int screenIndex) {
    const ScreenDef& screen = project.Screen(screenIndex);
    const std::string& name = screen.name;
    std::string out;
    out.reserve(2048);
    out.append("#ifndef ").append(name).append("_H\n#define ").append(name).append("_H\n\n");
    out.append("#include <TavCtrls.h>\n\n");
    const std::vector<const ObjectDef*> objects = ObjectsOf(project, screen);
    if (!objects.empty()) {
        out.append("enum ").append(name).append("_OBJECTS\n{\n");
        for (std::size_t i = 0; i < objects.size(); ++i)
            out.append("\t")
                .append(name)
                .append("_")
                .append(objects[i]->name)
                .append(" = ")
                .append(std::to_string(i))
                .append(",\n");
        out.append("};\n\n");
    }
    AppendFilled(out, kHeaderClass, {{"Screen", name}});
    return out;
}

std::string ScreenSourceText(const Project& project, int screenIndex) {
    const ScreenDef& screen = project.Screen(screenIndex);
    const std::vector<const ObjectDef*> objects = ObjectsOf(project, screen);
    std::string out;
    out.reserve(6144 + objects.size() * 512);
    out.append("#include \"").append(screen.name).append(".h\"\n#include <TavCtrls.h>\n");
    AppendTargetIncludes(out, objects);
    out.append("\n");
    AppendFilled(out, kSourceTop, {{"Screen", screen.name}});
    CodePaths paths(project);
    if (!screen.background.empty()) {
        out.append("\tSetBackgroundImage(\"").append(paths.Of(screen.background)).append("\", ");
        out.append(BackModeName(screen.backgroundMode)).append(");\n\n");
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ObjectValues values{project, *objects[i], "obj" + std::to_string(i),
                                  screen.name + "_" + objects[i]->name, paths};
        AppendObjectBlock(out, values);
    }
    out.append("}\n\n");
    AppendButtonDown(out, project, screen, objects);
    AppendStubs(out, screen.name, kScreenStubs);
    return out;
}

std::string GenerateScreenClass(Project& project, const std::string& folder, GenerationUi& ui,
                                int screenIndex) {
    const std::string& name = project.Screen(screenIndex).name;
    std::string error = WriteGeneratedFile(project, JoinPath(folder, name + ".h"), ui,
                                           ScreenHeaderText(project, screenIndex));
    if (error.empty())
        error = WriteGeneratedFile(project, JoinPath(folder, name + ".cpp"), ui,
                                   ScreenSourceText(project, screenIndex));
    return error;
}

} // namespace tav
