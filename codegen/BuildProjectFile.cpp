#include "BuildProjectFile.h"

#include "Template.h"
#include "codegen/CodeText.h"
#include "codegen/GeneratedFile.h"
#include "model/Project.h"

namespace tav {

namespace {

constexpr std::string_view kTop =
    "# Microsoft Developer Studio Project File - Name=\"«Project»\" - Package Owner=<4>\n"
    "# Microsoft Developer Studio Generated Build File, Format Version 6.00\n"
    "# ** DO NOT EDIT **\n"
    "\n"
    "# TARGTYPE \"Win32 (x86) Application\" 0x0101\n"
    "\n"
    "CFG=temp - Win32 Debug\n"
    "!MESSAGE This is not a valid makefile. To build this project using NMAKE,\n"
    "!MESSAGE use the Export Makefile command and run\n"
    "!MESSAGE \n"
    "!MESSAGE NMAKE /f \"«Project».mak\".\n"
    "!MESSAGE \n"
    "!MESSAGE You can specify a configuration when running NMAKE\n"
    "!MESSAGE by defining the macro CFG on the command line. For example:\n"
    "!MESSAGE \n"
    "!MESSAGE NMAKE /f \"«Project».mak\" CFG=\"«Project» - Win32 Debug\"\n"
    "!MESSAGE \n"
    "!MESSAGE Possible choices for configuration are:\n"
    "!MESSAGE \n"
    "!MESSAGE \"«Project» - Win32 Release\" (based on \"Win32 (x86) Application\")\n"
    "!MESSAGE \"«Project» - Win32 Debug\" (based on \"Win32 (x86) Application\")\n"
    "!MESSAGE \n"
    "\n"
    "# Begin Project\n"
    "# PROP AllowPerConfigDependencies 0\n"
    "# PROP Scc_ProjName \"\"\n"
    "# PROP Scc_LocalPath \"\"\n"
    "CPP=cl.exe\n"
    "MTL=midl.exe\n"
    "RSC=rc.exe\n"
    "\n"
    "!IF  \"$(CFG)\" == \"«Project» - Win32 Release\"\n"
    "\n"
    "# PROP BASE Use_MFC 0\n"
    "# PROP BASE Use_Debug_Libraries 0\n"
    "# PROP BASE Output_Dir \"Release\"\n"
    "# PROP BASE Intermediate_Dir \"Release\"\n"
    "# PROP BASE Target_Dir \"\"\n"
    "# PROP Use_MFC 0\n"
    "# PROP Use_Debug_Libraries 0\n"
    "# PROP Output_Dir \"Release\"\n"
    "# PROP Intermediate_Dir \"Release\"\n"
    "# PROP Ignore_Export_Lib 0\n"
    "# PROP Target_Dir \"\"\n"
    "# ADD BASE CPP /nologo /W3 /GX /O2 /D \"WIN32\" /D \"NDEBUG\" /D \"_WINDOWS\" /D \"_MBCS\" /YX /FD /c\n"
    "# ADD CPP /nologo /W3 /GX /O2 /D \"WIN32\" /D \"NDEBUG\" /D \"_WINDOWS\" /D \"_MBCS\" /YX /FD /c\n"
    "# ADD BASE MTL /nologo /D \"NDEBUG\" /mktyplib203 /win32\n"
    "# ADD MTL /nologo /D \"NDEBUG\" /mktyplib203 /win32\n"
    "# ADD BASE RSC /l 0xc09 /d \"NDEBUG\"\n"
    "# ADD RSC /l 0xc09 /d \"NDEBUG\"\n"
    "BSC32=bscmake.exe\n"
    "# ADD BASE BSC32 /nologo\n"
    "# ADD BSC32 /nologo\n"
    "LINK32=link.exe\n"
    "# ADD BASE LINK32 kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib advapi32.lib shell32.lib "
    "ole32.lib oleaut32.lib uuid.lib odbc32.lib odbccp32.lib /nologo /subsystem:windows /machine:I386\n"
    "# ADD LINK32 kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib advapi32.lib shell32.lib "
    "ole32.lib oleaut32.lib uuid.lib odbc32.lib odbccp32.lib ddraw.lib dxguid.lib winmm.lib tavctrls.lib "
    "tavex.lib /nologo /subsystem:windows /machine:I386\n"
    "\n"
    "!ELSEIF  \"$(CFG)\" == \"«Project» - Win32 Debug\"\n"
    "\n"
    "# PROP BASE Use_MFC 0\n"
    "# PROP BASE Use_Debug_Libraries 1\n"
    "# PROP BASE Output_Dir \"Debug\"\n"
    "# PROP BASE Intermediate_Dir \"Debug\"\n"
    "# PROP BASE Target_Dir \"\"\n"
    "# PROP Use_MFC 0\n"
    "# PROP Use_Debug_Libraries 1\n"
    "# PROP Output_Dir \"Debug\"\n"
    "# PROP Intermediate_Dir \"Debug\"\n"
    "# PROP Ignore_Export_Lib 0\n"
    "# PROP Target_Dir \"\"\n"
    "# ADD BASE CPP /nologo /W3 /Gm /GX /ZI /Od /D \"WIN32\" /D \"_DEBUG\" /D \"_WINDOWS\" /D \"_MBCS\" /YX "
    "/FD /GZ /c\n"
    "# ADD CPP /nologo /W3 /Gm /GX /ZI /Od /D \"WIN32\" /D \"_DEBUG\" /D \"_WINDOWS\" /D \"_MBCS\" /YX /FD "
    "/GZ /c\n"
    "# ADD BASE MTL /nologo /D \"_DEBUG\" /mktyplib203 /win32\n"
    "# ADD MTL /nologo /D \"_DEBUG\" /mktyplib203 /win32\n"
    "# ADD BASE RSC /l 0xc09 /d \"_DEBUG\"\n"
    "# ADD RSC /l 0xc09 /d \"_DEBUG\"\n"
    "BSC32=bscmake.exe\n"
    "# ADD BASE BSC32 /nologo\n"
    "# ADD BSC32 /nologo\n"
    "LINK32=link.exe\n"
    "# ADD BASE LINK32 kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib advapi32.lib shell32.lib "
    "ole32.lib oleaut32.lib uuid.lib odbc32.lib odbccp32.lib /nologo /subsystem:windows /debug /machine:I386 "
    "/pdbtype:sept\n"
    "# ADD LINK32 kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib advapi32.lib shell32.lib "
    "ole32.lib oleaut32.lib uuid.lib odbc32.lib odbccp32.lib ddraw.lib dxguid.lib winmm.lib tavctrls.lib "
    "tavex.lib /nologo /subsystem:windows /debug /machine:I386 /pdbtype:sept\n"
    "\n"
    "!ENDIF \n"
    "\n"
    "# Begin Target\n"
    "\n"
    "# Name \"«Project» - Win32 Release\"\n"
    "# Name \"«Project» - Win32 Debug\"\n"
    "# Begin Group \"Source Files\"\n"
    "\n"
    "# PROP Default_Filter \"cpp;c;cxx;rc;def;r;odl;idl;hpj;bat\"\n";

constexpr std::string_view kBetweenGroups = "# End Group\n"
                                            "# Begin Group \"Header Files\"\n"
                                            "\n"
                                            "# PROP Default_Filter \"h;hpp;hxx;hm;inl\"\n";

constexpr std::string_view kBottom =
    "# End Group\n"
    "# Begin Group \"Resource Files\"\n"
    "\n"
    "# PROP Default_Filter \"ico;cur;bmp;dlg;rc2;rct;bin;rgs;gif;jpg;jpeg;jpe\"\n"
    "# End Group\n"
    "# End Target\n"
    "# End Project\n";

void AppendEntries(std::string& out, const std::vector<std::string>& files, char lastCharacter) {
    for (const std::string& path : files) {
        if (path.empty() || path.back() != lastCharacter)
            continue;
        out.append("# Begin Source File\n\nSOURCE=.\\")
            .append(FileNameOf(path))
            .append("\n# End Source File\n");
    }
}

} // namespace

std::string BuildProjectFileText(const Project& project) {
    std::string out;
    out.reserve(8192 + project.generatedFiles.size() * 64);
    AppendFilled(out, kTop, {{"Project", project.name}});
    AppendEntries(out, project.generatedFiles, 'p');
    out.append(kBetweenGroups);
    AppendEntries(out, project.generatedFiles, 'h');
    out.append(kBottom);
    return out;
}

std::string WriteBuildProjectFile(Project& project, const std::string& folder, GenerationUi& ui) {
    return WriteGeneratedFile(project, JoinPath(folder, project.name + ".dsp"), ui,
                              BuildProjectFileText(project), FileListing::Unlisted);
}

} // namespace tav
