#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>

#include "platform/Image.h"
#include "support/TempDir.h"

namespace {

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Magenta counts only when opaque and exact.
const std::vector<std::uint32_t> kPixels = {0xFF102030u, 0x80FF00FFu, 0xFFFF00FFu, 0x00000000u,
                                            0xFFFF01FFu, 0xFFFF00FFu, 0x7F7F7F7Fu, 0xFFFFFFFFu};

class PngImage : public ::testing::Test {
 protected:
  std::string Save(const char* name) {
    EXPECT_TRUE(platform::SavePng((dir / name).string(), 4, 2, kPixels.data(), error)) << error;
    return (dir / name).string();
  }
  testsupport::TempDir dir;
  platform::Image image;
  std::string error;
};

}  // namespace

TEST_F(PngImage, SavedPixelsLoadBackExactlyOrWithOnlyOpaqueMagentaKeyedOut) {
  ASSERT_TRUE(platform::LoadPng(Save("a.png"), image, error, platform::ColorKey::None)) << error;
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(4, 2));
  EXPECT_EQ(image.pixels, kPixels);
  Save("b.png");
  EXPECT_EQ(ReadBytes(dir / "a.png"), ReadBytes(dir / "b.png"));  // saving is deterministic

  ASSERT_TRUE(platform::LoadPng(Save("a.png"), image, error)) << error;
  std::vector<std::uint32_t> expected = kPixels;
  expected[2] = expected[5] = 0;  // transparent black
  EXPECT_EQ(image.pixels, expected);
}

TEST_F(PngImage, MissingCorruptEmptyOrTruncatedFilesFailNamingTheFile) {
  std::vector<unsigned char> good = ReadBytes(Save("good.png"));
  std::vector<unsigned char> badData = good;
  badData[badData.size() - 20] ^= 0xFF;  // inside the image data: its checksum breaks
  WriteBytes(dir / "truncated.png", {good.begin(), good.begin() + good.size() / 2});
  WriteBytes(dir / "garbage.png", std::vector<unsigned char>(200, 0x5A));
  WriteBytes(dir / "empty.png", {});
  WriteBytes(dir / "bad.png", badData);
  for (const char* name : {"missing.png", "truncated.png", "garbage.png", "empty.png", "bad.png"}) {
    error.clear();
    EXPECT_FALSE(platform::LoadPng((dir / name).string(), image, error)) << name;
    EXPECT_NE(error.find(name), std::string::npos) << error;
    EXPECT_TRUE(image.pixels.empty()) << name;
  }
}

// A PNG built chunk by chunk: IHDR for the given size and format, then IDAT holding `idat`.
std::vector<unsigned char> BuildPng(std::uint32_t width, std::uint32_t height, unsigned char depth,
                                    unsigned char colorType, std::vector<unsigned char> idat) {
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto addChunk = [&png](std::vector<unsigned char> chunk) {
    const std::size_t length = chunk.size() - 4;
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<unsigned char>(length >> shift));
    const uLong crc = crc32(0, chunk.data(), static_cast<uInt>(chunk.size()));
    png.insert(png.end(), chunk.begin(), chunk.end());
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<unsigned char>(crc >> shift));
  };
  std::vector<unsigned char> header = {'I', 'H', 'D', 'R'};
  for (std::uint32_t side : {width, height}) {
    for (int shift : {24, 16, 8, 0}) header.push_back(static_cast<unsigned char>(side >> shift));
  }
  header.insert(header.end(), {depth, colorType, 0, 0, 0});
  addChunk(header);
  idat.insert(idat.begin(), {'I', 'D', 'A', 'T'});
  addChunk(idat);
  addChunk({'I', 'E', 'N', 'D'});
  return png;
}

TEST_F(PngImage, HeaderClaimingMorePixelsThanTheFileCanHoldIsRefusedBeforeAllocating) {
  // A valid header, then a token stream of nothing: 65 bytes in all.
  const std::vector<unsigned char> empty = {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
  struct Case {
    std::uint32_t side;
    const char* message;
  };
  for (const Case& c : {Case{100000, "huge.png: image size 100000 x 100000 is out of range"},
                        Case{16384, "huge.png: image size 16384 x 16384 needs more data than "
                                    "the file's 65 bytes can hold"},
                        Case{300, "huge.png: image size 300 x 300 needs more data"}}) {
    const std::vector<unsigned char> png = BuildPng(c.side, c.side, 8, 6, empty);
    error.clear();
    EXPECT_FALSE(platform::DecodePng(png.data(), png.size(), "huge.png", image, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_TRUE(image.pixels.empty());
  }
}

TEST_F(PngImage, HighlyCompressedOneBitImageStillDecodes) {
  // 1024 x 1024 black pixels at one bit each pack into a few hundred bytes, far less
  // than a thousandth of the ARGB pixels they decode to.
  constexpr int kSide = 1024;
  const std::vector<unsigned char> rows(kSide * (1 + kSide / 8), 0);
  std::vector<unsigned char> packed(compressBound(rows.size()));
  uLongf packedSize = packed.size();
  ASSERT_EQ(compress2(packed.data(), &packedSize, rows.data(), rows.size(), 9), Z_OK);
  packed.resize(packedSize);
  const std::vector<unsigned char> png = BuildPng(kSide, kSide, 1, 0, packed);
  ASSERT_LT(png.size() * 1032, static_cast<std::size_t>(kSide) * kSide * 4);
  ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), "flat.png", image, error)) << error;
  EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(kSide) * kSide);
  EXPECT_EQ(image.pixels.back(), 0xFF000000u);
}
