// Speed of the software blends against two well-known libraries doing the
// same work on the same images, and against a plain memcpy of the same bytes:
// our normal, colourised and additive blits, our translucent fill, and a
// whole play-field frame. After the run, every result of ours is printed as
// a ratio to SDL2, to pixman and to memcpy.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/graphics/Blend.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"

namespace {

using Zing::Color;
using Zing::Graphics;
using Zing::MemoryImage;
using Zing::Rect;

constexpr int kScreenW = 640, kScreenH = 480, kTile = 45;

// ---------------------------------------------------------------- pictures

std::uint32_t Hue(std::uint32_t seed) {
  seed = seed * 2654435761u;
  return (seed >> 8) & 0x00FFFFFF;
}

// Discs of radius 19 every 45 pixels with a soft rim about two pixels wide:
// mostly opaque or transparent, like the game's pieces.
std::vector<std::uint32_t> SpriteLike(int w, int h) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double dx = x % kTile - 22, dy = y % kTile - 22;
      const int alpha = std::clamp(static_cast<int>((19.5 - std::sqrt(dx * dx + dy * dy)) * 100), 0, 255);
      pixels[static_cast<std::size_t>(y) * w + x] =
          (static_cast<std::uint32_t>(alpha) << 24) | Hue(static_cast<std::uint32_t>((y / kTile) * 31 + x / kTile));
    }
  }
  return pixels;
}

// Every pixel random, alpha included: the worst case for run-length tricks.
std::vector<std::uint32_t> RandomAlpha(int w, int h) {
  std::mt19937 rng(7);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (auto& p : pixels) p = rng();
  return pixels;
}

// A glow fading from the centre, for the additive stars.
std::vector<std::uint32_t> Star() {
  std::vector<std::uint32_t> pixels(kTile * kTile);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      const double d = std::sqrt((x - 22.0) * (x - 22.0) + (y - 22.0) * (y - 22.0)) / 22.0;
      const double fade = std::max(0.0, 1.0 - d);
      pixels[y * kTile + x] = (static_cast<std::uint32_t>(255 * fade * fade) << 24) | 0xFFE0A0;
    }
  }
  return pixels;
}

// A board cell: opaque with a soft, rounded edge.
std::vector<std::uint32_t> Cell() {
  std::vector<std::uint32_t> pixels(kTile * kTile);
  for (int y = 0; y < kTile; ++y) {
    for (int x = 0; x < kTile; ++x) {
      const int edge = std::min(std::min(x, y), std::min(kTile - 1 - x, kTile - 1 - y));
      pixels[y * kTile + x] = (static_cast<std::uint32_t>(std::min(255, 64 + edge * 96)) << 24) | 0x406080;
    }
  }
  return pixels;
}

std::vector<std::uint32_t> Opaque(int w, int h) {
  auto pixels = RandomAlpha(w, h);
  for (auto& p : pixels) p |= 0xFF000000;
  return pixels;
}

std::vector<std::uint32_t> Premultiplied(std::vector<std::uint32_t> pixels) {
  for (auto& p : pixels) {
    const std::uint32_t a = p >> 24;
    const auto c = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255; };
    p = (a << 24) | (c(16) << 16) | (c(8) << 8) | c(0);
  }
  return pixels;
}

// One picture in the three libraries' forms.
struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> straight;       // ours and SDL2: straight alpha
  std::vector<std::uint32_t> premultiplied;  // pixman
  MemoryImage image;
  SDL_Surface* surface = nullptr;
  pixman_image_t* pix = nullptr;

  Picture(std::vector<std::uint32_t> pixels, int width, int height)
      : w(width), h(height), straight(std::move(pixels)), premultiplied(Premultiplied(straight)) {
    image.SetBits(straight.data(), w, h);
    surface = SDL_CreateRGBSurfaceWithFormatFrom(straight.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
    pix = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, premultiplied.data(), w * 4);
  }
  ~Picture() {
    SDL_FreeSurface(surface);
    pixman_image_unref(pix);
  }
};

// The screen: an opaque 640 x 480 image in all three forms.
struct Screen {
  std::vector<std::uint32_t> pixels = Opaque(kScreenW, kScreenH);
  MemoryImage image;
  SDL_Surface* surface;
  pixman_image_t* pix;
  Screen() {
    image.SetBits(pixels.data(), kScreenW, kScreenH);
    image.SetImageMode(false, false);
    surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kScreenW, kScreenH, 32, kScreenW * 4,
                                                 SDL_PIXELFORMAT_ARGB8888);
    pix = pixman_image_create_bits(PIXMAN_a8r8g8b8, kScreenW, kScreenH, pixels.data(), kScreenW * 4);
  }
  ~Screen() {
    SDL_FreeSurface(surface);
    pixman_image_unref(pix);
  }
};

