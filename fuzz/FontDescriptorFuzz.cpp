// Feeds arbitrary bytes to the font descriptor reader as a descriptor beside
// one 256 x 256 glyph sheet ("sheet.png"; any other image is missing). The load
// must end cleanly or with one of the language's error texts; the font is
// then measured and drawn at two sizes, which must not crash either.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "framework/graphics/FontHost.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"

namespace {

constexpr int kSheetSize = 256;

void Check(bool condition) {
  if (!condition) std::abort();
}

class SheetHost : public Zing::FontHost {
 public:
  SheetHost() : sheet(std::make_shared<Zing::MemoryImage>()) {
    sheet->Create(kSheetSize, kSheetSize);
    std::uint32_t* bits = sheet->GetBits();
    for (int i = 0; i < kSheetSize * kSheetSize; ++i) bits[i] = (i % 7) ? 0xFFFFFFFF : 0x40FFFFFF;
    sheet->BitsChanged();
  }
  std::shared_ptr<Zing::MemoryImage> GetFontImage(const std::string& path, bool& isNew) override {
    isNew = false;
    return path == "fonts/sheet.png" ? sheet : nullptr;
  }
  void ShowFontError(const std::string&) override {}

  std::shared_ptr<Zing::MemoryImage> sheet;
};

bool KnownError(const std::string& text) {
  static const char* const kErrors[] = {
      "Missing Command", "Unknown Command", "Invalid Number of Parameters", "Invalid Paramater Type",
      "List Size Mismatch", "Layer Already Exists", "Undefined Layer", "Failed to Load Image",
      "Image rectangle out of bounds", "Layer image not set", "Unexpected List Start", "Unexpected List End",
      "Unterminated Single Quotes", "Unterminated Double Quotes", "Unterminated List"};
  for (const char* known : kErrors)
    if (text == known) return true;
  return text.rfind("Unable to Dereference \"", 0) == 0 && text.back() == '"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SheetHost host;
  auto fontData = std::make_shared<Zing::FontData>(&host);
  const bool loaded = fontData->LoadText("fonts/fuzz.txt", std::string(reinterpret_cast<const char*>(data), size));
  Check(loaded == fontData->GetErrorText().empty());
  Check(loaded || KnownError(fontData->GetErrorText()));
  Check(loaded || fontData->GetFullError().rfind("Font Descriptor Error in fonts/fuzz.txt\r\n", 0) == 0);

  Zing::ImageFont font(fontData);
  static Zing::MemoryImage screen;
  if (screen.GetWidth() == 0) screen.Create(64, 32);
  Zing::Graphics g(&screen);
  const std::string text = "Ab\xE9\xDF 1;";
  for (const int size : {font.GetPointSize(), 2 * font.GetPointSize() + 1}) {
    font.SetPointSize(size);
    font.StringWidth(text);
    font.DrawString(&g, 2, 20, text, Zing::Color::White, g.GetClipRect());
  }
  return 0;
}
