// Plays one editor scenario against the real Brellin.exe: starts it in the
// case's folder, drives its window through window messages as a user would
// (clicks, list selections, typing into the prompt, answering message
// boxes), and prints what the user sees in the scenario's output language.
//
// usage: editor_driver FOLDER SCENARIO OUTPUT [READY_MARK DONE_MARK]
//   FOLDER holds Brellin.exe and the case's files; the lines go to OUTPUT.
//   With the two marks, the driver creates READY_MARK at the scenario's end
//   (before "done") and waits for DONE_MARK: a screenshot is taken between.
#include <windows.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "control_ids.h"
#include "editor_scenario.h"

namespace {

namespace sc = brellin::scenario;

constexpr DWORD kPatience = 20000;  // ms for any one thing the editor must do

class Driver {
public:
    Driver(std::string folder, FILE* out) : folder_(std::move(folder)), out_(out) {}
    ~Driver() { Stop(); }

    bool Run(const std::vector<sc::Step>& steps, const std::string& readyMark,
             const std::string& doneMark);

private:
    void Print(const std::string& line) {
        std::fprintf(out_, "%s\n", sc::WithFolderPlaceholder(line, folder_).c_str());
        std::fflush(out_);
    }
    bool Fail(const std::string& why) {
        std::fprintf(out_, "driver: %s\n", why.c_str());
        return false;
    }
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    bool Start();
    void Stop();
    bool DenyWrites(const std::string& name);
    bool Alive() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    // Waits until the editor has dealt with everything sent so far: it is
    // either idle again or waiting in a modal box.
    bool Sync();
    // Waits until the editor has taken every message posted to it so far.
    bool AfterPostedMessages();
    // Lets the running event finish, answering every prompt and box on the way.
    bool Settle();
    HWND FindDialog() const;
    bool Answer(HWND dialog);
    void AnswerPrompt(HWND dialog);
    void AnswerMessageBox(HWND dialog);

    // Something the user does in the main window; the editor handles it
    // while the driver answers its boxes.
    bool Act(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool Select(int listId, const std::string& text, bool runsHandler);
    LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    std::vector<std::string> ListItems(int listId) const;
    void PrintState();
    void PrintFiles();
    void PrintLayout();
    // Tells the script that the window shows the scenario's end, and waits
    // while it takes the screenshot.
    void PauseForScreenshot(const std::string& readyMark, const std::string& doneMark);

    std::string folder_;
    FILE* out_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
    std::vector<HANDLE> locks_;
    std::deque<std::string> answers_;
    std::optional<bool> confirmation_;
    bool paused_ = false;
};

std::string TextOf(HWND window) {
    char buffer[4096] = {};
    const int length = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool HasStyle(HWND window, LONG style) { return (GetWindowLongA(window, GWL_STYLE) & style) == style; }

// The first top-level window of the thread with this class (and visible, if asked).
struct WindowQuery {
    const char* className;
    bool visible;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* query = reinterpret_cast<WindowQuery*>(lParam);
    if (ClassOf(window) != query->className || (query->visible && !IsWindowVisible(window))) return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindThreadWindow(DWORD thread, const char* className, bool visible) {
    WindowQuery query{className, visible, nullptr};
    EnumThreadWindows(thread, MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool WaitFor(DWORD milliseconds, const auto& condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(10);
    }
    return true;
}

LRESULT Driver::Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kPatience, &result)) return 0;
    return static_cast<LRESULT>(result);
}

bool Driver::Start() {
    const std::string program = Path("Brellin.exe");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process_))
        return Fail("cannot start " + program);
    const DWORD thread = process_.dwThreadId;
    const bool shown = WaitFor(kPatience, [&] {
        main_ = FindThreadWindow(thread, BRELLIN_FORM_CLASS, true);
        return main_ != nullptr;
    });
    if (!shown) return Fail("the editor's window did not show");
    // The editor loads on a message it posts to itself at its window's first
    // activation, which Wine carries out before the window turns visible.
    // A message posted now therefore comes after that one: once it has been
    // handled, so has the loading, or the loading waits in one of its boxes.
    if (!AfterPostedMessages()) return Fail("the editor did not load");
    return Settle();
}

