// The picture loaders and writers on small files made here, sound, damaged or oversized.

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/ImageLibFiles.h"
#include "tests/images/ImageFiles.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing::ImageLib;
using ImageTest::GifSpec;
using ImageTest::MakeGif;
using ImageTest::PngSpec;
using Row = std::vector<std::uint32_t>;

std::uint32_t Pixel(const ImagePtr& image, int x, int y) {
  return image->GetBits()[static_cast<std::size_t>(y * image->GetWidth() + x)];
}

TEST(ImageLib, PngKindsAllBecomeArgb) {
  ZingTest::TempFolder folder;
  const std::pair<PngSpec, Row> cases[] = {
      {{2, 1, PNG_COLOR_TYPE_RGB, 8, false, {10, 20, 30, 40, 50, 60}, {}, {}}, {0xFF0A141E, 0xFF28323C}},
      // 4-bit samples 3 and 15.
      {{2, 1, PNG_COLOR_TYPE_GRAY, 4, false, {0x3F}, {}, {}}, {0xFF333333, 0xFFFFFFFF}},
      // Alpha from the transparency chunk.
      {{2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {0, 1}, {255, 0, 0, 0, 0, 255}, {0x80}}, {0x80FF0000, 0xFF0000FF}},
      {{1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, false, {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x40, 0x00}, {}, {}},
       {0x40FF8000}},
  };
  ImagePtr image;
  for (const auto& [png, pixels] : cases) {
    ASSERT_TRUE(ImageTest::WritePng(folder.File("kind.png"), png));
    image = GetPNGImage(folder.File("kind.png"));
    ASSERT_TRUE(image) << png.colorType;
    EXPECT_EQ(Row(image->GetBits(), image->GetBits() + pixels.size()), pixels) << png.colorType;
  }

  // Adam7: every pixel lands where it belongs, not row by row of the passes.
  PngSpec interlaced{9, 9, PNG_COLOR_TYPE_GRAY, 8, true, {}, {}, {}};
  for (int i = 0; i < 81; ++i) interlaced.samples.push_back(static_cast<std::uint8_t>(i * 3));
  ASSERT_TRUE(ImageTest::WritePng(folder.File("adam7.png"), interlaced));
  image = GetPNGImage(folder.File("adam7.png"));
  ASSERT_TRUE(image);
  for (int i = 0; i < 81; ++i) {
    const std::uint32_t v = static_cast<std::uint32_t>(i * 3);
    ASSERT_EQ(Pixel(image, i % 9, i / 9), 0xFF000000u | v << 16 | v << 8 | v) << i;
  }
  // Refused: a file cut short, and one a pixel wider than the longest side.
  folder.Write("cut.png", folder.Read("adam7.png").substr(0, 60));
  PngSpec wide{kMaxDimension + 1, 1, PNG_COLOR_TYPE_GRAY, 1, false, {}, {}, {}};
  wide.samples.resize((kMaxDimension + 8) / 8);
  ASSERT_TRUE(ImageTest::WritePng(folder.File("wide.png"), wide));
  EXPECT_FALSE(GetPNGImage(folder.File("cut.png")) || GetPNGImage(folder.File("wide.png")));
}

