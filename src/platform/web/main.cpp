// newyear in a web browser: the page (page.js) calls main on the viewer's
// click, which starts the demo and its music together, and again to watch
// once more. Frames are drawn by the clock from the browser's display
// callback: one frame, then 20 ms, plus the time the frame took, as on the
// desktop, whatever the display's refresh rate; only the last frame drawn in
// a callback is put on the canvas, so the picture never tears.
//
// A browser can take seconds to start its sound after the click, and the
// music would lag the picture by as much for the whole show: so the first
// frame waits until the sound is coming out, for at most 2 s. After that
// the show starts without it, and the music plays on, to be heard whenever
// the browser starts it. Without music it starts at once.
//
// main takes --text PATH, the sender's words the page wrote into the
// program's file system, and --stop-at N, in any order.
//
// The page hears from the program through these on Module:
//   newyearError(text)         a data file is missing or broken; nothing runs
//   newyearSilence(text)       no music; the show runs silent
//   newyearSoundLate()         the show starts before its sound
//   newyearShowing()           the first frame is on the canvas
//   newyearEnded()             Escape ended the show
//   newyearStopped(n)          test mode (--stop-at N): frame N is on the
//                              canvas, and the show stops there
//   newyearTextProblem(text)   the words in /text cannot be shown, and why
//   newyearTextReplaced(list)  the characters of /text shown as a box, or ""
// and reads newyearFrames() (frames drawn), newyearMusicMs() (the module's
// position, -1 without music), newyearDrawUs() (the time spent drawing) and
// newyearText() (the words in /text checked, as --text reads them: their
// number of characters, or -1) and newyearTextMax() (the most it takes).
//
// In test mode the frames are drawn without the pause between them: each
// frame depends only on its number, and frame 2760 comes in seconds.
#include "demo/demo.h"
#include "platform/web/web.h"
#include "text/greeting.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <string>

namespace {

constexpr int64_t framePause = 20'000;  // µs after each frame, as the desktop's SDL_Delay(20)
// After a hidden tab or a stall the clock is taken as it is: no burst of
// frames to catch up.
constexpr int64_t maxLag = 100'000;
// How long a test-mode callback draws before it lets the page breathe.
constexpr int64_t testSlice = 30'000;
// The longest the first frame waits for the sound.
constexpr int64_t soundWait = 2'000'000;

// One showing's state, and the count of showings. The browser's display
// callback is handed it; the functions the page reads reach the same value.
struct Show {
    Demo demo;
    Edge edge;
    int frames = 0;
    int stopAt = 0;  // 0: no test stop
    int64_t clicked = 0;
    bool started = false;  // the first frame is on the canvas
    int64_t due = 0;
    int64_t drawUs = 0;
    int showings = 0;
    Greeting greeting;
};

// Static: the display callback outlives main's stack.
Show show;

// Where the page writes the words it asks newyearText about.
constexpr const char* wordsPath = "/text";
// The words' bytes; one past the program's cap tells words that are too long.
char wordBytes[greetingMaxBytes + 1];

EM_JS(void, hook, (const char* name, const char* text, int number), {
    var f = Module[UTF8ToString(name)];
    if (f)
        f(text ? UTF8ToString(text) : number);
});

// Reads the words at path into the show's greeting as newyear --text reads
// a file: false with the problem in error, worded to follow "the text".
bool readWords(Show& s, const char* path, std::string& error)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        error = "cannot be read";
        return false;
    }
    const std::size_t size = std::fread(wordBytes, 1, sizeof wordBytes, file);
    std::fclose(file);
    if (size > greetingMaxBytes) {
        error = "is too long: more than " + std::to_string(greetingMaxBytes) + " bytes";
        return false;
    }
    return readGreeting(wordBytes, size, s.greeting, error);
}

int64_t nowUs()
{
    return static_cast<int64_t>(emscripten_get_now() * 1000);
}

void end(Show& s, const char* why)
{
    emscripten_cancel_main_loop();
    stopDemo(s.demo, s.edge);
    hook(why, nullptr, s.frames);
}

