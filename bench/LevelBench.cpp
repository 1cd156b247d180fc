// Cost of building a level from the level files (every level change, replay
// and load does it) and of the byte buffer that reads them.

#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "framework/app/Buffer.h"
#include "game/puzzle/Puzzle.h"
#include "tests/puzzle/FakeHost.h"

namespace {

// 100 levels of full boards with seven links and long solution groups.
LintwickTest::FakeHost MakeHost() {
  LintwickTest::FakeHost host;
  std::string board, nodes, solutions;
  for (int level = 0; level < 100; ++level) {
    for (int row = 0; row < 10; ++row) board += std::string("\xFF\x03", 2);
    board += std::string(12, '\0');
    nodes += static_cast<char>(14);
    for (int i = 0; i < 14; ++i) nodes += static_cast<char>((i % 10) << 4 | (i / 10) * 9);
    nodes += '\0';
    std::string record;
    for (int link = 0; link < 7; ++link) {
      record += static_cast<char>(12);
      for (int i = 0; i < 12; ++i) record += static_cast<char>(link << 4 | (i % 8 + 1));
    }
    record.resize(100, '\0');
    solutions += record;
  }
  host.files[Lintwick::kBoardFile] = board;
  host.files[Lintwick::kNodeFile] = nodes;
  host.files[Lintwick::kSolutionFile] = solutions;
  return host;
}

void BM_RestartLevel(benchmark::State& state) {
  LintwickTest::FakeHost host = MakeHost();
  Lintwick::Puzzle puzzle(host);
  int level = 0;
  for (auto _ : state) {
    puzzle.mLevel = level;
    level = (level + 37) % 100;
    puzzle.RestartLevel();
    benchmark::DoNotOptimize(puzzle.mVortexesLeft);
  }
}
BENCHMARK(BM_RestartLevel);

void BM_BufferWriteReadBytes(benchmark::State& state) {
  for (auto _ : state) {
    Zing::Buffer buffer;
    for (int i = 0; i < 4096; ++i) buffer.WriteLong(i);
    std::int64_t sum = 0;
    for (int i = 0; i < 4096; ++i) sum += buffer.ReadLong();
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * 4096 * 4);
}
BENCHMARK(BM_BufferWriteReadBytes);

}  // namespace
