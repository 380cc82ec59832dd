#include "form1.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "config_paths.h"
#include "disclaimer.h"
#include "entry_list.h"
#include "failure.h"
#include "host_path.h"
#include "ini_file.h"

namespace brellin {
namespace {

const std::string kHeaders(kHeadersSection);
const std::string kOptions(kOptionsSection);

// Replaces the section's keys with `entries` as keys 1, 2, ... in their
// order, leaving out each entry equal to `skip`: the numbering is gapless
// whatever the keys were before. The section is written in one piece, so a
// long list costs one write of the file rather than one per key, and a
// failed write leaves the section as it was instead of cut short.
void RewriteSection(TIniFile& ini, const std::string& section,
                    const std::vector<std::string>& entries,
                    const std::optional<std::string>& skip) {
    std::vector<std::string> kept;
    kept.reserve(entries.size());
    for (const auto& entry : entries)
        if (!skip || !IsSameEntry(entry, *skip)) kept.push_back(entry);

    bool complete = true;
    const auto names = ini.ReadSection(section, &complete);
    if (complete) {
        ini.WriteNumberedSection(section, kept);
        return;
    }
    // A section longer than the editor can list: writing it in one piece
    // would drop the keys beyond the list, so only the listed keys are
    // replaced, one by one, and the others stay in the file.
    for (const auto& name : names) ini.DeleteKey(section, name);
    for (std::size_t i = 0; i < kept.size(); ++i) ini.WriteString(section, std::to_string(i + 1), kept[i]);
}

// Writes `name` as the entry after the `listed` ones. A key with that number
// may already be there when the file was edited by hand (a gap before it):
// the listed entries are then renumbered first, so that nothing is
// overwritten and every entry stays within the add-in's reach.
void AppendEntry(TIniFile& ini, const std::string& section,
                 const std::vector<std::string>& listed, const std::string& name) {
    const std::string key = std::to_string(listed.size() + 1);
    if (ini.ValueExists(section, key)) RewriteSection(ini, section, listed, std::nullopt);
    ini.WriteString(section, key, name);
}

bool IsListedAlready(const TIniFile& ini, const std::string& section, const std::string& name) {
    for (const auto& entry : ListSection(ini, section))
        if (IsDuplicateName(entry, name)) return true;
    return false;
}

bool IsNameBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

}  // namespace

TForm1::TForm1(ProfilePort& profile, std::string programPath, FormView& view,
               FormDialogs& dialogs, FormShell& shell)
    : profile_(profile),
      programPath_(std::move(programPath)),
      title_(ApplicationTitleOf(programPath_)),
      view_(view),
      dialogs_(dialogs),
      shell_(shell) {}

void TForm1::Dispatch(Handler handler) noexcept {
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        ShowFailure(error.what());
    } catch (...) {
        ShowFailure("");
    }
}

