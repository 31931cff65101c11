// The scroller's text. One character enters every third frame, so the runs
// of spaces are pauses between the parts. Only codes 3 (a heart) and 32..122
// appear: the font's upper half is never reached, so Turkish letters are
// written with their base letters and "$" stands in for s-cedilla.
#include "assets.h"

const char scrollText[916] =
    // lead-in, the screen fills from the right: 30 characters
    "                              "
    // greeting in English: 155 characters
    "Happy New Year 2027! May the coming year bring you good health, "
    "warm friendships, bright ideas and many small joys. Thanks for "
    "watching and enjoy the show!"
    // pause: 16 characters
    "                "
    // message in Turkish; '$' draws the letter s-cedilla: 287 characters
    "Yeni yiliniz kutlu olsun! 2027 yilinin size ve sevdiklerinize "
    "saglik, huzur, bol kahkaha ve guzel surprizler getirmesini "
    "diliyoruz. Eski yilin yorgunlugunu geride birakip yeni umutla "
    "ba$layalim. Kodlarimiz derlensin, piksellerimiz parlasin, "
    "muziklerimiz hic susmasin. Nice mutlu yillara!"
    // pause: 15 characters
    "               "
    // six hearts: 6 characters
    "\003\003\003\003\003\003"
    // credits and greetings: 315 characters
    " Code, graphics and music: the newyear team. Greetings go out to "
    "all demo makers, handheld coders, tracker musicians, pixel artists, "
    "chiptune lovers, ASCII artists, size coders, shader tinkerers, "
    "retro collectors, the bulletin board old guard, party organisers, "
    "and everyone who still writes code for the fun of it!"
    // pause: 15 characters
    "               "
    // closing remark: 50 characters
    "See you next year, and keep the scrollers rolling!"
    // run-out, so the last words leave the screen: 26 characters
    "                          ";
