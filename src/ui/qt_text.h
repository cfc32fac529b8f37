#pragma once

#include <string>

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

#include "app/window_state.h"

namespace clockvane::ui {

// The controller speaks UTF-8 std::string; the widgets speak QString.
QString toQt(const std::string& text);
std::string fromQt(const QString& text);

// The editor's multi-line texts break lines with single carriage returns, the way the
// classic message boxes wanted them. Qt's labels and boxes break on "\n", so convert for
// display only; the texts themselves stay as the controller made them.
QString displayText(const std::string& text);

// The colour a label takes for one of the window's named colours. The three system colours
// come from the desktop's palette (`system`), the others are fixed.
QColor labelColour(app::LabelColour colour, const QPalette& system);

// A file dialog filter as the controller writes it ("Description|*.rom;*.bin", pairs may
// repeat) turned into Qt's name filters ("Description (*.rom *.bin *.ROM *.BIN)"). Image
// files come from DOS and Windows tools, so an upper-case extension is just as good.
QStringList qtNameFilters(const std::string& filter);

}  // namespace clockvane::ui
