#include "dialog_driver.h"

#include "dialog_window.h"
#include "mail_scenario.h"

namespace hostsim {

namespace {

using brellin::DialogWindow;
using brellin::fake::DialogAction;
using Kind = DialogAction::Kind;

using brellin::scenario::Joined;
using brellin::scenario::Quoted;

constexpr char kDialogClass[] = "BrellinHeaderDialog";
// Check1 to Check5, in that order.
constexpr DialogWindow::ControlId kChecks[] = {DialogWindow::kCheck1, DialogWindow::kCheck2, DialogWindow::kCheck3,
                                               DialogWindow::kCheck4, DialogWindow::kCheck5};
constexpr char kMessageBoxClass[] = "#32770";

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), length + 1));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        std::string text(length + 1, '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(length);
        items.push_back(text);
    }
    return items;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM found) {
    auto& result = *reinterpret_cast<std::string*>(found);
    if (ClassOf(child) != "Static") return TRUE;
    result = WindowText(child);
    return result.empty();
}

// The text of a message box: its static control that carries text.
std::string MessageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, FindStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

BOOL CALLBACK FindMessageBox(HWND window, LPARAM result) {
    if (!IsWindowVisible(window) || ClassOf(window) != kMessageBoxClass) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& lock_;
};

void Command(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

DialogDriver::DialogDriver(DWORD clientThread, Print print)
    : clientThread_(clientThread),
      print_(std::move(print)),
      planEvent_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      doneEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    watcher_ = CreateThread(nullptr, 0, &DialogDriver::WatchMessageBoxes, this, 0, nullptr);
    actor_ = CreateThread(nullptr, 0, &DialogDriver::Act, this, 0, nullptr);
}

DWORD WINAPI DialogDriver::WatchMessageBoxes(void* self) {
    static_cast<DialogDriver*>(self)->WatchMessageBoxes();
    return 0;
}

DWORD WINAPI DialogDriver::Act(void* self) {
    static_cast<DialogDriver*>(self)->Act();
    return 0;
}

DialogDriver::~DialogDriver() {
    stop_ = true;
    SetEvent(planEvent_);
    SetEvent(doneEvent_);
    WaitForSingleObject(actor_, INFINITE);
    WaitForSingleObject(watcher_, INFINITE);
    CloseHandle(actor_);
    CloseHandle(watcher_);
    CloseHandle(planEvent_);
    CloseHandle(doneEvent_);
}

void DialogDriver::Plan(std::vector<DialogAction> actions) {
    Locked locked(lock_);
    plan_ = std::move(actions);
    planned_ = true;
    lastShow_ = -1;
    QueryPerformanceCounter(&plannedAt_);
    ResetEvent(doneEvent_);
    SetEvent(planEvent_);
}

void DialogDriver::SendEnded() {
    SetEvent(doneEvent_);
    // The actor lets go of this send before the next one is planned.
    Locked locked(lock_);
    planned_ = false;
}

std::string DialogDriver::Error() const {
    Locked locked(lock_);
    return error_;
}

HWND DialogDriver::VisibleDialog() const {
    HWND dialog = FindWindowA(kDialogClass, nullptr);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

void DialogDriver::WatchMessageBoxes() {
    while (!stop_) {
        HWND found = nullptr;
        EnumThreadWindows(clientThread_, FindMessageBox, reinterpret_cast<LPARAM>(&found));
        if (!found) {
            Sleep(1);
            continue;
        }
        print_("message " + Quoted(MessageBoxText(found)));
        // OK, as the user would press it; the box ends and is gone.
        SendMessageA(found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        while (!stop_ && IsWindow(found) && IsWindowVisible(found)) Sleep(1);
    }
}

void DialogDriver::Act() {
    while (!stop_) {
        WaitForSingleObject(planEvent_, INFINITE);
        if (stop_) return;
        std::vector<DialogAction> actions;
        LARGE_INTEGER plannedAt;
        {
            Locked locked(lock_);
            if (!planned_) continue;
            actions = plan_;
            plannedAt = plannedAt_;
        }
        // Wait for the dialog of this send, or for the send to end without one.
        HWND dialog = nullptr;
        while (!stop_ && !(dialog = VisibleDialog())) {
            if (WaitForSingleObject(doneEvent_, 0) == WAIT_OBJECT_0) break;
            Sleep(0);
        }
        if (!dialog) continue;
        LARGE_INTEGER shown, frequency;
        QueryPerformanceCounter(&shown);
        QueryPerformanceFrequency(&frequency);
        lastShow_ = 1000.0 * static_cast<double>(shown.QuadPart - plannedAt.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
        PlayActions(dialog, std::move(actions));
    }
}

int DialogDriver::Find(HWND list, const std::string& text, const char* what) {
    // Exactly, case and all: the list box's own search ignores case.
    const auto items = ListItems(list);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return static_cast<int>(i);
    Locked locked(lock_);
    error_ = std::string("no ") + what + " \"" + text + "\" listed";
    return -1;
}

void DialogDriver::PlayActions(HWND dialog, std::vector<DialogAction> actions) {
    HWND list1 = GetDlgItem(dialog, DialogWindow::kList1);
    HWND list2 = GetDlgItem(dialog, DialogWindow::kList2);
    std::string checks;
    for (const auto id : kChecks)
        checks += SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED ? '1' : '0';
    print_("dialog headers=" + Quoted(Joined(ListItems(list1))) + " checks=" + checks);

    for (const auto& action : actions) {
        if (!IsWindowVisible(dialog)) break;
        switch (action.kind) {
        case Kind::Pick: {
            const int index = Find(list1, action.text, "header");
            if (index < 0) break;
            SendMessageA(list1, LB_SETCURSEL, index, 0);
            Command(dialog, DialogWindow::kList1, LBN_SELCHANGE);
            print_("subs=" + Quoted(Joined(ListItems(list2))));
            break;
        }
        case Kind::Toggle: {
            const int index = Find(list2, action.text, "sub header");
            if (index < 0) break;
            const bool selected = SendMessageA(list2, LB_GETSEL, index, 0) > 0;
            SendMessageA(list2, LB_SETSEL, selected ? FALSE : TRUE, index);
            SendMessageA(list2, LB_SETCARETINDEX, index, FALSE);
            Command(dialog, DialogWindow::kList2, LBN_SELCHANGE);
            break;
        }
        case Kind::Check: {
            SendMessageA(GetDlgItem(dialog, kChecks[action.number - 1]), BM_SETCHECK,
                         action.value ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        }
        case Kind::Ok: Command(dialog, DialogWindow::kOKButton, BN_CLICKED); break;
        case Kind::Cancel: Command(dialog, DialogWindow::kCommand1, BN_CLICKED); break;
        case Kind::NoHeaders: Command(dialog, DialogWindow::kCommand2, BN_CLICKED); break;
        case Kind::Close: SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        if (!Error().empty()) break;
    }
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        // Actions that ran out leave the dialog to its close box; an action
        // that could not be done says so through Error().
        if (Error().empty()) print_("stuck");
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

}  // namespace hostsim
