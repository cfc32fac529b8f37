// clockvane set: opens each file as a fresh window would, moves the named sliders, types the
// named boxes and saves through the core's save pipeline, exactly as the window's save does.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "bytes/sums.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/help_texts.h"
#include "cli/opened_image.h"
#include "cli/set_options.h"
#include "cli/structure_report.h"
#include "cli/text_format.h"
#include "edit/save_pipeline.h"
#include "files/safe_write.h"
#include "files/save_name.h"
#include "files/utf8_path.h"
#include "layout/voltage_text.h"
#include "text/texts.h"

namespace clockvane::cli {
namespace {

namespace fs = std::filesystem;

// The same file when both exist (links and other spellings included); otherwise the same
// path once made absolute and normalized.
bool samePath(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        const bool same = fs::equivalent(a, b, error);
        if (!error) return same;
    }
    const fs::path absoluteA = fs::absolute(a, error).lexically_normal();
    const fs::path absoluteB = fs::absolute(b, error).lexically_normal();
    return absoluteA == absoluteB;
}

std::string boxName(std::size_t box) { return texts::vcoreBoxName(box, UiLanguage::English); }

// The controls as the user leaves them: the open's values, then the edits, then the
// validation the save command runs on all five boxes before anything is converted.
SaveControls editedControls(const OpenedImage& opened, const SetRequest& request)
{
    SaveControls controls = controlsAfterOpen(opened, !request.unlinkUvd);
    for (const SliderEdit& edit : request.sliderEdits) controls.sliders[edit.slider] = edit.mhz;
    for (const BoxEdit& edit : request.boxEdits) controls.vcoreTexts[edit.box] = edit.text;
    for (std::size_t box = 0; box < kVcoreBoxCount; ++box) {
        std::string& text = controls.vcoreTexts[box];
        const std::string validated = validateVcoreText(text, controls.decimalSeparator);
        if (validated != text) {
            std::string note = "note: " + boxName(box);
            note.append(" ").append(text).append(" V was set to ").append(validated).append(" V");
            reportFileError(opened.path, note);
            text = validated;
        }
    }
    return controls;
}

// A dump cut short, or a clock table the BIOS's own PowerPlay table places elsewhere, is saved
// only with --force: the window warns about both on opening. Returns the exit code of a refusal.
int refuseDoubtfulImage(const OpenedImage& opened, bool force)
{
    const std::vector<std::string> warnings = openWarnings(opened.rom);
    for (const std::string& warning : warnings) reportFileError(opened.path, "warning: " + warning);
    if (warnings.empty() || force) return kExitDone;
    reportFileError(opened.path, "nothing written (--force saves it all the same)");
    return kExitUsage;
}

int setOneFile(const SetRequest& request, const std::string& path)
{
    auto opened = openImage(path);
    if (!opened) {
        reportFileError(path, opened.error());
        return kExitUsage;
    }
    for (const std::string& line : rangeLines(*opened)) reportFileError(path, line);
    if (const int refused = refuseDoubtfulImage(*opened, request.force)) return refused;

    const std::string output = request.output ? *request.output : defaultSaveName(path);
    const bool outputIsInput =
        std::any_of(request.files.begin(), request.files.end(), [&](const std::string& input) {
            return samePath(pathFromUtf8(output), pathFromUtf8(input));
        });
    if (outputIsInput && !request.force) {
        reportFileError(path, "the output " + output +
                                  " is an input file; nothing written (--force overwrites it)");
        return kExitUsage;
    }

    const SaveControls controls = editedControls(*opened, request);
    LoadedRom& rom = opened->rom;
    FixedClassicAnswer answer(request.classic);
    const auto saved = runSavePipeline(rom.image, rom.clocks, rom.loadedSum, controls, answer);
    if (!saved) {
        reportFileError(path, "the " + boxName(saved.error().box) +
                                  " box holds no number; nothing written");
        return kExitUsage;
    }

    const bool corrected = saved->corrected();
    if (saved->classicQuestionAsked && !request.classic) {
        // The window's question, its first line in the tool's words.
        const std::string question = texts::kChecksumQuestionText.in(UiLanguage::English);
        reportFileError(path,
                        question.substr(0, question.find('\r')) +
                            " The classic checksum correction was not run (--classic runs it).");
    }
    if (!corrected) {
        reportFileError(path, texts::kChecksumFailedText.in(UiLanguage::English));
        if (!request.force) {
            reportFileError(path, "nothing written (--force writes the uncorrected image)");
            return kExitNotCorrected;
        }
    }

    if (const auto past = changePastOptionRomText(rom.image)) {
        reportFileError(path, *past);
        return kExitUsage;
    }
    if (const auto failed = writeFileSafely(pathFromUtf8(output), bytesToWrite(rom.image))) {
        reportFileError(path, "cannot write " + output + ": " + failed->reason);
        return kExitWriteFailed;
    }
    std::cout << printableText(path) << " -> " << printableText(output)
              << ": Checksum-16: " << formatSum16(saved->outputSum)
              << (corrected ? " (Corrected)" : " (NOT corrected)") << '\n';
    return corrected ? kExitDone : kExitNotCorrected;
}

}  // namespace

int runSet(std::span<const std::string> arguments)
{
    const std::vector<AcceptedOption> accepted = setAcceptedOptions();
    auto outcome = parseCommand("set", arguments, accepted, kSetHelp);
    if (const int* exitCode = std::get_if<int>(&outcome)) return *exitCode;
    const ParsedArguments* parsed = std::get_if<ParsedArguments>(&outcome);
    const auto request = makeSetRequest(*parsed);
    if (!request) {
        reportError("set: " + request.error() + " (see 'clockvane set --help')");
        return kExitUsage;
    }

    int worst = kExitDone;
    for (const std::string& file : request->files)
        worst = std::max(worst, setOneFile(*request, file));
    return worst;
}

}  // namespace clockvane::cli
