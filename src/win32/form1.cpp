#include "win32/form1.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "win32/clock_slider.h"
#include "win32/control_ids.h"
#include "win32/resource_ids.h"
#include "win32/static_label.h"
#include "win32/win32_platform.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

// Posted to the window with an action to run on the message loop's next turn (a heap
// std::function the handler takes over).
constexpr UINT kNextTurn = WM_APP + 1;

// The client area, in 96-dpi pixels: five columns of clocks, then the pictures, the frame and
// the progress bar; the status bar comes on top of it.
constexpr int kMargin = 12;
constexpr int kInfoLeft = kMargin + static_cast<int>(kPowerStateCount) * ClockColumn::kWidth + 20;
constexpr int kClientWidth = kInfoLeft + BiosInfoFrame::kWidth + kMargin;
constexpr int kClientHeight = 396;
constexpr int kPictureWidth = 240;
constexpr int kPictureHeight = 120;

HMENU popup(HMENU bar)
{
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), L"");
    return menu;
}

}  // namespace

Form1::Form1(app::MainController& controller, Win32Platform& platform)
    : controller_(controller), platform_(platform),
      events_(
          controller, [this] { showState(); },
          [this](std::function<void()> action) {
              auto pending = std::make_unique<std::function<void()>>(std::move(action));
              if (::PostMessageW(window_, kNextTurn, 0, reinterpret_cast<LPARAM>(pending.get())))
                  pending.release();
          })
{}

Form1::~Form1()
{
    if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
    for (HFONT font : {font_, boldFont_, fixedFont_})
        if (font) ::DeleteObject(font);
    for (const auto& [colour, brush] : brushes_) ::DeleteObject(brush);
}

bool Form1::load(int showCommand)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1Class;
    if (!::RegisterClassExW(&windowClass)) return false;

    // A fixed size, like the controls it holds: no maximise box, no resizing border. No
    // WS_CLIPCHILDREN: the group box is transparent, and the window paints behind it.
    window_ =
        ::CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, kForm1Class, L"",
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (!window_) return false;
    scale_ = dpiScaleOf(window_);
    buildMenus();
    buildControls();
    buildToolTips();
    layout();

    platform_.setMainWindow(window_);
    platform_.setAccelerators(accelerators_);
    platform_.setEvents({
        [this] { render(); },
        // The About window is modal, so the main window is not rendering when it is clicked.
        [this] { forward([this] { controller_.Picture1_Click(); }); },
    });
    // Files dropped anywhere on the window - the frame and its labels included - are opened.
    ::DragAcceptFiles(window_, TRUE);

    controller_.Form_Load();
    render();
    ::ShowWindow(window_, showCommand);
    ::UpdateWindow(window_);
    return true;
}

void Form1::buildMenus()
{
    menuBar_ = ::CreateMenu();
    fileMenu_ = popup(menuBar_);
    ::AppendMenuW(fileMenu_, MF_STRING, kRomOpenCommand, L"");
    ::AppendMenuW(fileMenu_, MF_STRING, kRomSaveCommand, L"");
    ::AppendMenuW(fileMenu_, MF_STRING, kRomRevertCommand, L"");
    ::AppendMenuW(fileMenu_, MF_STRING, kRomCompareCommand, L"");
    ::AppendMenuW(fileMenu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(fileMenu_, MF_STRING, kExitCommand, L"");
    languageMenu_ = popup(menuBar_);
    ::AppendMenuW(languageMenu_, MF_STRING, kGermanCommand, L"");
    ::AppendMenuW(languageMenu_, MF_STRING, kEnglishCommand, L"");
    troubleMenu_ = popup(menuBar_);
    ::AppendMenuW(troubleMenu_, MF_STRING, kUvdCommand, L"");
    // "&?" is a command on the menu bar itself.
    ::AppendMenuW(menuBar_, MF_STRING, kAboutCommand, L"");
    ::SetMenu(window_, menuBar_);

    // The desktop's usual keys, beside the menus' Alt access keys. A key of a disabled menu
    // item does nothing, as the item does.
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'O', kRomOpenCommand},
        {FVIRTKEY | FCONTROL, 'S', kRomSaveCommand},
        {FVIRTKEY | FCONTROL, 'Q', kExitCommand},
        {FVIRTKEY, VK_F1, kAboutCommand},
    };
    accelerators_ = ::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

