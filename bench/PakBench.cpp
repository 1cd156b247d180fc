// Reading data files from an archive against reading the same files loose from
// the disk, and the XML reader's speed on a large resource manifest.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/archive/PakInterface.h"
#include "framework/resource/XMLParser.h"
#include "tools/pak/PakTool.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 3000;

// A folder of a few thousand small files, loose and packed into one archive.
class DataSet {
 public:
  DataSet() {
    root = fs::temp_directory_path() /
           ("zing-bench-" + std::to_string(fs::file_time_type::clock::now().time_since_epoch().count()));
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = "group" + std::to_string(i % 40) + "/file" + std::to_string(i) + ".dat";
      fs::create_directories((root / "loose" / name).parent_path());
      std::ofstream out(root / "loose" / name, std::ios::binary);
      const std::string contents(512 + (i * 97) % 3584, static_cast<char>('a' + i % 26));
      out << contents;
      names.push_back(name);
      bytes += contents.size();
    }
    bool written = false;
    std::string error;
    PakTool::CreateArchive((root / "loose").string(), (root / "main.pak").string(), PakTool::Times::Zero, written,
                           error);
  }
  DataSet(const DataSet&) = delete;
  DataSet& operator=(const DataSet&) = delete;
  ~DataSet() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }

  fs::path root;
  std::vector<std::string> names;
  std::int64_t bytes = 0;
};

const DataSet& Data() {
  static const DataSet data;
  return data;
}

std::size_t ReadWhole(const std::string& name, std::vector<char>& block) {
  Zing::PFILE* file = Zing::p_fopen(name.c_str(), "rb");
  if (file == nullptr) return 0;
  Zing::p_fseek(file, 0, SEEK_END);
  block.resize(static_cast<std::size_t>(Zing::p_ftell(file)));
  Zing::p_fseek(file, 0, SEEK_SET);
  const std::size_t got = Zing::p_fread(block.data(), 1, block.size(), file);
  Zing::p_fclose(file);
  return got;
}

void ReadAll(benchmark::State& state, const std::string& prefix) {
  const DataSet& data = Data();
  std::vector<char> block;
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& name : data.names) total += ReadWhole(prefix + name, block);
    if (total != static_cast<std::size_t>(data.bytes)) state.SkipWithError("a file could not be read");
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
  state.SetBytesProcessed(state.iterations() * data.bytes);
}

void BM_ReadFilesFromArchive(benchmark::State& state) {
  const DataSet& data = Data();
  const fs::path previous = fs::current_path();
  fs::current_path(data.root);
  {
    Zing::PakInterface pak;
    pak.AddPakFile("main.pak");
    ReadAll(state, "");
  }
  fs::current_path(previous);
}
BENCHMARK(BM_ReadFilesFromArchive)->Unit(benchmark::kMillisecond);

void BM_ReadLooseFilesFromDisk(benchmark::State& state) {
  Zing::PakInterface pak;  // a layer without archives: every name goes to the disk
  ReadAll(state, (Data().root / "loose").string() + "/");
}
BENCHMARK(BM_ReadLooseFilesFromDisk)->Unit(benchmark::kMillisecond);

// A manifest of some megabytes in the shape of the game's own.
class Manifest {
 public:
  Manifest() {
    path = (fs::temp_directory_path() / "zing-bench-manifest.xml").string();
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\"?>\n<ResourceManifest>\n";
    for (int group = 0; group < 200; ++group) {
      out << "  <Resources id=\"Group" << group << "\">\n";
      out << "    <!-- images, fonts and sounds of group " << group << " -->\n";
      out << "    <SetDefaults path=\"images\" idprefix=\"IMAGE_\"/>\n";
      for (int i = 0; i < 100; ++i) {
        out << "    <Image id=\"PICTURE_" << group << "_" << i << "\" path=\"pictures/p" << i
            << ".png\" alphaimage=\"pictures/p" << i << "_alpha.png\" rows=\"2\" cols=\"4\"/>\n";
        out << "    <Sound id=\"SOUND_" << i << "\" path=\"sounds\\s" << i << ".ogg\" volume=\"0.8\" />\n";
      }
      out << "    <Text>some &lt;text&gt; with   spaces &amp; entities</Text>\n  </Resources>\n";
    }
    out << "</ResourceManifest>\n";
    out.close();
    size = static_cast<std::int64_t>(fs::file_size(path));
  }
  Manifest(const Manifest&) = delete;
  Manifest& operator=(const Manifest&) = delete;
  ~Manifest() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }

  std::string path;
  std::int64_t size = 0;
};

void BM_XMLReadManifest(benchmark::State& state) {
  static const Manifest manifest;
  for (auto _ : state) {
    Zing::XMLParser parser;
    parser.OpenFile(manifest.path);
    Zing::XMLElement element;
    std::size_t elements = 0;
    while (parser.NextElement(element)) ++elements;
    if (parser.HasFailed()) state.SkipWithError(parser.GetErrorText().c_str());
    benchmark::DoNotOptimize(elements);
  }
  state.SetBytesProcessed(state.iterations() * manifest.size);
}
BENCHMARK(BM_XMLReadManifest)->Unit(benchmark::kMillisecond);

}  // namespace
