// Loading the game's group "Game" through the resource manager, from main.pak
// and from the loose files, against decoding the same picture files with
// libpng and libjpeg called directly. Ends with the summary line
// "resources: main.pak A, loose B, bare decode C, manager/decode R" (ms of
// processor time; R is the main.pak load over the bare decode).

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app/ZingAppBase.h"
#include "framework/archive/PakInterface.h"
#include "framework/graphics/ImageLib.h"
#include "framework/platform/NullPlatform.h"

namespace {

namespace fs = std::filesystem;

std::string DataDir() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return dir && *dir ? dir : LINTWICK_BENCH_DATA_DIR;
}

class NullFont : public Zing::Font {
 public:
  Zing::Font* Duplicate() const override { return new NullFont(*this); }
};

// Fonts are not what is measured: the factory answers at once.
class NullFontFactory : public Zing::FontFactory {
 public:
  std::unique_ptr<Zing::Font> CreateImageFont(const std::string&, Zing::MemoryImage*,
                                              const std::vector<std::string>&) override {
    return std::make_unique<NullFont>();
  }
  std::unique_ptr<Zing::Font> CreateSysFont(const std::string&, int, bool, bool, bool, bool) override {
    return std::make_unique<NullFont>();
  }
};

class BenchApp : public Zing::ZingAppBase {
 public:
  BenchApp() : ZingAppBase(std::make_unique<Zing::Platform::NullServices>()) {
    resourceManager->SetFontFactory(&fonts);
  }
  NullFontFactory fonts;
};

// Loads "Game" in a fresh application, from the archive or from the disk.
void LoadGame(bool fromPak) {
  const fs::path previous = fs::current_path();
  BenchApp app;
  if (fromPak) {
    static_cast<Zing::PakInterface*>(Zing::GetPakInterface())->AddPakFile(DataDir() + "/main.pak");
    fs::current_path(fs::temp_directory_path());
  } else {
    fs::current_path(DataDir());
  }
  if (!app.resourceManager->ParseResourcesFile("properties\\resources.xml") ||
      !app.resourceManager->LoadResources("Game")) {
    std::fprintf(stderr, "%s\n", app.resourceManager->GetErrorText().c_str());
    std::abort();
  }
  fs::current_path(previous);
}

// The picture files group "Game" reads: each image and its "_name" mask.
std::vector<std::string> GameFiles() {
  std::ifstream in(DataDir() + "/properties/resources.xml");
  std::stringstream text;
  text << in.rdbuf();
  const std::string manifest = text.str();
  const std::size_t start = manifest.find("<Resources id=\"Game\">");
  const std::string game = manifest.substr(start, manifest.find("</Resources>", start) - start);
  std::vector<std::string> files;
  const std::regex image("<Image [^>]*path=\"([a-z0-9_]+)\"");
  for (std::sregex_iterator it(game.begin(), game.end(), image), end; it != end; ++it) {
    for (const std::string& name : {(*it)[1].str(), "_" + (*it)[1].str()})
      for (const char* extension : {".tga", ".jpg", ".png", ".gif"}) {
        const std::string path = DataDir() + "/images/" + name + extension;
        if (fs::exists(path)) {
          files.push_back(path);
          break;
        }
      }
  }
  return files;
}

std::size_t DecodePng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) std::abort();
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) std::abort();
  return pixels.size();
}

std::size_t DecodeJpeg(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  std::vector<JSAMPLE> pixels(static_cast<std::size_t>(info.output_width) * info.output_height *
                              static_cast<std::size_t>(info.output_components));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * info.output_width *
                                       static_cast<std::size_t>(info.output_components);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return pixels.size();
}

std::size_t BareDecode(const std::vector<std::string>& files) {
  std::size_t bytes = 0;
  for (const std::string& path : files) {
    const std::string extension = path.substr(path.size() - 4);
    if (extension == ".png") {
      bytes += DecodePng(path);
    } else if (extension == ".jpg") {
      bytes += DecodeJpeg(path);
    } else if (Zing::ImageLib::ImagePtr other = Zing::ImageLib::GetImage(path, false)) {
      bytes += static_cast<std::size_t>(other->GetWidth()) * static_cast<std::size_t>(other->GetHeight()) * 4;
    }
  }
  return bytes;
}

void BM_ManagerFromPak(benchmark::State& state) {
  for (auto _ : state) LoadGame(true);
}
BENCHMARK(BM_ManagerFromPak)->Unit(benchmark::kMillisecond);

void BM_ManagerFromLooseFiles(benchmark::State& state) {
  for (auto _ : state) LoadGame(false);
}
BENCHMARK(BM_ManagerFromLooseFiles)->Unit(benchmark::kMillisecond);

void BM_BareDecode(benchmark::State& state) {
  const std::vector<std::string> files = GameFiles();
  for (auto _ : state) benchmark::DoNotOptimize(BareDecode(files));
}
BENCHMARK(BM_BareDecode)->Unit(benchmark::kMillisecond);

// The best of several runs, in milliseconds of processor time: the machines
// that run this are shared, and waiting for the processor is not loading.
template <typename Work>
double BestMs(Work work) {
  constexpr int kRuns = 7;
  double best = 1e300;
  for (int run = 0; run < kRuns; ++run) {
    const std::clock_t start = std::clock();
    work();
    best = std::min(best, 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const std::vector<std::string> files = GameFiles();
  const double pak = BestMs([] { LoadGame(true); });
  const double loose = BestMs([] { LoadGame(false); });
  const double bare = BestMs([&files] { benchmark::DoNotOptimize(BareDecode(files)); });
  std::printf("resources: main.pak %.1f, loose %.1f, bare decode %.1f, manager/decode %.2f\n", pak, loose, bare,
              pak / bare);
  return 0;
}
