#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QFileDialog>

#include "app/platform.h"

namespace clockvane::ui {

enum class FileDialogKind { Open, Save };

// The open or save dialog set up from the controller's request: title, filter, proposed file
// and the option flags (file must exist, ask before overwriting), built but not yet shown.
std::unique_ptr<QFileDialog> buildFileDialog(const app::FileDialogRequest& request,
                                             FileDialogKind kind, QWidget* parent);

// Shows the dialog until the user picks an acceptable file or cancels. A save name in a
// folder that does not exist is refused with a notice and the dialog comes back, as it would
// with the "path must exist" flag on the classic dialog.
std::optional<std::string> runFileDialog(QFileDialog& dialog, unsigned flags);
// Shows an open dialog that lets several existing files be picked: their absolute paths, or
// nothing when cancelled.
std::optional<std::vector<std::string>> runOpenFilesDialog(QFileDialog& dialog);

}  // namespace clockvane::ui
