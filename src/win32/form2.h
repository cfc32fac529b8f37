#pragma once

#include <functional>

#include "app/platform.h"
#include "win32/modal_dialog.h"

namespace clockvane::win32 {

// The About window: the picture (Picture1), which calls `pictureClicked` when clicked, the
// risk notice, the usage steps and the version line. Escape and the close box close it.
class Form2 : public ModalDialog {
public:
    Form2(const app::AboutTexts& texts, std::function<void()> pictureClicked)
        : texts_(texts), pictureClicked_(std::move(pictureClicked))
    {}

protected:
    void create(HWND dialog) override;
    void command(HWND dialog, int id, int code) override;

private:
    const app::AboutTexts& texts_;
    std::function<void()> pictureClicked_;
    HFONT font_ = nullptr;
    HFONT bold_ = nullptr;
};

}  // namespace clockvane::win32
