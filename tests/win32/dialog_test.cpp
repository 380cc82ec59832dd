// The header selection dialog as a real Win32 window under test: it is shown
// modally and driven from inside its own message loop by window messages (list
// clicks, keys, button clicks, the close box), exactly as a user's input
// arrives, and checked for its layout, fonts, focus and what it hands back.
//
// usage: dialog_test                      runs every check, exit code 1 on a failure
//        dialog_test --screenshot READY DONE
//                                         shows the dialog with a choice made, creates
//                                         the file READY, waits for DONE, then cancels
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "cl_brellin.h"
#include "config_paths.h"
#include "fake_host.h"
#include "win32/dialog_window.h"
#include "win32/kernel32_profile.h"
#include "win32/platform_win32.h"

namespace brellin {
namespace {

int failures = 0;

void Check(bool ok, const std::string& what, int line) {
    if (ok) return;
    std::printf("dialog_test.cpp:%d: check failed: %s\n", line, what.c_str());
    ++failures;
}

template <class T>
std::string Describe(const T& value) {
    if constexpr (std::is_convertible_v<T, std::string>) {
        return "\"" + std::string(value) + "\"";
    } else if constexpr (std::is_pointer_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%p", static_cast<const void*>(value));
        return text;
    } else {
        return std::to_string(value);
    }
}

template <class A, class B>
void CheckEqual(const A& actual, const B& expected, const std::string& what, int line) {
    if (actual == expected) return;
    Check(false, what + " (got " + Describe(actual) + ", want " + Describe(expected) + ")", line);
}

#define CHECK(condition) Check((condition), #condition, __LINE__)
#define CHECK_EQ(actual, expected) CheckEqual((actual), (expected), #actual, __LINE__)

// Steps that run one per timer tick inside the modal show. A step returns
// false to be run again at the next tick (to wait for something).
class Script {
public:
    using Step = std::function<bool()>;
    Script& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    Script& Do(std::function<void()> step) {
        return Then([step] {
            step();
            return true;
        });
    }

    // Runs `show` with the steps playing inside it. Every step must have run
    // by the time the show returns, and the show must end soon after them.
    void Run(const std::function<void()>& show, int line) {
        current_ = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 15, &Script::Tick);
        show();
        KillTimer(nullptr, timer);
        current_ = nullptr;
        Check(next_ == steps_.size(),
              "the show ended after " + std::to_string(next_) + " of " + std::to_string(steps_.size()) + " steps",
              line);
        Check(!timedOut_, "a step or the show did not finish in time", line);
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* self = current_;
        if (!self || self->busy_) return;
        self->busy_ = true;
        if (++self->ticks_ > 2000) {
            // Ten seconds or more: end the show rather than hang the suite.
            self->timedOut_ = true;
            HWND dialog = FindWindowA("BrellinHeaderDialog", nullptr);
            if (dialog) PostMessageA(dialog, WM_CLOSE, 0, 0);
        } else if (self->next_ < self->steps_.size() && self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->busy_ = false;
    }

    static inline Script* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    bool busy_ = false;
    bool timedOut_ = false;
};

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A click with the mouse on one item of a list box.
void ClickItem(HWND list, int index) {
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
}

// A key pressed and released on the control that has the focus, through
// the message queue, so that the dialog manager sees it first.
void PressKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

BOOL CALLBACK FindBox(HWND window, LPARAM result) {
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The message box of this thread, if one is shown.
HWND FindMessageBox() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM result) {
    if (ClassOf(child) == "Static") *reinterpret_cast<std::string*>(result) += WindowText(child);
    return TRUE;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::vector<std::string> Items(HWND list, bool selectedOnly = false) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (selectedOnly && SendMessageA(list, LB_GETSEL, i, 0) <= 0) continue;
        char text[300] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : "|") + item;
    return out;
}

struct Fixture {
    Fixture() {
        std::ofstream ini(AddinConfigPath(installFolder.InstallFolder()), std::ios::binary | std::ios::trunc);
        ini << "[Headers]\r\n1=Acme\r\n2=Globex\r\n[Acme]\r\n1=Tax\r\n2=Audit\r\n"
               "[MAROV BRL Options]\r\nSubject=1\r\nHeader=1\r\n";
        std::ofstream disclaimer(AddinDisclaimerPath(installFolder.InstallFolder()),
                                 std::ios::binary | std::ios::trunc);
        disclaimer << "Line one\r\nLine two";
    }
    // What the send handler does before it shows the dialog.
    void Fill() {
        form.List1Clear();
        form.List2Clear();
        form.List1AddItem("Acme");
        form.List1AddItem("Globex");
        form.SetCheckValue(1, 1);
        form.SetCheckValue(2, 1);
        form.SetCheckValue(4, 1);
    }
    HWND Item(DialogWindow::ControlId id) { return form.Control(id); }

