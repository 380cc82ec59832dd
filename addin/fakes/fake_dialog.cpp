#include "fake_dialog.h"

#include <algorithm>

#include "failure.h"

namespace brellin::fake {
namespace {

void CheckNumber(int number) {
    if (number < 1 || number > 5) throw Failure("No check box " + std::to_string(number));
}

}  // namespace

FakeDialogForm::State& FakeDialogForm::Form() {
    if (!state_) {
        state_ = std::make_unique<State>(*this);
        ++loads_;
    }
    return *state_;
}

void FakeDialogForm::List1Clear() {
    Form().list1.clear();
    state_->list1Index = -1;
}

void FakeDialogForm::List1AddItem(const std::string& text) { Form().list1.push_back(text); }

std::string FakeDialogForm::List1Text() {
    State& form = Form();
    return form.list1Index < 0 ? std::string() : form.list1[form.list1Index];
}

void FakeDialogForm::List2Clear() {
    Form().list2.clear();
    state_->list2Current = -1;
}

void FakeDialogForm::List2AddItem(const std::string& text) { Form().list2.push_back({text}); }

int FakeDialogForm::List2ListCount() { return static_cast<int>(Form().list2.size()); }

bool FakeDialogForm::List2Selected(int index) { return Form().list2.at(index).selected; }

std::string FakeDialogForm::List2List(int index) { return Form().list2.at(index).text; }

int FakeDialogForm::CheckValue(int number) {
    CheckNumber(number);
    return Form().checks[number - 1];
}

void FakeDialogForm::SetCheckValue(int number, int value) {
    CheckNumber(number);
    Form().checks[number - 1] = value;
}

void FakeDialogForm::Hide() { Form().visible = false; }

void FakeDialogForm::SetFocus() { Form().focused = true; }

void FakeDialogForm::ShowModal() {
    stuck_ = false;
    Form().visible = true;
    state_->dialog.Form_Activate();
    if (onShow) onShow();
    auto plan = std::move(plan_);
    plan_.clear();
    for (const auto& action : plan) {
        if (!state_ || !state_->visible) break;
        Play(action);
    }
    if (state_ && state_->visible) {
        stuck_ = true;
        if (onStuck) onStuck();
        Unload();
    }
}

void FakeDialogForm::Unload() { state_.reset(); }

void FakeDialogForm::Play(const DialogAction& action) {
    State& form = *state_;
    switch (action.kind) {
    case DialogAction::Kind::Pick: {
        const auto found = std::find(form.list1.begin(), form.list1.end(), action.text);
        if (found == form.list1.end()) throw ActionError("no header \"" + action.text + "\" listed");
        const int index = static_cast<int>(found - form.list1.begin());
        if (index != form.list1Index) {
            form.list1Index = index;
            form.dialog.List1_Click();
        }
        if (onPick) onPick();
        break;
    }
    case DialogAction::Kind::Toggle: {
        const auto found = std::find_if(form.list2.begin(), form.list2.end(),
                                        [&](const SubHeader& s) { return s.text == action.text; });
        if (found == form.list2.end())
            throw ActionError("no sub header \"" + action.text + "\" listed");
        found->selected = !found->selected;
        form.list2Current = static_cast<int>(found - form.list2.begin());
        break;
    }
    case DialogAction::Kind::Check:
        SetCheckValue(action.number, action.value);
        break;
    case DialogAction::Kind::Ok:
        form.dialog.OKButton_Click();
        break;
    case DialogAction::Kind::Cancel:
        form.dialog.Command1_Click();
        break;
    case DialogAction::Kind::NoHeaders:
        form.dialog.Command2_Click();
        break;
    case DialogAction::Kind::Close:
        // The close box: the window goes, with the send choice as it stands.
        Unload();
        break;
    }
}

std::vector<std::string> FakeDialogForm::List1Items() { return state_ ? state_->list1 : std::vector<std::string>{}; }

std::vector<std::string> FakeDialogForm::List2Items() {
    std::vector<std::string> items;
    if (state_)
        for (const auto& s : state_->list2) items.push_back(s.text);
    return items;
}

std::vector<std::string> FakeDialogForm::List2SelectedItems() {
    std::vector<std::string> items;
    if (state_)
        for (const auto& s : state_->list2)
            if (s.selected) items.push_back(s.text);
    return items;
}

std::string FakeDialogForm::Checks() {
    std::string checks;
    if (state_)
        for (int value : state_->checks) checks += value ? '1' : '0';
    return checks;
}

}  // namespace brellin::fake
