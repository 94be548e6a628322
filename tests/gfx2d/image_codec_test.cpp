// Picture decoding and encoding checked against an independent decoder (Pillow) and an
// independent PNG encoder (tests/gfx2d/make_test_images.py).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/image_writer.h"
#include "gfx2d/png_reader.h"
#include "support/memory_limited_child.h"
#include "support/process_runner.h"

namespace {

ImageBuffer ReadExpected(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  ImageBuffer image;
  file >> image.width >> image.height;
  file.get();
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
  file.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
  return image;
}

std::string Bytes(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A BMP built byte by byte: 24-bit, the given signed height, pixels given top row first.
std::string Bmp24(int width, int height, const std::vector<std::array<std::uint8_t, 3>>& rgbTopFirst) {
  const int rows = height < 0 ? -height : height;
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string data = "BM";
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) data += static_cast<char>(v >> (8 * i)); };
  auto put16 = [&](std::uint32_t v) { for (int i = 0; i < 2; ++i) data += static_cast<char>(v >> (8 * i)); };
  put32(54 + stride * rows);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  put16(1);
  put16(24);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int row = 0; row < rows; ++row) {
    const int y = height < 0 ? row : rows - 1 - row;
    for (int x = 0; x < width; ++x) {
      const auto& rgb = rgbTopFirst[static_cast<std::size_t>(y * width + x)];
      data += static_cast<char>(rgb[2]);
      data += static_cast<char>(rgb[1]);
      data += static_cast<char>(rgb[0]);
    }
    data.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return data;
}

class ImageCodec : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    images = new ScratchDirectory;
    const ProcessResult made =
        RunProcess("/usr/bin/python3", {std::string(TEST_SOURCE_DIR) + "/gfx2d/make_test_images.py", images->Path()});
    ASSERT_EQ(made.exitCode, 0) << made.output;
  }
  static void TearDownTestSuite() {
    delete images;
    images = nullptr;
  }
  static std::string Image(const std::string& name) { return images->Path() + "/" + name; }

  std::string Write(const std::string& name, const std::string& contents) {
    scratch.WriteFile(name, contents);
    return scratch.Path() + "/" + name;
  }
  // Pillow's reading of a file we wrote, as "mode w h" and RGBA bytes in hex.
  std::string PillowReads(const std::string& path) {
    const ProcessResult read = RunProcess(
        "/usr/bin/python3",
        {"-c", "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
               "print(im.format, im.size[0], im.size[1], im.convert('RGBA').tobytes().hex())",
         path});
    return read.output;
  }

  static ScratchDirectory* images;
  ScratchDirectory scratch;
};
ScratchDirectory* ImageCodec::images = nullptr;

TEST_F(ImageCodec, DecodesEveryVariantLikeTheIndependentDecoder) {
  for (const char* name : {"rgb24.bmp", "palette8.bmp", "rgb32.bmp", "rgb8.png", "rgba8.png", "rgb16.png",
                           "grey1.png", "grey2.png", "grey4.png", "grey8.png", "grey16.png", "palette_trns.png",
                           "rgb8_interlaced.png"}) {
    SCOPED_TRACE(name);
    const ImageBuffer expected = ReadExpected(Image(std::string(name) + ".rgba"));
    ImageBuffer decoded;
    const bool isBmp = std::string(name).ends_with(".bmp");
    ASSERT_TRUE(isBmp ? LoadBmp(Image(name).c_str(), kNoColourKey, decoded)
                      : LoadPng(Image(name).c_str(), kNoColourKey, decoded));
    ASSERT_EQ(decoded.width, expected.width);
    ASSERT_EQ(decoded.height, expected.height);
    EXPECT_EQ(Bytes(decoded.pixels), Bytes(expected.pixels));
  }
}

TEST_F(ImageCodec, EachReaderRefusesTheOthersFormat) {
  ImageBuffer image;
  EXPECT_FALSE(LoadBmp(Image("rgb8.png").c_str(), kNoColourKey, image));
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_FALSE(LoadPng(Image("rgb24.bmp").c_str(), kNoColourKey, image));
}

TEST_F(ImageCodec, GreyWithAlphaIsRefusedWithoutAMessage) {
  ImageBuffer image;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(LoadPng(Image("grey_alpha.png").c_str(), kNoColourKey, image));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ImageCodec, ColourKeyTurnsExactlyThatColourTransparent) {
  const std::string path = Write("key.bmp", Bmp24(2, 1, {{255, 0, 128}, {0, 0, 0}}));
  ImageBuffer image;
  ASSERT_TRUE(LoadBmp(path.c_str(), kDefaultSpriteKey, image));
  EXPECT_EQ(Bytes(image.pixels), Bytes({0, 0, 0, 0, 0, 0, 0, 255}));
  ASSERT_TRUE(LoadBmp(path.c_str(), kDefaultFontKey, image));  // black is the font key
  EXPECT_EQ(Bytes(image.pixels), Bytes({255, 0, 128, 255, 0, 0, 0, 0}));
  ASSERT_TRUE(LoadBmp(path.c_str(), kNoColourKey, image));
  EXPECT_EQ(image.pixels[3], 255);
  EXPECT_EQ(image.pixels[7], 255);
}

