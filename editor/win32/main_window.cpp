#include "main_window.h"

#include <vector>

#include "control_ids.h"
#include "input_prompt.h"

namespace brellin {
namespace {

// Runs the form's activation handler after the activation itself.
constexpr UINT kLoadMessage = WM_APP + 1;

constexpr int kLeft = 192, kTop = 107, kWidth = 615, kHeight = 724;

// Shape1, the frame drawn behind the check boxes, in client pixels.
constexpr RECT kShape1 = {8, 515, 8 + 497, 515 + 33};

struct ControlPlace {
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int id;
    int left, top, width, height;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = kChild | WS_TABSTOP;
constexpr DWORD kList = kTab | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
constexpr DWORD kButton = kTab | BS_PUSHBUTTON;
constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;

// Created in tab order: the focus moves through the controls in the order of
// their creation. Labels take no focus and may stand anywhere.
const ControlPlace kControls[] = {
    {"LISTBOX", "", kList, WS_EX_CLIENTEDGE, IDC_LISTBOX1, 8, 56, 233, 425},
    {"BUTTON", "Add New Header", kButton, 0, IDC_BUTTON1, 8, 481, 97, 25},
    {"BUTTON", "Delete Header", kButton, 0, IDC_BUTTON3, 112, 481, 89, 25},
    {"LISTBOX", "", kList, WS_EX_CLIENTEDGE, IDC_LISTBOX2, 264, 56, 233, 425},
    {"BUTTON", "Add New Sub Header", kButton, 0, IDC_BUTTON4, 264, 481, 113, 25},
    {"BUTTON", "Delete Sub Header", kButton, 0, IDC_BUTTON6, 384, 481, 105, 25},
    {"BUTTON", "Done", kButton, 0, IDC_BUTTON2, 528, 664, 75, 25},
    {"BUTTON", "Display In Subject", kCheck, 0, IDC_CHECKBOX1, 24, 523, 113, 17},
    {"BUTTON", "Display Header", kCheck, 0, IDC_CHECKBOX2, 152, 523, 97, 17},
    {"BUTTON", "Display Footer", kCheck, 0, IDC_CHECKBOX3, 280, 523, 97, 17},
    {"EDIT", "", kTab | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
     IDC_MEMO1, 8, 568, 505, 89},
    {"BUTTON", "Change Disclaimer Text", kButton, 0, IDC_BUTTON8, 376, 656, 137, 25},
    {"BUTTON", "Display Lines", kCheck, 0, IDC_CHECKBOX4, 384, 523, 97, 17},
    {"STATIC", "Headers", kLabel, 0, IDC_LABEL1, 8, 40, 40, 13},
    {"STATIC", "Sub Headers", kLabel, 0, IDC_LABEL2, 264, 40, 62, 13},
    {"STATIC", "Default Email Options:", kLabel, 0, IDC_LABEL3, 8, 507, 104, 13},
    {"STATIC", "Email Disclaimer (Signature):", kLabel, 0, IDC_LABEL8, 8, 555, 133, 13},
    {"STATIC", "", kLabel | SS_NOTIFY, 0, IDC_LABEL7, 0, 680, 102, 13},
};

int CheckBoxControl(CheckBoxId box) {
    return IDC_CHECKBOX1 + (static_cast<int>(box) - 1);
}

std::string WindowText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

MainWindow::MainWindow(std::string programPath)
    : form_(profile_, std::move(programPath), *this, *this, *this) {}

MainWindow::~MainWindow() {
    if (font_) DeleteObject(font_);
    if (linkFont_) DeleteObject(linkFont_);
}

bool MainWindow::Create(HINSTANCE instance, int show) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = BRELLIN_FORM_CLASS;
    if (!RegisterClassExA(&windowClass)) return false;

