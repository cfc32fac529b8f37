#pragma once

#include <windows.h>

#include <oleacc.h>

#include <map>
#include <string>

namespace clockvane::win32 {

// What a screen reader hears of the clock sliders and the VCore boxes. A trackbar's own value
// is its position, and the bar holds the negated clock, so a reader would say "-775"; through
// the system's accessible-property service each slider says "3D High Power GPU clock" and
// "775 MHz" instead, with the warning of its band as the description, and each VCore box says
// which power state it sets. Where the service is missing the window works on without it: the
// sliders' window texts still carry their names.
class AccessibleControls {
public:
    AccessibleControls();
    AccessibleControls(const AccessibleControls&) = delete;
    AccessibleControls& operator=(const AccessibleControls&) = delete;
    ~AccessibleControls() { close(); }

    // Clears every property set and lets the service go; later calls do nothing. The window
    // closes it while its controls and COM are still there.
    void close();

    // Sets the control's name, value and description; an empty text clears that property, so
    // the control's own applies again. Only a text that changed reaches the service.
    void describe(HWND control, const std::wstring& name, const std::wstring& value = {},
                  const std::wstring& description = {});

private:
    struct Spoken {
        std::wstring name, value, description;
    };
    void setProperty(HWND control, const MSAAPROPID& property, const std::wstring& text);

    IAccPropServices* services_ = nullptr;
    std::map<HWND, Spoken> spoken_;
};

}  // namespace clockvane::win32
