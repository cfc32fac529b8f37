#pragma once

#include <string>
#include <string_view>

namespace clockvane::texts {

// The texts break lines with single carriage returns, the way the classic message boxes wanted
// them. Each front-end's controls want their own break: Qt's a line feed, Win32's edit and
// static controls a carriage return and a line feed.
enum class LineBreak { LineFeed, CarriageReturnLineFeed };

// `text` with every line break - CR, CR LF or a lone LF - written as `lineBreak`.
std::string withLineBreaks(std::string_view text, LineBreak lineBreak);

}  // namespace clockvane::texts