TEST_F(ImageCodec, ColourKeyAppliesToRgbPngsOnly) {
  ImageBuffer keyed, plain;
  ASSERT_TRUE(LoadPng(Image("rgb8.png").c_str(), kNoColourKey, plain));
  const std::uint8_t* first = plain.Pixel(0, 0);
  ASSERT_TRUE(LoadPng(Image("rgb8.png").c_str(), PackColour(first[0], first[1], first[2]), keyed));
  EXPECT_EQ(keyed.Pixel(0, 0)[3], 0);
  EXPECT_EQ(keyed.Pixel(1, 0)[3], 255);
  ImageBuffer grey;
  ASSERT_TRUE(LoadPng(Image("grey8.png").c_str(), 0, grey));  // grey pixel 0 stays opaque
  EXPECT_EQ(grey.Pixel(0, 0)[3], 255);
}

TEST_F(ImageCodec, NegativeHeightBmpIsTopRowFirst) {
  const std::vector<std::array<std::uint8_t, 3>> pixels = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  ImageBuffer topDown, bottomUp;
  ASSERT_TRUE(LoadBmp(Write("down.bmp", Bmp24(1, -3, pixels)).c_str(), kNoColourKey, topDown));
  ASSERT_TRUE(LoadBmp(Write("up.bmp", Bmp24(1, 3, pixels)).c_str(), kNoColourKey, bottomUp));
  EXPECT_EQ(topDown.height, 3);
  EXPECT_EQ(Bytes(topDown.pixels), Bytes({1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255}));
  EXPECT_EQ(Bytes(bottomUp.pixels), Bytes(topDown.pixels));
}

TEST_F(ImageCodec, DamagedAndHostileFilesFailWithoutCrashing) {
  const std::string valid = Bmp24(4, 4, std::vector<std::array<std::uint8_t, 3>>(16, {9, 9, 9}));
  std::string absurd = valid;
  absurd[18] = absurd[19] = absurd[20] = '\x7f';  // width near 2^31
  std::string hugeHeight = valid;
  hugeHeight[22] = '\0', hugeHeight[23] = '\0', hugeHeight[24] = '\0', hugeHeight[25] = '\x80';  // INT_MIN
  std::string badOffset = valid;
  badOffset[10] = '\xff', badOffset[11] = '\xff', badOffset[12] = '\xff';
  std::string bitsPerPixel16 = valid;
  bitsPerPixel16[28] = 16;
  std::string paletteIndexBeyondPalette = valid;  // 8-bit file with no palette entries at all
  paletteIndexBeyondPalette[28] = 8;
  std::ifstream pngFile(Image("rgb8.png"), std::ios::binary);
  const std::string pngBytes((std::istreambuf_iterator<char>(pngFile)), std::istreambuf_iterator<char>());
  std::string pngHuge = pngBytes;
  pngHuge[16] = '\x7f';  // width field of IHDR (the CRC no longer matches either)

  const std::vector<std::pair<std::string, std::string>> cases = {
      {"empty", ""},
      {"truncated-rows", valid.substr(0, valid.size() - 5)},
      {"truncated-header", valid.substr(0, 30)},
      {"absurd-width", absurd},
      {"int-min-height", hugeHeight},
      {"offset-past-end", badOffset},
      {"16-bit", bitsPerPixel16},
      {"truncated-png", pngBytes.substr(0, pngBytes.size() - 30)},
      {"huge-png", pngHuge},
      {"png-signature-only", pngBytes.substr(0, 8)},
      // Found by fuzzing: a zTXt chunk stating 436 MB after an interlaced RGBA header.
      {"png-huge-text-chunk", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x03\0\0\0\x29\x08\x06\0\0\x01"
                                          "\x9d\x74\x66\x1b\x1a\0\0\0zTXtT\xe4\xe2\x46\x66\x40", 47)},
  };
  for (const auto& [name, contents] : cases) {
    SCOPED_TRACE(name);
    const std::string path = Write(name, contents);
    ImageBuffer image;
    image.width = 1;  // a failed load empties the target
    EXPECT_FALSE(LoadBmp(path.c_str(), kNoColourKey, image));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_FALSE(LoadPng(path.c_str(), kNoColourKey, image));
    EXPECT_TRUE(image.IsEmpty());
  }
  ImageBuffer image;
  EXPECT_TRUE(LoadBmp(Write("short-palette", paletteIndexBeyondPalette).c_str(), kNoColourKey, image));
  EXPECT_EQ(image.Pixel(0, 0)[0], 0);  // an index past the palette reads as black
  EXPECT_FALSE(LoadBmp(scratch.Path().c_str(), kNoColourKey, image));  // a directory
  EXPECT_FALSE(LoadPng(scratch.Path().c_str(), kNoColourKey, image));
  EXPECT_FALSE(LoadBmp((scratch.Path() + "/missing").c_str(), kNoColourKey, image));
}

