#pragma once

#include <windows.h>

#include <array>

namespace clockvane::win32 {

struct DpiScale;

// The bracket that joins the 3D High Power and UVD headings while the UVD state follows the
// 3D one: three lines (Linklinie) and the "< Linked" label (Label8) breaking the joining line.
class LinkBracket {
public:
    explicit LinkBracket(HWND parent);

    // `left` and `right` are the centres of the two headings, in 96-dpi pixels.
    void place(const DpiScale& scale, int left, int right, int headingTop) const;
    void setLinesVisible(bool visible) const;
    void setLabelVisible(bool visible) const;
    void setLabelText(const wchar_t* text) const;
    HWND label() const { return label_; }

private:
    std::array<HWND, 3> lines_{};
    HWND label_;
};

}  // namespace clockvane::win32
