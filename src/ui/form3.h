#pragma once

#include <optional>

#include <QDialog>

#include "app/platform.h"

namespace clockvane::ui {

// The memory-size prompt: asks whether the card has 256 MB or 512 MB when the image does not
// say. A new window for every question. It stays open until a button is pressed: Escape, the
// close box and the window manager's close do nothing, so no size is ever picked unasked.
class Form3 : public QDialog {
    Q_OBJECT

public:
    explicit Form3(const app::MemoryPromptTexts& texts, QWidget* parent = nullptr);

    // True for 256 MB, false for 512 MB, nothing when neither button was pressed.
    app::MemoryAnswer answer() const { return answer_; }

    // Escape and the close box end a dialog through reject(): here they do nothing.
    void reject() override {}

private:
    void choose(app::MemoryAnswer answer);

    app::MemoryAnswer answer_ = app::MemoryAnswer::Closed;
};

}  // namespace clockvane::ui
