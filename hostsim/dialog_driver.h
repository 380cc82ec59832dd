// The user at the screen, played on the real windows of the add-in: one
// thread answers every message box with OK after printing its text, another
// waits for the header selection dialog of a send, prints what it shows and
// does the planned actions through window messages, as clicks and keys
// arrive. Both run beside the client's thread, which is held in the send.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "fake_dialog.h"

namespace hostsim {

class DialogDriver {
public:
    using Print = std::function<void(const std::string& line)>;
    // `clientThread` is the thread whose windows are watched.
    DialogDriver(DWORD clientThread, Print print);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Before a send: what the user will do if the dialog appears.
    void Plan(std::vector<brellin::fake::DialogAction> actions);
    // After the send returned: the dialog, if any, is done with.
    void SendEnded();
    // Milliseconds from Plan to the dialog showing, for the last send that
    // showed it; negative when it did not show.
    double LastShowMilliseconds() const { return lastShow_; }
    // An action the dialog could not carry out (a header not listed).
    std::string Error() const;

private:
    static DWORD WINAPI WatchMessageBoxes(void* self);
    static DWORD WINAPI Act(void* self);
    void WatchMessageBoxes();
    void Act();
    void PlayActions(HWND dialog, std::vector<brellin::fake::DialogAction> actions);
    HWND VisibleDialog() const;
    // The entry's index in the list; -1, with the error set, when it is not listed.
    int Find(HWND list, const std::string& text, const char* what);

    DWORD clientThread_;
    Print print_;
    std::atomic<bool> stop_{false};
    mutable SRWLOCK lock_ = SRWLOCK_INIT;  // the plan, and the error
    std::vector<brellin::fake::DialogAction> plan_;
    bool planned_ = false;
    LARGE_INTEGER plannedAt_{};
    std::atomic<double> lastShow_{-1};
    std::string error_;
    HANDLE planEvent_;
    HANDLE doneEvent_;
    HANDLE watcher_;
    HANDLE actor_;
};

}  // namespace hostsim