void Form1::buildControls()
{
    for (std::size_t i = 0; i < kPowerStates.size(); ++i) {
        const PowerState& state = kPowerStates[i];
        auto column = std::make_unique<ClockColumn>(window_, i);
        sliders_[state.gpuSlider] = column->gpuSlider();
        sliders_[state.ramSlider] = column->ramSlider();
        clockLabels_[state.gpuSlider] = column->gpuLabel();
        clockLabels_[state.ramSlider] = column->ramLabel();
        boxes_[state.vcoreBox] = &column->vcoreBox();
        columns_.push_back(std::move(column));
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setEvents({
            [this, i](int keyAscii) { return events_.vcoreKeyAdmitted(i, keyAscii); },
            [this, i](const std::string& text) {
                forward([this, i, &text] { controller_.setVcoreText(i, text); });
            },
            [this, i] { forward([this, i] { controller_.CmbVCore_LostFocus(i); }); },
            [this, i](bool up) { forward([this, i, up] { controller_.CmbVCore_Step(i, up); }); },
        });
    }
    bracket_ = std::make_unique<LinkBracket>(window_);
    frame_ = std::make_unique<BiosInfoFrame>(window_);

    // The four pictures share one place; the state shows exactly one of them.
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i] =
            createLabel(window_, kPictureId + static_cast<int>(i), SS_BITMAP | SS_CENTERIMAGE);
        const auto bitmap = static_cast<HBITMAP>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPictureResource + static_cast<int>(i)),
            IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        if (bitmap)
            ::SendMessageW(pictures_[i], STM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(bitmap));
    }

    progress_ = ::CreateWindowExW(
        0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProgressBarId)), nullptr, nullptr);
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, 100);
    progressText_ = createLabel(window_, kProgressTextId, SS_RIGHT);
    statusBar_ = ::CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)), nullptr, nullptr);
}

void Form1::buildToolTips()
{
    toolTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  window_, nullptr, nullptr, nullptr);
    ::SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, 400);
    auto add = [this](HWND control) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = LPSTR_TEXTCALLBACKW;  // asked for when shown: the state's current text
        ::SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    };
    for (HWND label : clockLabels_) add(label);
    for (VcoreBox* box : boxes_) add(box->handle());
    add(frame_->frame());
    for (HWND label : frame_->labels()) add(label);
}

void Form1::layout()
{
    for (HFONT font : {font_, boldFont_, fixedFont_})
        if (font) ::DeleteObject(font);
    font_ = createMessageFont(scale_);
    boldFont_ = createMessageFont(scale_, true);
    LOGFONTW fixed{};
    ::GetObjectW(font_, sizeof(fixed), &fixed);
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy_s(fixed.lfFaceName, L"Courier New");
    fixedFont_ = ::CreateFontIndirectW(&fixed);

    for (std::size_t i = 0; i < columns_.size(); ++i) {
        columns_[i]->setFonts(font_, boldFont_);
        columns_[i]->place(scale_, kMargin + static_cast<int>(i) * ClockColumn::kWidth);
    }
    const int half = ClockColumn::kWidth / 2;
    bracket_->place(scale_, kMargin + k3DHigh * ClockColumn::kWidth + half,
                    kMargin + kUvd * ClockColumn::kWidth + half, ClockColumn::kHeadingTop);
    ::SendMessageW(bracket_->label(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    for (HWND picture : pictures_)
        place(picture, scale_, kInfoLeft + (BiosInfoFrame::kWidth - kPictureWidth) / 2, 8,
              kPictureWidth, kPictureHeight);
    frame_->setFonts(font_, fixedFont_);
    frame_->place(scale_, kInfoLeft, 140);
    place(progress_, scale_, kInfoLeft, 350, BiosInfoFrame::kWidth - 52, 18);
    place(progressText_, scale_, kInfoLeft + BiosInfoFrame::kWidth - 48, 350, 48, 18);
    ::SendMessageW(progressText_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    ::SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    // Panel 1 names the open file (both for an X2 pair); panel 2 has room for the checksum
    // line, both sums for a pair.
    const int parts[3] = {scale_(170), scale_(170 + 330), -1};
    ::SendMessageW(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

    RECT status{};
    ::GetWindowRect(statusBar_, &status);
    RECT frame{0, 0, scale_(kClientWidth), scale_(kClientHeight) + (status.bottom - status.top)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)), TRUE,
                         static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE)));
    ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    ::InvalidateRect(window_, nullptr, TRUE);
}

