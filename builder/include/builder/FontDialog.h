#pragma once

#include "builder/DialogKit.h"
#include "tavctrls/TavFonts.h"

#include <string>
#include <vector>

namespace tav::builder {

// Picks one font name from a list: a list box filling the dialog above OK and Cancel.
class FontDialog : public DialogKit {
public:
    enum { ID_LIST = 0, ID_OK = 1, ID_CANCEL = 2 };

    // By default the installed font families.
    explicit FontDialog(std::vector<std::string> fontNames = TavGetFontFamilies());

    void AfterInitialize() override;
    BOOL OnButtonDown(DWORD bID) override;
    void OnListBoxItemDoubleClicked(DWORD lID, int item) override;

    int confirmed = 0;
    std::string chosenName;

private:
    void Accept();

    std::vector<std::string> m_fontNames;
};

} // namespace tav::builder
