#include "controller_fixture.h"

#include <cctype>
#include <sstream>
#include <unistd.h>

namespace clockvane::app::testing {

void ControllerTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    dir = std::filesystem::temp_directory_path() /
          ("clockvane_app_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    fake.attach(controller);
    controller.Form_Load();
    fake.clearRecords();
}

void ControllerTest::TearDown()
{
    std::error_code ignored;
    // Files a test made read-only must become removable again.
    for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(dir, ignored);
}

std::string ControllerTest::writeImage(const fixtures::ImageRecipe& recipe, const std::string& name)
{
    return writeBytes(fixtures::buildImage(recipe), name);
}

std::string ControllerTest::writeBytes(const Bytes& bytes, const std::string& name)
{
    const auto path = dir / name;
    fixtures::writeFile(path, bytes);
    return path.string();
}

void ControllerTest::open(const std::string& path)
{
    fake.openDialogAnswers.push_back(path);
    controller.ROMOpen_Click();
}

std::string ControllerTest::openRecipe(const fixtures::ImageRecipe& recipe, const std::string& name)
{
    std::string path = writeImage(recipe, name);
    open(path);
    return path;
}

void ControllerTest::save(const std::string& path)
{
    fake.saveDialogAnswers.push_back(path);
    controller.ROMSave_Click();
}

void ControllerTest::switchToGerman()
{
    controller.SetLangDeutsch_Click();
    fake.clearRecords();
}

}  // namespace clockvane::app::testing

namespace clockvane::app::testing {

std::string nameFragment(const std::string& text)
{
    if (text.empty()) return "Empty";
    std::string name = text;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

std::string describeWindow(const MainWindowState& state)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < state.sliders.size(); ++i) {
        const SliderState& slider = state.sliders[i];
        const ClockLabelState& label = state.clockLabels[i];
        out << "slider" << i << " " << slider.value << (slider.enabled ? " on" : " off") << " ["
            << label.caption << " " << static_cast<int>(label.background) << "/"
            << static_cast<int>(label.foreground) << "]\n";
    }
    for (std::size_t k = 0; k < state.vcoreBoxes.size(); ++k) {
        out << "box" << k << " '" << state.vcoreBoxes[k].text << "'"
            << (state.vcoreBoxes[k].enabled ? " on" : " off") << "\n";
    }
    out << "frame " << state.frameCaption << "\n";
    for (const std::string& value : state.infoValues) out << "info '" << value << "'\n";
    out << "version colour " << static_cast<int>(state.versionForeground) << " hints "
        << state.hintsVisible << "\n";
    out << "picture " << static_cast<int>(state.picture) << " link " << state.linkLinesVisible
        << state.linkedLabelVisible << "\n";
    out << "save " << state.romSave.enabled << " trouble " << state.mnuTrouble.enabled << " uvd "
        << state.chkUvd.checked << "\n";
    out << "checksum '" << state.statusPanels[kChecksumPanel] << "'\n";
    return out.str();
}

}  // namespace clockvane::app::testing