struct Pictures {
  Screen screen;
  std::map<std::string, std::unique_ptr<Picture>> byName;
  Pictures() {
    Add("sprite/640", SpriteLike(kScreenW, kScreenH), kScreenW, kScreenH);
    Add("random/640", RandomAlpha(kScreenW, kScreenH), kScreenW, kScreenH);
    Add("sprite/45", SpriteLike(kTile, kTile), kTile, kTile);
    Add("random/45", RandomAlpha(kTile, kTile), kTile, kTile);
    Add("background", Opaque(470, 480), 470, 480);
    Add("cell", Cell(), kTile, kTile);
    Add("star", Star(), kTile, kTile);
  }
  void Add(const std::string& name, std::vector<std::uint32_t> pixels, int w, int h) {
    byName[name] = std::make_unique<Picture>(std::move(pixels), w, h);
  }
  Picture& operator[](const std::string& name) { return *byName.at(name); }
};

Pictures& All() {
  static Pictures pictures;
  return pictures;
}

// Where a picture of this size is drawn: 45 x 45 ones away from the edges.
int PlaceX(const Picture& p) { return p.w == kScreenW ? 0 : 300; }
int PlaceY(const Picture& p) { return p.h == kScreenH ? 0 : 200; }

const Color kTint(200, 150, 100, 255);
const Color kFill(30, 60, 90, 128);

// ---------------------------------------------------------------- the work

enum class Op { kNormal, kColourise, kAdd };