    Kernel32Profile profile;
    Win32Messages messages;
    ModuleInstallFolder installFolder;
    Kernel32Drives drives;
    AddinPlatform platform{profile, messages, installFolder, drives};
    SendChoice choice;
    DialogWindow form{choice, platform};
};

using Id = DialogWindow::ControlId;

struct Layout {
    Id id;
    const char* name;
    const char* windowClass;
    const char* text;  // null: a text of our own, not empty
    int left, top, width, height;
    bool bold;
};

const Layout kLayout[] = {
    {Id::kOKButton, "OKButton", "Button", "Ok", 5400, 5640, 1215, 375, true},
    {Id::kList1, "List1", "ListBox", "", 0, 600, 3255, 4935, false},
    {Id::kLabel1, "Label1", "Static", "Headers", 0, 360, 855, 255, true},
    {Id::kList2, "List2", "ListBox", "", 3360, 600, 3255, 4935, false},
    {Id::kLabel2, "Label2", "Static", "Sub Headers", 3360, 360, 1695, 255, true},
    {Id::kCommand1, "Command1", "Button", "Cancel", 5400, 6120, 1215, 375, true},
    {Id::kLabel5, "Label5", "Static", nullptr, 0, 6720, 5055, 255, false},
    {Id::kCommand2, "Command2", "Button", "No Headers", 5400, 6600, 1215, 375, true},
    {Id::kCheck1, "Check1", "Button", "Display in Subject", 120, 5640, 1695, 255, false},
    {Id::kCheck2, "Check2", "Button", "Display Header", 1920, 5640, 1575, 255, false},
    {Id::kCheck3, "Check3", "Button", "Display Footer", 3480, 5640, 1455, 255, false},
    {Id::kCheck4, "Check4", "Button", "Display Disclaimer Text if Entered", 1920, 6000, 3375, 255, false},
    {Id::kLabel3, "Label3", "Static", nullptr, 360, 0, 6255, 255, false},
    {Id::kCheck5, "Check5", "Button", "Display Lines", 120, 6000, 1575, 255, false},
};

void CheckLayout(Fixture& f) {
    HWND dialog = f.form.Window();
    CHECK_EQ(WindowText(dialog), "Select the Required Headers for this Correspondence");
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    CHECK((style & WS_MINIMIZEBOX) == 0);
    CHECK((style & WS_MAXIMIZEBOX) == 0);
    CHECK((style & WS_SYSMENU) != 0);  // the close box
    CHECK_EQ(GetWindow(dialog, GW_OWNER), static_cast<HWND>(nullptr));

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CHECK_EQ(dpi, 96);
    RECT client{};
    GetClientRect(dialog, &client);
    CHECK_EQ(client.right, 6855 / 15);
    CHECK_EQ(client.bottom, 7035 / 15);

    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int dx = (frame.left + frame.right) - GetSystemMetrics(SM_CXSCREEN);
    const int dy = (frame.top + frame.bottom) - GetSystemMetrics(SM_CYSCREEN);
    Check(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, "the dialog is centred on the screen", __LINE__);

    for (const auto& c : kLayout) {
        const std::string name = c.name;
        HWND control = f.Item(c.id);
        Check(control != nullptr, name + " exists", __LINE__);
        if (!control) continue;
        CheckEqual(ClassOf(control), std::string(c.windowClass), name + " class", __LINE__);
        if (c.text) CheckEqual(WindowText(control), std::string(c.text), name + " text", __LINE__);
        else Check(!WindowText(control).empty(), name + " has a text of our own", __LINE__);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        CheckEqual(r.left, c.left / 15, name + " left", __LINE__);
        CheckEqual(r.top, c.top / 15, name + " top", __LINE__);
        CheckEqual(r.right - r.left, c.width / 15, name + " width", __LINE__);
        CheckEqual(r.bottom - r.top, c.height / 15, name + " height", __LINE__);

        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        CheckEqual(std::string(font.lfFaceName), std::string("MS Sans Serif"), name + " font", __LINE__);
        CheckEqual(font.lfHeight, -11, name + " font height (8.25 pt at 96 DPI)", __LINE__);
        CheckEqual(font.lfWeight, c.bold ? 700 : 400, name + " font weight", __LINE__);

        const LONG controlStyle = GetWindowLongA(control, GWL_STYLE);
        if (name == "OKButton" || name == "Command1" || name == "Command2")
            CheckEqual(controlStyle & BS_TYPEMASK, BS_PUSHBUTTON, name + " is no default button", __LINE__);
        if (name.rfind("Check", 0) == 0)
            CheckEqual(controlStyle & BS_TYPEMASK, BS_AUTOCHECKBOX, name + " has two states", __LINE__);
    }
    const LONG list1 = GetWindowLongA(f.Item(Id::kList1), GWL_STYLE);
    const LONG list2 = GetWindowLongA(f.Item(Id::kList2), GWL_STYLE);
    CHECK((list1 & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0);
    CHECK((list2 & (LBS_SORT | LBS_EXTENDEDSEL)) == 0);
    CHECK((list2 & LBS_MULTIPLESEL) != 0);

    // The picture: the corner of the client area keeps the button face, the
    // bubble is white, the question mark dark.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(dialog);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CHECK_EQ(GetPixel(dc, 15, 15), face);
    CHECK_EQ(GetPixel(dc, 3, 7), RGB(255, 255, 255));
    CHECK_EQ(GetPixel(dc, 8, 9), RGB(0, 0, 160));
    CHECK_EQ(GetPixel(dc, 17, 8), face);
    ReleaseDC(dialog, dc);
}

// Layout, focus, tab order, and Enter and Esc doing nothing; then the close box.
void LayoutAndKeyboard() {
    Fixture f;
    f.choice.strSelection = "untouched";
    f.Fill();
    std::vector<std::string> visited;
    Script script;
    script.Do([&] {
        CHECK_EQ(GetFocus(), f.Item(Id::kOKButton));
        CheckLayout(f);
    });
    for (int i = 0; i < 10; ++i) {
        script.Do([] { PressKey(VK_TAB); });
        script.Do([&] {
            std::string name = "(elsewhere)";
            for (const auto& c : kLayout)
                if (GetFocus() == f.Item(c.id)) name = c.name;
            visited.push_back(name);
        });
    }
    for (const Id where : {Id::kOKButton, Id::kList1, Id::kList2}) {
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            script.Do([&, where, key] {
                SetFocus(f.Item(where));
                PressKey(key);
            });
            script.Do([&, where, key] {
                const std::string what = std::string(key == VK_RETURN ? "Enter" : "Esc") + " on control " +
                                         std::to_string(where) + " does nothing";
                HWND box = FindMessageBox();
                Check(box == nullptr, what + ": " + (box ? MessageBoxText(box) : ""), __LINE__);
                if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
                Check(IsWindowVisible(f.form.Window()), what, __LINE__);
                CHECK_EQ(f.choice.strSelection, "untouched");
                CHECK_EQ(f.choice.blnCancel, kFalse16);
                CHECK_EQ(f.choice.blnNoHeaders, kFalse16);
            });
        }
    }
    script.Do([&] { PostMessageA(f.form.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    script.Run([&] { f.form.ShowModal(); }, __LINE__);
    CHECK_EQ(Joined(visited), "List1|List2|Command1|Command2|Check1|Check2|Check3|Check4|Check5|OKButton");
    // Closed: the window is gone and nothing was written.
    CHECK(f.form.Window() == nullptr);
    CHECK_EQ(f.choice.strSelection, "untouched");
    CHECK_EQ(f.choice.blnCancel, kFalse16);
}

// Picking headers by mouse and keyboard, toggling sub headers, check boxes, "Ok".
void PickAndAccept() {
    Fixture f;
    f.choice.strSelection = "old";
    f.choice.blnCancel = kTrue16;
    f.Fill();
    Script script;
    script.Do([&] {
        ClickItem(f.Item(Id::kList1), 0);
        CHECK_EQ(Joined(Items(f.Item(Id::kList2))), "Tax|Audit");
        CHECK_EQ(f.choice.strSelection, "");
        CHECK_EQ(f.choice.blnCancel, kFalse16);
        SetFocus(f.Item(Id::kList1));
        PressKey(VK_DOWN);
    });
    script.Do([&] {
        CHECK_EQ(f.form.List1Text(), "Globex");
        CHECK_EQ(Items(f.Item(Id::kList2)).size(), 0u);
        PressKey(VK_UP);
    });
    script.Do([&] {
        CHECK_EQ(f.form.List1Text(), "Acme");
        HWND list2 = f.Item(Id::kList2);
        CHECK_EQ(Joined(Items(list2)), "Tax|Audit");
        ClickItem(list2, 1);
        ClickItem(list2, 0);
        CHECK_EQ(Joined(Items(list2, true)), "Tax|Audit");
        ClickItem(list2, 0);
        CHECK_EQ(Joined(Items(list2, true)), "Audit");
        SetFocus(list2);
        SendMessageA(list2, LB_SETCARETINDEX, 0, FALSE);
        PressKey(VK_SPACE);
    });
    script.Do([&] {
        // The space bar turns the selection of the focused item on again.
        CHECK_EQ(Joined(Items(f.Item(Id::kList2), true)), "Tax|Audit");
        SendMessageA(f.Item(Id::kCheck1), BM_CLICK, 0, 0);
        SendMessageA(f.Item(Id::kCheck3), BM_CLICK, 0, 0);
        SendMessageA(f.Item(Id::kCheck5), BM_CLICK, 0, 0);
        CHECK_EQ(f.form.CheckValue(1), 0);
        CHECK_EQ(f.form.CheckValue(3), 1);
        SendMessageA(f.Item(Id::kOKButton), BM_CLICK, 0, 0);
    });
    script.Run([&] { f.form.ShowModal(); }, __LINE__);
    CHECK_EQ(f.choice.strSelection, "Acme/Tax/Audit");
    CHECK_EQ(f.choice.blnShowSubject, kFalse16);
    CHECK_EQ(f.choice.blnShowHeader, kTrue16);
    CHECK_EQ(f.choice.blnShowFooter, kTrue16);
    CHECK_EQ(f.choice.blnShowDisclaimer, kTrue16);
    CHECK_EQ(f.choice.blnShowLines, kTrue16);
    // Hidden, not destroyed: the caller unloads it.
    CHECK(f.form.Window() != nullptr && !IsWindowVisible(f.form.Window()));
    f.form.Unload();
    CHECK(f.form.Window() == nullptr);
}

// "Ok" without a header, "Cancel", "No Headers", Alt+F4, and the other
// windows of the thread held while the dialog is shown.
void ButtonsAndMessages() {
    Fixture f;
    HWND other = CreateWindowExA(0, "STATIC", "another window", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    f.choice.strSelection = "kept";
    f.choice.blnShowLines = kTrue16;
    f.Fill();
    Script first;
    first.Do([&] {
        CHECK(!IsWindowEnabled(other));
        PostMessageA(f.Item(Id::kOKButton), BM_CLICK, 0, 0);
    });
    first.Then([&] {
        HWND box = FindMessageBox();
        if (!box) return false;
        CHECK_EQ(MessageBoxText(box), "You must select an entry to continue.");
        CHECK_EQ(WindowText(box), "Brellin");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    first.Then([&] { return FindMessageBox() == nullptr; });
    first.Do([&] {
        CHECK(IsWindowVisible(f.form.Window()));
        CHECK_EQ(f.choice.strSelection, "kept");
        SendMessageA(f.Item(Id::kCommand1), BM_CLICK, 0, 0);
    });
    first.Run([&] { f.form.ShowModal(); }, __LINE__);
    CHECK(IsWindowEnabled(other));
    CHECK_EQ(f.choice.blnCancel, kTrue16);
    CHECK_EQ(f.choice.blnNoHeaders, kFalse16);
    CHECK_EQ(f.choice.strSelection, "kept");
    CHECK_EQ(f.choice.blnShowLines, kTrue16);
    f.form.Unload();

    f.Fill();
    Script second;
    second.Do([&] {
        CHECK_EQ(Items(f.Item(Id::kList2)).size(), 0u);  // a fresh form
        SendMessageA(f.Item(Id::kCommand2), BM_CLICK, 0, 0);
    });
    second.Run([&] { f.form.ShowModal(); }, __LINE__);
    CHECK_EQ(f.choice.blnNoHeaders, kTrue16);
    f.form.Unload();

    f.choice = SendChoice{};
    f.Fill();
    Script third;
    third.Do([&] { PostMessageA(f.form.Window(), WM_SYSKEYDOWN, VK_F4, 0x20000001); });
    third.Run([&] { f.form.ShowModal(); }, __LINE__);
    CHECK(f.form.Window() == nullptr);
    CHECK_EQ(f.choice.blnCancel, kFalse16);
    CHECK_EQ(f.choice.blnNoHeaders, kFalse16);
    DestroyWindow(other);
}

// One whole send through the real window, profile, drives and folder.
void WholeSend() {
    Fixture f;
    ClBrellin addin(f.platform, f.form, f.choice);
    auto mail = std::make_shared<fake::FakeMailItem>("Report", "Hello");
    addin.objMailItem = mail;

    Script stamp;
    stamp.Do([&] {
        CHECK_EQ(Joined(Items(f.Item(Id::kList1))), "Acme|Globex");
        CHECK_EQ(f.form.CheckValue(1) * 10000 + f.form.CheckValue(2) * 1000 + f.form.CheckValue(3) * 100 +
                     f.form.CheckValue(4) * 10 + f.form.CheckValue(5),
                 11010);
        ClickItem(f.Item(Id::kList1), 0);
        ClickItem(f.Item(Id::kList2), 0);
        SendMessageA(f.Item(Id::kOKButton), BM_CLICK, 0, 0);
    });
    Bool16 cancel = kFalse16;
    stamp.Run([&] { mail->RaiseSend(cancel); }, __LINE__);
    CHECK_EQ(cancel, kFalse16);
    CHECK_EQ(mail->subject, "(Acme/Tax) Report");
    CHECK_EQ(mail->body, "(Acme/Tax)\r\rHello\r\rLine one\rLine two");
    CHECK(f.form.Window() == nullptr);

    Script close;
    close.Do([&] { PostMessageA(f.form.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    close.Run([&] { mail->RaiseSend(cancel); }, __LINE__);
    CHECK_EQ(cancel, kTrue16);
    CHECK_EQ(mail->subject, "(Acme/Tax) Report");
}

// The platform bindings the send runs on: the folder of the running module
// and the drive list, with the drive test's exact comparison.
void PlatformBindings() {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = program;
    folder.erase(folder.find_last_of('\\'));
    ModuleInstallFolder installFolder;
    CHECK_EQ(installFolder.InstallFolder(), folder);

    Kernel32Drives drives;
    const auto paths = drives.DrivePaths();
    CHECK(std::find(paths.begin(), paths.end(), "C:") != paths.end());
    CHECK(std::find(paths.begin(), paths.end(), "Z:") != paths.end());
    for (const auto& path : paths) Check(path.size() == 2 && path[1] == ':', "drive path " + path, __LINE__);
    CHECK(!ModBrellin::IsNetworkDrive(drives, "C:"));  // a fixed drive
    CHECK(!ModBrellin::IsNetworkDrive(drives, "c:"));  // names no drive
    CHECK(!ModBrellin::IsNetworkDrive(drives, "\\\\"));
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Screenshot(const std::string& ready, const std::string& done) {
    Fixture f;
    f.Fill();
    Script script;
    script.Do([&] {
        ClickItem(f.Item(Id::kList1), 0);
        ClickItem(f.Item(Id::kList2), 0);
        SendMessageA(f.Item(Id::kCheck3), BM_CLICK, 0, 0);
        UpdateWindow(f.form.Window());
        std::ofstream(ready) << "shown\n";
    });
    script.Then([&] { return FileExists(done); });
    script.Do([&] { SendMessageA(f.Item(Id::kCommand1), BM_CLICK, 0, 0); });
    script.Run([&] { f.form.ShowModal(); }, __LINE__);
    return failures ? 1 : 0;
}

}  // namespace
}  // namespace brellin

int main(int argc, char** argv) {
    using namespace brellin;
    if (argc == 4 && std::string(argv[1]) == "--screenshot") return Screenshot(argv[2], argv[3]);
    LayoutAndKeyboard();
    PickAndAccept();
    ButtonsAndMessages();
    WholeSend();
    PlatformBindings();
    std::printf("%d failed checks\n", failures);
    return failures ? 1 : 0;
}
