#include "cli/man_page.h"

#include <array>
#include <cctype>
#include <vector>

#include "cli/help_texts.h"

namespace clockvane::cli {
namespace {

// Plain text as roff input: a backslash is the escape character, a hyphen is printed as a
// minus only when written \- (so that options survive copying), and a line that starts with a
// dot or an apostrophe would be taken for a request.
std::string roffText(std::string_view text)
{
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) {
        out += "\\&";
    }
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

std::size_t indentOf(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? line.size() : first;
}

std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// The help texts' layout, as a reader sees it: unindented paragraphs, headings that end with a
// colon, two-column entries ("  --json   one JSON object...") whose description continues at
// its column, wider-indented lines under an entry kept as they are laid out, and indented lines
// of their own (examples) kept as they are.
class HelpRenderer {
public:
    // Headings become what the caller makes of them: sections at the top, bold lines within a
    // command.
    explicit HelpRenderer(std::string (*heading)(std::string_view)) : heading_(heading) {}

    std::string render(std::string_view help)
    {
        for (const std::string_view line : linesOf(help)) {
            renderLine(line);
        }
        endVerbatim();
        return std::move(out_);
    }

private:
    enum class Block { None, Text, Entry, Verbatim };

    void renderLine(std::string_view line)
    {
        const std::size_t indent = indentOf(line);
        if (indent == line.size()) {
            endVerbatim();
            block_ = Block::None;
            return;
        }
        if (indent == 0) {
            endVerbatim();
            if (line.back() == ':') {
                out_ += heading_(line.substr(0, line.size() - 1));
                block_ = Block::None;
                return;
            }
            startBlock(Block::Text, ".PP\n");
            out_ += roffText(line) + "\n";
            return;
        }
        const std::size_t gap = line.find("  ", indent);
        if (indent == 2 && gap != std::string_view::npos) {
            endVerbatim();
            const std::size_t description = line.find_first_not_of(' ', gap);
            out_ += ".TP\n\\fB" + roffText(line.substr(indent, gap - indent)) + "\\fR\n" +
                    roffText(line.substr(description)) + "\n";
            block_ = Block::Entry;
            entryColumn_ = description;
            return;
        }
        if (block_ == Block::Entry && indent == entryColumn_) {
            out_ += roffText(line.substr(indent)) + "\n";
            return;
        }
        // Laid out by hand: kept line by line, indented as far past its entry's column (or past
        // the margin) as the help text has it.
        const std::size_t margin = block_ == Block::Entry || inEntryVerbatim_ ? entryColumn_ : 0;
        if (block_ != Block::Verbatim) {
            inEntryVerbatim_ = block_ == Block::Entry;
            out_ += inEntryVerbatim_ ? ".nf\n" : ".PP\n.nf\n";
            block_ = Block::Verbatim;
        }
        out_ += roffText(line.substr(indent < margin ? indent : margin)) + "\n";
    }

    void startBlock(Block block, std::string_view request)
    {
        if (block_ != block) {
            out_ += request;
        }
        block_ = block;
    }

    void endVerbatim()
    {
        if (block_ == Block::Verbatim) {
            out_ += ".fi\n";
            // Text after a kept layout under an entry continues that entry.
            block_ = inEntryVerbatim_ ? Block::Entry : Block::None;
            inEntryVerbatim_ = false;
        }
    }

    std::string (*heading_)(std::string_view);
    std::string out_;
    Block block_ = Block::None;
    std::size_t entryColumn_ = 0;
    bool inEntryVerbatim_ = false;
};

std::string sectionHeading(std::string_view title)
{
    std::string upper(title == "Exit codes" ? "Exit status" : title);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return ".SH \"" + upper + "\"\n";
}

std::string boldHeading(std::string_view title)
{
    return ".PP\n\\fB" + roffText(title) + ":\\fR\n";
}

constexpr std::string_view kUsagePrefix = "Usage: ";

// Splits "Usage: clockvane set FILE..." off a help text.
std::string_view usageOf(std::string_view& help)
{
    const std::size_t end = help.find('\n');
    const std::string_view usage = help.substr(kUsagePrefix.size(), end - kUsagePrefix.size());
    help.remove_prefix(end + 1);
    return usage;
}

std::string synopsisLine(std::string_view usage)
{
    const std::size_t space = usage.find(' ', usage.find(' ') + 1);
    return "\\fB" + roffText(usage.substr(0, space)) + "\\fR" + roffText(usage.substr(space)) +
           "\n";
}

}  // namespace

std::string manPage(const ManPageFrame& frame)
{
    struct Command {
        std::string_view name;
        std::string_view help;
    };
    const std::array commands{Command{"info", kInfoHelp}, Command{"set", kSetHelp},
                              Command{"diff", kDiffHelp}};

    std::string page = ".TH CLOCKVANE 1 \"" + std::string(frame.date) + "\" \"clockvane " +
                       std::string(frame.version) + "\" \"User Commands\"\n";
    page += ".SH NAME\nclockvane \\- " + roffText(frame.summary) + "\n.SH SYNOPSIS\n.nf\n";
    std::string_view tool = kToolHelp;
    usageOf(tool);
    std::vector<std::string_view> bodies;
    for (const Command& command : commands) {
        std::string_view body = command.help;
        page += synopsisLine(usageOf(body));
        bodies.push_back(body);
    }
    page += "\\fBclockvane\\fR \\-\\-help | \\fBclockvane\\fR \\fICOMMAND\\fR \\-\\-help | "
            "\\fBclockvane\\fR \\-\\-version\n.fi\n.SH DESCRIPTION\n";

    // The tool's own help gives DESCRIPTION, COMMANDS, OPTIONS and EXIT STATUS; each command's
    // help follows its entry, as a subsection of COMMANDS.
    const std::size_t options = tool.find("\nOptions:");
    page += HelpRenderer(sectionHeading).render(tool.substr(0, options));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        page += ".SS \"clockvane " + std::string(commands[i].name) + "\"\n";
        page += HelpRenderer(boldHeading).render(bodies[i]);
    }
    page += HelpRenderer(sectionHeading).render(tool.substr(options));
    page += frame.extraSections;
    return page;
}

}  // namespace clockvane::cli
