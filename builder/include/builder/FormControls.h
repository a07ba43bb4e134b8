#pragma once

#include "tavctrls/TavCtrls.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace tav::builder {

// The parts every designer dialog is made of, in the dialogs' common look. Each is created, added to
// `screen` and returned (nullptr when it could not be made).
CTavStatic* AddLabel(CTavScreen* screen, DWORD id, const char* text, int x, int y, int width, int height);
// `digitsLimit` above 0: digits only, at most that many characters.
CTavEdit* AddEdit(CTavScreen* screen, DWORD id, const std::string& text, int x, int y, int width, int height,
                  int digitsLimit = 0);
CTavCheckBox* AddCheckBox(CTavScreen* screen, DWORD id, const char* caption, int x, int y, int width,
                          int height);
CTavButton* AddButton(CTavScreen* screen, DWORD id, const char* caption, int x, int y);
CTavListBox* AddListBox(CTavScreen* screen, DWORD id, int x, int y, int width, int height);

// Control access by id; missing controls read as empty or unchecked.
std::string TextOf(const CTavScreen* screen, DWORD id);
void SetTextOf(CTavScreen* screen, DWORD id, const std::string& text);
BOOL ValueOf(const CTavScreen* screen, DWORD id);
void SetValueOf(CTavScreen* screen, DWORD id, BOOL value);
void SetVisibleOf(CTavScreen* screen, std::initializer_list<DWORD> ids, BOOL visible);
void FocusOn(CTavScreen* screen, DWORD id);

// The folder the designer saves projects in: "save" under the current directory.
std::filesystem::path SaveFolder();
// Names of the regular files matching "*.tvp" in `folder`, sorted; none when the folder is missing.
std::vector<std::string> ProjectFileNames(const std::filesystem::path& folder);
// One row per project file of the save folder.
void FillProjectList(CTavListBox* list);

// Initializes `dialog` as a popup of `parent` at the given rectangle and runs it modally. On false the
// dialog did not run and is gone; on true the caller reads its outputs, then RemoveChildScreen.
bool RunDialog(CTavScreen* parent, CTavScreen* dialog, int x, int y, int width, int height);

} // namespace tav::builder
