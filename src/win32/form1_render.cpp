#include <windows.h>

#include <commctrl.h>

#include "text/texts.h"
#include "win32/clock_slider.h"
#include "win32/control_ids.h"
#include "win32/form1.h"
#include "win32/win32_text.h"

namespace clockvane::win32 {

namespace {

void renderMenuItem(HMENU menu, UINT item, bool byPosition, const app::MenuItemState& state,
                    const wchar_t* keyName = nullptr)
{
    std::wstring caption = wide(state.caption);
    // The menus show the keys that choose an item (a menu bar item has no room for one).
    if (keyName) caption += std::wstring(L"\t") + keyName;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = caption.data();
    info.fState = (state.enabled ? MFS_ENABLED : MFS_DISABLED) |
                  (state.checked ? MFS_CHECKED : MFS_UNCHECKED);
    ::SetMenuItemInfoW(menu, item, byPosition, &info);
}

void setText(HWND control, const std::wstring& text)
{
    // Only a real change is written: it saves a repaint and keeps a flicker away.
    if (windowText(control) != text) ::SetWindowTextW(control, text.c_str());
}

void setVisible(HWND control, bool visible)
{
    // The style bit, not IsWindowVisible: before the window is first shown every control
    // counts as invisible.
    const bool shown = (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void setEnabled(HWND control, bool enabled)
{
    if ((::IsWindowEnabled(control) != FALSE) != enabled) ::EnableWindow(control, enabled);
}

}  // namespace

void Form1::render() { events_.render(); }

void Form1::showState()
{
    const app::MainWindowState& state = controller_.state();

    setText(window_, wide(state.windowTitle));

    renderMenuItem(menuBar_, 0, true, state.mnuFile);
    renderMenuItem(menuBar_, 1, true, state.setLang);
    renderMenuItem(menuBar_, 2, true, state.mnuTrouble);
    renderMenuItem(menuBar_, kAboutCommand, false, state.about);
    renderMenuItem(fileMenu_, kRomOpenCommand, false, state.romOpen, L"Ctrl+O");
    renderMenuItem(fileMenu_, kRomSaveCommand, false, state.romSave, L"Ctrl+S");
    renderMenuItem(fileMenu_, kRomRevertCommand, false, state.romRevert);
    renderMenuItem(fileMenu_, kRomCompareCommand, false, state.romCompare);
    renderMenuItem(fileMenu_, kExitCommand, false, state.exitProgram, L"Ctrl+Q");
    renderMenuItem(languageMenu_, kGermanCommand, false, state.setLangDeutsch);
    renderMenuItem(languageMenu_, kEnglishCommand, false, state.setLangEnglish);
    renderMenuItem(troubleMenu_, kUvdCommand, false, state.chkUvd);
    ::DrawMenuBar(window_);

    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        const app::SliderState& slider = state.sliders[i];
        setSliderRange(sliders_[i], slider.lower, slider.upper);
        setSliderMhz(sliders_[i], slider.value);
        setEnabled(sliders_[i], slider.enabled);
        setText(sliders_[i], wide(slider.accessibleName));
        // Spoken as the label reads: a linked UVD slider says the 3D High Power clock.
        const app::SpokenSlider spoken = app::spokenSlider(state, i);
        accessible_.describe(sliders_[i], wide(slider.accessibleName),
                             wide(texts::mhzText(spoken.mhz)), wide(spoken.warning));
        const std::wstring caption = wide(state.clockLabels[i].caption);
        if (windowText(clockLabels_[i]) != caption)
            ::SetWindowTextW(clockLabels_[i], caption.c_str());
        // The colours are handed out on WM_CTLCOLORSTATIC: repaint to pick them up.
        ::InvalidateRect(clockLabels_[i], nullptr, TRUE);
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const app::VcoreBoxState& box = state.vcoreBoxes[i];
        boxes_[i]->setItems(box.items);
        boxes_[i]->setText(box.text);
        setEnabled(boxes_[i]->handle(), box.enabled);
        accessible_.describe(boxes_[i]->handle(), wide(box.accessibleName));
    }

    bracket_->setLabelText(wide(state.linkedCaption).c_str());
    bracket_->setLinesVisible(state.linkLinesVisible);
    bracket_->setLabelVisible(state.linkedLabelVisible);

    setText(frame_->frame(), wide(state.frameCaption));
    const app::BiosInfoState& info = state.info;
    setText(frame_->versionCaption(), wide(info.versionCaption));
    setText(frame_->dateCaption(), wide(info.dateCaption));
    setText(frame_->cardCaption(), wide(info.cardCaption));
    setText(frame_->version(), wide(info.version));
    setText(frame_->date(), wide(info.date));
    setText(frame_->card(), wide(info.card));
    setText(frame_->openHint(), wide(info.openHint));
    setText(frame_->dropHint(), wide(info.dropHint));
    // The version's colour is handed out on WM_CTLCOLORSTATIC: repaint to pick it up.
    ::InvalidateRect(frame_->version(), nullptr, TRUE);
    setVisible(frame_->openHint(), info.hintsVisible);
    setVisible(frame_->dropHint(), info.hintsVisible);

    for (std::size_t i = 0; i < pictures_.size(); ++i)
        setVisible(pictures_[i], static_cast<std::size_t>(state.picture) == i);

    for (std::size_t i = 0; i < state.statusPanels.size(); ++i) {
        const std::wstring text = wide(state.statusPanels[i]);
        ::SendMessageW(statusBar_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
    ::SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(state.progressValue), 0);
    // While an operation runs the bar says how far it has come.
    setText(progressText_,
            state.progressDisplay ? std::to_wstring(state.progressValue) + L" %" : L"");
}

std::wstring Form1::toolTipOf(HWND control) const
{
    const app::MainWindowState& state = controller_.state();
    for (std::size_t i = 0; i < clockLabels_.size(); ++i) {
        // A warning colour says what it means.
        if (control == clockLabels_[i]) return wide(state.clockLabels[i].toolTip);
    }
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (control == boxes_[i]->handle()) return wide(state.vcoreBoxes[i].toolTip);
    }
    // The frame and its labels tell what the BIOS's own tables say about the clock table.
    return wide(state.frameToolTip);
}

}  // namespace clockvane::win32
