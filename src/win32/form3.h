#pragma once

#include "app/platform.h"
#include "win32/modal_dialog.h"

namespace clockvane::win32 {

// The memory-size prompt: a question and two buttons. It stays open until one of them is
// pressed: Escape and the close box do nothing, since neither size is a safe guess, and
// neither button is the default that Enter would press.
class Form3 : public ModalDialog {
public:
    explicit Form3(const app::MemoryPromptTexts& texts) : texts_(texts) {}
    app::MemoryAnswer answer() const { return answer_; }

protected:
    void create(HWND dialog) override;
    void command(HWND dialog, int id, int code) override;

private:
    const app::MemoryPromptTexts& texts_;
    app::MemoryAnswer answer_ = app::MemoryAnswer::Closed;
    HFONT font_ = nullptr;
};

}  // namespace clockvane::win32
