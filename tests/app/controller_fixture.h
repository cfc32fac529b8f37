#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main_controller.h"
#include "fake_platform.h"
#include "fixtures/image_builder.h"

namespace clockvane::app::testing {

// A started window on a scripted desktop, with a folder of its own for image files. The
// records of the start-up are cleared, so a test sees only what it does itself.
class ControllerTest : public ::testing::Test {
protected:
    explicit ControllerTest(char separator = ',') : fake(separator), controller(fake) {}

    void SetUp() override;
    void TearDown() override;

    std::string writeImage(const fixtures::ImageRecipe& recipe,
                           const std::string& name = "card.rom");
    std::string writeBytes(const Bytes& bytes, const std::string& name);

    // Chooses `path` in the open dialog.
    void open(const std::string& path);
    std::string openRecipe(const fixtures::ImageRecipe& recipe,
                           const std::string& name = "card.rom");
    // Chooses `path` in the save dialog.
    void save(const std::string& path);

    void switchToGerman();

    FakePlatform fake;
    MainController controller;
    std::filesystem::path dir;
};

// Everything the window shows about the document and its controls, as one comparable text;
// the status panel and the progress bar are left out.
std::string describeWindow(const MainWindowState& state);

// A test-name fragment: letters and digits kept, everything else an underscore.
std::string nameFragment(const std::string& text);
inline std::string languageName(bool german) { return german ? "German" : "English"; }

// The state of the first default image as the window shows it once opened.
inline constexpr const char* kDefaultCardLine = "ATI HD3870 - 512MB GDDR3";

}  // namespace clockvane::app::testing
