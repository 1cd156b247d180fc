#pragma once

// Level records and small hand-made levels for the puzzle tests, and a driver that plays a puzzle
// the way the play screen does: mouse events in widget coordinates between logic ticks.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "game/puzzle/Puzzle.h"
#include "tests/puzzle/FakeHost.h"

namespace LintwickTest {

// Builders of level records, written the way the level generator lays them out.
inline std::string BoardRecord(const std::vector<std::uint16_t>& rows) {
  std::string record(Lintwick::kBoardRecordSize, '\0');
  for (std::size_t y = 0; y < rows.size(); ++y) {
    record[2 * y] = static_cast<char>(rows[y] & 0xFF);
    record[2 * y + 1] = static_cast<char>(rows[y] >> 8);
  }
  return record;
}

inline std::string FullBoard(std::uint16_t mask = 0x3FF) { return BoardRecord(std::vector<std::uint16_t>(10, mask)); }

inline std::string NodeRecord(std::vector<int> codes, int count = -1) {
  std::string record(Lintwick::kNodeRecordSize, '\0');
  record[0] = static_cast<char>(count >= 0 ? count : static_cast<int>(codes.size()));
  for (std::size_t i = 0; i < codes.size() && i < 15; ++i) record[1 + i] = static_cast<char>(codes[i]);
  return record;
}

inline std::string SolutionRecord(std::vector<std::vector<int>> paths) {
  std::string record;
  for (std::size_t link = 0; link < 7; ++link) {
    const auto& path = link < paths.size() ? paths[link] : std::vector<int>{};
    record.push_back(static_cast<char>(path.size()));
    for (int code : path) record.push_back(static_cast<char>(code));
  }
  record.resize(Lintwick::kSolutionRecordSize, '\0');
  return record;
}

// A solution record that only sets the vortex allowance: 10 + `cells`.
inline std::vector<std::vector<int>> SolutionOf(int cells) {
  return {std::vector<int>(static_cast<std::size_t>(cells), 0)};
}

// The three level files, one record per level.
struct LevelFiles {
  std::string board, nodes, solutions;
  void Add(const std::string& b, const std::string& n, const std::string& s) {
    board += b;
    nodes += n;
    solutions += s;
  }
  void Add(const LevelFiles& level, int copies = 1) {
    for (int i = 0; i < copies; ++i) Add(level.board, level.nodes, level.solutions);
  }
  void InstallInto(FakeHost& host) const {
    host.files[Lintwick::kBoardFile] = board;
    host.files[Lintwick::kNodeFile] = nodes;
    host.files[Lintwick::kSolutionFile] = solutions;
  }
};

// A level drawn as rows of text: '#' or ' ' a hole, '.' a free cell, 'A'..'G' the target node (slot
// 0) and 'a'..'g' the start node (slot 1) of links 0..6. Cells beyond the rows are holes.
inline LevelFiles LevelFromMap(const std::vector<std::string>& rows,
                               const std::vector<std::vector<int>>& solution = {}) {
  std::vector<std::uint16_t> masks(10, 0);
  std::vector<int> targets(7, -1), starts(7, -1);
  for (std::size_t y = 0; y < rows.size() && y < 10; ++y) {
    for (std::size_t x = 0; x < rows[y].size() && x < 10; ++x) {
      const char c = rows[y][x];
      if (c == '#' || c == ' ') continue;
      masks[y] = static_cast<std::uint16_t>(masks[y] | (1u << x));
      const int code = Lintwick::CellCode(static_cast<int>(x), static_cast<int>(y));
      if (c >= 'A' && c <= 'G') targets[c - 'A'] = code;
      if (c >= 'a' && c <= 'g') starts[c - 'a'] = code;
    }
  }
  std::vector<int> codes;
  for (int link = 0; link < 7 && targets[link] >= 0; ++link) codes.insert(codes.end(), {targets[link], starts[link]});
  return {BoardRecord(masks), NodeRecord(codes), SolutionRecord(solution)};
}

// The level files the build generated into $LINTWICK_DATA_DIR/levels, or nothing when they are missing.
inline std::optional<FakeHost> GeneratedLevels() {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  if (!dir) return std::nullopt;
  FakeHost host;
  for (const char* name : {Lintwick::kBoardFile, Lintwick::kNodeFile, Lintwick::kSolutionFile}) {
    std::string path = std::string(dir) + "/" + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::ifstream in(path, std::ios::binary);
    host.files[name] = std::string(std::istreambuf_iterator<char>(in), {});
    if (host.files[name].empty()) return std::nullopt;
  }
  return host;
}

// The whole state of a puzzle in one line: score and counters, transition,
// drawing, cube, mark, blinks, hover, every piece's look, every vortex and star.
inline std::string StateLine(const Lintwick::Puzzle& p) {
  std::ostringstream s;
  const auto at = [](const Lintwick::Piece* piece) { return piece ? 10 * piece->link + piece->slot * 100 : -1; };
  s << p.mLevel << " score " << p.mScore << " points " << p.mLevelPoints << "/" << p.mLevelPointsShown << " left "
    << p.mVortexesLeft << " hints " << p.mHintsLeft << p.mHintShown << " shutters " << p.mShutterTick << "/"
    << p.mShutterOffset << "/" << p.mTransitionKind << p.mPerfectSolve << " draw " << p.mCurrentLink << "@"
    << p.mCursorX << p.mCursorY << "+" << p.mQueuedSteps.size() << p.mPressed << " cube " << at(p.mCube) << " "
    << p.mCubeFrame << "/" << p.mCubeDir << "/" << p.mCubeCel << "/" << p.mCubeEnd << "/" << p.mTargetFrame << " mark "
    << at(p.mMark) << " " << p.mMarkAction << p.mMarkPhase << p.mMarkTicks << " bar " << p.mBarBlink << p.mBarHighlight
    << " hover " << p.mHoverX << p.mHoverY << p.mHoverOnPiece << p.mKeyboardCursor;
  for (int link = 0; link < Lintwick::kMaxLinks; ++link) {
    const Lintwick::Link& l = p.GetLink(link);
    if (l.count) s << " L" << link << (l.completed ? "+" : "") << ":";
    for (int slot = 0; slot < l.count; ++slot)
      if (const Lintwick::Piece* q = l.At(slot))
        s << " " << q->x << q->y << "," << q->cel << "," << q->frame << "," << q->frameLimit << q->shrinking
          << q->highlighted;
  }
  for (const auto& v : p.mVortices)
    if (v) s << " V" << v->link << "," << v->x << "," << v->y << "," << v->frame;
  for (const auto& star : p.mStars)
    if (star) s << " S" << star->pattern << "," << star->x << "," << star->y << "," << star->age << star->emitter;
  return s.str();
}

// A buffer holding `bytes`, and the bytes a buffer holds (as a file holds them).
inline Zing::Buffer BufferOf(const std::string& bytes) {
  Zing::Buffer buffer;
  buffer.SetData(bytes.data(), bytes.size());
  return buffer;
}
inline std::string Bytes(const Zing::Buffer& buffer) {
  return {reinterpret_cast<const char*>(buffer.GetDataPtr()), buffer.GetDataLen()};
}

// FNV-1a over bytes, to pin a long trace or a picture in one number.
inline std::uint64_t Fnv(const void* data, std::size_t size, std::uint64_t hash = 0xcbf29ce484222325ull) {
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<const std::uint8_t*>(data)[i]) * 0x100000001b3ull;
  return hash;
}

