#include "dialog_window.h"

#include <string_view>
#include <vector>

#include "failure.h"

namespace brellin {
namespace {

constexpr char kClassName[] = "BrellinHeaderDialog";
constexpr char kCaption[] = "Select the Required Headers for this Correspondence";
constexpr int kClientWidth = 6855;  // twips
constexpr int kClientHeight = 7035;
constexpr int kPicture = 16;  // pixels, whatever the DPI
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

enum class Font { Bold, Plain };

struct ControlSpec {
    DialogWindow::ControlId id;
    const char* windowClass;
    DWORD style;
    const char* caption;
    int left, top, width, height;  // twips
    Font font;
};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kListBox = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

// In tab order: the creation order is the order the focus follows.
constexpr ControlSpec kControls[] = {
    {DialogWindow::kOKButton, "BUTTON", kButton, "Ok", 5400, 5640, 1215, 375, Font::Bold},
    {DialogWindow::kList1, "LISTBOX", kListBox, "", 0, 600, 3255, 4935, Font::Plain},
    {DialogWindow::kLabel1, "STATIC", kLabel, "Headers", 0, 360, 855, 255, Font::Bold},
    {DialogWindow::kList2, "LISTBOX", kListBox | LBS_MULTIPLESEL, "", 3360, 600, 3255, 4935, Font::Plain},
    {DialogWindow::kLabel2, "STATIC", kLabel, "Sub Headers", 3360, 360, 1695, 255, Font::Bold},
    {DialogWindow::kCommand1, "BUTTON", kButton, "Cancel", 5400, 6120, 1215, 375, Font::Bold},
    {DialogWindow::kLabel5, "STATIC", kLabel,
     "Brellin mail classification - ask your administrator", 0, 6720, 5055, 255, Font::Plain},
    {DialogWindow::kCommand2, "BUTTON", kButton, "No Headers", 5400, 6600, 1215, 375, Font::Bold},
    {DialogWindow::kCheck1, "BUTTON", kCheckBox, "Display in Subject", 120, 5640, 1695, 255, Font::Plain},
    {DialogWindow::kCheck2, "BUTTON", kCheckBox, "Display Header", 1920, 5640, 1575, 255, Font::Plain},
    {DialogWindow::kCheck3, "BUTTON", kCheckBox, "Display Footer", 3480, 5640, 1455, 255, Font::Plain},
    {DialogWindow::kCheck4, "BUTTON", kCheckBox, "Display Disclaimer Text if Entered", 1920, 6000,
     3375, 255, Font::Plain},
    {DialogWindow::kLabel3, "STATIC", kLabel, "Classify this mail before it is sent.", 360, 0, 6255,
     255, Font::Plain},
    {DialogWindow::kCheck5, "BUTTON", kCheckBox, "Display Lines", 120, 6000, 1575, 255, Font::Plain},
};

constexpr DialogWindow::ControlId kChecks[] = {DialogWindow::kCheck1, DialogWindow::kCheck2,
                                               DialogWindow::kCheck3, DialogWindow::kCheck4,
                                               DialogWindow::kCheck5};

struct Dpi {
    int x, y;
};

Dpi ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const Dpi dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    return dpi;
}

HFONT MakeFont(int dpiY, int weight) {
    // 8.25 points.
    return CreateFontA(-MulDiv(825, dpiY, 7200), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

// While the dialog is shown, the other windows of the thread take no input,
// as with any modal window; they get it back when the show ends.
class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(HWND dialog) : dialog_(dialog) {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }
    ~OtherWindowsDisabled() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) {
        auto* me = reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != me->dialog_ && IsWindowVisible(window) && IsWindowEnabled(window))
            me->disabled_.push_back(window);
        return TRUE;
    }
    HWND dialog_;
    std::vector<HWND> disabled_;
};

