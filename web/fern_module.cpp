// The renderer core in the web page. Its OpenGL calls are gathered per tick
// and reach WebGL as one upload of the tick's vertices and one draw per
// colour. On request every call is also folded into a digest, so the page can
// show that it makes exactly the native build's calls; it costs a tick a
// third of its time, which the browser's rasteriser needs.
#include <emscripten/emscripten.h>

#include <vector>

#include "animation.h"
#include "gl_standin.h"
#include "whole_figures.h"

namespace {

struct Run { // vertices of one colour
    int first, count;
    Colour colour;
};

CallDigest digest; // of every call while glDigest points here
bool cleared = false;
Colour colour;
std::vector<float> vertices; // this tick's, x and y in device coordinates
std::vector<Run> runs;

// Since the page's figure began: its ticks, and the digest as it stood when
// both figures had grown whole (the next upward one placed), as in the
// Windows builds' proof.
int pageTicks = 0;
bool leftwardPlaced = false;
struct Grown {
    int ticks;
    std::uint64_t calls, digest;
} grown;

} // namespace

// clang-format off
EM_JS(void, ClearPicture, (), { Module.clearPicture(); });
EM_JS(void, UploadVertices, (const float* data, int floats), {
    Module.uploadVertices(HEAPF32.subarray(data >> 2, (data >> 2) + floats));
});
EM_JS(void, DrawLines, (int first, int count, int red, int green, int blue), {
    Module.drawLines(first, count, red, green, blue);
});
// clang-format on

namespace {

void Clear(unsigned) {
    cleared = true;
}
void SetColour(unsigned char red, unsigned char green, unsigned char blue) {
    colour = Colour{red, green, blue};
}
void Begin(unsigned) {
    const Run* last = runs.empty() ? nullptr : &runs.back();
    if (last == nullptr || last->colour.red != colour.red || last->colour.green != colour.green ||
        last->colour.blue != colour.blue)
        runs.push_back(Run{static_cast<int>(vertices.size() / 2), 0, colour});
}
void Vertex(double x, double y) {
    vertices.push_back(static_cast<float>(x));
    vertices.push_back(static_cast<float>(y));
    ++runs.back().count;
}
const GlSink drawing = {nullptr, Clear, SetColour, Begin, Vertex, nullptr, nullptr};

} // namespace

extern "C" {

// A new figure for a canvas of this many pixels, as window creation starts one.
EMSCRIPTEN_KEEPALIVE void StartPage(int width, int height) {
    glSink = drawing;
    StartFern(width, height);
    growthTicks = 0;
    digest = CallDigest{};
    pageTicks = 0;
    leftwardPlaced = false;
    grown = {};
}

// One tick, drawn with WebGL.
EMSCRIPTEN_KEEPALIVE void Tick() {
    cleared = false;
    vertices.clear();
    runs.clear();
    FernTick();
    if (cleared)
        ClearPicture();
    if (!vertices.empty())
        UploadVertices(vertices.data(), static_cast<int>(vertices.size()));
    for (const Run& run : runs)
        DrawLines(run.first, run.count, run.colour.red, run.colour.green, run.colour.blue);
    ++pageTicks;
    leftwardPlaced |= startAngle == 270.0;
    if (glDigest != nullptr && leftwardPlaced && startAngle == 0.0 && grown.ticks == 0)
        grown = {pageTicks, digest.calls, digest.value};
}

// Digests the page's calls from the next one on, whatever figure it is in.
// The page turns it on before its first tick: then from its first figure.
EMSCRIPTEN_KEEPALIVE void DigestCalls(int on) {
    glDigest = on != 0 ? &digest : nullptr;
}

EMSCRIPTEN_KEEPALIVE int PageTicks() {
    return pageTicks;
}
EMSCRIPTEN_KEEPALIVE int ClientWidth() {
    return screenWidth;
}
EMSCRIPTEN_KEEPALIVE int ClientHeight() {
    return screenHeight;
}

// Both figures of a W x H canvas grown whole here, digested without drawing;
// the page's own figure starts again afterwards. The results are read with
// the three calls after it, which otherwise tell the page's own.
EMSCRIPTEN_KEEPALIVE void DigestWholeFigures(int width, int height) {
    int pageWidth = screenWidth, pageHeight = screenHeight;
    CallDigest* pageDigest = glDigest;
    digest = CallDigest{};
    glDigest = &digest;
    glSink = GlSink{}; // digested only, not drawn
    int ticks = GrowBothFigures(width, height);
    glDigest = pageDigest;
    Grown result{ticks, digest.calls, digest.value};
    StartPage(pageWidth, pageHeight);
    grown = result;
}

EMSCRIPTEN_KEEPALIVE int WholeFiguresTicks() {
    return grown.ticks;
}
EMSCRIPTEN_KEEPALIVE double WholeFiguresCalls() {
    return static_cast<double>(grown.calls);
}
// The digest's high and low 32 bits: JavaScript numbers hold no 64 bits.
EMSCRIPTEN_KEEPALIVE unsigned WholeFiguresDigestHigh() {
    return static_cast<unsigned>(grown.digest >> 32);
}
EMSCRIPTEN_KEEPALIVE unsigned WholeFiguresDigestLow() {
    return static_cast<unsigned>(grown.digest);
}
}
