// Text drawing speed: one 60-character line in the game's default font,
// against the same line rendered with SDL_ttf (blended) and blitted; and all
// the text of the game's largest dialog (the help page, in French, its
// longest language) word-wrapped into its panel, against one 640 x 480
// memcpy. Ends with one summary line, figures in microseconds.

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/platform/Windows1252.h"
#include "tests/graphics/FontTestHost.h"
#include "tools/artgen/Texts.h"

namespace {

using namespace Zing;

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kFontPixels = 14;  // the default font's size
constexpr char kLine[] = "The rolling cube lays the path as you move: join every pair!";
constexpr char kDejaVu[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
static_assert(sizeof kLine - 1 == 60);

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_BENCH_DATA_DIR;
}

ImageFont& DefaultFont() {
  static ZingTest::FontTestHost host;
  static ImageFont font(&host, DataDir() + "/fonts/default.txt");
  return font;
}

MemoryImage& Screen() {
  static MemoryImage screen;
  if (screen.GetWidth() == 0) {
    // The screen image is opaque, as the window's is.
    screen.Create(kScreenW, kScreenH);
    Graphics g(&screen);
    g.SetColor(Color(20, 40, 60));
    g.FillRect(0, 0, kScreenW, kScreenH);
    screen.CommitBits();
  }
  return screen;
}

void OursLine(benchmark::State& state) {
  ImageFont& font = DefaultFont();
  if (!font.IsLoaded()) state.SkipWithError("build/data/fonts/default.txt did not load (make build)");
  Graphics g(&Screen());
  for (auto _ : state) font.DrawString(&g, 10, 100, kLine, Color::White, g.GetClipRect());
}

void SdlTtfLine(benchmark::State& state) {
  TTF_Init();
  TTF_Font* font = TTF_OpenFont(kDejaVu, kFontPixels);
  SDL_Surface* screen = SDL_CreateRGBSurfaceWithFormat(0, kScreenW, kScreenH, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!font || !screen) state.SkipWithError("SDL_ttf cannot open DejaVu Sans");
  for (auto _ : state) {
    SDL_Surface* text = TTF_RenderUTF8_Blended(font, kLine, SDL_Color{255, 255, 255, 255});
    SDL_Rect at{10, 100 - TTF_FontAscent(font), 0, 0};
    SDL_BlitSurface(text, nullptr, screen, &at);
    SDL_FreeSurface(text);
  }
  SDL_FreeSurface(screen);
  if (font) TTF_CloseFont(font);
  TTF_Quit();
}

// The help dialog's text: a title, four headings with two lines each, a button.
std::string HelpDialogText() {
  const artgen::Language& french = artgen::kLanguages[1];
  std::string text = "Aide - Comment jouer\n";
  for (const auto& block : french.help) text += std::string(block[0]) + "\n" + block[1] + " " + block[2] + "\n";
  return Platform::Utf8ToWindows1252(text + "OK");
}

void OursDialog(benchmark::State& state) {
  ImageFont& font = DefaultFont();
  Graphics g(&Screen());
  g.SetFont(&font);
  g.SetColor(Color::White);
  const std::string text = HelpDialogText();
  for (auto _ : state) g.WriteWordWrapped(Rect(120, 80, 400, 320), text, -1, Graphics::kJustifyCenter);
}

void MemcpyFrame(benchmark::State& state) {
  std::vector<std::uint32_t> from(kScreenW * kScreenH, 0x12345678), to(kScreenW * kScreenH);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

// Prints as usual and keeps every benchmark's time per iteration (microseconds).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) micros[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void PrintSummary() const {
    const double ours = Get("ours/line"), ttf = Get("sdl_ttf/line");
    const double dialog = Get("ours/largest_dialog"), frame = Get("memcpy/frame");
    std::printf("fonts: line ours %.2f, sdl_ttf %.2f, speed-up %.1f; largest dialog %.2f = %.2f memcpy-frames\n", ours,
                ttf, ours > 0 ? ttf / ours : 0.0, dialog, frame > 0 ? dialog / frame : 0.0);
  }

 private:
  double Get(const std::string& name) const {
    const auto it = micros.find(name);
    return it == micros.end() ? 0.0 : it->second;
  }
  std::map<std::string, double> micros;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark("ours/line", OursLine)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("sdl_ttf/line", SdlTtfLine)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("ours/largest_dialog", OursDialog)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("memcpy/frame", MemcpyFrame)->Unit(benchmark::kMicrosecond);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
