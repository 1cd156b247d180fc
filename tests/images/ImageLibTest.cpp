// The picture loaders and writers on small files made here, sound, damaged or oversized.

#include <gtest/gtest.h>

#include "framework/graphics/ImageLib.h"
#include "framework/graphics/PixelPool.h"
#include "tests/images/ImageFiles.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace Zing::ImageLib;
using ImageTest::PngSpec;
using Row = std::vector<std::uint32_t>;

std::uint32_t Pixel(const ImagePtr& image, int x, int y) {
  return image->GetBits()[static_cast<std::size_t>(y) * static_cast<std::size_t>(image->GetWidth()) +
                          static_cast<std::size_t>(x)];
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
}

TEST(ImageLib, JpegBaselineProgressiveAndGrey) {
  ZingTest::TempFolder folder;
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < 16 * 16; ++i) rgb.insert(rgb.end(), {200, 100, 50});
  for (bool progressive : {false, true}) {
    const std::string path = folder.File(progressive ? "p.jpg" : "b.jpg");
    ASSERT_TRUE(ImageTest::WriteJpeg(path, 16, 16, 3, progressive, rgb));
    ImagePtr image = GetJPEGImage(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 16);
    const std::uint32_t p = Pixel(image, 5, 5);
    EXPECT_EQ(p >> 24, 0xFFu);
    for (const auto& [shift, value] : {std::pair{16, 200}, {8, 100}, {0, 50}})
      EXPECT_NEAR(static_cast<int>((p >> shift) & 0xFF), value, 4) << shift;
  }
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("g.jpg"), 8, 8, 1, false, std::vector<std::uint8_t>(64, 90)));
  ImagePtr grey = GetJPEGImage(folder.File("g.jpg"));
  ASSERT_TRUE(grey);
  EXPECT_EQ(Pixel(grey, 3, 3), 0xFF000000u | (Pixel(grey, 3, 3) & 0xFF) * 0x010101u);
}

