// The Windows window's own translations to the Windows API: the file dialogs' filter and
// answer, the message box styles, and where a setting lives in the registry. Everything else
// the window shows is the controller's, tested below both windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/file_dialogs.h"
#include "win32/message_box.h"
#include "win32/win32_platform.h"

namespace clockvane::win32 {
namespace {

using namespace std::string_literals;

TEST(Win32Window, DialogFilterEndsEveryStringWithNulAndTheListWithOneMore)
{
    const struct {
        std::string filter;
        std::wstring expected;
    } cases[] = {
        {"BIOS ROM files (*.rom;*.bin)|*.rom;*.bin",
         L"BIOS ROM files (*.rom;*.bin)\0*.rom;*.bin\0\0"s},
        {"ROM|*.rom|Alle Dateien (*.*)|*.*", L"ROM\0*.rom\0Alle Dateien (*.*)\0*.*\0\0"s},
        {"Kärtchen|*.rom", L"K\u00E4rtchen\0*.rom\0\0"s},
    };
    for (const auto& row : cases) EXPECT_EQ(dialogFilter(row.filter), row.expected) << row.filter;
}

TEST(Win32Window, MultiSelectAnswerIsOnePathOrAFolderWithNames)
{
    const struct {
        std::wstring answer;
        std::vector<std::string> expected;
    } cases[] = {
        {L"C:\\cards\\x2.rom\0\0"s, {"C:\\cards\\x2.rom"}},
        {L"C:\\cards\0x2 a.rom\0x2 b.rom\0\0"s, {"C:\\cards\\x2 a.rom", "C:\\cards\\x2 b.rom"}},
        {L"C:\\\0a.rom\0b.rom\0\0"s, {"C:\\a.rom", "C:\\b.rom"}},
        {L"Z:\\k\u00E4rtchen\0eins.rom\0zwei.rom\0\0"s,
         {"Z:\\k\xC3\xA4rtchen\\eins.rom", "Z:\\k\xC3\xA4rtchen\\zwei.rom"}},
        {L"\0\0"s, {}},
    };
    for (const auto& row : cases) EXPECT_EQ(chosenFiles(row.answer), row.expected);
}

TEST(Win32Window, MessageBoxStyleFromIconAndButtons)
{
    // MB_OK 0, MB_YESNO 4, MB_ICONHAND 0x10, MB_ICONEXCLAMATION 0x30, MB_ICONINFORMATION 0x40,
    // MB_DEFBUTTON1 0, MB_DEFBUTTON2 0x100, MB_APPLMODAL 0: the values of winuser.h.
    using app::MessageButtons;
    using app::MessageIcon;
    const struct {
        MessageIcon icon;
        MessageButtons buttons;
        unsigned expected;
    } cases[] = {
        {MessageIcon::Exclamation, MessageButtons::Ok, 0x30},
        {MessageIcon::Information, MessageButtons::Ok, 0x40},
        {MessageIcon::Critical, MessageButtons::Ok, 0x10},
        {MessageIcon::Exclamation, MessageButtons::YesNo, 0x34},
        {MessageIcon::Critical, MessageButtons::YesNoDefaultNo, 0x114},
    };
    for (const auto& row : cases)
        EXPECT_EQ(messageBoxStyle(row.icon, row.buttons), row.expected)
            << int(row.icon) << " " << int(row.buttons);
}

TEST(Win32Window, RegistryKeyOfApplicationAndSection)
{
    const struct {
        std::string application, section;
        std::wstring expected;
    } cases[] = {
        {"Orvanta Clockvane", "\\", L"Software\\Orvanta Clockvane"},
        {"Orvanta Clockvane", "", L"Software\\Orvanta Clockvane"},
        {"Orvanta Clockvane", "\\Fenster\\", L"Software\\Orvanta Clockvane\\Fenster"},
        {"Orvanta Clockvane", "Fenster/Größe",
         L"Software\\Orvanta Clockvane\\Fenster/Gr\u00F6\u00DFe"},
    };
    for (const auto& row : cases)
        EXPECT_EQ(registryKeyOf(row.application, row.section), row.expected) << row.section;
}

}  // namespace
}  // namespace clockvane::win32
