// The application icon as pixel art: a fir tree with a star and baubles on a
// night-blue round badge, drawn by hand at 16 and 32 pixels so that both
// sizes stay crisp. Larger icons are whole-number scales of these.
#include "assets.h"

// clang-format off
const IconColour iconPalette[] = {
    {'.', 0, 0, 0, 0},          // outside the badge
    {'o', 150, 180, 235, 255},  // the badge's rim, pale so it shows on dark desktops
    {'n', 14, 22, 64, 255},     // night sky, top
    {'m', 22, 36, 92, 255},     // night sky, middle
    {'l', 32, 52, 124, 255},    // night sky, near the ground
    {'w', 230, 236, 255, 255},  // far stars and the baubles' shine
    {'s', 235, 242, 255, 255},  // snow
    {'S', 180, 198, 232, 255},  // snow in the tree's shadow
    {'G', 96, 196, 96, 255},    // needles lit from the left
    {'g', 40, 150, 70, 255},    // needles
    {'d', 22, 100, 52, 255},    // needles in shade
    {'y', 255, 206, 50, 255},   // the star and the gold baubles
    {'Y', 255, 244, 160, 255},  // the star's glint
    {'r', 232, 40, 52, 255},    // red baubles
    {'b', 72, 150, 255, 255},   // blue baubles
    {'k', 130, 82, 44, 255},    // the trunk
    {'K', 92, 56, 30, 255},     // the trunk's shaded side
};
const int iconPaletteSize = sizeof iconPalette / sizeof iconPalette[0];

const char icon16[16][17] = {
    ".....oooooo.....",
    "...oonnyynnoo...",
    "..onnyyYyyynno..",
    ".onnnnyyyynnwno.",
    ".onwnnyGdynnnno.",
    "ommmmmGggdmmmmmo",
    "ommmmGrgggdmmmmo",
    "ommmGggggggdmmmo",
    "ommmmGgggydmmmmo",
    "olllGggggggdlllo",
    "ollGgbggggrgdllo",
    ".oGggggggggggdo.",
    ".olsssSkKSssslo.",
    "..osssssssssso..",
    "...oossssssoo...",
    ".....oooooo.....",
};

const char icon32[32][33] = {
    "............oooooooo............",
    ".........ooonnnnnnnnooo.........",
    ".......oonnnnnnyynnnnnnoo.......",
    "......onnnnnnnyYyynnnnnnno......",
    ".....onnnnnnyyyYyyyynnnnnno.....",
    "....onnnnnnnnyyyyyynnnnnnwno....",
    "...onnnnnnnnnnyyyynnnnnnnnnno...",
    "..onnnnwnnnnnyynnyynnnnnnnnnno..",
    "..onnnnnnnnnnynGdnynnnnnnnnnno..",
    ".ommmmmmmmmmmmGgddmmmmmmmmmmmmo.",
    ".ommmmmmmmmmmGgggddmmmmmmmmmmmo.",
    ".ommmmmmmmmmGwrgggddmmmmmmmmmmo.",
    "ommmmmmmmmmGgrrggggddmmmmmmmmmmo",
    "ommmmmmmmmGgggggggggddmmmmmwmmmo",
    "ommmmmmmmmmmGgggggddmmmmmmmmmmmo",
    "ommmmwmmmmmGgggggggddmmmmmmmmmmo",
    "ommmmmmmmmGgggggggwyddmmmmmmmmmo",
    "ommmmmmmmGgwbgggggyygddmmmmmmmmo",
    "olllllllGggbbgggggggggddlllllllo",
    "ollllllGgggggggggggggggddllllllo",
    ".ollllllllGgggwbggggddllllllllo.",
    ".olllllllGggggbbgggggddlllllllo.",
    ".ollllllGggggggggggwrgddllllllo.",
    "..ollllGwygggggggggrrggddllllo..",
    "..olllGgyyggggggggggggggddlllo..",
    "...olGgggggggggggggggggggddlo...",
    "....ollssssssSkkkKSssssssllo....",
    ".....ollsssssSkkkKSsssssllo.....",
    "......osssssssssssssssssso......",
    ".......oossssssssssssssoo.......",
    ".........ooossssssssooo.........",
    "............oooooooo............",
};
// clang-format on
