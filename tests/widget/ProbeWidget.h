#pragma once

// Widgets and an application stand-in that record what the widget layer does to them, a font of
// plain blocks, and fixtures with a manager on a 640 x 480 screen, for the widget tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace WidgetTest {

// Everything the probes heard, one line per call: "name:event args".
class EventLog {
 public:
  void Add(const std::string& line) { lines.push_back(line); }
  void Clear() { lines.clear(); }
  // The lines of one widget, or those starting with a prefix.
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
  }
  std::vector<std::string> lines;
};

class ProbeWidget : public Zing::Widget {
 public:
  using Widget::MouseDown;
  using Widget::MouseUp;

  ProbeWidget(std::string widgetName, EventLog* eventLog, int px = 0, int py = 0, int w = 0, int h = 0)
      : name(std::move(widgetName)), log(eventLog) {
    Resize(px, py, w, h);
  }

  void Update() override {
    Widget::Update();
    Note("update");
    if (onUpdate) onUpdate();
  }
  // Notes where it was drawn: the translation and clip of the graphics it got; paints itself when given a colour.
  void Draw(Zing::Graphics* g) override {
    if (paint != 0) {
      g->SetColor(Zing::Color::FromPacked(paint));
      g->FillRect(0, 0, width, height);
    }
    const Zing::Rect& c = g->clipRect;
    Note("draw at " + Pos(static_cast<int>(g->transX), static_cast<int>(g->transY)) + " clip " + Pos(c.x, c.y) + " " +
         std::to_string(c.w) + "x" + std::to_string(c.h) + (g->linearBlend ? " filtered" : ""));
    if (onDraw) onDraw();
  }
  void MouseEnter() override { Note("enter"); }
  void MouseLeave() override { Note("leave"); }
  void MouseMove(int px, int py) override { Note("move " + Pos(px, py)); }
  void MouseDown(int px, int py, int button, int count) override {
    Note("down " + Pos(px, py) + " b" + std::to_string(button) + " c" + std::to_string(count));
  }
  void MouseUp(int px, int py, int button, int count) override {
    Note("up " + Pos(px, py) + " b" + std::to_string(button) + " c" + std::to_string(count));
    if (onMouseUp) onMouseUp();
  }
  void MouseDrag(int px, int py) override { Note("drag " + Pos(px, py)); }
  void MouseWheel(int delta) override { Note("wheel " + std::to_string(delta)); }
  void KeyDown(int key) override {
    Note("keydown " + std::to_string(key));
    Widget::KeyDown(key);
  }
  void KeyUp(int key) override { Note("keyup " + std::to_string(key)); }
  void KeyChar(char c) override {
    Note("char " + std::to_string(static_cast<int>(c)));
    if (onChar) onChar(c);
  }
  void GotFocus() override {
    Widget::GotFocus();
    Note("gotfocus");
  }
  void LostFocus() override {
    Widget::LostFocus();
    Note("lostfocus");
  }
  void AddedToManager(Zing::WidgetManager* manager) override {
    Widget::AddedToManager(manager);
    Note("added");
  }
  void RemovedFromManager(Zing::WidgetManager* manager) override {
    Widget::RemovedFromManager(manager);
    Note("removed");
  }
  void SiblingOrderChanged() override { Note("reordered"); }
  bool AcceptsPoint(int px, int py) override { return !refusePoints && Widget::AcceptsPoint(px, py); }

  void Note(const std::string& what) {
    if (log != nullptr) log->Add(name + ":" + what);
  }
  static std::string Pos(int px, int py) { return std::to_string(px) + "," + std::to_string(py); }

  std::string name;
  EventLog* log;
  bool refusePoints = false;
  std::uint32_t paint = 0;  // 0xAARRGGBB
  std::function<void()> onUpdate;
  std::function<void()> onDraw;
  std::function<void()> onMouseUp;
  std::function<void(char)> onChar;
};

class FakeHost : public Zing::WidgetManagerHost {
 public:
  void SetCursor(int cursorNum) override { cursors.push_back(cursorNum); }
  void ReleaseMouseCapture() override { ++captureReleases; }
  bool IsHardwareAccelerated() const override { return accelerated; }
  void LockScreenImage() override {}
  void UnlockScreenImage() override {}
  std::string GetClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  bool AllowsExtendedChars() const override { return extendedChars; }
  // The application's loop step, run by a dialog waiting for its answer.
  bool UpdateAppStep(bool* updated) override {
    if (updated != nullptr) *updated = true;
    return step && step();
  }
  bool KillDialog(int dialogId) override {
    killed.push_back(dialogId);
    return true;
  }

  std::function<bool()> step;
  std::vector<int> killed;
  std::string clipboard;
  bool extendedChars = true;
  std::vector<int> cursors;
  int captureReleases = 0;
  bool accelerated = false;
};