    window_ = CreateWindowExA(0, BRELLIN_FORM_CLASS, "Brellin .ini Editor",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kLeft, kTop, kWidth, kHeight,
                              nullptr, nullptr, instance, this);
    if (!window_) return false;
    ShowWindow(window_, show);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // The form's handlers report their own failures; whatever else goes
        // wrong here must not leave the window procedure.
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam));
        break;
    case kLoadMessage:
        form_.Dispatch(&TForm1::FormActivate);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnCreate() {
    // MS Sans Serif, 8 points: 11 pixels high at 96 pixels per inch.
    LOGFONTA face = {};
    face.lfHeight = -11;
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(face.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    font_ = CreateFontIndirectA(&face);
    face.lfUnderline = TRUE;
    linkFont_ = CreateFontIndirectA(&face);

    for (const auto& place : kControls)
        AddControl(place.className, place.text, place.style, place.exStyle, place.id, place.left,
                   place.top, place.width, place.height);
    SetWindowTextA(Control(IDC_LABEL7), std::string(kProductPageText).c_str());
    SendMessageA(Control(IDC_LABEL7), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);

    // The link tells the form when the mouse comes onto it and leaves it.
    HWND link = Control(IDC_LABEL7);
    linkBaseProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
    SetFocus(Control(IDC_LISTBOX1));
}

HWND MainWindow::AddControl(const char* className, const char* text, DWORD style, DWORD exStyle,
                            int id, int left, int top, int width, int height) {
    HWND control = CreateWindowExA(exStyle, className, text, style, left, top, width, height,
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void MainWindow::OnActivate(UINT state) {
    // The form loads at its first activation only; the form logic keeps
    // count, so coming back from another window or a box reloads nothing.
    // It runs once the activation is over, so that the window stands fully
    // shown behind any box the loading brings up.
    if (state != WA_INACTIVE) PostMessageA(window_, kLoadMessage, 0, 0);
}

void MainWindow::OnCommand(int id, UINT code) {
    TForm1::Handler handler = nullptr;
    switch (id) {
    case IDC_LISTBOX1:
        if (code == LBN_SELCHANGE) handler = &TForm1::ListBox1Click;
        break;
    case IDC_LABEL7:
        if (code == STN_CLICKED) handler = &TForm1::Label7Click;
        break;
    case IDC_BUTTON1: handler = &TForm1::Button1Click; break;
    case IDC_BUTTON3: handler = &TForm1::Button3Click; break;
    case IDC_BUTTON4: handler = &TForm1::Button4Click; break;
    case IDC_BUTTON6: handler = &TForm1::Button6Click; break;
    case IDC_BUTTON8: handler = &TForm1::Button8Click; break;
    case IDC_BUTTON2: handler = &TForm1::Button2Click; break;
    // An automatic check box has changed its state before it tells us.
    case IDC_CHECKBOX1: handler = &TForm1::CheckBox1Click; break;
    case IDC_CHECKBOX2: handler = &TForm1::CheckBox2Click; break;
    case IDC_CHECKBOX3: handler = &TForm1::CheckBox3Click; break;
    case IDC_CHECKBOX4: handler = &TForm1::CheckBox4Click; break;
    default:
        return;
    }
    const bool notification = id == IDC_LISTBOX1 || id == IDC_LABEL7;
    if (handler && (notification || code == BN_CLICKED)) form_.Dispatch(handler);
}

LRESULT MainWindow::OnCtlColorStatic(HDC dc, HWND control) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, control == Control(IDC_LABEL7) ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    // Shape1: an outline without fill. The check boxes and Label3 are child
    // windows and so stand over it; Label3's background covers the frame's
    // top edge where it stands, as a title.
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, kShape1.left, kShape1.top, kShape1.right, kShape1.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    EndPaint(window_, &paint);
}

bool MainWindow::OnSetCursor() {
    // The hand is the application's cursor while it is set, wherever the
    // mouse is in the window, as long as the mouse has not left the link.
    if (!handCursor_) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

LRESULT CALLBACK MainWindow::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(GetParent(link), GWLP_USERDATA));
    if (!self) return DefWindowProcA(link, message, wParam, lParam);
    try {
        return self->OnLinkMessage(link, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT MainWindow::OnLinkMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE && !overLink_) {
        overLink_ = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, link, 0};
        TrackMouseEvent(&track);
        form_.Dispatch(&TForm1::Label7MouseEnter);
    } else if (message == WM_MOUSELEAVE) {
        overLink_ = false;
        form_.Dispatch(&TForm1::Label7MouseLeave);
    }
    return CallWindowProcA(linkBaseProc_, link, message, wParam, lParam);
}

HWND MainWindow::ListControl(ListBoxId list) const {
    return Control(list == ListBoxId::ListBox1 ? IDC_LISTBOX1 : IDC_LISTBOX2);
}

std::vector<std::string> MainWindow::Items(ListBoxId list) const {
    HWND box = ListControl(list);
    const auto count = SendMessageA(box, LB_GETCOUNT, 0, 0);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageA(box, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        const auto copied =
            SendMessageA(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        items.push_back(std::move(text));
    }
    return items;
}

void MainWindow::SetItems(ListBoxId list, const std::vector<std::string>& items) {
    HWND box = ListControl(list);
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    for (const auto& item : items) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

int MainWindow::ItemIndex(ListBoxId list) const {
    const auto index = SendMessageA(ListControl(list), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

bool MainWindow::Checked(CheckBoxId box) const {
    return SendMessageA(Control(CheckBoxControl(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(CheckBoxId box, bool checked) {
    // Setting the state sends no click: the form logic runs the handler.
    SendMessageA(Control(CheckBoxControl(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::MemoText() const { return WindowText(Control(IDC_MEMO1)); }

void MainWindow::SetMemoText(const std::string& text) {
    SetWindowTextA(Control(IDC_MEMO1), text.c_str());
}

void MainWindow::ShowMessage(const std::string& caption, const std::string& text) {
    MessageBoxA(window_, text.c_str(), caption.c_str(), MB_OK);
}

bool MainWindow::Confirm(const std::string& caption, const std::string& text) {
    return MessageBoxA(window_, text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

std::optional<std::string> MainWindow::InputBox(const std::string& caption, const std::string& prompt) {
    return InputPrompt::Show(window_, caption, prompt);
}

void MainWindow::ShowError(const std::string& title, const std::string& text) {
    MessageBoxA(window_, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void MainWindow::SetHandCursor(bool hand) {
    handCursor_ = hand;
    SetCursor(LoadCursor(nullptr, hand ? IDC_HAND : IDC_ARROW));
}

void MainWindow::StartHidden(const std::string& commandLine) {
    WinExec(commandLine.c_str(), SW_HIDE);
}

void MainWindow::Terminate() { PostQuitMessage(0); }

}  // namespace brellin