// Plays a puzzle through its input entry points and ticks, stamping the fake host's requests with
// the tick count. Every tick adds the puzzle's state and the requests it made to a trace, which
// Digest() pins in one number: a level played tick by tick against its expected states.
struct Player {
  FakeHost host;
  std::unique_ptr<Lintwick::Puzzle> puzzle;
  std::vector<std::string> trace;
  std::size_t heard = 0;

  // One level given as a map, with an optional solution record.
  explicit Player(const std::vector<std::string>& rows, const std::vector<std::vector<int>>& solution = {}) {
    LevelFromMap(rows, solution).InstallInto(host);
    puzzle = std::make_unique<Lintwick::Puzzle>(host);
  }
  explicit Player(FakeHost prepared) : host(std::move(prepared)) { puzzle = std::make_unique<Lintwick::Puzzle>(host); }

  Lintwick::Puzzle* operator->() { return puzzle.get(); }

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      ++host.tick;
      const bool ticked = puzzle->Tick();  // before the state is read, whatever the compiler's order
      std::string line = std::to_string(ticked) + " " + StateLine(*puzzle);
      // The requests made since the last tick are the last ones (the test may have cleared the rest).
      const std::size_t size = host.requests.size();
      for (std::size_t r = size - std::min(host.made - heard, size); r < size; ++r)
        line += " " + host.requests[r].what + host.requests[r].value;
      heard = host.made;
      trace.push_back(line);
    }
  }
  // The trace in one number; LINTWICK_TRACE=1 prints it, to see what changed.
  std::uint64_t Digest() const {
    std::uint64_t hash = Fnv("", 0);
    for (const std::string& line : trace) {
      hash = Fnv(line.data(), line.size() + 1, hash);
      if (std::getenv("LINTWICK_TRACE")) std::printf("%s\n", line.c_str());
    }
    return hash;
  }
  // A click that the next tick handles.
  void ClickAndTick(int cx, int cy) {
    puzzle->HandleMouseDown(Lintwick::CellCentreX(cx), Lintwick::CellCentreY(cy), 1);
    Tick();
  }
  // Moves the mouse into a cell and lets one tick take the step.
  void Step(int cx, int cy) {
    puzzle->HandleMouseMove(Lintwick::CellCentreX(cx), Lintwick::CellCentreY(cy));
    Tick();
  }
  // Stops drawing with a right click and lets the released cube settle.
  void Release() {
    puzzle->HandleMouseDown(Lintwick::CellCentreX(0), Lintwick::CellCentreY(0), -1);
    WaitForCube();
  }
  // Ticks until the cube has settled (or a limit is reached).
  void WaitForCube(int limit = 200) {
    for (int i = 0; i < limit && puzzle->mCube; ++i) Tick();
  }

  // Plays a script of strokes, keys and ticks, the way a person's input comes between logic ticks.
  // A place is a cell as two digits ("31": column 3, row 1) or a point in pixels ("455,37"). c
  // clicks the place and ticks, C only clicks, R right-clicks, m moves the mouse there, s moves and
  // ticks (a step); tN ticks N times (t once), w waits for the cube, x releases (a right click and
  // the wait), L the pointer leaves the field, P1 / P0 pause and resume, k and one of ULRDPC
  // presses a board key. `after` runs after every action.
  void Play(const std::string& script, const std::function<void()>& after = {}) {
    std::istringstream in(script);
    for (std::string t; in >> t;) {
      const char a = t[0];
      const std::string arg = t.substr(1);
      const auto comma = arg.find(',');
      const bool pixels = comma != std::string::npos;
      const int x = pixels ? std::atoi(arg.c_str()) : Lintwick::CellCentreX(arg.empty() ? 0 : arg[0] - '0');
      const int y =
          pixels ? std::atoi(arg.c_str() + comma + 1) : Lintwick::CellCentreY(arg.size() < 2 ? 0 : arg[1] - '0');
      if (std::string("cCRmsLPktwx").find(a) == std::string::npos)
        throw std::invalid_argument("no such action in a script: " + t);
      if (a == 'c' || a == 'C' || a == 'R') puzzle->HandleMouseDown(x, y, a == 'R' ? -1 : 1);
      if (a == 'm' || a == 's') puzzle->HandleMouseMove(x, y);
      if (a == 'L') puzzle->HandleMouseLeave();
      if (a == 'P') puzzle->Pause(arg == "1");
      if (a == 'k') puzzle->HandleBoardKey(static_cast<Lintwick::BoardKey>(std::string("ULRDPC").find(arg.at(0))));
      if (a == 'c' || a == 's' || a == 't') Tick(a == 't' && !arg.empty() ? std::atoi(arg.c_str()) : 1);
      if (a == 'w') WaitForCube();
      if (a == 'x') Release();
      if (after) after();
    }
  }

  Lintwick::Piece* At(int x, int y) const { return puzzle->PieceAt(x, y); }
  const Lintwick::Link& LinkOf(int link) const { return puzzle->GetLink(link); }
};

}  // namespace LintwickTest
