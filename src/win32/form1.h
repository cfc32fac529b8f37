#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_controller.h"
#include "app/window_events.h"
#include "layout/clock_layout.h"
#include "win32/accessible_controls.h"
#include "win32/bios_info_frame.h"
#include "win32/clock_column.h"
#include "win32/dpi_scale.h"
#include "win32/link_bracket.h"

namespace clockvane::win32 {

class Win32Platform;

// The main window. It holds no logic of its own: it shows the controller's state whenever the
// platform says it changed, and hands every user action to the controller's handler of the
// same name.
class Form1 {
public:
    Form1(app::MainController& controller, Win32Platform& platform);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    // Creates the window, runs Form_Load and shows it.
    bool load(int showCommand);
    // Shows the controller's state on every control. Changes made here reach no handler.
    void render();
    // Opens a file named on the command line once the window is up, through the same open
    // sequence as the menu and a drop.
    void openFile(const std::string& path);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void buildMenus();
    void buildControls();
    void buildToolTips();
    void layout();
    void onCommand(int id, int code, HWND control);
    void onScroll(HWND control, int code);
    void onDrop(HDROP drop);
    LRESULT colourLabel(HDC dc, HWND label);
    // What the pointer resting on a control shows (form1_render.cpp).
    std::wstring toolTipOf(HWND control) const;
    // Shows the state on the controls (render() runs it with the events held back).
    void showState();
    void forward(const std::function<void()>& handler) { events_.forward(handler); }

    app::MainController& controller_;
    Win32Platform& platform_;
    app::WindowEvents events_;
    HWND window_ = nullptr;
    DpiScale scale_;

    HMENU menuBar_ = nullptr;
    HMENU fileMenu_ = nullptr;
    HMENU languageMenu_ = nullptr;
    HMENU troubleMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;

    std::vector<std::unique_ptr<ClockColumn>> columns_;
    std::array<HWND, kSliderCount> sliders_{};
    std::array<HWND, kSliderCount> clockLabels_{};
    std::array<VcoreBox*, kVcoreBoxCount> boxes_{};
    std::unique_ptr<LinkBracket> bracket_;
    std::unique_ptr<BiosInfoFrame> frame_;
    std::array<HWND, 4> pictures_{};  // by app::CardPicture
    HWND statusBar_ = nullptr;
    HWND progress_ = nullptr;
    HWND progressText_ = nullptr;
    HWND toolTips_ = nullptr;
    AccessibleControls accessible_;

    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT fixedFont_ = nullptr;
    // One brush per background colour in use, kept while the window lives.
    std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace clockvane::win32