TEST(ImageLib, GifTransparencyInterlaceAndDamage) {
  ImagePtr image;
  const std::string plain = ImageTest::MakeGif(3, 2, {0, 1, 2, 3, 2, 1}, 2);
  image = DecodeGIF(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
  ASSERT_TRUE(image);  // index 2 is the transparent one
  EXPECT_EQ(Row(image->GetBits(), image->GetBits() + 6),
            (Row{0xFF000000u, 0xFFFF0000u, 0u, 0xFF0000FFu, 0u, 0xFFFF0000u}));
  const std::string pieces = ImageTest::MakeGif(3, 2, {0, 1, 2, 3, 2, 1}, 2, false, 1);  // sub-blocks of one byte
  ImagePtr same = DecodeGIF(reinterpret_cast<const std::uint8_t*>(pieces.data()), pieces.size());
  ASSERT_TRUE(same);
  EXPECT_TRUE(std::equal(image->GetBits(), image->GetBits() + 6, same->GetBits()));

  // Three rows interlaced arrive in the order 0, 2, 1.
  const std::string interlaced = ImageTest::MakeGif(1, 3, {1, 2, 3}, -1, true);
  image = DecodeGIF(reinterpret_cast<const std::uint8_t*>(interlaced.data()), interlaced.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(Row(image->GetBits(), image->GetBits() + 3), (Row{0xFFFF0000u, 0xFF0000FFu, 0xFF00FF00u}));

  // A graphic control block too short to hold the transparent index sets none.
  std::string shortControl = plain;
  const std::size_t control = shortControl.find("\x21\xF9\x04");
  ASSERT_NE(control, std::string::npos);
  shortControl.replace(control, 8, std::string("\x21\xF9\x03", 3) + plain.substr(control + 3, 3) + '\0');
  image = DecodeGIF(reinterpret_cast<const std::uint8_t*>(shortControl.data()), shortControl.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(Pixel(image, 0, 0), Pixel(image, 2, 0)), std::pair(0xFF000000u, 0xFF00FF00u));

  // Cut short: the pixels not reached stay transparent; no signature, no
  // image, no size: nothing.
  const std::string cut = plain.substr(0, plain.size() - 5);
  image = DecodeGIF(reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(Pixel(image, 2, 1), 0u);
  // Likewise in the memory of a freed picture of its size, which the pixel
  // pool hands back as it was left (except under AddressSanitizer).
  Zing::PixelPool::Release();
  const std::string white = ImageTest::MakeTga(64, 64, 0x28, Row(64 * 64, 0xFFFFFFFFu));
  image = DecodeTGA(reinterpret_cast<const std::uint8_t*>(white.data()), white.size());
  const std::uint32_t* block = image->GetBits();
  image.reset();
  EXPECT_EQ(Zing::PixelPool::KeptBytes(), Zing::PixelPool::kKeepsBlocks ? 20480u : 0u);  // 64 x 64 + 1 words, in pages
  const std::string flat = ImageTest::MakeGif(64, 64, std::vector<std::uint8_t>(64 * 64, 1));
  image = DecodeGIF(reinterpret_cast<const std::uint8_t*>(flat.data()), flat.size() - 5);
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(image->GetBits() == block, Pixel(image, 63, 63)), std::pair(Zing::PixelPool::kKeepsBlocks, 0u));
  for (const std::string& bad : {std::string("GIF88a"), plain.substr(0, 30), ImageTest::MakeGif(0, 2, {})})
    EXPECT_FALSE(DecodeGIF(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()));
  // A code beyond the table and an oversized frame are refused or cut off safely.
  std::string wild = plain;
  wild[wild.size() - 4] = static_cast<char>(0xFF);
  DecodeGIF(reinterpret_cast<const std::uint8_t*>(wild.data()), wild.size());
  const std::string huge = ImageTest::MakeGif(20000, 1, {1});
  EXPECT_FALSE(DecodeGIF(reinterpret_cast<const std::uint8_t*>(huge.data()), huge.size()));
}

TEST(ImageLib, TgaSubsetOnly) {
  const std::vector<std::uint32_t> pixels = {0x80112233, 0xFF445566};
  const std::string topDown = ImageTest::MakeTga(1, 2, 0x28, pixels);
  ImagePtr image = DecodeTGA(reinterpret_cast<const std::uint8_t*>(topDown.data()), topDown.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(Row(image->GetBits(), image->GetBits() + 2), pixels);
  for (const std::string& bad : {ImageTest::MakeTga(1, 2, 0x08, pixels), ImageTest::MakeTga(1, 2, 0x28, pixels, 24),
                                 topDown.substr(0, topDown.size() - 1), topDown.substr(0, 10)})
    EXPECT_FALSE(DecodeTGA(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()));
  const std::string huge = ImageTest::MakeTga(20000, 20000, 0x28, {});
  EXPECT_FALSE(DecodeTGA(reinterpret_cast<const std::uint8_t*>(huge.data()), huge.size()));
}

TEST(ImageLib, FormatSearchAndAlphaImages) {
  ZingTest::TempFolder folder;
  PngSpec white{1, 1, PNG_COLOR_TYPE_RGB, 8, false, {255, 255, 255}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("menu.png"), white));
  folder.Write("menu.gif", ImageTest::MakeGif(2, 2, {1, 1, 1, 1}));
  ImagePtr image = GetImage(folder.File("menu"));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetWidth(), 1);                            // the PNG comes before the GIF
  EXPECT_TRUE(GetImage(folder.File("Menu.PNG")) == nullptr);  // "Menu.png" does not exist on this disk
  EXPECT_TRUE(GetImage(folder.File("menu.PNG")));
  folder.Write("tile.bmp", "not looked at");
  EXPECT_FALSE(GetImage(folder.File("tile.bmp")));

  // A JPEG with a grey mask "_tile.png": the mask's blue becomes alpha.
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("tile.jpg"), 2, 1, 3, false, {0, 0, 0, 0, 0, 0}));
  PngSpec mask{2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0x00, 0xFF}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("_tile.png"), mask));
  image = GetImage(folder.File("tile"));
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(Pixel(image, 0, 0) >> 24, Pixel(image, 1, 0) >> 24), std::pair(0x00u, 0xFFu));
  // Sizes that differ leave the picture as it was.
  PngSpec wide{3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {0, 0, 0}, {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("_tile.png"), wide));
  EXPECT_EQ(Pixel(GetImage(folder.File("tile")), 0, 0) >> 24, 0xFFu);

  // Only the mask: one colour, the mask's transparency.
  ASSERT_TRUE(ImageTest::WritePng(folder.File("_glow.png"), mask));
  gAlphaComposeColor = 0x00FF0000;
  image = GetImage(folder.File("glow"));
  gAlphaComposeColor = 0x00FFFFFF;
  ASSERT_TRUE(image);
  EXPECT_EQ(std::pair(Pixel(image, 0, 0), Pixel(image, 1, 0)), std::pair(0x00FF0000u, 0xFFFF0000u));

  // JPEG 2000 without a codec is simply no picture; with one, garbage is too.
  folder.Write("art.j2k", "\xFF\x4F\xFF\x51 broken");
  FreeJPEG2000Codec();
  EXPECT_FALSE(GetImage(folder.File("art")));
  if (LoadJPEG2000Codec()) {
    EXPECT_FALSE(GetImage(folder.File("art.j2k")));
  }
  FreeJPEG2000Codec();
}

