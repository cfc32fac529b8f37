#include "win32/accessible_controls.h"

#include <objbase.h>

namespace clockvane::win32 {

// What Wine (Debian 12) showed: the service is created, but SetHwndPropStr and ClearHwndProps
// answer E_NOTIMPL, and a trackbar has no accessible object there (AccessibleObjectFromWindow
// fails), so nothing can be read back under Wine; the window simply goes on. That a reader on
// Windows hears these texts rests on the documented API alone: oleacc answers get_accName,
// get_accValue and get_accDescription of the control's OBJID_CLIENT object from them.
AccessibleControls::AccessibleControls()
{
    // COM is up on this thread (main starts it). Failure leaves the service out, quietly.
    void* services = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IAccPropServices, &services)))
        services_ = static_cast<IAccPropServices*>(services);
}

void AccessibleControls::close()
{
    if (!services_) return;
    // Annotations outlive their window unless cleared.
    MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_VALUE, PROPID_ACC_DESCRIPTION};
    for (const auto& [control, spoken] : spoken_)
        services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, properties, 3);
    spoken_.clear();
    services_->Release();
    services_ = nullptr;
}

void AccessibleControls::describe(HWND control, const std::wstring& name, const std::wstring& value,
                                  const std::wstring& description)
{
    if (!services_) return;
    const auto [known, added] = spoken_.try_emplace(control);
    Spoken& spoken = known->second;
    const auto update = [&](std::wstring& said, const MSAAPROPID& property,
                            const std::wstring& text) {
        if (!added && said == text) return;
        said = text;
        setProperty(control, property, text);
    };
    update(spoken.name, PROPID_ACC_NAME, name);
    update(spoken.value, PROPID_ACC_VALUE, value);
    update(spoken.description, PROPID_ACC_DESCRIPTION, description);
}

void AccessibleControls::setProperty(HWND control, const MSAAPROPID& property,
                                     const std::wstring& text)
{
    if (text.empty()) {
        MSAAPROPID cleared = property;
        services_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &cleared, 1);
    } else {
        services_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, property, text.c_str());
    }
}

}  // namespace clockvane::win32
