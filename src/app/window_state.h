#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "layout/clock_layout.h"

namespace clockvane::app {

// Colours the window's labels take. The three system colours are the desktop's own (button
// face, button text, highlight text); the others are fixed.
enum class LabelColour {
    ButtonFace,     // system colour 15
    ButtonText,     // system colour 18
    HighlightText,  // system colour 14
    Yellow,         // 0x00FFFF as BGR: pure yellow
    Red,            // 0x0000FF as BGR: pure red
    LightGrey,      // RGB 192, 192, 192
};

enum class CardPicture { Ati, HD3870, HD3850, HD3870X2 };
inline constexpr std::size_t kCardPictureCount = 4;

// Every front-end draws a picture from the same artwork: the name of its SVG file in the
// window's art folder, without the ending.
constexpr std::string_view pictureArt(CardPicture picture)
{
    switch (picture) {
    case CardPicture::HD3870: return "card_hd3870";
    case CardPicture::HD3850: return "card_hd3850";
    case CardPicture::HD3870X2: return "card_hd3870x2";
    case CardPicture::Ati: break;
    }
    return "chip";
}

// Panels of the status bar: the first names the open file (or the two files of an X2 pair),
// so the user always knows which BIOS is being edited; no sequence writes it. The second shows
// the checksum and the third the progress texts.
enum StatusPanel : std::size_t {
    kUnusedPanel = 0,
    kFileNamePanel = 0,
    kChecksumPanel = 1,
    kProgressPanel = 2
};

struct SliderState {
    int value = 0;
    int lower = 0;  // bottom end
    int upper = 0;  // top end
    bool enabled = false;
    std::string accessibleName{};  // what a screen reader calls it: "3D High Power GPU clock"
};

// Label3(i): the whole-MHz value under slider i.
struct ClockLabelState {
    std::string caption;
    LabelColour background = LabelColour::ButtonFace;
    LabelColour foreground = LabelColour::ButtonText;
    // What a yellow or red background means, shown when the pointer rests on the label and
    // spoken with the slider; empty outside those bands.
    std::string toolTip{};
};

// The "BIOS info's" frame's labels: the captions Label1(0..2), their values Label2(0..2), and
// the two hints Label2(3) and Label2(4) that ask for a file while none is open.
struct BiosInfoState {
    std::string versionCaption;  // Label1(0)
    std::string dateCaption;     // Label1(1)
    std::string cardCaption;     // Label1(2)
    std::string version;         // Label2(0): 22 characters of the image, fixed-width
    std::string date;            // Label2(1): date and time, fixed-width
    std::string card;            // Label2(2): "ATI HD3870 - 512MB GDDR3"
    LabelColour versionForeground = LabelColour::LightGrey;
    std::string openHint;  // Label2(3)
    std::string dropHint;  // Label2(4)
    bool hintsVisible = true;
};

struct VcoreBoxState {
    std::string text;
    std::vector<std::string> items;  // the seven presets, with the user's decimal separator
    bool enabled = false;
    std::string toolTip;
    std::string accessibleName{};  // "3D High Power VCore"
};

struct MenuItemState {
    std::string caption;  // '&' marks the access key
    bool enabled = true;
    bool checked = false;
};

// Everything the main window shows. The controller owns it; the screen only renders it.
struct MainWindowState {
    std::string windowTitle;

    std::array<SliderState, kSliderCount> sliders;          // ScrollBar1(0..9)
    std::array<ClockLabelState, kSliderCount> clockLabels;  // Label3(0..9)
    std::array<VcoreBoxState, kVcoreBoxCount> vcoreBoxes;   // CmbVCore(0..4)

    // The "BIOS info's" frame.
    std::string frameCaption;  // Frame1
    BiosInfoState info;
    std::string frameToolTip;  // what the BIOS's own tables say about the clock table

    // The one card picture shown: the chip maker's until an image names the card.
    CardPicture picture = CardPicture::Ati;

    bool linkLinesVisible = false;    // Linklinie(0..2)
    bool linkedLabelVisible = false;  // Label8
    std::string linkedCaption;        // "< Linked"

    // Menus.
    MenuItemState mnuFile, romOpen, romSave, exitProgram;
    MenuItemState setLang, setLangDeutsch, setLangEnglish;
    MenuItemState mnuTrouble, chkUvd;
    MenuItemState about;
    // File menu items beside the classic ones: back to the values as opened (enabled only
    // while the controls differ from them), and the comparison with another image.
    MenuItemState romRevert, romCompare;

    std::string openDialogTitle;  // cdl1
    std::string saveDialogTitle;  // cdl2

    std::array<std::string, 3> statusPanels;  // StatusBar1 panels 1..3 at indices 0..2
    int progressValue = 0;                    // ProgressBar1, 0..100
    bool progressDisplay = false;             // shows the percentage while an operation runs
};

// What a screen reader hears of a slider: the clock its label shows - a linked UVD label shows
// the 3D High Power clock, while the slider keeps its own position for a later unlink - and
// the label's tool tip, the meaning of its warning colour.
struct SpokenSlider {
    int mhz = 0;
    std::string warning;
};
SpokenSlider spokenSlider(const MainWindowState& state, std::size_t slider);

}  // namespace clockvane::app