// One frame drawn and counted; false when the viewer asked to quit.
bool drawNext(Show& s)
{
    const int64_t start = nowUs();
    if (!drawFrame(s.demo, s.edge))
        return false;
    s.drawUs += nowUs() - start;
    ++s.frames;
    return true;
}

// True once the sound is coming out, or has not come in time and the show
// starts without waiting for it: the frames then run by the clock from the
// first, and none are made up for the wait when the sound comes.
bool soundReady(Show& s, int64_t now)
{
    if (!s.edge.music || s.edge.soundFlowing)
        return true;
    if (now - s.clicked < soundWait)
        return false;
    hook("newyearSoundLate", nullptr, 0);
    return true;
}

void tick(void* arg)
{
    Show& s = *static_cast<Show*>(arg);
    const int64_t start = nowUs();
    if (!s.started) {
        // The first frame is drawn at once, while the sound starts: a
        // browser's first pass through the code can take a third of a
        // second, which would put the picture behind the music.
        if (s.frames == 0 && !drawNext(s))
            return end(s, "newyearEnded");
        if (!soundReady(s, start))
            return;
        s.started = true;
        showFrame(s.edge);
        hook("newyearShowing", nullptr, s.frames);
        s.due = nowUs() + framePause;
    }
    if (s.stopAt > 0) {
        while (s.frames < s.stopAt && nowUs() - start < testSlice)
            if (!drawNext(s))
                return end(s, "newyearEnded");
        showFrame(s.edge);
        if (s.frames == s.stopAt) {
            emscripten_cancel_main_loop();
            stopMusic(s.edge);
            hook("newyearStopped", nullptr, s.frames);
        }
        return;
    }
    if (start < s.due)
        return;
    if (start - s.due > maxLag)
        s.due = start;
    while (nowUs() >= s.due) {
        const int64_t frameStart = nowUs();
        if (!drawNext(s))
            return end(s, "newyearEnded");
        s.due += nowUs() - frameStart + framePause;
    }
    const int64_t shown = nowUs();
    showFrame(s.edge);
    s.due += nowUs() - shown;
}

}  // namespace

extern "C" {
EMSCRIPTEN_KEEPALIVE int newyearFrames()
{
    return show.frames;
}

EMSCRIPTEN_KEEPALIVE int newyearMusicMs()
{
    return show.edge.music ? static_cast<int>(Mix_GetMusicPosition(show.edge.music) * 1000) : -1;
}

EMSCRIPTEN_KEEPALIVE double newyearDrawUs()
{
    return static_cast<double>(show.drawUs);
}

// Called on each edit, so that the page's count and warnings are the
// program's own; never while a show runs, whose scroller reads the greeting.
EMSCRIPTEN_KEEPALIVE int newyearText()
{
    std::string error;
    if (!readWords(show, wordsPath, error)) {
        hook("newyearTextProblem", error.c_str(), 0);
        return -1;
    }
    hook("newyearTextReplaced", replacedList(show.greeting).c_str(), 0);
    return show.greeting.length - greetingLeadIn - greetingRunOut;
}

EMSCRIPTEN_KEEPALIVE int newyearTextMax()
{
    return greetingMaxLength;
}
}

int main(int argc, char** argv)
{
    // A new page starts rand() at its default seed; watching again starts
    // it there too, so every showing has the same snow.
    if (show.showings++ > 0)
        std::srand(1);
    show.frames = 0;
    show.drawUs = 0;
    show.clicked = nowUs();
    show.started = false;
    show.stopAt = 0;
    const char* words = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--stop-at") == 0)
            show.stopAt = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--text") == 0)
            words = argv[i + 1];
    }
    Options options;
    options.dataDirs = {"/data"};
    std::string error, silence;
    if (words) {
        if (!readWords(show, words, error)) {
            hook("newyearError", ("its text " + error).c_str(), 0);
            return 1;
        }
        options.greeting = &show.greeting;
    }
    if (!startDemo(show.demo, show.edge, options, error, silence)) {
        hook("newyearError", error.c_str(), 0);
        return 1;
    }
    if (!silence.empty())
        hook("newyearSilence", silence.c_str(), 0);
    emscripten_set_main_loop_arg(tick, &show, 0, 1);
    return 0;
}