// Every kind decodes to the samples written, but for JPEG's own rounding, grey as R = G = B and of
// four components the first three, across many blocks of reading and a marker skipped in one
// stride. A file cut short still gives the whole picture, its first row as written.
TEST(ImageLib, JpegKindsDecodeToTheirSamples) {
  ZingTest::TempFolder folder;
  const auto sample = [](int x, int y, int k) { return 10 + 30 * k + x + 2 * y; };
  for (const auto& [components, progressive, comment] :
       {std::tuple(3, false, 0u), {3, true, 9000u}, {1, false, 0u}, {4, false, 5000u}}) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 48 * 40 * components; ++i)
      samples.push_back(static_cast<std::uint8_t>(sample(i / components % 48, i / components / 48, i % components)));
    ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("kind.jpg"), 48, 40, components, progressive, samples, 100, comment));
    const std::string whole = folder.Read("kind.jpg");
    for (int cut : {1, comment ? 1 : 2}) {  // halfway through the coded rows
      folder.Write("kind.jpg", whole.substr(0, cut == 1 ? whole.size() : (whole.find("\xFF\xDA") + whole.size()) / 2));
      ImagePtr image = GetJPEGImage(folder.File("kind.jpg"));
      ASSERT_TRUE(image && image->GetWidth() == 48 && image->GetHeight() == 40) << components << " " << cut;
      for (int i = 0; i < 48 * (cut == 1 ? 40 : 1) * 3; ++i) {
        const int k = components == 1 ? 0 : i % 3,
                  got = Pixel(image, i / 3 % 48, i / 3 / 48) >> (16 - 8 * (i % 3)) & 0xFF;
        ASSERT_NEAR(sample(i / 3 % 48, i / 3 / 48, k), got, 3) << components << " " << cut << " at " << i / 3;
      }
      EXPECT_EQ(0xFFu, Pixel(image, 47, 39) >> 24);
    }
  }
  folder.Write("garbage.jpg", "\xFF\xD8\xFF\xE0 not a jpeg at all"), folder.Write("empty.jpg", "");
  const std::vector<std::uint8_t> row(kMaxDimension + 1);  // a pixel wider than any picture may be
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("wide.jpg"), kMaxDimension + 1, 1, 1, false, row));
  for (const char* name : {"garbage.jpg", "empty.jpg", "wide.jpg"}) EXPECT_FALSE(GetJPEGImage(folder.File(name)));
}

ImagePtr Gif(const std::string& bytes) {  // from a copy sized exactly, so that reading past its end is seen
  const std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
  return DecodeGIF(exact.data(), exact.size());
}

// A picture of `colorBits`-bit indices: long runs (which the LZW table turns
// into ever longer codes) or noise (which fills the table until it is cleared).
GifSpec Picture(int w, int h, int colorBits, bool noise) {
  GifSpec gif;
  gif.width = w, gif.height = h, gif.colorBits = colorBits;
  std::uint32_t seed = 12345;
  for (int i = 0; i < w * h; ++i) {
    seed = seed * 1103515245 + 12345;
    const int run = (i % w) / 5 + (i / w) / 3;
    gif.indices.push_back(static_cast<std::uint8_t>((noise ? seed >> 16 : run) % (1u << colorBits)));
  }
  return gif;
}

TEST(ImageLib, GifPicturesOfEveryShape) {
  std::vector<GifSpec> cases = {Picture(40, 30, 2, false), Picture(90, 80, 8, true), Picture(5, 11, 3, true),
                                Picture(256, 2, 1, false), Picture(6, 3, 2, true)};  // 256: a size's low byte 0
  cases[1].blockSize = 7;
  cases[2].interlaced = cases[3].interlaced = true;  // every pass, and passes beyond the last row
  cases[2].localTable = true;
  cases[4].version = "GIF87a", cases[4].blockSize = 1, cases[4].transparent = 2;
  // A comment, a looping block and a stray byte before the picture.
  cases[4].before = std::string("\x21\xFE\003abc\002de\0\x21\xFF\x0BNETSCAPE2.0\003\001\0\0\0\x07", 30);
  for (const GifSpec& gif : cases) {
    ImagePtr image = Gif(MakeGif(gif));
    ASSERT_TRUE(image) << gif.width;
    ASSERT_EQ(std::pair(gif.width, gif.height), std::pair(image->GetWidth(), image->GetHeight()));
    Row expected;
    for (std::uint8_t i : gif.indices) expected.push_back(i == gif.transparent ? 0u : ImageTest::GifColor(i));
    EXPECT_EQ(expected, Row(image->GetBits(), image->GetBits() + expected.size())) << gif.width;
  }

  // Damage: what was decoded stays, the rest is transparent; without a picture, nothing.
  const std::string plain = MakeGif(Picture(6, 3, 2, false));
  const std::size_t codeSize = plain.find(',', 13) + 10;  // after the image descriptor
  const auto changed = [&](std::size_t at, char byte) { return plain.substr(0, at) + byte + plain.substr(at + 1); };
  std::string noTable = changed(10, 0).erase(13, 12);
  const std::pair<std::string, int> damaged[] = {
      {plain.substr(0, plain.size() - 4), 12},  // cut inside the codes
      {changed(codeSize + 2, '\xFF'), 0},       // a code beyond the table
      {changed(codeSize + 2, '\x2C'), 0},       // the end code at once
      {changed(0, 'X'), -1},
      {changed(4, '8'), -1},
      {plain.substr(0, codeSize - 10), -1},                       // no image
      {plain.substr(0, codeSize - 10) + "\x21\xF9\x04\x01", -1},  // cut inside a graphic control block
      {changed(codeSize - 5, 0), -1},                             // width 0
      {changed(codeSize, 0), -1},                                 // code sizes 0 and 12
      {changed(codeSize, 12), -1},
      {noTable, -1},
      {MakeGif(Picture(20000, 1, 2, false)), -1},
  };
  EXPECT_TRUE(Gif(changed(codeSize, 1)));  // a code size below what writers use is still read
  for (const auto& [bytes, reached] : damaged) {
    ImagePtr image = Gif(bytes);
    ASSERT_EQ(reached >= 0, image != nullptr) << reached;
    for (int i = 0; i < 18 && image; ++i)
      EXPECT_EQ(i < reached ? ImageTest::GifColor(i % 6 / 5) : 0u, image->GetBits()[i]) << i;
  }
}