// Every character is a solid block, a pixel narrower than its advance (6 unless set) and as tall as
// the ascent, so drawn text shows at known pixels in its colour. It also notes what it drew where.
class BlockFont : public Zing::Font {
 public:
  static constexpr int kAdvance = 6;

  explicit BlockFont(int charAdvance = kAdvance) : advance(charAdvance) {
    ascent = 8;
    height = 10;
  }
  int StringWidth(const std::string& text) override { return advance * static_cast<int>(text.size()); }
  int CharWidth(char) override { return advance; }
  int CharWidthKern(char, char) override { return advance; }
  void DrawString(Zing::Graphics* g, int px, int py, const std::string& text, const Zing::Color& color,
                  const Zing::Rect&) override {
    drawn.push_back(text + " at " + std::to_string(px) + "," + std::to_string(py) + " r" + std::to_string(color.r));
    g->PushState();
    g->SetColor(color);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != ' ') g->FillRect(px + advance * static_cast<int>(i), py - ascent, advance - 1, ascent);
    }
    g->PopState();
  }
  Font* Duplicate() const override { return new BlockFont(*this); }

  int advance;
  std::vector<std::string> drawn;  // "text at x,y rRED"
};

// A plain image of one colour.
inline std::unique_ptr<Zing::MemoryImage> Solid(int w, int h, std::uint32_t argb) {
  auto image = std::make_unique<Zing::MemoryImage>();
  image->Create(w, h);
  for (int i = 0; i < w * h; ++i) image->GetBits()[i] = argb;
  image->SetImageMode(false, false);
  return image;
}

// The names of a container's children, back to front.
inline std::vector<std::string> Names(const Zing::WidgetContainer& container) {
  std::vector<std::string> names;
  for (Zing::Widget* child : container.widgets) names.push_back(static_cast<ProbeWidget*>(child)->name);
  return names;
}

// A manager on a 640 x 480 screen and the probes it holds; the probes are
// declared after the manager so that they go first.
class WidgetFixture : public ::testing::Test {
 protected:
  WidgetFixture() { manager.SetMouseRects(Zing::Rect(0, 0, 640, 480), Zing::Rect(0, 0, 640, 480)); }

  // A probe of its own, not yet in the tree.
  ProbeWidget* Make(const std::string& name, int px = 0, int py = 0, int w = 10, int h = 10) {
    owned.push_back(std::make_unique<ProbeWidget>(name, &log, px, py, w, h));
    return owned.back().get();
  }
  // A probe added to `into` (the manager by default); the attaching is not logged.
  ProbeWidget* Add(const std::string& name, int px = 0, int py = 0, int w = 10, int h = 10,
                   Zing::WidgetContainer* into = nullptr) {
    ProbeWidget* widget = Make(name, px, py, w, h);
    (into != nullptr ? into : &manager)->AddWidget(widget);
    std::erase(log.lines, name + ":added");
    return widget;
  }
  // A click where the pointer goes: move, press and release.
  void Click(int px, int py, int button = 1) {
    manager.MouseMove(px, py);
    manager.MouseDown(px, py, button);
    manager.MouseUp(px, py, button);
  }
  EventLog log;
  FakeHost host;
  Zing::WidgetManager manager{&host};
  std::vector<std::unique_ptr<ProbeWidget>> owned;
};

// The same manager drawing into a memory screen, and a font to draw text with.
class ScreenFixture : public WidgetFixture {
 protected:
  ScreenFixture() {
    screen.Create(640, 480);
    screen.SetImageMode(false, false);
    manager.image = &screen;
  }
  // The colour at a point once the dirty widgets are drawn.
  std::uint32_t Pixel(int px, int py) {
    manager.DrawScreen();
    return screen.GetPixel(px, py) & 0xFFFFFF;
  }

  // A drawn area as one number (colours only), to pin a whole picture in one
  // table entry; and as text, a letter per colour, to show it when it differs.
  std::uint32_t Checksum(const Zing::Rect& area) {
    manager.DrawScreen();
    std::uint32_t hash = 2166136261u;
    for (int py = area.y; py < area.y + area.h; ++py) {
      for (int px = area.x; px < area.x + area.w; ++px)
        hash = (hash ^ (screen.GetPixel(px, py) & 0xFFFFFF)) * 16777619u;
    }
    return hash;
  }
  std::string Picture(const Zing::Rect& area) {
    std::vector<std::uint32_t> palette;  // listed at the end, one colour a letter
    std::string text = "\n";
    for (int py = area.y; py < area.y + area.h; ++py, text += '\n') {
      for (int px = area.x; px < area.x + area.w; ++px) {
        const std::uint32_t c = screen.GetPixel(px, py) & 0xFFFFFF;
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
        text += static_cast<char>('a' + (std::find(palette.begin(), palette.end(), c) - palette.begin()) % 26);
      }
    }
    for (std::uint32_t c : palette) text += std::to_string(c) + " ";
    return text;
  }

  Zing::MemoryImage screen;
  BlockFont font;
};

}  // namespace WidgetTest
