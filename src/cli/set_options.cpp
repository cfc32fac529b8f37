#include "cli/set_options.h"

#include <algorithm>
#include <charconv>

#include "layout/clock_layout.h"
#include "layout/clock_limits.h"
#include "layout/voltage_text.h"

namespace clockvane::cli {
namespace {

// "3d_low" is written "3d-low" on the command line, like every other option word.
std::string optionStem(const PowerState& state)
{
    std::string stem{state.key};
    std::replace(stem.begin(), stem.end(), '_', '-');
    return "--" + stem;
}

// The option names live as long as the program, so the accepted options can view them.
const std::vector<std::string>& stateOptionNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const PowerState& state : kPowerStates) {
            for (const char* field : {"-gpu", "-ram", "-vcore"})
                all.push_back(optionStem(state) + field);
        }
        return all;
    }();
    return names;
}

std::optional<int> wholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::optional<std::string> addSliderEdit(SetRequest& request, std::size_t slider,
                                         const GivenOption& option)
{
    const SliderRange range = sliderRange(slider);
    const auto mhz = wholeNumber(option.value);
    if (!mhz || *mhz < range.lower || *mhz > range.upper) {
        return option.name + " '" + option.value + "': the " +
               (isGpuSlider(slider) ? "GPU" : "memory") +
               " clock must be a whole number of MHz from " + std::to_string(range.lower) + " to " +
               std::to_string(range.upper);
    }
    request.sliderEdits.push_back({slider, *mhz});
    return std::nullopt;
}

// A plain decimal number: digits with at most one point or comma, and at least one digit.
// The window's box forgives stray characters by dropping them; a command line that says
// something else than a voltage is a mistake, not a value to guess at.
bool isPlainDecimal(std::string_view text)
{
    bool digits = false;
    bool separator = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::optional<std::string> addBoxEdit(SetRequest& request, std::size_t box,
                                      const GivenOption& option)
{
    const std::string limits =
        formatVolts(kVcoreMinVolts, '.') + " to " + formatVolts(kVcoreMaxVolts, '.') + " V";
    std::string typed = option.value;
    std::replace(typed.begin(), typed.end(), ',', '.');
    const auto volts = isPlainDecimal(typed) ? parseVolts(typed, '.') : std::nullopt;
    if (!volts) {
        return option.name + " '" + option.value +
               "': expects a voltage in volts, a decimal number with a point or a comma "
               "(such as 1.2 or 1,2)";
    }
    if (*volts < kVcoreMinVolts || *volts > kVcoreMaxVolts)
        return option.name + " '" + option.value + "': the VCore must be from " + limits;
    request.boxEdits.push_back({box, typed});
    return std::nullopt;
}

}  // namespace

std::vector<AcceptedOption> setAcceptedOptions()
{
    std::vector<AcceptedOption> accepted{
        {"-o", true}, {"--unlink-uvd", false}, {"--classic", false}, {"--force", false}};
    for (const std::string& name : stateOptionNames()) accepted.push_back({name, true});
    return accepted;
}

Result<SetRequest, std::string> makeSetRequest(const ParsedArguments& parsed)
{
    SetRequest request;
    request.files = parsed.positional;
    request.unlinkUvd = parsed.has("--unlink-uvd");
    request.classic = parsed.has("--classic");
    request.force = parsed.has("--force");
    if (request.files.empty()) return std::string("expects at least one FILE");

    // Edits are applied state by state, in the window's column order, whatever the order given.
    for (std::size_t s = 0; s < kPowerStates.size(); ++s) {
        const PowerState& state = kPowerStates[s];
        for (const GivenOption& option : parsed.options) {
            const std::string stem = optionStem(state);
            const auto isField = [&](std::string_view field) {
                return option.name == stem + "-" + std::string(field);
            };
            if (!isField("gpu") && !isField("ram") && !isField("vcore")) continue;
            if (s == kUvd && !request.unlinkUvd) {
                return option.name +
                       " needs --unlink-uvd: while linked, UVD follows the 3D High Power values";
            }
            const auto error = isField("gpu")   ? addSliderEdit(request, state.gpuSlider, option)
                               : isField("ram") ? addSliderEdit(request, state.ramSlider, option)
                                                : addBoxEdit(request, state.vcoreBox, option);
            if (error) return *error;
        }
    }

    for (const GivenOption& option : parsed.options) {
        if (option.name == "-o") request.output = option.value;
    }
    if (request.output && request.files.size() != 1)
        return std::string("-o is allowed with one FILE only");
    if (request.output && request.output->empty()) return std::string("-o needs a file name");
    if (request.output == kStandardStreamName) return "-o " + std::string(kStandardStreamRefusal);
    return request;
}

}  // namespace clockvane::cli
