#pragma once

// Drives modal dialogs from the idle handler of the headless display: each idle moment while a
// dialog of type D waits runs the next step on it (with D = CTavScreen, on whichever screen waits).
#include "../tavctrls/HeadlessApp.h"

#include "builder/FormControls.h"
#include "tavctrls/platform/BitmapFile.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
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
        } else if (auto* label = dynamic_cast<const CTavStatic*>(object)) {
            out << (label->IsMultiline() ? "text" : "label");
            text = label->GetText();
        } else if (auto* list = dynamic_cast<const CTavListBox*>(object)) {
            out << "list";
            for (int column = 0; column < list->GetColumnCount(); ++column)
                text +=
                    list->GetColumnName(column) + ":" + std::to_string(list->GetColumnWidth(column)) + " ";
            for (int row = 0; row < list->GetRowCount(); ++row)
                for (int column = 0; column < list->GetColumnCount(); ++column)
                    text += (column == 0 ? "|" : "/") + list->GetCellText(row, column);
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

template <typename D = CTavScreen>
class DialogDriver {
public:
    using Step = std::function<void(D*)>;

    DialogDriver(platform::HeadlessDisplay* display, CTavScreen* owner) : display_(display), owner_(owner) {}

    // A dialog that has closed stays the innermost screen until its loop ends; only a running one counts.
    template <typename T = D>
    T* Waiting() const {
        CTavScreen* inner = owner_->GetInnermostScreen();
        auto* dialog = dynamic_cast<T*>(inner);
        return inner != owner_ && dialog != nullptr && inner->GetParent()->IsModalRunning() ? dialog
                                                                                            : nullptr;
    }
    CTavMessageBox* WaitingBox() const { return Waiting<CTavMessageBox>(); }

    void Script(std::vector<Step> steps) {
        done = 0;
        steps_ = std::move(steps);
        display_->SetIdleHandler([this](platform::HeadlessDisplay&) {
            if (done >= steps_.size())
                return;
            D* dialog = Waiting();
            if (dialog == nullptr && WaitingBox() != nullptr)
                dialog = dynamic_cast<D*>(WaitingBox()->GetParent());
            if (dialog != nullptr)
                steps_[done++](dialog);
        });
    }

    void ClickObject(CTavScreen* screen, DWORD id) {
        CTavObject* object = screen->GetObjectByID(id);
        ASSERT_NE(object, nullptr) << "object " << id;
        ASSERT_TRUE(object->IsVisible()) << "object " << id;
        display_->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                         static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
    }
    // Clicks a visible row of a list box that is not scrolled.
    void ClickRow(CTavListBox* list, int row, bool twice = false) {
        ASSERT_NE(list, nullptr);
        const int x = static_cast<int>(list->GetAppX()) + 30;
        const int y = static_cast<int>(list->GetAppY()) + list->GetColumnHeight() +
                      row * list->GetItemHeight() + list->GetItemHeight() / 2;
        if (twice)
            display_->DoubleClick(x, y);
        else
            display_->LClick(x, y);
    }

    Step Click(DWORD id) {
        return [this, id](D* dialog) { ClickObject(dialog, id); };
    }
    Step Row(DWORD id, int row, bool twice = false) {
        return [this, id, row, twice](D* d) {
            ClickRow(dynamic_cast<CTavListBox*>(d->GetObjectByID(id)), row, twice);
        };
    }
    static Step Set(DWORD id, const std::string& text) {
        return [id, text](D* dialog) { builder::SetTextOf(dialog, id, text); };
    }
    Step Type(const std::string& text) {
        return [this, text](D*) { display_->Text(text); };
    }
    Step Key(UINT key) {
        return [this, key](D*) { display_->KeyDown(key); };
    }
    // Presses `button` of the waiting message box (0: OK or Yes, 1: No) after checking its text; a plain
    // message must not be a question.
    Step AnswerBox(const std::string& text, int button = -1) {
        return [this, text, button](D*) {
            CTavMessageBox* box = WaitingBox();
            ASSERT_NE(box, nullptr) << "no message box for: " << text;
            EXPECT_EQ(std::string(box->GetText()), text);
            EXPECT_EQ(dynamic_cast<CTavQuestionBox*>(box) != nullptr, button >= 0) << text;
            ClickObject(box, button > 0 ? button : 0);
        };
    }
    // Lets a frame go by (drawing the dialog).
    static Step Pause() {
        return [](D*) {};
    }
    static Step Layout(const std::string& name) {
        return [name](D* dialog) { ExpectLayout(dialog, name); };
    }
    static Step ExpectText(DWORD id, const std::string& text) {
        return [id, text](D* dialog) { EXPECT_EQ(builder::TextOf(dialog, id), text) << "id " << id; };
    }

    size_t Left() const { return steps_.size() - done; }

    size_t done = 0;

private:
    platform::HeadlessDisplay* display_;
    CTavScreen* owner_;
    std::vector<Step> steps_;
};

// A test with a main screen over which dialogs open, driving whatever waits there.
class DialogTest : public HeadlessAppTest, public DialogDriver<> {
protected:
    DialogTest() : DialogDriver<>(nullptr, nullptr) {}
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app, appWidth, appHeight), TAVERROR_OK);
        main = new CTavScreen;
        ASSERT_EQ(main->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(main);
        static_cast<DialogDriver<>&>(*this) = DialogDriver<>(display, main);
    }
    void TearDown() override {
        EXPECT_EQ(Left(), 0u) << "a dialog closed before its script ended";
        if (display != nullptr)
            display->SetIdleHandler(nullptr);
        HeadlessAppTest::TearDown();
    }
    // The previous script must have run to its end.
    void Script(std::vector<Step> steps) {
        EXPECT_EQ(Left(), 0u) << "a dialog closed before its script ended";
        DialogDriver<>::Script(std::move(steps));
    }
    // Runs `dialog` over the main screen with the script; `read` sees it before it is removed.
    template <typename T>
    void Run(T* dialog, int x, int y, int width, int height, std::vector<Step> steps,
             const std::function<void(T&)>& read = nullptr) {
        Script(std::move(steps));
        ASSERT_TRUE(builder::RunDialog(main, dialog, x, y, width, height));
        if (read)
            read(*dialog);
        main->RemoveChildScreen();
    }
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
};

// Makes `folder` the current directory while it lives.
struct InFolder {
    explicit InFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(previous); }
    const std::filesystem::path previous = std::filesystem::current_path();
};

} // namespace tav::testing
