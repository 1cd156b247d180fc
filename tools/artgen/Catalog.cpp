#include "tools/artgen/Catalog.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "tools/artgen/ImageFiles.h"
#include "tools/artgen/Lettering.h"

namespace artgen {

namespace {

const char* const kGroups[] = {"Init", "Splash", "Game"};

// The most colours a picture the game palettises may have.
constexpr std::size_t kPaletteSize = 256;

// Whether the picture, as the game will read it, has more colours than a
// palette holds. A JPEG's colours are counted opaque: its decoded pixels are
// (its alpha comes from a separate image, which can only add colours).
bool HasManyColours(const Canvas& canvas, bool opaque) {
  std::vector<uint32_t> pixels = canvas.Pixels();
  if (opaque)
    for (uint32_t& p : pixels) p |= 0xFF000000u;
  std::sort(pixels.begin(), pixels.end());
  return static_cast<std::size_t>(std::unique(pixels.begin(), pixels.end()) - pixels.begin()) > kPaletteSize;
}

}  // namespace

Catalog::Catalog(std::filesystem::path dataDir) : dataDir_(std::move(dataDir)) {
  for (const char* sub : {"images", "fonts", "properties"}) std::filesystem::create_directories(dataDir_ / sub);
}

std::filesystem::path Catalog::ImagePath(const std::string& file, const char* extension) const {
  return dataDir_ / "images" / (file + extension);
}

void Catalog::AddImage(ImageEntry entry, Canvas canvas) {
  if (canvas.Width() % entry.cols != 0 || canvas.Height() % entry.rows != 0) {
    throw std::runtime_error("image " + entry.id + " does not divide into its cel grid");
  }
  const std::string& f = entry.file;
  switch (entry.format) {
    case Format::Png:
      WritePng(ImagePath(f, ".png"), canvas);
      break;
    case Format::Tga:
      WriteTga(ImagePath(f, ".tga"), canvas);
      break;
    case Format::Gif:
      WriteGif(ImagePath(f, ".gif"), canvas);
      break;
    case Format::Jpeg:
      WriteJpeg(ImagePath(f, ".jpg"), canvas, 90, theme::kPanelDeep);
      break;
    case Format::JpegAlphaImage:
      WriteJpeg(ImagePath(f, ".jpg"), canvas, 92, theme::kPanelDeep);
      WriteAlphaPng(ImagePath(f + "_alpha", ".png"), canvas);
      break;
    case Format::JpegUnderscoreAlpha:
      WriteJpeg(ImagePath(f, ".jpg"), canvas, 92, theme::kPanelDeep);
      WriteAlphaPng(ImagePath("_" + f, ".png"), canvas);
      break;
  }
  const bool jpeg = entry.format == Format::Jpeg || entry.format == Format::JpegAlphaImage ||
                    entry.format == Format::JpegUnderscoreAlpha;
  entry.manyColours = entry.format != Format::Gif && HasManyColours(canvas, jpeg);
  images_.push_back({std::move(entry), std::move(canvas)});
}

const Canvas* Catalog::Find(const std::string& id, const ImageEntry** entry) const {
  const std::string bare = id.rfind("IMAGE_", 0) == 0 ? id.substr(6) : id;
  for (const auto& s : images_) {
    if (s.entry.id != bare) continue;
    if (entry) *entry = &s.entry;
    return &s.canvas;
  }
  return nullptr;
}

void Catalog::WriteManifest() const {
  std::ofstream out(dataDir_ / "properties" / "resources.xml", std::ios::binary);
  out << "<?xml version=\"1.0\"?>\n"
      << "<!-- Lintwick resources: written by artgen at build time. Paths have no\n"
      << "     extension: the image loader picks the format and finds the \"_name\"\n"
      << "     alpha images by itself (of the images not marked noalpha). Pictures\n"
      << "     of more than 256 colours are marked nopal. -->\n"
      << "<ResourceManifest>\n";
  for (const char* group : kGroups) {
    out << "  <Resources id=\"" << group << "\">\n";
    bool anyFont = false, anyImage = false, anySound = false;
    for (const auto& f : fonts_) {
      if (f.group != group) continue;
      if (!anyFont) out << "    <SetDefaults path=\"fonts\" idprefix=\"FONT_\" />\n";
      anyFont = true;
      out << "    <Font id=\"" << f.id << "\" path=\"" << f.path << "\" />\n";
    }
    for (const auto& s : images_) {
      const ImageEntry& e = s.entry;
      if (e.group != group) continue;
      if (!anyImage) out << "    <SetDefaults path=\"images\" idprefix=\"IMAGE_\" />\n";
      anyImage = true;
      out << "    <Image id=\"" << e.id << "\" path=\"" << e.file << "\"";
      if (e.format == Format::JpegAlphaImage) out << " alphaimage=\"" << e.file << "_alpha\"";
      // Only a picture with a "_name" alpha image needs the loader's search.
      if (e.format != Format::JpegUnderscoreAlpha) out << " noalpha=\"\"";
      // Palettising a picture of more colours only fails after a pass over it.
      if (e.manyColours) out << " nopal=\"\"";
      if (e.rows != 1) out << " rows=\"" << e.rows << "\"";
      if (e.cols != 1) out << " cols=\"" << e.cols << "\"";
      out << " />\n";
    }
    for (const auto& snd : sounds_) {
      if (snd.group != group) continue;
      if (!anySound) out << "    <SetDefaults path=\"sounds\" idprefix=\"SOUND_\" />\n";
      anySound = true;
      out << "    <Sound id=\"" << snd.id << "\" path=\"" << snd.path << "\" />\n";
    }
    out << "  </Resources>\n";
  }
  out << "</ResourceManifest>\n";
  if (!out) throw std::runtime_error("cannot write the manifest");
}

namespace {

constexpr int kSheetWidth = 1320;
constexpr int kMargin = 12;
constexpr int kLabel = 16;

void Checkerboard(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  for (int cy = 0; cy * 8 < h; ++cy) {
    for (int cx = 0; cx * 8 < w; ++cx) {
      const double v = (cx + cy) % 2 ? 0.36 : 0.46;
      cairo_set_source_rgb(cr, v, v, v + 0.02);
      cairo_rectangle(cr, x + cx * 8, y + cy * 8, 8, 8);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

}  // namespace

void Catalog::WriteContactSheet(const std::vector<Canvas>& samples) const {
  // Lay the images out in rows, scaling the very wide ones down to fit.
  struct Place {
    double x, y, scale;
  };
  std::vector<Place> places;
  double x = kMargin, y = kMargin, rowHeight = 0;
  for (const Canvas& sample : samples) {
    if (x + sample.Width() > kSheetWidth - kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    places.push_back({x, y, 1.0});
    x += sample.Width() + kMargin;
    rowHeight = std::max(rowHeight, double(sample.Height()));
  }
  x = kSheetWidth;  // the images start on a row of their own
  for (const auto& s : images_) {
    const double scale = std::min(1.0, double(kSheetWidth - 2 * kMargin) / s.canvas.Width());
    const double w = s.canvas.Width() * scale, h = s.canvas.Height() * scale + kLabel;
    if (x + w > kSheetWidth - kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    places.push_back({x, y, scale});
    x += std::max({w, 120.0, 7.0 * double(s.entry.id.size() + 6)}) + kMargin;
    rowHeight = std::max(rowHeight, h);
  }
  Canvas sheet(kSheetWidth, int(y + rowHeight + kMargin));
  cairo_t* cr = sheet.Cr();
  cairo_set_source_rgb(cr, 0.16, 0.17, 0.18);
  cairo_paint(cr);
  Lettering letters;
  for (size_t i = 0; i < samples.size(); ++i) sheet.Paint(samples[i], places[i].x, places[i].y);
  for (size_t i = 0; i < images_.size(); ++i) {
    const auto& s = images_[i];
    const Place& p = places[samples.size() + i];
    const double w = s.canvas.Width() * p.scale, h = s.canvas.Height() * p.scale;
    letters.Use(cr, Face::Regular, 11);
    cairo_set_source_rgb(cr, 0.85, 0.95, 1.0);
    cairo_move_to(cr, p.x, p.y + 11);
    const std::string label = s.entry.id + (s.entry.rows * s.entry.cols > 1 ? " " + std::to_string(s.entry.cols) + "x" +
                                                                                  std::to_string(s.entry.rows)
                                                                            : std::string());
    cairo_show_text(cr, label.c_str());
    const double top = p.y + kLabel;
    Checkerboard(cr, p.x, top, w, h);
    cairo_save(cr);
    cairo_translate(cr, p.x, top);
    cairo_scale(cr, p.scale, p.scale);
    cairo_set_source_surface(cr, s.canvas.Surface(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1.0, 0.3, 0.6, 0.6);
    cairo_set_line_width(cr, 1);
    for (int c = 0; c <= s.entry.cols; ++c) {
      cairo_move_to(cr, p.x + w * c / s.entry.cols + 0.5, top);
      cairo_line_to(cr, p.x + w * c / s.entry.cols + 0.5, top + h);
    }
    for (int r = 0; r <= s.entry.rows; ++r) {
      cairo_move_to(cr, p.x, top + h * r / s.entry.rows + 0.5);
      cairo_line_to(cr, p.x + w, top + h * r / s.entry.rows + 0.5);
    }
    cairo_stroke(cr);
  }
  WritePng((dataDir_ / "contact-sheet.png").string(), sheet);
}

}  // namespace artgen
