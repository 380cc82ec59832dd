// The dialog without a window, for the native tests: the user's actions are
// planned before the send and played, one by one, while the dialog is shown.
// The controls behave as the real ones do for everything the dialog uses.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog.h"

namespace brellin::fake {

// One thing the user does in the dialog.
struct DialogAction {
    enum class Kind { Pick, Toggle, Check, Ok, Cancel, NoHeaders, Close };
    Kind kind;
    std::string text;  // Pick: the header; Toggle: the sub header
    int number = 0;    // Check: 1 to 5
    int value = 0;     // Check: 0 or 1
};

// A planned action that the dialog cannot carry out (a header not listed).
class ActionError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class FakeDialogForm final : public DialogForm {
public:
    FakeDialogForm(SendChoice& choice, AddinPlatform& platform)
        : choice_(choice), platform_(platform) {}

    void List1Clear() override;
    void List1AddItem(const std::string& text) override;
    std::string List1Text() override;
    void List2Clear() override;
    void List2AddItem(const std::string& text) override;
    int List2ListCount() override;
    bool List2Selected(int index) override;
    std::string List2List(int index) override;
    int CheckValue(int number) override;
    void SetCheckValue(int number, int value) override;
    void Hide() override;
    void SetFocus() override;
    void ShowModal() override;
    void Unload() override;

    // What the user does during the next show.
    void Plan(std::vector<DialogAction> actions) { plan_ = std::move(actions); }
    // Called when the dialog appears, and after each pick.
    std::function<void()> onShow;
    std::function<void()> onPick;
    // Called when the planned actions ran out with the dialog still open,
    // just before the fake closes it by its close box.
    std::function<void()> onStuck;

    bool Loaded() const { return state_ != nullptr; }
    int Loads() const { return loads_; }
    // The last show ran out of actions with the dialog still open; it was
    // then closed by its close box.
    bool Stuck() const { return stuck_; }
    bool Focused() const { return state_ && state_->focused; }
    std::vector<std::string> List1Items();
    std::vector<std::string> List2Items();
    std::vector<std::string> List2SelectedItems();
    std::string Checks();

private:
    struct SubHeader {
        std::string text;
        bool selected = false;
    };
    struct State {
        explicit State(FakeDialogForm& form) : dialog(form, form.choice_, form.platform_) {}
        Dialog dialog;
        std::vector<std::string> list1;
        int list1Index = -1;
        std::vector<SubHeader> list2;
        int list2Current = -1;
        int checks[5] = {0, 0, 0, 0, 0};
        bool visible = false;
        bool focused = false;
    };
    State& Form();
    void Play(const DialogAction& action);

    SendChoice& choice_;
    AddinPlatform& platform_;
    std::unique_ptr<State> state_;
    std::vector<DialogAction> plan_;
    int loads_ = 0;
    bool stuck_ = false;
};

}  // namespace brellin::fake