void Driver::Stop() {
    if (Alive()) {
        PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
        if (WaitForSingleObject(process_.hProcess, kPatience) != WAIT_OBJECT_0) {
            Print("stuck");
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, kPatience);
        }
    }
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }
    for (HANDLE lock : locks_) CloseHandle(lock);
    locks_.clear();
}

bool Driver::DenyWrites(const std::string& name) {
    // Wine lets an administrator write to a read-only file, as the test
    // runs; so besides the attribute, the file is held open without write
    // sharing, which makes every write to it fail while reads go on.
    if (name == ".") return Fail("a folder that refuses writes cannot be played under Wine");
    const std::string path = Path(name);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return Fail("cannot hold " + path);
    locks_.push_back(lock);
    return true;
}

bool Driver::AfterPostedMessages() {
    // A setting of the sub header list that the editor never uses or shows
    // (the list has no horizontal scroll bar) marks the place in the queue.
    HWND list = GetDlgItem(main_, IDC_LISTBOX2);
    constexpr WPARAM kMark = 4321;
    PostMessageA(list, LB_SETHORIZONTALEXTENT, kMark, 0);
    const bool passed = WaitFor(kPatience, [&] { return !Alive() || Ask(list, LB_GETHORIZONTALEXTENT) == kMark; });
    Ask(list, LB_SETHORIZONTALEXTENT, 0);
    return passed;
}

bool Driver::Sync() {
    DWORD_PTR ignored;
    return Alive() && SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &ignored);
}

HWND Driver::FindDialog() const {
    return FindThreadWindow(process_.dwThreadId, "#32770", false);
}

bool Driver::Settle() {
    for (int round = 0; round < 100; ++round) {
        // Twice: a first reply may come from a moment of waiting inside the
        // event, before its box is up; the second comes from the box's own
        // loop or from the idle editor.
        if (!Sync() || !Sync()) return true;
        HWND dialog = FindDialog();
        if (!dialog) return true;
        if (!Answer(dialog)) return false;
    }
    return Fail("too many boxes in a row");
}

bool Driver::Answer(HWND dialog) {
    if (!WaitFor(kPatience, [&] { return IsWindowVisible(dialog) || !IsWindow(dialog); }))
        return Fail("a box did not show");
    if (GetDlgItem(dialog, IDC_PROMPT_EDIT)) AnswerPrompt(dialog);
    else AnswerMessageBox(dialog);
    if (!WaitFor(kPatience, [&] { return !IsWindow(dialog); })) return Fail("a box did not close");
    return true;
}

void Driver::AnswerPrompt(HWND dialog) {
    Print("prompt " + sc::Quote(TextOf(dialog)) + " " +
          sc::Quote(TextOf(GetDlgItem(dialog, IDC_PROMPT_TEXT))));
    HWND field = GetDlgItem(dialog, IDC_PROMPT_EDIT);
    std::string answer = "cancel";
    if (answers_.empty()) Print("unanswered");
    else {
        answer = answers_.front();
        answers_.pop_front();
    }
    if (answer == "cancel") {
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    } else if (answer == "escape") {
        PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(field, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    } else if (answer == "close") {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()));
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    }
}

void Driver::AnswerMessageBox(HWND dialog) {
    std::string text;
    bool icon = false;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != "Static" || !HasStyle(child, WS_VISIBLE)) continue;
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = icon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
        else if (text.empty())
            text = TextOf(child);
    }
    const std::string caption = TextOf(dialog);
    if (icon)
        Print("error " + sc::Quote(text) + (caption == "Brellin" ? "" : " caption=" + sc::Quote(caption)));
    else
        Print("message " + sc::Quote(caption) + " " + sc::Quote(text));

    HWND yes = GetDlgItem(dialog, IDYES);
    int button = IDOK;
    if (yes && HasStyle(yes, WS_VISIBLE)) {
        if (!confirmation_) Print("unanswered");
        button = confirmation_.value_or(false) ? IDYES : IDNO;
        confirmation_.reset();
    }
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

bool Driver::Act(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!control) return Fail("control not found");
    // A sent notification: the editor handles it before anything sent later,
    // so the synchronising messages of Settle come after it.
    SendNotifyMessageA(control, message, wParam, lParam);
    return Settle();
}