// Samples of every precision and sign become 8-bit channels; grey is R = G = B.
TEST(ImageLib, Jpeg2000ThroughTheRunTimeLibrary) {
  ZingTest::TempFolder folder;
  // Name, components, precision, signed, three pixels' samples component by component, and the pixels.
  const std::tuple<std::string, int, int, bool, std::vector<int>, Row> cases[] = {
      {"grey.j2k", 1, 8, false, {0, 90, 255}, {0xFF000000, 0xFF5A5A5A, 0xFFFFFFFF}},
      {"rgb.jp2", 3, 8, false, {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0xFF0A2846, 0xFF143250, 0xFF1E3C5A}},
      {"deep.j2k", 1, 12, false, {0, 0x5A3, 4095}, {0xFF000000, 0xFF5A5A5A, 0xFFFFFFFF}},
      {"shallow.j2k", 1, 4, false, {0, 5, 15}, {0xFF000000, 0xFF505050, 0xFFF0F0F0}},
      {"bits.j2k", 1, 1, false, {0, 1, 1}, {0xFF000000, 0xFF808080, 0xFF808080}},
      {"signed.jp2", 1, 8, true, {-128, 0, 127}, {0xFF000000, 0xFF808080, 0xFFFFFFFF}},
      {"two.j2k", 2, 8, false, {1, 2, 3, 4, 5, 6}, {}},  // neither grey nor colour
  };
  ASSERT_TRUE(LoadJPEG2000Codec());
  for (const auto& [name, components, precision, isSigned, samples, pixels] : cases) {
    ASSERT_TRUE(ImageTest::WriteJ2k(folder.File(name), 3, 1, components, precision, isSigned, samples,
                                    name.ends_with(".jp2"), isSigned ? 5 : 0));  // an area off the grid's origin
    ImagePtr image = GetImage(folder.File(name.substr(0, name.size() - 4)));     // found by the format search
    EXPECT_EQ(pixels, image ? Row(image->GetBits(), image->GetBits() + 3) : Row()) << name;
  }
  for (int w : {kMaxDimension, kMaxDimension + 1})  // the longest side read, one more refused
    ASSERT_TRUE(ImageTest::WriteJ2k(folder.File(w > kMaxDimension ? "wide.j2k" : "long.j2k"), w, 1, 1, 8, false,
                                    std::vector<int>(static_cast<std::size_t>(w), 7), false, 3));
  EXPECT_EQ(kMaxDimension, GetImage(folder.File("long.j2k")) ? GetImage(folder.File("long.j2k"))->GetWidth() : 0);
  folder.Write("empty.j2k", "");
  folder.Write("art.j2k", "\xFF\x4F\xFF\x51 broken");
  ASSERT_TRUE(ImageTest::WriteJ2k(folder.File("half.j2k"), 3, 1, 1, 8, false, {1, 2}, false, 0, 2));  // subsampled
  // A box the reader does not know, larger than it reads ahead, after the signature and the file type box.
  const std::string jp2 = folder.Read("rgb.jp2"), unknown = std::string("\0\x01\x86\xA8xml ", 8);
  const std::size_t at = 12 + static_cast<unsigned char>(jp2[15]);
  folder.Write("boxed.jp2", jp2.substr(0, at) + unknown + std::string(100000, ' ') + jp2.substr(at));
  EXPECT_EQ(GetImage(folder.File("boxed")) ? GetImage(folder.File("boxed"))->GetBits()[2] : 0, 0xFF1E3C5Au);
  for (const char* refused : {"wide.j2k", "empty.j2k", "art.j2k", "missing.jp2", "half.j2k"})
    EXPECT_FALSE(GetImage(folder.File(refused))) << refused;
  EXPECT_TRUE(HasJPEG2000Codec());
  FreeJPEG2000Codec();  // without the library such files are simply no picture
  EXPECT_FALSE(HasJPEG2000Codec() || GetImage(folder.File("grey.j2k")));
}

