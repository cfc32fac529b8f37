// clockvane.exe starts here: Windows hands the command line over as UTF-16, the tool works in
// UTF-8 throughout, and what it prints reaches a console as characters and a file or pipe as
// the same bytes the tool writes on Linux.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "files/windows_text_win32.h"

namespace {

// Writes UTF-8 text to a console with WriteConsoleW, so that every character shows whatever
// the console's code page. A character split between two writes waits for its other bytes.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_.push_back(traits_type::to_char_type(c));
        if (c == '\n') sync();
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_.append(text, static_cast<std::size_t>(count));
        if (pending_.find('\n') != std::string::npos) sync();
        return count;
    }

    int sync() override
    {
        // Everything up to the last complete character goes out now.
        std::size_t complete = pending_.size();
        std::size_t back = 0;
        while (back < 4 && back < pending_.size() &&
               (static_cast<unsigned char>(pending_[pending_.size() - 1 - back]) & 0xC0) == 0x80)
            ++back;
        if (back < pending_.size()) {
            const auto lead = static_cast<unsigned char>(pending_[pending_.size() - 1 - back]);
            const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (expected > back + 1) complete = pending_.size() - 1 - back;
        }
        const std::wstring wide =
            clockvane::windows::toWide(std::string_view(pending_).substr(0, complete));
        pending_.erase(0, complete);
        std::size_t done = 0;
        while (done < wide.size()) {
            DWORD written = 0;
            const auto count = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
            if (!::WriteConsoleW(console_, wide.data() + done, count, &written, nullptr) ||
                written == 0)
                return -1;
            done += written;
        }
        return 0;
    }

private:
    HANDLE console_;
    std::string pending_;
};

// Sends `stream` to the console when `handle` is one; otherwise makes the C stream binary,
// so that "\n" stays "\n" in a file or pipe, as on Linux.
void prepare(std::ostream& stream, std::FILE* file, DWORD which, ConsoleBuffer*& buffer)
{
    const HANDLE handle = ::GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode)) {
        buffer = new ConsoleBuffer(handle);  // lives as long as the stream that uses it
        stream.rdbuf(buffer);
        return;
    }
    _setmode(_fileno(file), _O_BINARY);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    ConsoleBuffer* out = nullptr;
    ConsoleBuffer* err = nullptr;
    prepare(std::cout, stdout, STD_OUTPUT_HANDLE, out);
    prepare(std::cerr, stderr, STD_ERROR_HANDLE, err);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(clockvane::windows::toUtf8(argv[i]));
    const int exitCode = clockvane::cli::runTool(arguments);
    std::cerr.flush();
    return exitCode;
}
