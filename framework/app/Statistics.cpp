// The statistics display: frames per second (or the pointer's position) in
// the bottom-right corner of the screen, and above it, while a demo plays,
// the demo's time line. The text is drawn into the screen image just before
// it is presented and the pixels under it are put back afterwards, so the
// widgets' own drawing never sees it.

#include <algorithm>
#include <cstdio>

#include "framework/app/ZingAppBase.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SysFont.h"
#include "framework/widget/SystemFonts.h"

namespace Zing {

namespace {

constexpr int kEdge = 10;      // distance of the text from the right and bottom edges
constexpr int kLineStep = 15;  // the demo line stands this much higher
constexpr int kFontSize = 10;
constexpr int kMargin = 2;  // backing box around the text
constexpr std::uint32_t kFpsPeriodMs = 1000;

}  // namespace

void ZingAppBase::UpdateStatistics(std::uint32_t now) {
  if (fpsStart == 0) fpsStart = now;
  const std::uint32_t elapsed = now - fpsStart;
  if (elapsed < kFpsPeriodMs) return;
  fpsValue = static_cast<int>(static_cast<std::int64_t>(fpsFrames) * 1000 / elapsed);
  fpsFrames = 0;
  fpsStart = now;
}

std::vector<std::string> ZingAppBase::StatisticsLines() const {
  std::vector<std::string> lines;
  if (fpsMode == 0) {
    lines.push_back("FPS: " + std::to_string(fpsValue));
  } else {
    lines.push_back(std::to_string(widgetManager->lastMouseX) + ", " + std::to_string(widgetManager->lastMouseY));
  }
  if (playingDemo) {
    std::string line = FormatDemoTime(updateCount, frameTime) + " / " + FormatDemoTime(demoLength, frameTime);
    if (paused) line += "  paused";
    if (updateMultiplier != 1.0) {
      char speed[32];
      std::snprintf(speed, sizeof speed, "  x%.2f", updateMultiplier);
      line += speed;
    }
    if (demoFastForwarding) line += "  >>";
    if (demoTimeEntryOpen) line = "Jump To Time: " + demoTimeEntry + "_";
    lines.push_back(line);
  }
  return lines;
}

void ZingAppBase::DrawStatistics() {
  ++fpsFrames;
  if (!statisticsFont) {
    // The desktop's font; an invalid one measures 0 and the display stays off.
    statisticsFont = CreateSystemFont(kDefaultFontFace, kFontSize);
    if (!statisticsFont) statisticsFont = std::make_unique<SysFont>(kDefaultFontFace, kFontSize);
  }
  if (!screenImage || statisticsFont->GetHeight() <= 0) return;
  const std::vector<std::string> lines = StatisticsLines();
  int textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, statisticsFont->StringWidth(line));
  const int ascent = statisticsFont->GetAscent();
  const int baseline = height - kEdge;
  const int top = baseline - ascent - kLineStep * (static_cast<int>(lines.size()) - 1) - kMargin;
  const int left = width - kEdge - textWidth - kMargin;
  statisticsRect = Rect(left, top, width - left, height - top).Intersection(Rect(0, 0, width, height));
  if (statisticsRect.w <= 0 || statisticsRect.h <= 0) return;

  std::lock_guard<std::recursive_mutex> lock(displayLock);
  const std::uint32_t* pixels = screenImage->GetBits();
  statisticsSaved.clear();
  for (int y = statisticsRect.y; y < statisticsRect.y + statisticsRect.h; ++y) {
    const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    statisticsSaved.insert(statisticsSaved.end(), row + statisticsRect.x, row + statisticsRect.x + statisticsRect.w);
  }
  Graphics g(screenImage.get());
  g.SetColor(Color(0, 0, 0, 160));
  g.FillRect(left, top, textWidth + 2 * kMargin, baseline - top + statisticsFont->GetDescent());
  g.SetFont(statisticsFont.get());
  g.SetColor(Color(255, 255, 255));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];  // the first line in the corner, the demo's above it
    g.DrawString(line, width - kEdge - statisticsFont->StringWidth(line), baseline - kLineStep * static_cast<int>(i));
  }
}

void ZingAppBase::RestoreUnderStatistics() {
  if (statisticsSaved.empty() || !screenImage) return;
  std::lock_guard<std::recursive_mutex> lock(displayLock);
  std::uint32_t* pixels = screenImage->GetBits();
  const std::uint32_t* saved = statisticsSaved.data();
  for (int y = statisticsRect.y; y < statisticsRect.y + statisticsRect.h; ++y) {
    std::copy(saved, saved + statisticsRect.w,
              pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + statisticsRect.x);
    saved += statisticsRect.w;
  }
  screenImage->BitsChanged();
  statisticsSaved.clear();
}

}  // namespace Zing
