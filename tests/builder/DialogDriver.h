#pragma once

// Drives a modal dialog from the idle handler of the headless display: each idle moment while the
// dialog of type D waits runs the next step on it.
#include "../tavctrls/HeadlessApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tav::testing {

template <typename D>
class DialogDriver {
public:
    using Step = std::function<void(D*)>;

    DialogDriver(platform::HeadlessDisplay* display, CTavScreen* owner) : display_(display), owner_(owner) {}

    // A dialog that has closed stays the innermost screen until its loop ends; only a running one counts.
    D* Waiting() const {
        auto* dialog = dynamic_cast<D*>(owner_->GetInnermostScreen());
        return dialog != nullptr && dialog->GetParent()->IsModalRunning() ? dialog : nullptr;
    }
    // The message box waiting over the dialog, if any.
    CTavMessageBox* WaitingBox() const {
        auto* box = dynamic_cast<CTavMessageBox*>(owner_->GetInnermostScreen());
        return box != nullptr && box->GetParent()->IsModalRunning() ? box : nullptr;
    }

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
        display_->LClick(static_cast<int>(object->GetAppX()) + object->GetWidth() / 2,
                         static_cast<int>(object->GetAppY()) + object->GetHeight() / 2);
    }
    // A point in the middle of a visible row (the list is not scrolled).
    void RowPoint(CTavListBox* list, int row, int* x, int* y) const {
        *x = static_cast<int>(list->GetAppX()) + 30;
        *y = static_cast<int>(list->GetAppY()) + list->GetColumnHeight() + row * list->GetItemHeight() +
             list->GetItemHeight() / 2;
    }
    void ClickRow(CTavListBox* list, int row) {
        int x, y;
        RowPoint(list, row, &x, &y);
        display_->LClick(x, y);
    }
    void DoubleClickRow(CTavListBox* list, int row) {
        int x, y;
        RowPoint(list, row, &x, &y);
        display_->DoubleClick(x, y);
    }
    // Clicks OK of the waiting message box after checking its text.
    Step AnswerBox(const std::string& text) {
        return [this, text](D*) {
            CTavMessageBox* box = WaitingBox();
            ASSERT_NE(box, nullptr) << "no message box for: " << text;
            EXPECT_EQ(std::string(box->GetText()), text);
            ClickObject(box, 0);
        };
    }
    // Lets a frame go by (drawing the dialog).
    static Step Pause() {
        return [](D*) {};
    }

    size_t done = 0;

private:
    platform::HeadlessDisplay* display_;
    CTavScreen* owner_;
    std::vector<Step> steps_;
};

} // namespace tav::testing
