#pragma once

#include "tavctrls/TavCtrls.h"
#include "tavctrls/platform/HeadlessDisplay.h"
#include "tavctrls/platform/ProcessEnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tav::testing {

// Thrown by the intercepted end of the process, so that a test can run a program's loop to its end.
struct ProcessEnded {
    int status;
};

// A test with a headless display waiting for the next application, and the process end intercepted.
class HeadlessAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto headless = std::make_unique<platform::HeadlessDisplay>();
        headless->SetCloseWhenInputEnds(false); // tests step frames themselves
        display = headless.get();
        platform::SetNextDisplay(std::move(headless));
        previousEnd = platform::SetProcessEndHandler([](int status) { throw ProcessEnded{status}; });
    }
    void TearDown() override {
        platform::SetNextDisplay(nullptr);
        platform::SetProcessEndHandler(previousEnd);
    }
    // doInit in window mode with the headless display; the display pointer is valid until shutdown.
    DWORD Init(CTavApp& app, int width = 320, int height = 240) {
        return app.doInit(nullptr, SW_SHOWNORMAL, "Test", TAVAPP_WINDOW, width, height, 0, 0, 32);
    }
    // Runs the application's loop until the process would end; gives the exit status.
    int Run(CTavApp& app) {
        try {
            app.MyWinMain();
        } catch (const ProcessEnded& ended) {
            display = nullptr;
            return ended.status;
        }
    }
    // One frame as the loop draws it (after the pending input).
    void Frame(CTavApp& app, int count = 1) {
        for (int i = 0; i < count; ++i) {
            app.PumpMessages();
            app.RunFrameOrWait();
        }
    }
    // Queues "click", "double", "right", "move", "down" or "up" at (x, y), or "key" with the code in x.
    void Queue(const std::string& action, int x, int y) {
        if (action == "key")
            return display->KeyDown(static_cast<unsigned>(x));
        using Display = platform::HeadlessDisplay;
        static const std::map<std::string, void (Display::*)(int, int)> inputs = {
            {"click", &Display::LClick},   {"double", &Display::DoubleClick}, {"right", &Display::RClick},
            {"move", &Display::MouseMove}, {"down", &Display::LButtonDown},   {"up", &Display::LButtonUp}};
        (display->*inputs.at(action))(x, y);
    }

    platform::HeadlessDisplay* display = nullptr;
    platform::ProcessEndHandler previousEnd;
};

// Logs its notifications ("button 7", "objectdown 5", ...) and runs `hook` on each entry, whose answer
// the notifications that answer give. Focus, keys, presses and double clicks only when `verbose`.
class LogScreen : public CTavScreen {
public:
    std::vector<std::string> log;
    std::function<BOOL(const std::string&)> hook;
    bool verbose = false;

    BOOL OnButtonDown(DWORD id) override { return Note("button " + std::to_string(id)); }
    void OnCheckBoxClick(DWORD id, BOOL on) override {
        Note("check " + std::to_string(id) + " " + std::to_string(on));
    }
    BOOL OnObjectLMouseDown(DWORD id) override { return Note("objectdown " + std::to_string(id)); }
    void OnListBoxItemChange(DWORD, int item) override { Note("change " + std::to_string(item)); }
    void OnListBoxItemDoubleClicked(DWORD, int item) override { Note("double " + std::to_string(item)); }
    void OnListBoxItemRightClicked(DWORD, int item) override { Note("right " + std::to_string(item)); }
    void AfterTreeCntrlSelectionChanged(DWORD, int item) override { Note("select " + std::to_string(item)); }
    void AfterTreeCntrlDoubleClicked(DWORD, int item) override { Note("double " + std::to_string(item)); }
    void OnTreeCntrlItemRightClick(DWORD, int item) override { Note("right " + std::to_string(item)); }
    void OnPopupMenuItemClicked(const char* item) override { Note(std::string("popup ") + item); }
    BOOL OnMenuItemClicked(const char* top, const char* sub) override {
        return Note(std::string("menu ") + top + " " + sub);
    }
    void OnObjectGotFocus(DWORD id) override { Verbose("got " + std::to_string(id)); }
    void OnObjectLostFocus(DWORD id) override { Verbose("lost " + std::to_string(id)); }
    void AfterLMouseDown(int, int) override { Verbose("after down " + std::to_string(GetID())); }
    void AfterKeyDown(UINT key) override { Verbose("after key " + std::to_string(key)); }
    void AfterObjectDoubleClick(DWORD id, int, int) override { Verbose("doubleclick " + std::to_string(id)); }

