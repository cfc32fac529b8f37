#pragma once

// The main window's control and command identifiers. Arrays of controls take consecutive
// numbers from their base, by the index the controller uses (slider i is kSliderId + i).
// Tools that look at the running window (the Wine-driven test's probe) find controls by them.

namespace clockvane::win32 {

enum ControlId : int {
    kSliderId = 1000,        // ScrollBar1(0..9)
    kClockLabelId = 1100,    // Label3(0..9)
    kVcoreBoxId = 1200,      // CmbVCore(0..4)
    kInfoCaptionId = 1300,   // Label1(0..2)
    kInfoValueId = 1310,     // Label2(0..4)
    kFrameId = 1320,         // Frame1
    kLinkedLabelId = 1330,   // Label8
    kLinkLineId = 1331,      // Linklinie(0..2)
    kStatusBarId = 1400,     // StatusBar1
    kProgressBarId = 1401,   // ProgressBar1
    kProgressTextId = 1402,  // its percentage
    kPictureId = 1500,       // PicATI, Pic3870, Pic3850, Pic3870x2 (by app::CardPicture)
};

enum CommandId : int {
    kRomOpenCommand = 2001,
    kRomSaveCommand,
    kExitCommand,
    kGermanCommand,
    kEnglishCommand,
    kUvdCommand,
    kAboutCommand,
    kRomRevertCommand,
    kRomCompareCommand,
};

// The window class of Form1, by which the probe finds the window.
inline constexpr wchar_t kForm1Class[] = L"OrvantaClockvaneForm1";

}  // namespace clockvane::win32
