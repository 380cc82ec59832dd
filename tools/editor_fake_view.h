// The form's controls held in memory: what the native scenario runner and
// the benchmarks put behind the form logic in place of the real window.
#pragma once

#include <string>
#include <vector>

#include "editor_ports.h"

namespace brellin {

class MemoryFormView final : public FormView {
public:
    std::vector<std::string> Items(ListBoxId list) const override { return lists_[Index(list)]; }
    void SetItems(ListBoxId list, const std::vector<std::string>& items) override {
        lists_[Index(list)] = items;
        selected_[Index(list)] = -1;
    }
    int ItemIndex(ListBoxId list) const override { return selected_[Index(list)]; }
    bool Checked(CheckBoxId box) const override { return checks_[static_cast<int>(box) - 1]; }
    void SetChecked(CheckBoxId box, bool checked) override { checks_[static_cast<int>(box) - 1] = checked; }
    // The box starts empty, as the real one does.
    std::string MemoText() const override { return memo_; }
    void SetMemoText(const std::string& text) override { memo_ = text; }

    // What a user's click on an entry does to the list: the first entry with
    // that text is selected. False when none has it.
    bool Select(ListBoxId list, const std::string& text) {
        const auto& items = lists_[Index(list)];
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == text) {
                selected_[Index(list)] = static_cast<int>(i);
                return true;
            }
        return false;
    }
    const std::vector<std::string>& List(ListBoxId list) const { return lists_[Index(list)]; }
    const bool (&Checks() const)[4] { return checks_; }

private:
    static int Index(ListBoxId list) { return list == ListBoxId::ListBox1 ? 0 : 1; }
    std::vector<std::string> lists_[2];
    int selected_[2] = {-1, -1};
    bool checks_[4] = {false, false, false, false};
    std::string memo_;
};

}  // namespace brellin