// The dialog binds neither Enter nor Esc: the dialog manager would turn Enter
// into a click on a focused button, so both keys stop here.
bool IsUnboundKey(HWND dialog, const MSG& message) {
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                     message.message == WM_CHAR;
    const bool unbound = message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
    return key && unbound && dialog && (message.hwnd == dialog || IsChild(dialog, message.hwnd));
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

DialogWindow::DialogWindow(SendChoice& choice, AddinPlatform& platform)
    : choice_(choice), platform_(platform) {}

DialogWindow::~DialogWindow() {
    Unload();
    if (boldFont_) DeleteObject(boldFont_);
    if (plainFont_) DeleteObject(plainFont_);
}

HWND DialogWindow::Load() {
    if (hwnd_) return hwnd_;
    HINSTANCE instance = ThisModule();
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(instance, kClassName, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &DialogWindow::WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassExA(&windowClass)) throw Failure("The dialog's window class cannot be registered");
    }
    const Dpi dpi = ScreenDpi();
    if (!boldFont_) boldFont_ = MakeFont(dpi.y, FW_BOLD);
    if (!plainFont_) plainFont_ = MakeFont(dpi.y, FW_NORMAL);

    RECT frame{0, 0, MulDiv(kClientWidth, dpi.x, 1440), MulDiv(kClientHeight, dpi.y, 1440)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    dialog_ = std::make_unique<Dialog>(*this, choice_, platform_);
    HWND hwnd = CreateWindowExA(kExStyle, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                instance, this);
    if (!hwnd) throw Failure("The dialog cannot be created");
    CreateControls();
    lastFocus_ = GetDlgItem(hwnd_, kOKButton);
    return hwnd_;
}

void DialogWindow::CreateControls() {
    const Dpi dpi = ScreenDpi();
    for (const auto& c : kControls) {
        HWND control = CreateWindowExA(
            std::string_view(c.windowClass) == "LISTBOX" ? WS_EX_CLIENTEDGE : 0, c.windowClass,
            c.caption, WS_CHILD | WS_VISIBLE | c.style, MulDiv(c.left, dpi.x, 1440),
            MulDiv(c.top, dpi.y, 1440), MulDiv(c.width, dpi.x, 1440), MulDiv(c.height, dpi.y, 1440),
            hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), ThisModule(), nullptr);
        if (!control) throw Failure("The dialog's controls cannot be created");
        SendMessageA(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.font == Font::Bold ? boldFont_ : plainFont_), FALSE);
    }
}

HWND DialogWindow::Item(ControlId id) { return GetDlgItem(Load(), id); }

LRESULT CALLBACK DialogWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<DialogWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->lastFocus_ = nullptr;
    }
    return result;
}

LRESULT DialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Enter and Esc arrive as IDOK and IDCANCEL from no control: ignored.
        if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        // The close box and Alt+F4: the window goes with the choice as it is.
        DestroyWindow(hwnd_);
        // Wake the modal loop, as Hide does, when the close came as a sent
        // message; the window is gone, so the thread gets the wake-up.
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        return 0;
    default:
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

template <class Operation>
void DialogWindow::Guarded(Operation operation) noexcept {
    try {
        operation();
    } catch (...) {
        if (!failure_) failure_ = std::current_exception();
        if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    }
}

void DialogWindow::OnCommand(int id, int code) {
    if (id == kList1 && code == LBN_SELCHANGE) Guarded([this] { dialog_->List1_Click(); });
    if (code != BN_CLICKED) return;
    if (id == kOKButton) Guarded([this] { dialog_->OKButton_Click(); });
    if (id == kCommand1) Guarded([this] { dialog_->Command1_Click(); });
    if (id == kCommand2) Guarded([this] { dialog_->Command2_Click(); });
}

void DialogWindow::OnActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        // Remember where the focus was, to give it back on return.
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return;
    }
    Guarded([this] { dialog_->Form_Activate(); });
}

