#include "win32/link_bracket.h"

#include "win32/control_ids.h"
#include "win32/dpi_scale.h"
#include "win32/static_label.h"

namespace clockvane::win32 {

LinkBracket::LinkBracket(HWND parent)
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        // A black rectangle in the window-frame colour: the line.
        lines_[i] = ::CreateWindowExW(
            0, L"STATIC", L"", WS_CHILD | SS_BLACKRECT, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkLineId + static_cast<int>(i))),
            nullptr, nullptr);
    }
    // Created after the lines, so it is drawn over the joining line.
    label_ = createLabel(parent, kLinkedLabelId);
    ::ShowWindow(label_, SW_HIDE);
}

void LinkBracket::place(const DpiScale& scale, int left, int right, int headingTop) const
{
    constexpr int kTop = 16;
    constexpr int kLineWidth = 2;
    const int rise = headingTop - kTop;
    win32::place(lines_[0], scale, left - kLineWidth / 2, kTop, kLineWidth, rise);
    win32::place(lines_[1], scale, left - kLineWidth / 2, kTop, right - left + kLineWidth,
                 kLineWidth);
    win32::place(lines_[2], scale, right - kLineWidth / 2, kTop, kLineWidth, rise);
    constexpr int kLabelWidth = 70;
    win32::place(label_, scale, (left + right - kLabelWidth) / 2, kTop - 8, kLabelWidth, 16);
}

void LinkBracket::setLinesVisible(bool visible) const
{
    for (HWND line : lines_) ::ShowWindow(line, visible ? SW_SHOWNA : SW_HIDE);
}

void LinkBracket::setLabelVisible(bool visible) const
{
    ::ShowWindow(label_, visible ? SW_SHOWNA : SW_HIDE);
}

void LinkBracket::setLabelText(const wchar_t* text) const { ::SetWindowTextW(label_, text); }

}  // namespace clockvane::win32