void TForm1::ShowFailure(const std::string& message) noexcept {
    try {
        dialogs_.ShowError(title_, ErrorDisplayText(message));
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

std::string TForm1::ConfigPath() const { return EditorConfigPath(programPath_); }
std::string TForm1::DisclaimerPath() const { return EditorDisclaimerPath(programPath_); }

std::string TForm1::SelectedText(ListBoxId list) const {
    const int index = view_.ItemIndex(list);
    const auto items = view_.Items(list);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
    return items[static_cast<std::size_t>(index)];
}

void TForm1::FormActivate() {
    if (activated_) return;
    activated_ = true;

    TIniFile ini(profile_, ConfigPath());
    if (ini.ValueExists(kHeaders, "1")) {
        view_.SetItems(ListBoxId::ListBox1, {});
        view_.SetItems(ListBoxId::ListBox2, {});
        view_.SetItems(ListBoxId::ListBox1, ListSection(ini, kHeaders));
    }

    // A box that reads as checked writes itself back at once. When that
    // write fails (a read-only file), the loading still finishes: the other
    // boxes and the disclaimer are shown as stored, and the failure is told
    // once, since every further write would fail alike.
    std::optional<std::string> writeFailure;
    const std::pair<CheckBoxId, const char*> options[] = {
        {CheckBoxId::CheckBox2, "Header"},
        {CheckBoxId::CheckBox3, "Footer"},
        {CheckBoxId::CheckBox1, "Subject"},
        {CheckBoxId::CheckBox4, "Lines"},
    };
    for (const auto& [box, key] : options) {
        try {
            LoadOption(ini, box, key);
        } catch (const Failure& failure) {
            if (!writeFailure) writeFailure = failure.what();
        }
    }
    if (writeFailure) ShowFailure(*writeFailure);

    // A fresh installation has no disclaimer file yet, and the add-in takes
    // a missing one as no disclaimer: the box then stays empty. A file that
    // is there but cannot be read is an error.
    const std::string disclaimer = DisclaimerPath();
    std::error_code error;
    const auto status = std::filesystem::status(ToHostPath(disclaimer), error);
    if (status.type() != std::filesystem::file_type::not_found)
        view_.SetMemoText(ReadDisclaimerText(disclaimer));
}

void TForm1::LoadOption(const TIniFile& ini, CheckBoxId box, const char* key) {
    if (!ini.ValueExists(kOptions, key)) return;
    const bool checked = ini.ReadBool(kOptions, key, false);
    if (view_.Checked(box) == checked) return;
    view_.SetChecked(box, checked);
    WriteOption(box, key);
}

void TForm1::ListBox1Click() {
    if (view_.ItemIndex(ListBoxId::ListBox1) < 0) return;
    view_.SetItems(ListBoxId::ListBox2, {});
    TIniFile ini(profile_, ConfigPath());
    view_.SetItems(ListBoxId::ListBox2, ListSection(ini, SelectedText(ListBoxId::ListBox1)));
}

std::optional<std::string> TForm1::AskName(const std::string& caption, const std::string& prompt) {
    for (;;) {
        const auto answer = dialogs_.InputBox(caption, prompt);
        if (!answer) return std::nullopt;
        std::string name = TrimName(*answer);
        if (!name.empty()) return name;
    }
}

void TForm1::Button1Click() {
    const auto name = AskName("Enter New Header", "Please enter the New Header");
    if (!name) return;
    const auto listed = view_.Items(ListBoxId::ListBox1);

    TIniFile ini(profile_, ConfigPath());
    if (IsListedAlready(ini, kHeaders, *name))
        dialogs_.ShowMessage("Error", "This Header already exists!");
    else
        AppendEntry(ini, kHeaders, listed, *name);

    view_.SetItems(ListBoxId::ListBox1, {});
    view_.SetItems(ListBoxId::ListBox2, {});
    view_.SetItems(ListBoxId::ListBox1, ListSection(ini, kHeaders));
}

void TForm1::Button3Click() {
    if (view_.ItemIndex(ListBoxId::ListBox1) < 0) return;
    if (!dialogs_.Confirm("Confirm Delete",
                          "Are you sure you want to delete this Header and all of it's Sub Headers?"))
        return;
    view_.SetItems(ListBoxId::ListBox2, {});
    const std::string header = SelectedText(ListBoxId::ListBox1);

    TIniFile ini(profile_, ConfigPath());
    ini.EraseSection(header);
    // The remaining headers come from the list as last reloaded; every entry
    // equal to the deleted one goes, also one listed twice.
    RewriteSection(ini, kHeaders, view_.Items(ListBoxId::ListBox1), header);

    view_.SetItems(ListBoxId::ListBox1, {});
    view_.SetItems(ListBoxId::ListBox2, {});
    view_.SetItems(ListBoxId::ListBox1, ListSection(ini, kHeaders));
}

void TForm1::Button4Click() {
    if (view_.ItemIndex(ListBoxId::ListBox1) < 0) return;
    const std::string header = SelectedText(ListBoxId::ListBox1);
    const auto name = AskName("Enter New Sub Header", "Please enter the New Sub Header");
    if (!name) return;
    const auto listed = view_.Items(ListBoxId::ListBox2);
    view_.SetItems(ListBoxId::ListBox2, {});

    TIniFile ini(profile_, ConfigPath());
    if (IsListedAlready(ini, header, *name))
        dialogs_.ShowMessage("Error", "This Sub Header already exists!");
    else
        AppendEntry(ini, header, listed, *name);

    ListBox1Click();
}

void TForm1::Button6Click() {
    if (view_.ItemIndex(ListBoxId::ListBox2) < 0) return;
    if (view_.ItemIndex(ListBoxId::ListBox1) < 0) return;
    if (!dialogs_.Confirm("Confirm Delete", "Are you sure you want to delete this Sub Header?"))
        return;
    const std::string header = SelectedText(ListBoxId::ListBox1);
    const std::string sub = SelectedText(ListBoxId::ListBox2);

    TIniFile ini(profile_, ConfigPath());
    // The section's heading stays, also when no sub header remains.
    RewriteSection(ini, header, view_.Items(ListBoxId::ListBox2), sub);

    view_.SetItems(ListBoxId::ListBox2, {});
    ListBox1Click();
}

void TForm1::WriteOption(CheckBoxId box, const char* key) {
    TIniFile ini(profile_, ConfigPath());
    ini.WriteBool(kOptions, key, view_.Checked(box));
}

void TForm1::CheckBox1Click() { WriteOption(CheckBoxId::CheckBox1, "Subject"); }
void TForm1::CheckBox2Click() { WriteOption(CheckBoxId::CheckBox2, "Header"); }
void TForm1::CheckBox3Click() { WriteOption(CheckBoxId::CheckBox3, "Footer"); }
void TForm1::CheckBox4Click() { WriteOption(CheckBoxId::CheckBox4, "Lines"); }

void TForm1::Button8Click() {
    WriteDisclaimerText(DisclaimerPath(), view_.MemoText());
    dialogs_.ShowMessage("Done.", "Disclaimer Text has been changed!");
}

void TForm1::Button2Click() { shell_.Terminate(); }

void TForm1::Label7Click() { shell_.StartHidden("explorer " + std::string(kProductPageAddress)); }
void TForm1::Label7MouseEnter() { shell_.SetHandCursor(true); }
void TForm1::Label7MouseLeave() { shell_.SetHandCursor(false); }

std::string ApplicationTitleOf(std::string_view programPath) {
    const std::size_t slash = programPath.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::string title(name);
    for (std::size_t i = 1; i < title.size(); ++i)
        if (title[i] >= 'A' && title[i] <= 'Z') title[i] = static_cast<char>(title[i] + 32);
    return title;
}

std::string ErrorDisplayText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

std::string TrimName(std::string_view name) {
    while (!name.empty() && IsNameBlank(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsNameBlank(name.back())) name.remove_suffix(1);
    return std::string(name);
}

}  // namespace brellin
