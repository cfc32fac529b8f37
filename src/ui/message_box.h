#pragma once

#include <memory>
#include <string>

#include <QMessageBox>

#include "app/platform.h"

namespace clockvane::ui {

// The modal message box the editor shows for a notice, a warning or its one Yes/No question,
// built but not yet shown.
std::unique_ptr<QMessageBox> buildMessageBox(const std::string& text, const std::string& title,
                                             app::MessageIcon icon, app::MessageButtons buttons,
                                             QWidget* parent);

// What the editor learns from a closed box: Yes only when Yes was pressed; a Yes/No box closed
// any other way counts as No.
app::MessageAnswer answerOf(int execResult, app::MessageButtons buttons);

}  // namespace clockvane::ui