    // Runs `action` with the number of every entry that starts with `kind`, then answers.
    void On(const std::string& kind, BOOL answer, std::function<void(DWORD)> action) {
        hook = [=](const std::string& entry) {
            if (entry.rfind(kind + " ", 0) != 0)
                return FALSE;
            action(static_cast<DWORD>(std::stoul(entry.substr(kind.size() + 1))));
            return answer;
        };
    }

private:
    BOOL Note(const std::string& entry) {
        log.push_back(entry);
        return hook ? hook(entry) : FALSE;
    }
    void Verbose(const std::string& entry) {
        if (verbose)
            Note(entry);
    }
};

// An application of 320 x 240 showing a new full screen of type S (id 1), a verbose LogScreen if asked.
template <typename S = LogScreen, bool Verbose = false>
class ScreenAppTest : public HeadlessAppTest {
protected:
    void SetUp() override {
        HeadlessAppTest::SetUp();
        ASSERT_EQ(Init(app), TAVERROR_OK);
        ShowNewScreen();
    }
    void ShowNewScreen() {
        screen = new S;
        if constexpr (Verbose)
            screen->verbose = true;
        ASSERT_EQ(screen->Initialize(1), TAVERROR_OK);
        app.SetChildScreen(screen);
    }
    void Click(int x, int y) {
        display->LClick(x, y);
        Frame(app);
    }
    // A logging screen of any kind, initialised; shows focus, keys and presses too.
    static LogScreen* NewLogScreen(DWORD id, int x, int y, int w, int h, int kind, CTavScreen* parent) {
        auto* made = new LogScreen;
        made->verbose = true;
        return made->Initialize(id, x, y, w, h, kind, parent) == TAVERROR_OK ? made : nullptr;
    }

    CTavApp app;
    S* screen = nullptr;
};

// The art folder of the source tree ("art/NAME"), and a pixel of a surface (0x00RRGGBB).
inline std::string ArtPath(const std::string& name) {
    return std::string(TAV_SOURCE_DIR) + "/art/" + name;
}
inline std::uint32_t PixelAt(CTavSurface* surface, int x, int y) {
    return surface->GetDDSurface()->At(x, y);
}
// Objects initialised and added to their screen.
template <typename T = CTavObject>
T* AddPlain(CTavScreen* owner, DWORD id, int x, int y, int width = 40, int height = 20) {
    auto* object = new T;
    EXPECT_EQ(object->Initialize(id, static_cast<float>(x), static_cast<float>(y), width, height, owner),
              TAVERROR_OK);
    EXPECT_EQ(owner->AddObject(object), TAVERROR_OK);
    return object;
}
inline CTavButton* AddButton(CTavScreen* owner, DWORD id, int x, int y, int width = 60, int height = 20) {
    auto* button = new CTavButton;
    EXPECT_EQ(button->Initialize("OK", id, static_cast<float>(x), static_cast<float>(y), width, height, owner,
                                 ArtPath("buttonnormal.bmp").c_str(), ArtPath("buttonover.bmp").c_str(),
                                 ArtPath("buttondown.bmp").c_str()),
              TAVERROR_OK);
    EXPECT_EQ(owner->AddObject(button), TAVERROR_OK);
    return button;
}
inline CTavCheckBox* AddCheckBox(CTavScreen* owner, DWORD id, int x, int y, int width, int height) {
    auto* box = new CTavCheckBox;
    EXPECT_EQ(box->Initialize("Sound", id, static_cast<float>(x), static_cast<float>(y), width, height, owner,
                              ArtPath("checkyes.bmp").c_str(), ArtPath("checkno.bmp").c_str()),
              TAVERROR_OK);
    EXPECT_EQ(owner->AddObject(box), TAVERROR_OK);
    return box;
}

} // namespace tav::testing
