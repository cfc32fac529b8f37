#pragma once

// Resources compiled into clockvane-editor.exe (editor.rc); the resource compiler reads this
// file too, so it holds nothing but the numbers.
#define kAppIconResource 1
// The four card pictures, in the order of app::CardPicture: chip maker, HD 3870, HD 3850,
// HD 3870 X2.
#define kPictureResource 10
