#include "app/error_reasons.h"

#include "text/texts.h"

namespace clockvane::app {

std::string fileErrorReason(const FileError& error, UiLanguage language)
{
    // A device or a FIFO is refused before the system has anything to say about it.
    if (error.kind == FileErrorKind::NotAFile && error.systemError == 0)
        return texts::kNotARegularFile.in(language);
    return texts::systemReason(error.systemError, error.reason, language);
}

std::string writeErrorReason(const WriteError& error, UiLanguage language)
{
    if (error.kind == WriteErrorKind::UntrustedLink)
        return texts::kUntrustedLinkReason.in(language);
    return texts::systemReason(error.systemError, error.reason, language);
}

}  // namespace clockvane::app
