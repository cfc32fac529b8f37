#include "window_snapshot.h"

#include <iomanip>
#include <sstream>

#include "bytes/sums.h"

namespace clockvane::reliability {
namespace {

void describeMenu(std::ostream& out, const char* name, const app::MenuItemState& item)
{
    out << "menu " << name << " '" << item.caption << "' enabled " << item.enabled << " checked "
        << item.checked << "\n";
}

// Bytes as their length and 16-bit sum, plus a rolling hash that any moved or changed byte
// alters: enough to tell two images apart without printing 100,000 bytes.
void describeBytes(std::ostream& out, const char* name, const Bytes& bytes)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    out << name << " " << bytes.size() << " bytes, sum " << sum16(bytes) << ", hash " << std::hex
        << hash << std::dec << "\n";
}

void describeEntries(std::ostream& out, const char* name, const ClockEntries& entries)
{
    out << name;
    for (const ClockEntry& entry : entries)
        out << " " << entry.gpuClock << "/" << entry.ramClock << "/" << entry.vcore;
    out << "\n";
}

}  // namespace

std::string describeWholeWindow(const app::MainWindowState& state)
{
    std::ostringstream out;
    out << "title '" << state.windowTitle << "'\n";
    for (std::size_t i = 0; i < state.sliders.size(); ++i) {
        const app::SliderState& slider = state.sliders[i];
        const app::ClockLabelState& label = state.clockLabels[i];
        out << "slider " << i << " value " << slider.value << " range " << slider.lower << ".."
            << slider.upper << " enabled " << slider.enabled << " label '" << label.caption
            << "' colours " << static_cast<int>(label.background) << "/"
            << static_cast<int>(label.foreground) << "\n";
    }
    for (std::size_t k = 0; k < state.vcoreBoxes.size(); ++k) {
        const app::VcoreBoxState& box = state.vcoreBoxes[k];
        out << "box " << k << " '" << box.text << "' enabled " << box.enabled << " tip '"
            << box.toolTip << "' items";
        for (const std::string& item : box.items) out << " '" << item << "'";
        out << "\n";
    }
    out << "frame '" << state.frameCaption << "'\n";
    for (const std::string& caption : state.infoCaptions)
        out << "info caption '" << caption << "'\n";
    for (const std::string& value : state.infoValues) out << "info value '" << value << "'\n";
    out << "version colour " << static_cast<int>(state.versionForeground) << " hints "
        << state.hintsVisible << "\n";
    out << "picture " << static_cast<int>(state.picture) << "\n";
    out << "link lines " << state.linkLinesVisible << " label " << state.linkedLabelVisible << " '"
        << state.linkedCaption << "'\n";
    describeMenu(out, "file", state.mnuFile);
    describeMenu(out, "open", state.romOpen);
    describeMenu(out, "save", state.romSave);
    describeMenu(out, "exit", state.exitProgram);
    describeMenu(out, "language", state.setLang);
    describeMenu(out, "german", state.setLangDeutsch);
    describeMenu(out, "english", state.setLangEnglish);
    describeMenu(out, "trouble", state.mnuTrouble);
    describeMenu(out, "uvd", state.chkUvd);
    describeMenu(out, "about", state.about);
    out << "dialog titles '" << state.openDialogTitle << "' '" << state.saveDialogTitle << "'\n";
    for (std::size_t p = 0; p < state.statusPanels.size(); ++p)
        out << "status " << p + 1 << " '" << state.statusPanels[p] << "'\n";
    out << "progress " << state.progressValue << " display " << state.progressDisplay << "\n";
    return out.str();
}

std::string describeWindowBesideProgress(app::MainWindowState state)
{
    state.statusPanels[app::kProgressPanel].clear();
    state.progressValue = 0;
    state.progressDisplay = false;
    return describeWholeWindow(state);
}

std::string describeDocument(const app::MainController& controller)
{
    const RomImage* image = controller.image();
    if (image == nullptr) return {};
    std::ostringstream out;
    describeBytes(out, "fileImage", image->fileImage);
    describeBytes(out, "outputImage", image->outputImage);
    describeBytes(out, "beyondImage", image->beyondImage);
    out << "signature at " << image->signatureOffset << "\n";
    const ClockSet& clocks = *controller.clocks();
    describeEntries(out, "working", clocks.working);
    describeEntries(out, "asRead", clocks.asRead);
    for (const Trailer& trailer : clocks.trailers) {
        out << "trailer";
        for (const std::uint8_t byte : trailer) out << " " << static_cast<int>(byte);
        out << "\n";
    }
    const CardModel& card = *controller.card();
    out << "card " << static_cast<int>(card.model) << " gddr4 " << card.isGddr4 << " 256MB "
        << static_cast<int>(card.size) << "\n";
    out << "uvd linked " << controller.uvdLinked() << " kept " << controller.uvdVcoreKept()
        << " language " << static_cast<int>(controller.language()) << "\n";
    return out.str();
}

}  // namespace clockvane::reliability