// Whole files read in blocks through the archive-aware file functions; a file
// that reaches a block beyond the limit is refused.
TEST(ImageLib, WholeFilesUpToTheLimit) {
  ZingTest::TempFolder folder;
  std::vector<std::uint8_t> bytes;
  for (const auto& [size, limit, read] :
       {std::tuple(0u, 10u, true), {70000u, 1u << 20, true}, {65537u, 65536u, false}}) {
    folder.Write("file", std::string(size, 'x'));
    EXPECT_EQ(read, ReadWholeFile(folder.File("file"), bytes, limit)) << size;
    EXPECT_TRUE(!read || bytes.size() == size) << size;
  }
  EXPECT_FALSE(ReadWholeFile(folder.File("none"), bytes));
}

TEST(ImageLib, TgaSubsetOnly) {
  const std::vector<std::uint32_t> pixels = {0x80112233, 0xFF445566};
  const std::string topDown = ImageTest::MakeTga(1, 2, 0x28, pixels);
  ImagePtr image = DecodeTGA(reinterpret_cast<const std::uint8_t*>(topDown.data()), topDown.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(Row(image->GetBits(), image->GetBits() + 2), pixels);
  for (const std::string& bad :
       {ImageTest::MakeTga(1, 2, 0x08, pixels), ImageTest::MakeTga(1, 2, 0x28, pixels, 24),
        topDown.substr(0, topDown.size() - 1), topDown.substr(0, 10), ImageTest::MakeTga(20000, 20000, 0x28, {})})
    EXPECT_FALSE(DecodeTGA(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()));
}

TEST(ImageLib, FormatSearchAndAlphaImages) {
  ZingTest::TempFolder folder;
  PngSpec white{1, 1, PNG_COLOR_TYPE_RGB, 8, false, {255, 255, 255}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("menu.png"), white));
  folder.Write("menu.gif", MakeGif(Picture(2, 2, 2, false)));
  ImagePtr image = GetImage(folder.File("menu"));
  EXPECT_EQ(image ? image->GetWidth() : 0, 1);                // the PNG comes before the GIF
  EXPECT_TRUE(GetImage(folder.File("Menu.PNG")) == nullptr);  // "Menu.png" does not exist on this disk
  EXPECT_TRUE(GetImage(folder.File("menu.PNG")));
  // A name without a folder keeps its extension; a dot in a folder's name is none.
  std::filesystem::create_directory(folder.File("set.v2"));
  ASSERT_TRUE(ImageTest::WritePng(folder.File("set.v2/menu.png"), white));
  const ZingTest::InFolder inside(folder.Path());  // for the rest of the test
  EXPECT_TRUE(GetImage("menu.png") && GetImage(folder.File("set.v2/menu")));
  folder.Write("tile.bmp", "not looked at");
  EXPECT_FALSE(GetImage(folder.File("tile.bmp")));

  // A JPEG with a mask "_tile.png": the mask's blue becomes alpha. A name
  // without an extension also finds "ring_"; one with an extension does not.
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("tile.jpg"), 2, 1, 3, false, {0, 0, 0, 0, 0, 0}));
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("ring.jpg"), 2, 1, 3, false, {0, 0, 0, 0, 0, 0}));
  PngSpec mask{2, 1, PNG_COLOR_TYPE_RGB, 8, false, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, {}, {}};
  for (const char* name : {"_tile.png", "ring_.png"}) ASSERT_TRUE(ImageTest::WritePng(folder.File(name), mask));
  for (const std::string& name : {std::string("tile"), folder.File("ring"), folder.File("ring.jpg")}) {  // one bare
    image = GetImage(name);
    ASSERT_TRUE(image);
    const bool masked = !name.ends_with(".jpg");
    EXPECT_EQ(std::pair(Pixel(image, 0, 0) >> 24, Pixel(image, 1, 0) >> 24),
              masked ? std::pair(0x33u, 0x66u) : std::pair(0xFFu, 0xFFu))
        << name;
  }
  // Sizes that differ leave the picture as it was.
  PngSpec wide{3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0, 0, 0}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("_tile.png"), wide));
  EXPECT_EQ(Pixel(GetImage(folder.File("tile")), 0, 0) >> 24, 0xFFu);
}

