#pragma once

#include "../tavctrls/HeadlessApp.h"

#include "builder/DialogKit.h"
#include "builder/KitControls.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

namespace tav::testing {

// A screen and its controls, one line each: kind, id, text, place, size and what else tells them apart.
inline std::string DescribeLayout(const CTavScreen* screen) {
    std::ostringstream out;
    out << "screen " << screen->GetX() << "," << screen->GetY() << " " << screen->GetWidth() << "x"
        << screen->GetHeight() << " background " << screen->GetBackgroundMode() << "\n";
    for (int i = 0; i < screen->GetObjectCount(); ++i) {
        const CTavObject* object = screen->GetObjectAt(i);
        std::string text;
        if (auto* button = dynamic_cast<const CTavButton*>(object)) {
            out << "button";
            text = button->GetCaption();
        } else if (auto* check = dynamic_cast<const CTavCheckBox*>(object)) {
            out << (check->GetValue() ? "checked" : "unchecked");
            text = check->GetCaption();
        } else if (auto* edit = dynamic_cast<const CTavEdit*>(object)) {
            out << "edit";
            if (edit->GetNumbersOnly())
                out << "(digits " << edit->GetMaxLength() << ")";
            text = edit->GetText();
            if (const std::string here = std::filesystem::current_path().string(); text.starts_with(here))
                text = "." + text.substr(here.size()); // the same on every run
        } else if (auto* label = dynamic_cast<const CTavStatic*>(object)) {
            out << (label->IsMultiline() ? "text" : "label");
            text = label->GetText();
        } else if (auto* list = dynamic_cast<const CTavListBox*>(object)) {
            out << "list";
            for (int c = 0; c < list->GetColumnCount(); ++c)
                text += list->GetColumnName(c) + ":" + std::to_string(list->GetColumnWidth(c)) + " ";
            for (int row = 0; row < list->GetRowCount(); ++row)
                for (int c = 0; c < list->GetColumnCount(); ++c)
                    text += (c == 0 ? "|" : "/") + list->GetCellText(row, c);
        } else {
            out << "other";
        }
        out << " " << object->GetID() << " \"" << text << "\" " << object->GetX() << "," << object->GetY()
            << " " << object->GetWidth() << "x" << object->GetHeight()
            << (object->IsVisible() ? "" : " hidden") << (object->IsTransparent() ? " transparent" : "")
            << (object->IsTranslucent() ? " translucent" : "") << "\n";
    }
    return out.str();
}

// Compares a dialog's layout with the golden tests/builder/layouts/NAME.txt.
inline void ExpectLayout(const CTavScreen* screen, const std::string& name) {
    test::ExpectSameAsGolden(DescribeLayout(screen),
                             std::string(TAV_SOURCE_DIR) + "/tests/builder/layouts/" + name + ".txt");
}

// Every caption and label of `dialog` fits its control, measured with the control's own font.
inline void ExpectTextsFit(const CTavScreen* dialog) {
    CTavSurface probe;
    ASSERT_EQ(probe.Create(1, 1), TAVERROR_OK);
    for (int i = 0; i < dialog->GetObjectCount(); ++i) {
        const CTavObject* object = dialog->GetObjectAt(i);
        const auto* button = dynamic_cast<const builder::KitButton*>(object);
        const auto* check = dynamic_cast<const builder::KitCheckBox*>(object);
        const auto* label = dynamic_cast<const CTavStatic*>(object);
        std::vector<std::string> lines;
        builder::KitFont font;
        int room = object->GetWidth();
        if (button != nullptr) {
            lines = {button->GetCaption()}, font = button->GetKitFont();
        } else if (check != nullptr) {
            lines = {check->GetCaption()}, font = check->GetKitFont(), room -= 20; // the box
        } else if (label != nullptr && dynamic_cast<const CTavEdit*>(object) == nullptr) {
            lines = label->IsMultiline() ? label->GetLines() : std::vector<std::string>{label->GetText()};
            font = {label->GetFontName(), label->GetFontHeight(), label->GetFontWeight()};
            room -= label->GetTextOffsetX();
        }
        for (const std::string& line : lines) {
            int width = 0, height = 0;
            probe.GetTextExtent(line.c_str(), font.name.c_str(), 0, font.height, font.weight, &width,
                                &height);
            EXPECT_LE(width, room) << typeid(*dialog).name() << " control " << object->GetID() << " \""
                                   << line << "\"";
            EXPECT_LE(height * static_cast<int>(lines.size()), object->GetHeight()) << line;
        }
    }
}

// A test with a main screen over which dialogs open. Each idle moment while a dialog waits runs the
// next step of the script on the innermost screen.
class DialogTest : public HeadlessAppTest {
protected:
    using Step = std::function<void(CTavScreen*)>;

    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, appWidth, appHeight), TAVERROR_OK);
        main = new CTavScreen;
        ASSERT_EQ(main->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(main);
    }
    void TearDown() override {
        EXPECT_EQ(done_, script_.size()) << "a dialog closed before its script ended";
        if (display != nullptr)
            display->SetIdleHandler(nullptr);
        HeadlessAppTest::TearDown();
    }
    // A dialog that has closed stays the innermost screen until its loop ends; only a running one counts.
    template <typename T = CTavScreen>
    T* Waiting() const {
        CTavScreen* inner = main->GetInnermostScreen();
        auto* dialog = dynamic_cast<T*>(inner);
        return inner != main && dialog != nullptr && inner->GetParent()->IsModalRunning() ? dialog : nullptr;
    }
    // The previous script must have run to its end.
    void Script(std::vector<Step> next) {
        EXPECT_EQ(done_, script_.size()) << "a dialog closed before its script ended";
        done_ = 0;
        script_ = std::move(next);
        display->SetIdleHandler([this](platform::HeadlessDisplay&) {
            if (CTavScreen* dialog = Waiting(); dialog != nullptr && done_ < script_.size())
                script_[done_++](dialog);
        });
    }
    // Runs `dialog` over the main screen with the script; `read` sees it before it is removed. Gives
    // whether it was confirmed.
    template <typename T>
    int Run(T* dialog, std::vector<Step> next, const std::function<void(T&)>& read = nullptr) {
        Script(std::move(next));
        return builder::DialogKit::Run(main, dialog, [&](T& done) {
            if (read)
                read(done);
            return static_cast<int>(done.confirmed);
        });
    }

    void ClickObject(CTavScreen* screen, DWORD id) {
        CTavObject* object = screen->GetObjectByID(id);
        ASSERT_NE(object, nullptr) << "object " << id;
        ASSERT_TRUE(object->IsVisible()) << "object " << id;
        display->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                        static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
    }
    // Clicks a visible row of a list box that is not scrolled.
    void ClickRow(CTavListBox* list, int row, bool twice = false) {
        ASSERT_NE(list, nullptr);
        const int x = static_cast<int>(list->GetAppX()) + 30;
        const int y = static_cast<int>(list->GetAppY()) + list->GetColumnHeight() +
                      row * list->GetItemHeight() + list->GetItemHeight() / 2;
        if (twice)
            display->DoubleClick(x, y);
        else
            display->LClick(x, y);
    }

    Step Click(DWORD id) {
        return [this, id](CTavScreen* dialog) { ClickObject(dialog, id); };
    }
    Step Row(DWORD id, int row, bool twice = false) {
        return [this, id, row, twice](CTavScreen* d) {
            ClickRow(dynamic_cast<CTavListBox*>(d->GetObjectByID(id)), row, twice);
        };
    }
    static Step Set(DWORD id, const std::string& text) {
        return [id, text](CTavScreen* dialog) { builder::SetTextOf(dialog, id, text); };
    }
    Step Type(const std::string& text) {
        return [this, text](CTavScreen*) { display->Text(text); };
    }
    Step Key(UINT key) {
        return [this, key](CTavScreen*) { display->KeyDown(key); };
    }
    // Presses `button` of the waiting message box (0: OK or Yes, 1: No) after checking its text; a plain
    // message must not be a question.
    Step AnswerBox(const std::string& text, int button = -1) {
        return [this, text, button](CTavScreen*) {
            CTavMessageBox* box = Waiting<CTavMessageBox>();
            ASSERT_NE(box, nullptr) << "no message box for: " << text;
            EXPECT_EQ(std::string(box->GetText()), text);
            EXPECT_EQ(dynamic_cast<CTavQuestionBox*>(box) != nullptr, button >= 0) << text;
            ClickObject(box, button > 0 ? button : 0);
        };
    }
    static Step Layout(const std::string& name) {
        return [name](CTavScreen* dialog) {
            ExpectLayout(dialog, name);
            ExpectTextsFit(dialog);
        };
    }
    static Step ExpectText(DWORD id, const std::string& text) {
        return [id, text](CTavScreen* d) { EXPECT_EQ(builder::TextOf(d, id), text) << "id " << id; };
    }
    // Lets a frame go by (drawing the dialog).
    const Step pause = [](CTavScreen*) {};

    // Steps done before pressing `ok` and the message that this brings (leaving the focus on `focus`).
    struct Rule {
        std::vector<Step> before;
        std::string message;
        int focus = -1;
    };
    // Breaks the rules in order, each shown with its message, then goes on with `then`.
    std::vector<Step> Breaking(DWORD ok, const std::vector<Rule>& rules, const std::vector<Step>& then) {
        std::vector<Step> steps;
        for (const Rule& rule : rules) {
            steps.insert(steps.end(), rule.before.begin(), rule.before.end());
            steps.push_back(Click(ok));
            steps.push_back(AnswerBox(rule.message));
            if (rule.focus >= 0)
                steps.push_back([id = rule.focus](CTavScreen* screen) {
                    EXPECT_TRUE(screen->GetObjectByID(id)->HasFocus()) << "focus on " << id;
                });
        }
        steps.insert(steps.end(), then.begin(), then.end());
        return steps;
    }

    // Compares the last frame, or only the dialog's part of it, with tests/builder/reference/NAME.
    Step LooksLike(const std::string& name, bool dialogOnly = false) {
        return [this, name, dialogOnly](CTavScreen* dialog) {
            ExpectTextsFit(dialog);
            const platform::PixelBuffer& frame = display->LastFrame();
            platform::PixelBuffer shot;
            ASSERT_TRUE(dialogOnly ? shot.Allocate(dialog->GetWidth(), dialog->GetHeight())
                                   : shot.CopyFrom(frame));
            for (int y = 0; dialogOnly && y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    shot.Set(x, y, frame.At(dialog->GetAppX() + x, dialog->GetAppY() + y));
            ASSERT_TRUE(platform::SaveBitmapFile(shots / name, shot));
            test::ExpectLikeReference(shots / name, std::string(TAV_SOURCE_DIR) + "/tests/builder/reference",
                                      name);
        };
    }

    int appWidth = 800;
    int appHeight = 600;
    CTavApp app;
    CTavScreen* main = nullptr;
    test::TempDir shots;

private:
    size_t done_ = 0;
    std::vector<Step> script_;
};

// Makes `folder` the current directory while it lives.
struct InFolder {
    explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
};

} // namespace tav::testing
