#pragma once

#include <array>
#include <string>
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
    std::string frameCaption;                 // Frame1
    std::array<std::string, 3> infoCaptions;  // Label1(0..2): version, date/time, GPU/RAM
    std::array<std::string, 5> infoValues;    // Label2(0..4): version, date, card, two hints
    LabelColour versionForeground = LabelColour::LightGrey;  // Label2(0)
    bool hintsVisible = true;                                // Label2(3) and Label2(4)
    std::string frameToolTip;  // what the BIOS's own tables say about the clock table

    // The one card picture shown: the chip maker's until an image names the card.
    CardPicture picture = CardPicture::Ati;

    // What a yellow or red clock label means, shown when the pointer rests on it.
    std::string yellowBandToolTip;
    std::string redBandToolTip;

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
// the meaning of the label's warning colour, empty outside the yellow and red bands. The
// warning is the label's tool tip too.
struct SpokenSlider {
    int mhz = 0;
    std::string warning;
};
SpokenSlider spokenSlider(const MainWindowState& state, std::size_t slider);

}  // namespace clockvane::app
