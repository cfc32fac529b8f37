#pragma once

#include <string>

#include "app/main_controller.h"
#include "app/window_state.h"

namespace clockvane::reliability {

// Every field of the window's state, one per line, so that two states compare as texts and a
// difference shows as the lines that differ.
std::string describeWholeWindow(const app::MainWindowState& state);

// The same without what a refused open sets on purpose: the progress text in status panel 3,
// the progress bar's value and its display flag.
std::string describeWindowBesideProgress(app::MainWindowState state);

// The document behind the window: every byte of the image and its parts, both copies of the
// clock table, its trailers and the card. Empty when no image is loaded.
std::string describeDocument(const app::MainController& controller);

}  // namespace clockvane::reliability