// Our picture in the top-left corner: a speech bubble with a question mark.
void DialogWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HPEN outline = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, outline);
    HGDIOBJ oldBrush = SelectObject(dc, white);
    RoundRect(dc, 0, 0, kPicture, 12, 6, 6);
    const POINT tail[] = {{3, 10}, {3, 15}, {8, 10}};
    Polygon(dc, tail, 3);
    // Cover the bubble's outline where the tail joins it.
    HPEN fill = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    SelectObject(dc, fill);
    MoveToEx(dc, 4, 10, nullptr);
    LineTo(dc, 8, 10);
    HPEN mark = CreatePen(PS_SOLID, 1, RGB(0, 0, 160));
    SelectObject(dc, mark);
    const POINT question[] = {{6, 3}, {7, 2}, {9, 2}, {10, 3}, {10, 5}, {8, 6}, {8, 8}};
    Polyline(dc, question, 7);
    SetPixel(dc, 8, 9, RGB(0, 0, 160));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(mark);
    DeleteObject(fill);
    DeleteObject(outline);
    EndPaint(hwnd_, &paint);
}

void DialogWindow::List1Clear() { SendMessageA(Item(kList1), LB_RESETCONTENT, 0, 0); }

void DialogWindow::List1AddItem(const std::string& text) {
    const LRESULT added = SendMessageA(Item(kList1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (added < 0) throw Failure("Out of memory");
}

std::string DialogWindow::ListText(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) throw Failure("Invalid list index");
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string DialogWindow::List1Text() {
    HWND list = Item(kList1);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return index < 0 ? std::string() : ListText(list, static_cast<int>(index));
}

void DialogWindow::List2Clear() { SendMessageA(Item(kList2), LB_RESETCONTENT, 0, 0); }

void DialogWindow::List2AddItem(const std::string& text) {
    const LRESULT added = SendMessageA(Item(kList2), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (added < 0) throw Failure("Out of memory");
}

int DialogWindow::List2ListCount() {
    return static_cast<int>(SendMessageA(Item(kList2), LB_GETCOUNT, 0, 0));
}

bool DialogWindow::List2Selected(int index) {
    const LRESULT selected = SendMessageA(Item(kList2), LB_GETSEL, index, 0);
    if (selected < 0) throw Failure("Invalid list index");
    return selected > 0;
}

std::string DialogWindow::List2List(int index) { return ListText(Item(kList2), index); }

int DialogWindow::CheckValue(int number) {
    if (number < 1 || number > 5) throw Failure("No check box " + std::to_string(number));
    return SendMessageA(Item(kChecks[number - 1]), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void DialogWindow::SetCheckValue(int number, int value) {
    if (number < 1 || number > 5) throw Failure("No check box " + std::to_string(number));
    SendMessageA(Item(kChecks[number - 1]), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogWindow::Hide() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_HIDE);
    // A click that arrives as a sent message (BM_CLICK from an accessibility
    // tool, say) hides the dialog inside GetMessage, which would then wait for
    // a posted message that may never come: wake the modal loop.
    PostMessageA(hwnd_, WM_NULL, 0, 0);
}

void DialogWindow::SetFocus() {
    HWND window = Load();
    HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : GetDlgItem(window, kOKButton);
    ::SetFocus(target);
}

void DialogWindow::ShowModal() {
    HWND window = Load();
    failure_ = nullptr;

    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);
    {
        OtherWindowsDisabled modal(window);
        ShowWindow(window, SW_SHOWNORMAL);
        SetForegroundWindow(window);
        MSG message;
        while (hwnd_ && IsWindowVisible(hwnd_)) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) {
                // The application is ending: pass the request on after the show.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got < 0) break;
            if (IsUnboundKey(hwnd_, message)) continue;
            if (hwnd_ && IsDialogMessageA(hwnd_, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (failure_) {
        auto failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
}

void DialogWindow::Unload() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    lastFocus_ = nullptr;
}

}  // namespace brellin
