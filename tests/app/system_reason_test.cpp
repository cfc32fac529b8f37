// The system's reasons for a failed read or write, worded in the window's language.
#include <cerrno>

#include <gtest/gtest.h>

#include "app/error_reasons.h"
#include "text/texts.h"

namespace clockvane::app::testing {
namespace {

struct ReasonCase {
    int systemError;
    const char* german;
    const char* english;
};

TEST(SystemReason, CommonFailuresAreWordedInBothLanguages)
{
    const ReasonCase cases[] = {
        {ENOENT, "Datei oder Verzeichnis nicht gefunden", "No such file or directory"},
        {EACCES, "Keine Berechtigung", "Permission denied"},
        {EPERM, "Keine Berechtigung", "Permission denied"},
        {EISDIR, "Ist ein Verzeichnis", "Is a directory"},
        {ENOSPC, "Kein freier Speicherplatz auf dem Gerät", "No space left on device"},
        {EROFS, "Dateisystem ist nur lesbar", "Read-only file system"},
        {EFBIG, "Datei zu groß", "File too large"},
        {ENAMETOOLONG, "Dateiname zu lang", "File name too long"},
        // Anything else keeps the system's own words.
        {EIO, "system text", "system text"},
    };
    for (const ReasonCase& c : cases) {
        SCOPED_TRACE(c.english);
        const WriteError write{WriteErrorKind::Failed, "system text", c.systemError};
        const FileError read{FileErrorKind::ReadFailed, "system text", c.systemError};
        EXPECT_EQ(writeErrorReason(write, UiLanguage::German), c.german);
        EXPECT_EQ(writeErrorReason(write, UiLanguage::English), c.english);
        EXPECT_EQ(fileErrorReason(read, UiLanguage::German), c.german);
        EXPECT_EQ(fileErrorReason(read, UiLanguage::English), c.english);
    }
}

TEST(SystemReason, ANonRegularFileHasNoErrnoButAWording)
{
    const FileError device{FileErrorKind::NotAFile, "Not a regular file", 0};
    EXPECT_EQ(fileErrorReason(device, UiLanguage::German), "Keine reguläre Datei");
    EXPECT_EQ(fileErrorReason(device, UiLanguage::English), "Not a regular file");
}

}  // namespace
}  // namespace clockvane::app::testing