TEST(ImageLib, WritersRoundTripAndRefuseBadTargets) {
  ZingTest::TempFolder folder;
  Image source;
  ASSERT_TRUE(source.Allocate(3, 2));
  const std::uint32_t colours[6] = {0xFF102030, 0x80405060, 0x00708090, 0xFFFFFFFF, 0x7F000000, 0xFF00FF00};
  std::copy(colours, colours + 6, source.GetBits());
  ASSERT_TRUE(WritePNGImage(folder.File("out.png"), source));
  ImagePtr back = GetPNGImage(folder.File("out.png"));
  ASSERT_TRUE(back);
  EXPECT_TRUE(std::equal(colours, colours + 6, back->GetBits()));

  ASSERT_TRUE(WriteJPEGImage(folder.File("out.jpg"), source));
  back = GetJPEGImage(folder.File("out.jpg"));
  ASSERT_TRUE(back);
  EXPECT_EQ(std::pair(back->GetWidth(), Pixel(back, 0, 0) >> 24), std::pair(3, 0xFFu));

  EXPECT_FALSE(WritePNGImage(folder.File("missing/out.png"), source));
  EXPECT_FALSE(WriteJPEGImage(folder.File("missing/out.jpg"), source));
  EXPECT_FALSE(WritePNGImage(folder.File("empty.png"), Image()));
}

TEST(ImageLib, DamagedPngAndJpegStreamsYieldNothing) {
  ZingTest::TempFolder folder;
  PngSpec rgb{64, 64, PNG_COLOR_TYPE_RGB, 8, false, std::vector<std::uint8_t>(64 * 64 * 3, 7), {}, {}};
  ASSERT_TRUE(ImageTest::WritePng(folder.File("whole.png"), rgb));
  const std::string png = folder.Read("whole.png");
  folder.Write("cut.png", png.substr(0, png.size() / 2));
  EXPECT_FALSE(GetPNGImage(folder.File("cut.png")));
  PngSpec wide{kMaxDimension + 1, 1, PNG_COLOR_TYPE_GRAY, 1, false, {}, {}, {}};
  wide.samples.resize((kMaxDimension + 8) / 8);
  ASSERT_TRUE(ImageTest::WritePng(folder.File("wide.png"), wide));
  EXPECT_FALSE(GetPNGImage(folder.File("wide.png")));

  std::vector<std::uint8_t> rgbSamples(32 * 32 * 3, 100);
  ASSERT_TRUE(ImageTest::WriteJpeg(folder.File("whole.jpg"), 32, 32, 3, false, rgbSamples));
  const std::string jpeg = folder.Read("whole.jpg");
  folder.Write("garbage.jpg", "\xFF\xD8\xFF\xE0 not a jpeg at all");
  folder.Write("empty.jpg", "");
  EXPECT_FALSE(GetJPEGImage(folder.File("garbage.jpg")));
  EXPECT_FALSE(GetJPEGImage(folder.File("empty.jpg")));
  // A stream cut short decodes what it has (libjpeg pads the rest).
  folder.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  ImagePtr cut = GetJPEGImage(folder.File("cut.jpg"));
  if (cut) {
    EXPECT_EQ(cut->GetWidth(), 32);
  }
}

}  // namespace
