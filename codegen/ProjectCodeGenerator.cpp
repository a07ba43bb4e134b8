#include "codegen/ProjectCodeGenerator.h"

#include "BuildProjectFile.h"
#include "OutputNames.h"
#include "StubTable.h"
#include "Template.h"
#include "codegen/CodeText.h"
#include "codegen/GeneratedFile.h"
#include "codegen/GenerationUi.h"
#include "codegen/ScreenClassGenerator.h"
#include "model/Names.h"
#include "model/Project.h"

namespace tav {

namespace {

constexpr std::string_view kAppHeader =
    "#ifndef «Project»_H\n"
    "#define «Project»_H\n"
    "\n"
    "#include <TavCtrls.h>\n"
    "\n"
    "class «Project» : public CTavApp\n"
    "{\n"
    "public:\n"
    "«Project»();\n"
    "virtual ~«Project»();\n"
    "virtual void AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);\n"
    "\n"
    "protected:\n"
    "virtual void AfterUpdateFrame(CTavSurface* backSurface);\n"
    "virtual void AfterMouseMove(int x, int y);\n"
    "virtual void AfterLMouseUp(int x, int y);\n"
    "virtual void AfterLMouseDown(int x, int y);\n"
    "virtual void AfterKeyDown(UINT nChar);\n"
    "virtual void AfterDoubleClick(int x, int y);\n"
    "virtual void AfterChar(char c);\n"
    "virtual BOOL OnCloseMessage();\n"
    "};\n"
    "#endif\n";

constexpr std::string_view kAppSourceBody = "«Project»::«Project»()\n"
                                            "{\n"
                                            "//«Project» constructor\n"
                                            "}\n"
                                            "\n"
                                            "«Project»::~«Project»()\n"
                                            "{\n"
                                            "//«Project» destructor\n"
                                            "}\n"
                                            "\n";

constexpr std::string_view kEntryTop = "int APIENTRY WinMain(HINSTANCE hInstance,\n"
                                       "                     HINSTANCE hPrevInstance,\n"
                                       "                     LPSTR lpCmdLine,\n"
                                       "                     int nCmdShow)\n"
                                       "{\n"
                                       "\t«Project» app;\n";

constexpr std::string_view kFullScreenInit =
    "\tif(app.doInit(hInstance, nCmdShow, \"«Title»\", TAVAPP_FULLSCREEN,«Width»,«Height»,«X»,«Y»,«Depth») "
    "!= TAVERROR_OK)\n"
    "\t{\n"
    "\t\tif(app.doInit(hInstance, nCmdShow, \"«Title»\", "
    "TAVAPP_FULLSCREEN,«Width»,«Height»,«X»,«Y»,«Depth2») != TAVERROR_OK)\n"
    "\t\t{\n"
    "\t\t\tif(app.doInit(hInstance, nCmdShow, \"«Title»\", "
    "TAVAPP_FULLSCREEN,«Width»,«Height»,«X»,«Y»,«Depth3») != TAVERROR_OK)\n"
    "\t\t\t{\n"
    "\t\t\t\tMessageBox(app.GetHWND(), \"«DirectXMessage»\",\"«Title»\", MB_OK);\n"
    "\t\t\t\treturn 0; \n"
    "\t\t\t}\n"
    "\t\t}\n"
    "\t}\n"
    "\n"
    "\n";

constexpr std::string_view kWindowInit =
    "\tif(app.doInit(hInstance, nCmdShow, \"«Title»\", TAVAPP_WINDOW,«Width»,«Height»,«X»,«Y») != "
    "TAVERROR_OK)\n"
    "\t{\n"
    "\t\tMessageBox(app.GetHWND(), \"«DirectXMessage»\",\"«Title»\", MB_OK);\n"
    "\t\treturn 0; \n"
    "\t}\n"
    "\n";

constexpr std::string_view kStartScreen =
    "\t«Startup» *scr = new «Startup»;\n"
    "\tif (scr->Initialize(0) != TAVERROR_OK)\n"
    "\t{\n"
    "\t\tMessageBox(app.GetHWND(), \"Error Initializing startup screen\", \"«Title»\", MB_OK);\n"
    "\t\treturn 0; \n"
    "\t}\n"
    "\tapp.SetChildScreen(scr);\n";

constexpr std::string_view kAppComments1[] = {
    "// This function gets called after CTavApp finished drawing to back surface.",
    "// Add you custom drawing here.",
};
constexpr std::string_view kAppComments2[] = {
    "// This function gets called on mouse move message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments3[] = {
    "// This function gets called on left mouse button up message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments4[] = {
    "// This function gets called on left mouse button down message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments5[] = {
    "// This function gets called on key down message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments6[] = {
    "// This function gets called on left mouse double click message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments7[] = {
    "// This function gets called on WM_CHAR message. ",
    "// Add your custom handling here",
};
constexpr std::string_view kAppComments8[] = {
    "// This function get called after any message is received. ",
    "// Add you custom handling here",
    "// NOTE: If you processed a message in other virtual functions such as ",
    "// AfterChar(char), do not handle it here.",
};
constexpr std::string_view kAppComments9[] = {
    "//This get called on WM_CLOSE message",
    "//Return TRUE if you want application to exit, FALSE if not. ",
};
constexpr Stub kAppStubs[] = {
    {"void", "AfterUpdateFrame(CTavSurface* backSurface)", kAppComments1, ""},
    {"void", "AfterMouseMove(int x, int y)", kAppComments2, ""},
    {"void", "AfterLMouseUp(int x, int y)", kAppComments3, ""},
    {"void", "AfterLMouseDown(int x, int y)", kAppComments4, ""},
    {"void", "AfterKeyDown(UINT nChar)", kAppComments5, ""},
    {"void", "AfterDoubleClick(int x, int y)", kAppComments6, ""},
    {"void", "AfterChar(char c)", kAppComments7, ""},
    {"void", "AfterProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)", kAppComments8, ""},
    {"BOOL", "OnCloseMessage()", kAppComments9, "return TRUE;"},
};

// The two depths tried after the project's own one in full-screen mode.
std::pair<const char*, const char*> FallbackDepths(std::int32_t depth) {
    if (depth == 32)
        return {"24", "16"};
    if (depth == 24)
        return {"32", "16"};
    return {"32", "24"};
}

void AppendInitialisation(std::string& out, const Project& project) {
    const std::string width = std::to_string(project.width), height = std::to_string(project.height);
    const std::string depth = std::to_string(project.bitsPerPixel);
    const std::string title = EscapeLiteral(project.name);
    const std::string message = EscapeLiteral("Error Initializing DirectX. Please make sure that you have "
                                              "DirectX installed and your monitor is capable "
                                              "of at least " +
                                              width + "x" + height + "x" + depth + " resolution");
    const auto [depth2, depth3] = FallbackDepths(project.bitsPerPixel);
    AppendFilled(out, project.appMode == AppMode::FullScreen ? kFullScreenInit : kWindowInit,
                 {{"Title", title},
                  {"Width", width},
                  {"Height", height},
                  {"X", std::to_string(project.x)},
                  {"Y", std::to_string(project.y)},
                  {"Depth", depth},
                  {"Depth2", depth2},
                  {"Depth3", depth3},
                  {"DirectXMessage", message}});
}

void AppendInclude(std::string& out, const std::string& name) {
    out.append("#include \"").append(name).append(".h\"\n");
}

} // namespace

int FindStartupScreen(const Project& project) {
    for (int i = 0; i < project.ScreenCount(); ++i) {
        const ScreenDef& screen = project.Screen(i);
        if (screen.type == ScreenType::FullScreen && screen.startup == 1)
            return i;
    }
    return -1;
}

std::string EntryPointFileName(const Project& project) {
    return EntryPointFileName(project.name);
}

std::string ApplicationHeaderText(const Project& project) {
    std::string out;
    AppendFilled(out, kAppHeader, {{"Project", project.name}});
    return out;
}

std::string ApplicationSourceText(const Project& project, const std::string& startup) {
    std::string out;
    out.reserve(4096);
    AppendInclude(out, project.name);
    out.append("#include <TavCtrls.h>\n");
    if (!startup.empty())
        AppendInclude(out, startup);
    out.append("\n");
    AppendFilled(out, kAppSourceBody, {{"Project", project.name}});
    AppendStubs(out, project.name, kAppStubs);
    return out;
}

std::string EntryPointText(const Project& project, const std::string& startup) {
    std::string out;
    out.reserve(2048);
    out.append("#include <TavCtrls.h>\n");
    AppendInclude(out, project.name);
    if (!startup.empty())
        AppendInclude(out, startup);
    out.append("\n");
    AppendFilled(out, kEntryTop, {{"Project", project.name}});
    AppendInitialisation(out, project);
    if (!startup.empty())
        AppendFilled(out, kStartScreen, {{"Startup", startup}, {"Title", EscapeLiteral(project.name)}});
    out.append("\n");
    out.append(project.showFrameRate == 1 ? "\tapp.SetShowFrameRate(TRUE); \n"
                                          : "\tapp.SetShowFrameRate(FALSE); \n");
    out.append("\n");
    out.append(project.waitVerticalBlank == 1 ? "\tapp.SetWaitBlank(TRUE);\n"
                                              : "\tapp.SetWaitBlank(FALSE);\n");
    out.append("\n\tapp.MyWinMain();\n\n\treturn 0; \n}");
    return out;
}

namespace {

// The startup screen of the run; asks for one when the project has full screens but none is
// marked. Empty when there is none.
std::string StartupScreenOfRun(Project& project, GenerationUi& ui) {
    const int marked = FindStartupScreen(project);
    if (marked >= 0)
        return project.Screen(marked).name;
    bool anyFullScreen = false;
    for (const auto& screen : project.screens)
        anyFullScreen = anyFullScreen || screen->type == ScreenType::FullScreen;
    if (!anyFullScreen || !ui.AskYesNo(YesNoQuestion::SelectStartupScreen,
                                       "You haven't selected a startup screen. Do you want to select one?"))
        return {};
    const std::optional<std::string> chosen = ui.ChooseStartupScreen(project);
    ScreenDef* screen = chosen ? project.FindScreen(*chosen) : nullptr;
    if (screen == nullptr)
        return {};
    screen->startup = 1;
    project.modified = 1;
    return screen->name;
}

} // namespace

std::string GenerateProjectCode(Project& project, const std::string& folder, GenerationUi& ui) {
    if (std::string refused = CheckProjectOutput(project); !refused.empty())
        return refused;
    const std::string startup = StartupScreenOfRun(project, ui);
    const std::string files[][2] = {
        {JoinPath(folder, project.name + ".h"), ApplicationHeaderText(project)},
        {JoinPath(folder, project.name + ".cpp"), ApplicationSourceText(project, startup)},
        {JoinPath(folder, EntryPointFileName(project)), EntryPointText(project, startup)},
    };
    for (const auto& [path, text] : files)
        if (std::string error = WriteGeneratedFile(project, path, ui, text); !error.empty())
            return error;
    for (int i = 0; i < project.ScreenCount(); ++i)
        if (std::string error = GenerateScreenClass(project, folder, ui, i); !error.empty())
            return error;
    return WriteBuildProjectFile(project, folder, ui);
}

} // namespace tav