void Ours(benchmark::State& state, const std::string& source, Op op) {
  Picture& p = All()[source];
  Graphics g(&All().screen.image);
  if (op == Op::kColourise) {
    g.SetColor(kTint);
    g.SetColorizeImages(true);
  }
  if (op == Op::kAdd) g.SetDrawMode(1);
  for (auto _ : state) g.DrawImage(&p.image, PlaceX(p), PlaceY(p));
  state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void Sdl(benchmark::State& state, const std::string& source, Op op) {
  Picture& p = All()[source];
  SDL_SetSurfaceBlendMode(p.surface, op == Op::kAdd ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
  if (op == Op::kColourise) SDL_SetSurfaceColorMod(p.surface, kTint.r, kTint.g, kTint.b);
  for (auto _ : state) {
    SDL_Rect where{PlaceX(p), PlaceY(p), p.w, p.h};
    SDL_BlitSurface(p.surface, nullptr, All().screen.surface, &where);
  }
  SDL_SetSurfaceColorMod(p.surface, 255, 255, 255);
  state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void Pixman(benchmark::State& state, const std::string& source, Op op) {
  Picture& p = All()[source];
  pixman_image_t* mask = nullptr;
  if (op == Op::kColourise) {
    // A solid mask with component alpha multiplies each channel: the same
    // work as colour modulation.
    const pixman_color_t tint{static_cast<std::uint16_t>(kTint.r * 257), static_cast<std::uint16_t>(kTint.g * 257),
                              static_cast<std::uint16_t>(kTint.b * 257), 0xFFFF};
    mask = pixman_image_create_solid_fill(&tint);
    pixman_image_set_component_alpha(mask, 1);
  }
  const pixman_op_t pixmanOp = op == Op::kAdd ? PIXMAN_OP_ADD : PIXMAN_OP_OVER;
  for (auto _ : state) {
    pixman_image_composite32(pixmanOp, p.pix, mask, All().screen.pix, 0, 0, 0, 0, PlaceX(p), PlaceY(p), p.w, p.h);
  }
  if (mask) pixman_image_unref(mask);
  state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void OursFill(benchmark::State& state, int size) {
  Graphics g(&All().screen.image);
  g.SetColor(kFill);
  const int w = size == kTile ? kTile : kScreenW, h = size == kTile ? kTile : kScreenH;
  for (auto _ : state) g.FillRect(size == kTile ? 300 : 0, size == kTile ? 200 : 0, w, h);
  state.SetItemsProcessed(state.iterations() * w * h);
}

void PixmanFill(benchmark::State& state, int size) {
  const pixman_color_t c{static_cast<std::uint16_t>(kFill.r * kFill.a * 257 / 255),
                         static_cast<std::uint16_t>(kFill.g * kFill.a * 257 / 255),
                         static_cast<std::uint16_t>(kFill.b * kFill.a * 257 / 255),
                         static_cast<std::uint16_t>(kFill.a * 257)};
  pixman_image_t* solid = pixman_image_create_solid_fill(&c);
  const int w = size == kTile ? kTile : kScreenW, h = size == kTile ? kTile : kScreenH;
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, All().screen.pix, 0, 0, 0, 0, size == kTile ? 300 : 0,
                             size == kTile ? 200 : 0, w, h);
  }
  pixman_image_unref(solid);
  state.SetItemsProcessed(state.iterations() * w * h);
}

void Memcpy(benchmark::State& state, int size) {
  Picture& p = All()[size == kTile ? "random/45" : "random/640"];
  std::uint32_t* screen = All().screen.pixels.data();
  for (auto _ : state) {
    for (int y = 0; y < p.h; ++y) {
      std::memcpy(screen + static_cast<std::size_t>(PlaceY(p) + y) * kScreenW + PlaceX(p),
                  p.straight.data() + static_cast<std::size_t>(y) * p.w, static_cast<std::size_t>(p.w) * 4);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

// The play field: a 470 x 480 background, 100 cells, 60 pieces and three
// dozen additive stars, at fixed places.
struct Placement {
  int x, y;
};
std::vector<Placement> Board(int count) {
  std::vector<Placement> out;
  for (int i = 0; i < count; ++i) out.push_back({170 + 10 + (i % 10) * kTile, 15 + (i / 10) * kTile});
  return out;
}
std::vector<Placement> Stars() {
  std::mt19937 rng(3);
  std::vector<Placement> out;
  for (int i = 0; i < 36; ++i) out.push_back({170 + static_cast<int>(rng() % 420), static_cast<int>(rng() % 430)});
  return out;
}

void OursFrame(benchmark::State& state) {
  Pictures& all = All();
  const auto cells = Board(100), pieces = Board(60), stars = Stars();
  for (auto _ : state) {
    Graphics g(&all.screen.image);
    g.DrawImage(&all["background"].image, 170, 0);
    for (const auto& c : cells) g.DrawImage(&all["cell"].image, c.x, c.y);
    for (const auto& p : pieces) g.DrawImage(&all["sprite/45"].image, p.x, p.y);
    g.SetDrawMode(1);
    for (const auto& s : stars) g.DrawImage(&all["star"].image, s.x, s.y);
  }
  state.SetItemsProcessed(state.iterations() * kScreenW * kScreenH);
}

void SdlFrame(benchmark::State& state) {
  Pictures& all = All();
  const auto cells = Board(100), pieces = Board(60), stars = Stars();
  SDL_SetSurfaceBlendMode(all["background"].surface, SDL_BLENDMODE_NONE);
  SDL_SetSurfaceBlendMode(all["cell"].surface, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceBlendMode(all["sprite/45"].surface, SDL_BLENDMODE_BLEND);
  SDL_SetSurfaceBlendMode(all["star"].surface, SDL_BLENDMODE_ADD);
  const auto blit = [&](const char* name, int x, int y) {
    SDL_Rect where{x, y, all[name].w, all[name].h};
    SDL_BlitSurface(all[name].surface, nullptr, all.screen.surface, &where);
  };
  for (auto _ : state) {
    blit("background", 170, 0);
    for (const auto& c : cells) blit("cell", c.x, c.y);
    for (const auto& p : pieces) blit("sprite/45", p.x, p.y);
    for (const auto& s : stars) blit("star", s.x, s.y);
  }
  state.SetItemsProcessed(state.iterations() * kScreenW * kScreenH);
}

void PixmanFrame(benchmark::State& state) {
  Pictures& all = All();
  const auto cells = Board(100), pieces = Board(60), stars = Stars();
  const auto draw = [&](pixman_op_t op, const char* name, int x, int y) {
    pixman_image_composite32(op, all[name].pix, nullptr, all.screen.pix, 0, 0, 0, 0, x, y, all[name].w, all[name].h);
  };
  for (auto _ : state) {
    draw(PIXMAN_OP_SRC, "background", 170, 0);
    for (const auto& c : cells) draw(PIXMAN_OP_OVER, "cell", c.x, c.y);
    for (const auto& p : pieces) draw(PIXMAN_OP_OVER, "sprite/45", p.x, p.y);
    for (const auto& s : stars) draw(PIXMAN_OP_ADD, "star", s.x, s.y);
  }
  state.SetItemsProcessed(state.iterations() * kScreenW * kScreenH);
}

void RegisterAll() {
  const std::pair<const char*, Op> ops[] = {{"normal", Op::kNormal}, {"tint", Op::kColourise}, {"add", Op::kAdd}};
  for (const char* source : {"sprite/640", "random/640", "sprite/45", "random/45"}) {
    for (const auto& [name, op] : ops) {
      const std::string suffix = std::string(name) + "/" + source;
      benchmark::RegisterBenchmark(("ours/" + suffix).c_str(), Ours, source, op);
      benchmark::RegisterBenchmark(("sdl/" + suffix).c_str(), Sdl, source, op);
      benchmark::RegisterBenchmark(("pixman/" + suffix).c_str(), Pixman, source, op);
    }
  }
  for (int size : {640, 45}) {
    const std::string suffix = "fill/" + std::to_string(size);
    benchmark::RegisterBenchmark(("ours/" + suffix).c_str(), OursFill, size);
    benchmark::RegisterBenchmark(("pixman/" + suffix).c_str(), PixmanFill, size);
    benchmark::RegisterBenchmark(("memcpy/" + std::to_string(size)).c_str(), Memcpy, size);
  }
  benchmark::RegisterBenchmark("ours/frame", OursFrame);
  benchmark::RegisterBenchmark("sdl/frame", SdlFrame);
  benchmark::RegisterBenchmark("pixman/frame", PixmanFrame);
}

// ---------------------------------------------------------------- ratios

// Prints as usual and keeps every result's pixel rate for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto it = run.counters.find("items_per_second");
      if (it != run.counters.end()) rates[run.benchmark_name()] = it->second.value;
    }
  }

  void PrintRatios() const {
    std::printf("\nOurs as a multiple of the others' speed (higher is better):\n");
    std::printf("%-24s %12s %9s %9s %9s\n", "ours", "Mpixel/s", "x SDL2", "x pixman", "x memcpy");
    for (const auto& [name, rate] : rates) {
      if (name.rfind("ours/", 0) != 0 || name == "ours/frame") continue;
      const std::string rest = name.substr(5);
      const std::string size = rest.substr(rest.rfind('/') + 1);
      std::printf("%-24s %12.0f %9s %9s %9s\n", rest.c_str(), rate / 1e6, Ratio(rate, "sdl/" + rest).c_str(),
                  Ratio(rate, "pixman/" + rest).c_str(), Ratio(rate, "memcpy/" + size).c_str());
    }
    const auto frame = rates.find("ours/frame");
    const auto copy = rates.find("memcpy/640");
    if (frame != rates.end() && copy != rates.end()) {
      std::printf(
          "\nplay-field frame: %.2f ms; %.2f times a 640 x 480 memcpy (goal: at most 10); x SDL2 %s, x pixman %s\n",
          kScreenW * kScreenH / frame->second * 1e3, copy->second / frame->second,
          Ratio(frame->second, "sdl/frame").c_str(), Ratio(frame->second, "pixman/frame").c_str());
    }
    std::printf("blend kernels: %s\n", Zing::Blend::ActiveKernels().name);
  }

 private:
  std::string Ratio(double rate, const std::string& other) const {
    const auto it = rates.find(other);
    if (it == rates.end() || it->second <= 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", rate / it->second);
    return text;
  }

  std::map<std::string, double> rates;
};

}  // namespace

// --kernels=scalar|sse2|avx2 measures one particular set of blend kernels
// (by default the widest the processor runs).
bool ChooseKernels(int& argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--kernels=", 0) != 0) continue;
    const std::string name = arg.substr(10);
    const Zing::Blend::Kernels* kernels = name == "scalar" ? &Zing::Blend::ScalarKernels()
                                          : name == "sse2" ? Zing::Blend::Sse2Kernels()
                                          : name == "avx2" ? Zing::Blend::Avx2Kernels()
                                                           : nullptr;
    if (!kernels) {
      std::fprintf(stderr, "no blend kernels \"%s\" on this processor\n", name.c_str());
      return false;
    }
    Zing::Blend::SetActiveKernels(kernels);
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    --i;
  }
  return true;
}

int main(int argc, char** argv) {
  if (!ChooseKernels(argc, argv)) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