// Each reader runs in a child whose memory may grow by limit; 0 when it refused the file.
int ExitCodeOfLoad(bool png, const std::string& path, std::size_t limit) {
  return ExitCodeWithMemoryLimit(limit, [&] {
    ImageBuffer image;
    const bool loaded = png ? LoadPng(path.c_str(), kNoColourKey, image) : LoadBmp(path.c_str(), kNoColourKey, image);
    return loaded || !image.IsEmpty() ? 1 : 0;
  });
}

TEST_F(ImageCodec, HeadersPromisingMoreThanTheDataHoldsCostNoMemory) {
  if (!MemoryLimitsApply()) GTEST_SKIP() << "address-space limits do not work under the sanitizers";
  // 4 GiB of RGBA claimed by 70 bytes; 1 GiB of rows once expanded, claimed by a file
  // large enough to inflate to them, with three rows there.
  EXPECT_EQ(ExitCodeOfLoad(true, Image("claims_huge.png"), 64 << 20), 0);
  EXPECT_EQ(ExitCodeOfLoad(true, Image("rows_missing.png"), 64 << 20), 0);
}

TEST_F(ImageCodec, RunningOutOfMemoryFailsTheLoadInsteadOfEndingTheProgram) {
  if (!MemoryLimitsApply()) GTEST_SKIP() << "address-space limits do not work under the sanitizers";
  // An 8-bit 4096 x 4096 picture: 16 MiB of rows, 64 MiB of pixels, more than the heap of
  // a test run has lying free.
  std::string large = Bmp24(1, 1, {{0, 0, 0}}).substr(0, 54);
  large[18] = large[22] = '\0';
  large[19] = large[23] = '\x10';  // width and height 4096
  large[28] = 8;
  const std::string bmp = Write("large.bmp", large + std::string(4096 * 4096, '\0'));
  EXPECT_EQ(ExitCodeOfLoad(false, bmp, 32 << 20), 0);
  EXPECT_EQ(ExitCodeOfLoad(true, Image("large_grey.png"), 32 << 20), 0);
  ImageBuffer image;  // with the memory there, both load
  EXPECT_TRUE(LoadBmp(bmp.c_str(), kNoColourKey, image));
  EXPECT_TRUE(LoadPng(Image("large_grey.png").c_str(), kNoColourKey, image));
  EXPECT_EQ(image.width, 4096);
}

TEST_F(ImageCodec, SavedBmpReadsBackIdenticallyInPillow) {
  // 3 x 2 pixels, blue-green-red rows bottom first, stride of 4 pixels.
  std::vector<std::uint8_t> bgr(4 * 2 * 3, 0);
  for (std::size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<std::uint8_t>(i * 10);
  const std::string path = scratch.Path() + "/shot.bmp";
  ASSERT_TRUE(SaveImageFile(path, bgr.data(), 3, 2, 4));
  // Top row is source row 1: pixels at byte 12, 15, 18; bottom row: bytes 0, 3, 6.
  std::string expected;
  for (int start : {12, 15, 18, 0, 3, 6}) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02x%02x%02xff", bgr[start + 2], bgr[start + 1], bgr[start]);
    expected += hex;
  }
  EXPECT_EQ(PillowReads(path), "BMP 3 2 " + expected + "\n");
  ImageBuffer ours;
  ASSERT_TRUE(LoadBmp(path.c_str(), kNoColourKey, ours));
  EXPECT_EQ(ours.Pixel(0, 0)[0], bgr[14]);
}

TEST_F(ImageCodec, SavedPngMakesTheKeySignatureTransparent) {
  // Two pixels: the sprite key (blue 128, green 0, red 255) and plain grey.
  const std::uint8_t bgr[] = {128, 0, 255, 50, 60, 70};
  for (const char* name : {"shot.png", "SHOT.PNG", "shot.Png"}) {
    const std::string path = scratch.Path() + "/" + name;
    ASSERT_TRUE(SaveImageFile(path, bgr, 2, 1, 2));
    EXPECT_EQ(PillowReads(path), "PNG 2 1 0000ff00463c32ff\n") << name;
  }
  EXPECT_TRUE(HasPngExtension("a.PNG"));
  EXPECT_FALSE(HasPngExtension(".png"));
  EXPECT_FALSE(HasPngExtension("picture.bmp"));
  EXPECT_FALSE(HasPngExtension("picture"));
  EXPECT_FALSE(SaveImageFile(scratch.Path() + "/no/such/folder.bmp", bgr, 2, 1, 2));
}

}  // namespace
