#include "framework/platform/SystemFont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>

namespace Zing::Platform {

namespace {

constexpr int kFixedShift = 6;        // FreeType's 26.6 fixed point
constexpr double kItalicSlant = 0.2;  // horizontal shear of a simulated italic
constexpr int kBoldDivisor = 24;      // a simulated bold thickens strokes by size / 24

int Pixels(FT_Pos value) { return static_cast<int>(std::ceil(static_cast<double>(value) / (1 << kFixedShift))); }

// fontconfig's configuration, loaded once per configuration file (tests point
// FONTCONFIG_FILE at a configuration without fonts).
FcConfig* Config() {
  static std::mutex lock;
  static std::map<std::string, FcConfig*> configs;
  const char* file = std::getenv("FONTCONFIG_FILE");
  std::lock_guard<std::mutex> guard(lock);
  FcConfig*& config = configs[file ? file : ""];
  if (!config) config = FcInitLoadConfigAndFonts();
  return config;
}

// The file and face index fontconfig matches for the request; false when none.
bool MatchFile(const std::string& family, int pixelSize, bool bold, bool italic, std::string& file, int& index,
               std::string& chosenFamily, bool& isBold, bool& isItalic) {
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  FcChar8* path = nullptr;
  const bool found = match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
  if (found) {
    file = reinterpret_cast<const char*>(path);
    index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) chosenFamily = reinterpret_cast<char*>(name);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    isBold = weight >= FC_WEIGHT_DEMIBOLD;
    isItalic = slant != FC_SLANT_ROMAN;
  }
  if (match) FcPatternDestroy(match);
  return found;
}

}  // namespace

struct SystemFontFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FT_Pos emboldenStrength = 0;  // 26.6; 0 when the face is bold itself
  ~Impl() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

SystemFontFace::SystemFontFace(std::unique_ptr<Impl> faceImpl) : impl(std::move(faceImpl)) {}
SystemFontFace::~SystemFontFace() = default;

std::unique_ptr<SystemFontFace> SystemFontFace::Open(const std::string& family, int pixelSize, bool bold,
                                                     bool italic, std::string& error) {
  std::string file, chosen;
  int index = 0;
  bool isBold = false, isItalic = false;
  if (pixelSize < 1 || !MatchFile(family, pixelSize, bold, italic, file, index, chosen, isBold, isItalic)) {
    error = "No system font found for '" + family + "'";
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  if (FT_Init_FreeType(&impl->library) != 0 || FT_New_Face(impl->library, file.c_str(), index, &impl->face) != 0 ||
      FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    error = "Cannot open the system font '" + file + "'";
    return nullptr;
  }
  if (bold && !isBold) impl->emboldenStrength = (static_cast<FT_Pos>(pixelSize) << kFixedShift) / kBoldDivisor;
  if (italic && !isItalic) {
    FT_Matrix shear{1 << 16, static_cast<FT_Fixed>(kItalicSlant * (1 << 16)), 0, 1 << 16};
    FT_Set_Transform(impl->face, &shear, nullptr);
  }
  const FT_Size_Metrics& metrics = impl->face->size->metrics;
  std::unique_ptr<SystemFontFace> result(new SystemFontFace(std::move(impl)));
  result->ascent = Pixels(metrics.ascender);
  result->descent = Pixels(-metrics.descender);
  const FT_Face face = result->impl->face;
  if (FT_IS_SCALABLE(face)) {
    const double pixelsPerUnit = static_cast<double>(metrics.y_ppem) / face->units_per_EM;
    result->underlinePosition = static_cast<int>(std::lround(-face->underline_position * pixelsPerUnit));
    result->underlineThickness = std::max(1, static_cast<int>(std::lround(face->underline_thickness * pixelsPerUnit)));
  }
  result->familyName = chosen;
  return result;
}

bool SystemFontFace::Render(char32_t codePoint, SystemGlyph& out) {
  const FT_Face face = impl->face;
  if (FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (impl->emboldenStrength && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_Outline_Embolden(&slot->outline, impl->emboldenStrength);
    slot->advance.x += impl->emboldenStrength;
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bitmap = slot->bitmap;
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.width = static_cast<int>(bitmap.width);
  out.rows = static_cast<int>(bitmap.rows);
  out.advance = static_cast<int>(std::lround(static_cast<double>(slot->advance.x) / (1 << kFixedShift)));
  out.coverage.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.rows), 0);
  for (int y = 0; y < out.rows; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < out.width; ++x)
      out.coverage[static_cast<std::size_t>(y * out.width + x)] = row[x];
  }
  return true;
}

}  // namespace Zing::Platform