std::vector<std::string> Driver::ListItems(int listId) const {
    // Between processes the list hands its texts over in UTF-16 whichever
    // form is asked for, so they are asked for in that form and turned
    // into the ANSI code page here.
    HWND list = GetDlgItem(main_, listId);
    std::vector<std::string> items;
    const LRESULT count = Ask(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_NORMAL, kPatience, &length);
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()),
                            SMTO_NORMAL, kPatience, &copied);
        wide.resize(copied == static_cast<DWORD_PTR>(LB_ERR) ? 0 : copied);
        std::string text(wide.size() * 2 + 1, '\0');
        const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                              text.data(), static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
        items.push_back(text);
    }
    return items;
}

bool Driver::Select(int listId, const std::string& text, bool runsHandler) {
    const auto items = ListItems(listId);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] != text) continue;
        HWND list = GetDlgItem(main_, listId);
        Ask(list, LB_SETCURSEL, i);
        // The notification a click on the entry sends to the window.
        if (!runsHandler) return true;
        return Act(main_, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    Print("nosuch " + sc::Quote(text));
    return true;
}

void Driver::PrintState() {
    const int sel1 = static_cast<int>(Ask(GetDlgItem(main_, IDC_LISTBOX1), LB_GETCURSEL));
    const int sel2 = static_cast<int>(Ask(GetDlgItem(main_, IDC_LISTBOX2), LB_GETCURSEL));
    bool checks[4];
    for (int k = 0; k < 4; ++k)
        checks[k] = Ask(GetDlgItem(main_, IDC_CHECKBOX1 + k), BM_GETCHECK) == BST_CHECKED;
    Print(sc::StateLine(ListItems(IDC_LISTBOX1), sel1 < 0 ? -1 : sel1, ListItems(IDC_LISTBOX2),
                        sel2 < 0 ? -1 : sel2, checks));
}

const char* ControlName(int id) {
    static const struct { int id; const char* name; } kNames[] = {
        {IDC_LISTBOX1, "ListBox1"}, {IDC_LISTBOX2, "ListBox2"},   {IDC_BUTTON1, "Button1"},
        {IDC_BUTTON3, "Button3"},   {IDC_BUTTON4, "Button4"},     {IDC_BUTTON6, "Button6"},
        {IDC_CHECKBOX1, "CheckBox1"}, {IDC_CHECKBOX2, "CheckBox2"}, {IDC_CHECKBOX3, "CheckBox3"},
        {IDC_CHECKBOX4, "CheckBox4"}, {IDC_MEMO1, "Memo1"},       {IDC_BUTTON8, "Button8"},
        {IDC_BUTTON2, "Button2"},   {IDC_LABEL1, "Label1"},       {IDC_LABEL2, "Label2"},
        {IDC_LABEL3, "Label3"},     {IDC_LABEL8, "Label8"},       {IDC_LABEL7, "Label7"},
    };
    for (const auto& entry : kNames)
        if (entry.id == id) return entry.name;
    return "unknown";
}

std::string Rectangle(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

void Driver::PrintLayout() {
    RECT outer;
    GetWindowRect(main_, &outer);
    const LONG style = GetWindowLongA(main_, GWL_STYLE);
    const auto flag = [&](const char* name, bool on) { return std::string(" ") + name + "=" + (on ? "1" : "0"); };
    Print("window " + sc::Quote(TextOf(main_)) + " " + Rectangle(outer) +
          flag("sizeable", style & WS_THICKFRAME) + flag("sysmenu", style & WS_SYSMENU) +
          flag("minimize", style & WS_MINIMIZEBOX) + flag("maximize", style & WS_MAXIMIZEBOX) +
          flag("menu", GetMenu(main_) != nullptr));
    for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
        const std::string kind = ClassOf(child);
        const bool hasCaption = kind == "Button" || kind == "Static";
        Print(std::string("control ") + ControlName(GetDlgCtrlID(child)) + " " + Rectangle(r) +
              (HasStyle(child, WS_TABSTOP) ? " tab" : "") + (hasCaption ? " " + sc::Quote(TextOf(child)) : ""));
    }
}

