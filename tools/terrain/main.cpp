// newyear-terrain DATADIR SHEET: flies the demo's camera path over
// DATADIR/hm.dat, prints how much of each frame is holes, sky, saturated
// ground and legible text band, how far its ground's lightness spreads and
// how many frames show the overflow colours (measure.h says exactly what each
// counts),
// and writes SHEET, a PNG of 12 frames spread over the flight: sky band,
// landscape and DATADIR/gfx.dat over it, with holes left in loud green.
#include "demo/demo.h"
#include "measure.h"
#include "platform/desktop/desktop.h"
#include "pngout.h"

#include <cstdio>
#include <string>

namespace {

constexpr int sheetColumns = 4, sheetRows = 3, gap = 4;

int fail(const std::string& message)
{
    std::fprintf(stderr, "newyear-terrain: %s\n", message.c_str());
    return 1;
}

double percent(double share)
{
    return 100 * share;
}

std::vector<double> column(const std::vector<Measures>& flight, double Measures::*field)
{
    std::vector<double> values;
    for (const Measures& m : flight)
        values.push_back(m.*field);
    return values;
}

double shareOf(const std::vector<double>& values, bool (*pick)(double))
{
    int n = 0;
    for (double v : values)
        n += pick(v);
    return double(n) / values.size();
}

void report(const std::vector<Measures>& flight)
{
    const auto holes = column(flight, &Measures::holes), sky = column(flight, &Measures::sky),
               saturated = column(flight, &Measures::saturated), legible = column(flight, &Measures::legible);
    std::printf("holes      mean %5.1f%%  p90 %5.1f%%  worst %5.1f%%  frames with any %5.1f%%\n", percent(mean(holes)),
                percent(quantile(holes, 0.9)), percent(quantile(holes, 1)),
                percent(shareOf(holes, [](double v) { return v > 0; })));
    std::printf("sky        mean %5.1f%%  p10 %5.1f%%  least %5.1f%%  frames under 5%% %5.1f%%  with none %5.1f%%\n",
                percent(mean(sky)), percent(quantile(sky, 0.1)), percent(quantile(sky, 0)),
                percent(shareOf(sky, [](double v) { return v < 0.05; })),
                percent(shareOf(sky, [](double v) { return v == 0; })));
    std::printf("saturated  mean %5.1f%%  p90 %5.1f%%  worst %5.1f%%\n", percent(mean(saturated)),
                percent(quantile(saturated, 0.9)), percent(quantile(saturated, 1)));
    std::printf("legible    mean %5.1f%%  p10 %5.1f%%  least %5.1f%%\n", percent(mean(legible)),
                percent(quantile(legible, 0.1)), percent(quantile(legible, 0)));
    const auto spread = column(flight, &Measures::spread);
    std::printf("spread     mean %5.1f   p10 %5.1f   least %5.1f   frames at 12 or more %5.1f%%  (L*)\n", mean(spread),
                quantile(spread, 0.1), quantile(spread, 0), percent(shareOf(spread, [](double v) { return v >= 12; })));
    std::printf("overflow   frames with any %5.1f%%  worst %5.1f%%\n",
                percent(shareOf(saturated, [](double v) { return v > 0; })), percent(quantile(saturated, 1)));
}

// The frame as the demo shows it without snow and text: the sky band where
// no box drew, holes left unDrawn, and the panel on top.
void dressFrame(Demo& demo)
{
    const uint16_t sky = static_cast<uint16_t>(RGB2value(demo.screen, skyColour.r, skyColour.g, skyColour.b));
    auto* p = static_cast<uint16_t*>(demo.screen.surface->pixels);
    for (int i = 0; i < screenWidth * skyHeight; i++)
        if (p[i] == unDrawn)
            p[i] = sky;
    SDL_UpperBlit(demo.panel, &demo.panelSrcRect, demo.screen.surface, &demo.panelDstRect);
}

bool writeSheet(Demo& demo, const std::string& path, std::string& error)
{
    SDL_Surface* sheet = SDL_CreateRGBSurface(SDL_SWSURFACE, sheetColumns * (screenWidth + gap) - gap,
                                              sheetRows * (screenHeight + gap) - gap, 16, 0xF800, 0x07E0, 0x001F, 0);
    if (!sheet) {
        error = std::string("cannot make the contact sheet: ") + SDL_GetError();
        return false;
    }
    std::printf("contact sheet, left to right and down, frames n (frame = 51 + 2n):");
    for (int i = 0; i < sheetColumns * sheetRows; i++) {
        const int n = (2 * i + 1) * flightFrames / (2 * sheetColumns * sheetRows);
        std::printf(" %d", n);
        drawBare(demo.screen, demo.tables, demo.heightMap, flightFrame(n));
        dressFrame(demo);
        SDL_Rect to = {static_cast<Sint16>(i % sheetColumns * (screenWidth + gap)),
                       static_cast<Sint16>(i / sheetColumns * (screenHeight + gap)), 0, 0};
        SDL_UpperBlit(demo.screen.surface, nullptr, sheet, &to);
    }
    std::printf("\n");
    const bool ok = writePng(sheet, path, error);
    SDL_FreeSurface(sheet);
    return ok;
}

int run(Demo& demo, const std::string& dir, const std::string& sheetPath)
{
    std::printf("%s/hm.dat over %d frames, columns %d..%d\n", dir.c_str(), flightFrames, panelWidth, screenWidth - 1);
    report(measureFlight(demo.screen, demo.tables, demo.heightMap));
    std::string error;
    if (!writeSheet(demo, sheetPath, error))
        return fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: newyear-terrain DATADIR SHEET.png\n");
        return 2;
    }
    // The demo's own start-up, on an offscreen screen.
    Demo demo;
    Edge edge;
    std::string error, silence;
    if (!startDemo(demo, edge, offscreenOptions(argv[1]), error, silence))
        return fail(error);
    const int status = run(demo, argv[1], argv[2]);
    stopDemo(demo, edge);
    return status;
}