TEST(ImageLib, WritersRoundTripAndRefuseBadTargets) {
  ZingTest::TempFolder folder;
  Image source;
  ASSERT_TRUE(source.Allocate(3, 2));
  const std::uint32_t colours[6] = {0xFF102030, 0x80405060, 0x00708090, 0xFFFFFFFF, 0x7F000000, 0xFF00FF00};
  std::copy(colours, colours + 6, source.GetBits());
  ASSERT_TRUE(WritePNGImage(folder.File("out.png"), source));
  ImagePtr back = GetPNGImage(folder.File("out.png"));
  EXPECT_TRUE(back && std::equal(colours, colours + 6, back->GetBits()));

  // The JPEG is libjpeg's at quality 80 of the same colours, alpha dropped.
  ASSERT_TRUE(WriteJPEGImage(folder.File("out.jpg"), source));
  std::vector<std::uint8_t> rgb;
  for (std::uint32_t c : colours) rgb.insert(rgb.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("ref.jpg"), 3, 2, 3, false, rgb, 80));
  EXPECT_EQ(folder.Read("ref.jpg"), folder.Read("out.jpg"));

  EXPECT_FALSE(WritePNGImage(folder.File("missing/out.png"), source) ||
               WriteJPEGImage(folder.File("missing/out.jpg"), source) ||
               WritePNGImage(folder.File("empty.png"), Image()));

  // The longest side a picture may have is written and read back; one more is refused.
  for (const auto& [w, h] : {std::pair(kMaxDimension, 2), {2, kMaxDimension}}) {
    Image large;
    ASSERT_TRUE(large.Allocate(w, h, true));
    EXPECT_FALSE(large.Allocate(kMaxDimension + 1, 2) || large.Allocate(2, kMaxDimension + 1) || large.Allocate(w, 0) ||
                 large.Allocate(0, h));
    for (const std::string name : {"large.png", "large.jpg"}) {
      ASSERT_TRUE(name.ends_with("png") ? WritePNGImage(folder.File(name), large)
                                        : WriteJPEGImage(folder.File(name), large));
      ImagePtr read = GetImage(folder.File(name));
      EXPECT_EQ(std::pair(w, h), read ? std::pair(read->GetWidth(), read->GetHeight()) : std::pair(0, 0)) << name;
    }
    large.width = w == 2 ? 1 : w + 1;  // the long side one pixel longer, within the pixels there are
    large.height = h == 2 ? 1 : h + 1;
    EXPECT_FALSE(WritePNGImage(folder.File("long.png"), large) || WriteJPEGImage(folder.File("long.jpg"), large));
  }
}

}  // namespace