void Driver::PrintFiles() {
    for (const char* name : sc::kCaseFiles) {
        const std::string path = Path(name);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        std::optional<std::string> bytes;
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (attributes != INVALID_FILE_ATTRIBUTES && !folder) {
            std::ifstream in(path, std::ios::binary);
            bytes = std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        }
        Print(sc::FileLine(name, bytes, folder));
    }
}

bool Driver::Run(const std::vector<sc::Step>& steps, const std::string& readyMark,
                 const std::string& doneMark) {
    bool started = false;
    for (const auto& step : steps) {
        const auto& a = step.args;
        if (started && !Alive()) break;
        bool ok = true;
        if (step.verb == "deny-writes") {
            ok = DenyWrites(a[0]);
        } else if (step.verb == "start") {
            ok = Start();
            started = true;
        } else if (!started) {
            ok = Fail("line " + std::to_string(step.line) + ": the editor has not started");
        } else if (step.verb == "select-header") {
            ok = Select(IDC_LISTBOX1, a[0], true);
        } else if (step.verb == "select-sub") {
            ok = Select(IDC_LISTBOX2, a[0], false);
        } else if (step.verb == "add-header" || step.verb == "add-sub") {
            answers_.assign(a.begin(), a.end());
            ok = Act(GetDlgItem(main_, step.verb == "add-header" ? IDC_BUTTON1 : IDC_BUTTON4), BM_CLICK);
            answers_.clear();
        } else if (step.verb == "delete-header" || step.verb == "delete-sub") {
            confirmation_ = a[0] == "yes";
            ok = Act(GetDlgItem(main_, step.verb == "delete-header" ? IDC_BUTTON3 : IDC_BUTTON6), BM_CLICK);
            confirmation_.reset();
        } else if (step.verb == "click-check") {
            const int k = std::stoi(a[0]);
            ok = k >= 1 && k <= 4 ? Act(GetDlgItem(main_, IDC_CHECKBOX1 + k - 1), BM_CLICK)
                                  : Fail("no check box " + a[0]);
        } else if (step.verb == "memo") {
            Ask(GetDlgItem(main_, IDC_MEMO1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[0].c_str()));
        } else if (step.verb == "layout") {
            PrintLayout();
            continue;
        } else if (step.verb == "resize") {
            SetWindowPos(main_, nullptr, 0, 0, std::stoi(a[0]), std::stoi(a[1]),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ok = Settle();
        } else if (step.verb == "save-disclaimer") {
            ok = Act(GetDlgItem(main_, IDC_BUTTON8), BM_CLICK);
        } else if (step.verb == "done") {
            PauseForScreenshot(readyMark, doneMark);
            ok = Act(GetDlgItem(main_, IDC_BUTTON2), BM_CLICK) &&
                 (WaitForSingleObject(process_.hProcess, kPatience) == WAIT_OBJECT_0 ||
                  Fail("the editor did not end on \"Done\""));
            continue;
        }
        if (!ok) return false;
        if (started && Alive()) PrintState();
    }
    if (started) PauseForScreenshot(readyMark, doneMark);
    Stop();
    PrintFiles();
    return true;
}

void Driver::PauseForScreenshot(const std::string& readyMark, const std::string& doneMark) {
    if (readyMark.empty() || !Alive() || paused_) return;
    paused_ = true;
    std::ofstream(readyMark).put('\n');
    WaitFor(60000, [&] { return GetFileAttributesA(doneMark.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: editor_driver FOLDER SCENARIO OUTPUT [READY_MARK DONE_MARK]\n");
        return 2;
    }
    FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 2;
    const auto text = ReadFile(argv[2]);
    std::vector<sc::Step> steps;
    std::string error;
    if (!text || !sc::Parse(*text, steps, error)) {
        std::fprintf(out, "driver: %s: %s\n", argv[2], text ? error.c_str() : "cannot read");
        std::fclose(out);
        return 2;
    }
    bool ok;
    {
        Driver driver(argv[1], out);
        ok = driver.Run(steps, argc == 6 ? argv[4] : "", argc == 6 ? argv[5] : "");
    }
    std::fclose(out);
    return ok ? 0 : 1;
}
