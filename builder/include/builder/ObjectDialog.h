#pragma once

#include "builder/DialogKit.h"
#include "model/ObjectDef.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tav {
class Project;
}

namespace tav::builder {

// The popup in which one object of a screen is created or edited: a common block (name, position,
// size, OK, Cancel) and a block of controls for the object's kind. OK validates the values and
// stores them; a new object then passes to the project.
class ObjectDialog : public DialogKit {
public:
    ObjectDialog();
    ~ObjectDialog() override;

    void OnCheckBoxClick(DWORD cID, BOOL newValue) override;
    BOOL OnButtonDown(DWORD bID) override;
    void AfterInitialize() override;

    // Set by the opening command before Initialize.
    int presetX = -1; // a drop position, or -1
    int presetY = -1;
    std::vector<std::string> fontList; // refilled when the dialog opens
    int confirmed = 0;                 // 1 after OK stored the values, 0 after Cancel
    ObjectKind kind = ObjectKind::Object;
    int editedIndex = -1; // -1 for a new object
    Project* project = nullptr;
    std::string screenName;

    // The object shown: the project's own, or the new one until OK hands it over (after OK the
    // object stored in the project; none after Cancel on a new object).
    const ObjectDef* Edited() const { return m_object; }

private:
    // One control's tie to a field of the object.
    struct Binding {
        enum Type { Text, Number, Check } type = Text;
        DWORD id = 0;
        std::string ObjectDef::*text = nullptr;
        std::int32_t ObjectDef::*number = nullptr;
        RgbTriple ObjectDef::*colour = nullptr;
        std::int32_t RgbTriple::*component = nullptr;

        std::int32_t& NumberOf(ObjectDef& object) const;
    };

    void AddCommonBlock();
    void AddKindBlock();
    void AddButtonBlock();
    void AddObjectBlock();
    void AddCheckBoxBlock();
    void AddStaticBlock(bool editBox);
    void AddListBoxBlock();
    void AddTreeBlock();
    void AddAnimationBlock();
    // The click-action boxes: the one shown for the object, a click on one, the one checked.
    DWORD ShownClickAction() const;
    void ClickActionChosen(DWORD cID, BOOL checked);
    ClickAction ChosenClickAction() const;

    CTavEdit* AddTextEdit(DWORD id, std::string ObjectDef::*field, int x, int y, int width);
    CTavEdit* AddNumberEdit(DWORD id, std::int32_t ObjectDef::*field, int x, int y, int width, int maxLength);
    CTavCheckBox* AddCheck(DWORD id, const char* caption, Flag ObjectDef::*field, int x, int y, int width,
                           int height);
    // A colour group: its label, then "R:", "G:", "B:" labels and edits at the given x positions.
    void AddColourGroup(DWORD labelId, const char* text, int labelWidth, int y, RgbTriple ObjectDef::*field,
                        const int (&labelX)[3], const int (&editX)[3]);
    // "R:", "G:", "B:" labels with ids firstId, firstId + 2, firstId + 4, each followed by its edit.
    void AddColourEdits(DWORD firstId, int y, RgbTriple ObjectDef::*field, const int (&labelX)[3],
                        const int (&editX)[3]);
    void AddFontRows(int fontY, int sizeY, int nameWidth); // the static / edit box / check box rows
    // `digits` above 0: a number field of at most that many digits.
    CTavEdit* AddEditControl(DWORD id, const std::string& text, int x, int y, int width, int digits);
    CTavEdit* EditById(DWORD id) const;

    void WriteBack(ObjectDef& target) const;
    void Accept();
    void Cancel();
    void Browse(DWORD bID);
    void SelectFont(DWORD editId);
    void SelectScreen();
    void AddFrame();
    void DeleteFrame();
    bool IsBrowseButton(DWORD bID) const;
    std::optional<DWORD> FontEditFor(DWORD bID) const;

    ObjectDef* m_object = nullptr;
    std::unique_ptr<ObjectDef> m_newObject;
    std::vector<Binding> m_bindings;
};

// Reads a number field: an optional "-" and the leading decimal digits; no digits give 0.
std::int32_t ReadNumber(const std::string& text);

} // namespace tav::builder