void Form1::openFile(const std::string& path) { events_.openCommandLineFile(path); }

LRESULT CALLBACK Form1::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<Form1*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<Form1*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        if (lParam) onScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (platform_.takeTimer1(wParam)) forward([this] { controller_.Timer1_Timer(); });
        return 0;
    case WM_DROPFILES: onDrop(reinterpret_cast<HDROP>(wParam)); return 0;
    case kNextTurn: {
        const std::unique_ptr<std::function<void()>> action(
            reinterpret_cast<std::function<void()>*>(lParam));
        (*action)();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return colourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == toolTips_ && header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            static std::wstring shown;  // lives until the tip has copied it
            shown = toolTipOf(reinterpret_cast<HWND>(header->idFrom));
            info->lpszText = shown.data();
            return 0;
        }
        break;
    }
    case WM_ACTIVATE:
        // Back in the window, the keyboard goes to the control that had it, or the first one.
        if (LOWORD(wParam) != WA_INACTIVE && (::GetFocus() == window_ || !::GetFocus())) {
            if (const HWND first = ::GetNextDlgTabItem(window_, nullptr, FALSE)) ::SetFocus(first);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        scale_ = {static_cast<int>(HIWORD(wParam))};
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    case WM_CLOSE:
        // The close box asks about unsaved changes as the Exit menu does; No keeps the window.
        if (!controller_.Form_QueryUnload()) {
            render();
            return 0;
        }
        controller_.Form_Unload();
        ::DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        // The controls still exist here, so their spoken texts can be taken back.
        accessible_.close();
        ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

void Form1::onCommand(int id, int code, HWND control)
{
    if (control) {
        const int box = id - kVcoreBoxId;
        if (box >= 0 && box < static_cast<int>(boxes_.size())) boxes_[box]->onNotification(code);
        return;
    }
    switch (id) {
    case kRomOpenCommand: forward([this] { controller_.ROMOpen_Click(); }); break;
    case kRomSaveCommand: forward([this] { controller_.ROMSave_Click(); }); break;
    case kRomRevertCommand: forward([this] { controller_.ROMRevert_Click(); }); break;
    case kRomCompareCommand: forward([this] { controller_.ROMCompare_Click(); }); break;
    case kExitCommand: forward([this] { controller_.EXITProgramm_Click(); }); break;
    case kGermanCommand: forward([this] { controller_.SetLangDeutsch_Click(); }); break;
    case kEnglishCommand: forward([this] { controller_.SetLangEnglish_Click(); }); break;
    case kUvdCommand: forward([this] { controller_.Chk_UVD_Click(); }); break;
    case kAboutCommand: forward([this] { controller_.About_Click(); }); break;
    default: break;
    }
}

void Form1::onScroll(HWND control, int code)
{
    const int index = ::GetDlgCtrlID(control) - kSliderId;
    if (index < 0 || index >= static_cast<int>(sliders_.size())) return;
    const SliderMove move = sliderMoveOf(code);
    if (move == SliderMove::Ended) return;
    events_.sliderMoved(static_cast<std::size_t>(index), sliderMhz(control),
                        move == SliderMove::Dragging);
}

void Form1::onDrop(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(utf8(path));
    }
    ::DragFinish(drop);
    if (!paths.empty()) events_.filesDropped(paths);
}

LRESULT Form1::colourLabel(HDC dc, HWND label)
{
    const app::MainWindowState& state = controller_.state();
    auto brush = [this](COLORREF colour) {
        auto found = brushes_.find(colour);
        if (found == brushes_.end())
            found = brushes_.emplace(colour, ::CreateSolidBrush(colour)).first;
        return reinterpret_cast<LRESULT>(found->second);
    };
    const int id = ::GetDlgCtrlID(label);
    const int clock = id - kClockLabelId;
    if (clock >= 0 && clock < static_cast<int>(state.clockLabels.size())) {
        const app::ClockLabelState& shown = state.clockLabels[static_cast<std::size_t>(clock)];
        const COLORREF background = colourOf(shown.background);
        ::SetTextColor(dc, colourOf(shown.foreground));
        ::SetBkColor(dc, background);
        return brush(background);
    }
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ::SetBkColor(dc, face);
    ::SetTextColor(dc, id == kInfoValueId ? colourOf(state.info.versionForeground)
                                          : ::GetSysColor(COLOR_BTNTEXT));
    return brush(face);
}

}  // namespace clockvane::win32
