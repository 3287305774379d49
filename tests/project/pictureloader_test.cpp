#include "project/pictureloader.h"

#include "model/backgroundpicture.h"
#include "projectfixtures.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvara {
namespace {

using testing::BmpSpec;
using testing::makeBmp;
using testing::put32;
using testing::readWholeFile;

std::string fixture(const std::string& name)
{
    return std::string(KELVARA_TEST_DATA) + "/project/" + name;
}

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kLime = 0xFF00FF00;
constexpr QRgb kDark = 0xFF102030;

// The pictures made by ImageMagick mark their top-left pixel blue and their
// bottom-right one lime, so a picture upside down or shifted shows.
struct Marked {
    const char* file;
    int width;
    int height;
    QRgb fill;
};

class MarkedPictures : public ::testing::TestWithParam<Marked> {};

TEST_P(MarkedPictures, LoadUprightWithTheirColours)
{
    const Marked& m = GetParam();
    const DecodedBitmap decoded = decodePicture(readWholeFile(fixture(m.file)));
    ASSERT_TRUE(decoded.ok()) << decoded.refusal;
    const QImage& image = decoded.image;
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.width(), m.width);
    ASSERT_EQ(image.height(), m.height);
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            QRgb expected = m.fill;
            if (x == 0 && y == 0)
                expected = kBlue;
            else if (x == m.width - 1 && y == m.height - 1)
                expected = kLime;
            EXPECT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MarkedPictures,
                         ::testing::Values(Marked{"marks3x2-24.bmp", 3, 2, kRed},
                                           Marked{"marks5x3-24.bmp", 5, 3, kDark},
                                           Marked{"marks5x2-32v5.bmp", 5, 2, kDark},
                                           Marked{"marks4x3.png", 4, 3, kDark}));

TEST(PictureLoader, PngAndJpegComeThroughQtsReadersBoundedByTheirHeaders)
{
    // Transparent parts are paper white; a JPEG keeps its halves (lossily).
    const DecodedBitmap clear = decodePicture(readWholeFile(fixture("clear2x1.png")));
    ASSERT_TRUE(clear.ok()) << clear.refusal;
    EXPECT_EQ(clear.image.pixel(0, 0), kBlue);
    EXPECT_EQ(clear.image.pixel(1, 0), 0xFFFFFFFFu);
    const DecodedBitmap jpeg = decodePicture(readWholeFile(fixture("half16x8.jpg")));
    ASSERT_TRUE(jpeg.ok()) << jpeg.refusal;
    ASSERT_EQ(jpeg.image.size(), QSize(16, 8));
    EXPECT_GT(qBlue(jpeg.image.pixel(2, 4)), 200);
    EXPECT_LT(qRed(jpeg.image.pixel(2, 4)), 60);
    EXPECT_GT(qRed(jpeg.image.pixel(13, 4)), 200);

    // A PNG header claiming 100000 x 100000 pixels is refused before decoding,
    // and a cut PNG is refused, not shown half.
    std::string png = readWholeFile(fixture("marks4x3.png"));
    std::string forged = png;
    forged[16] = forged[20] = 0;
    forged[17] = forged[21] = 0x01;
    forged[18] = forged[22] = static_cast<char>(0x86);
    forged[19] = forged[23] = static_cast<char>(0xA0);
    EXPECT_FALSE(decodePicture(forged).ok());
    EXPECT_FALSE(decodePicture(png.substr(0, png.size() / 2)).ok());
    // A chunk claiming 256 MiB more than the file holds (found by fuzzing:
    // the decoder filled room for it) is refused before Qt sees it.
    std::string claiming = png;
    claiming.insert(claiming.size() - 12, std::string("\x10\x00\x00\x00tEXtdate", 12));
    EXPECT_FALSE(decodePicture(claiming).ok());
    EXPECT_FALSE(decodePicture("GIF89a").ok());
}

TEST(PictureLoader, AnImageSizeOfZeroIsComputedFromTheRows)
{
    // 3 pixels of 24 bits: 9 bytes per row, padded to 12; 2 rows need 24.
    std::string bytes = readWholeFile(fixture("marks3x2-24.bmp"));
    put32(bytes, 34, 0);
    const DecodedBitmap decoded = decodeBitmap(bytes);
    ASSERT_TRUE(decoded.ok()) << decoded.refusal;
    EXPECT_EQ(decoded.image.pixel(0, 0), kBlue);
    EXPECT_EQ(decoded.image.pixel(2, 1), kLime);

    bytes.resize(54 + 23);
    EXPECT_FALSE(decodeBitmap(bytes).ok());
}

std::vector<uint32_t> rampPixels(int width, int height)
{
    std::vector<uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(static_cast<uint32_t>(0x010203 * (i + 1)));
    return pixels;
}

void expectRamp(const DecodedBitmap& decoded, int width, int height)
{
    ASSERT_TRUE(decoded.ok()) << decoded.refusal;
    ASSERT_EQ(decoded.image.width(), width);
    ASSERT_EQ(decoded.image.height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(decoded.image.pixel(x, y), 0xFF000000u | (0x010203u * (y * width + x + 1)))
                << x << "," << y;
}

TEST(PictureLoader, HeaderVariantsFindTheirPixels)
{
    const auto ramp = rampPixels(5, 3);
    BmpSpec layout;
    layout.width = 5;
    layout.height = 3;
    layout.pixels = ramp;

    {
        SCOPED_TRACE("bottom-up, 24 bits");
        expectRamp(decodeBitmap(makeBmp(layout)), 5, 3);
    }

    BmpSpec topDown = layout;
    topDown.height = -3;
    {
        SCOPED_TRACE("top-down");
        expectRamp(decodeBitmap(makeBmp(topDown)), 5, 3);
    }

    BmpSpec bgrx = layout;
    bgrx.bitsPerPixel = 32; // rows of 20 bytes; the fourth byte is ignored
    {
        SCOPED_TRACE("32 bits");
        expectRamp(decodeBitmap(makeBmp(bgrx)), 5, 3);
    }

    BmpSpec table = layout;
    table.colourTableEntries = 7;
    {
        SCOPED_TRACE("colour table");
        expectRamp(decodeBitmap(makeBmp(table)), 5, 3);
    }

    BmpSpec v4 = layout;
    v4.infoSize = 108;
    {
        SCOPED_TRACE("V4 header");
        expectRamp(decodeBitmap(makeBmp(v4)), 5, 3);
    }

    BmpSpec gap = layout;
    gap.pixelOffset = 200;
    {
        SCOPED_TRACE("gap before the pixels");
        expectRamp(decodeBitmap(makeBmp(gap)), 5, 3);
    }

    BmpSpec fields = bgrx;
    fields.compression = 3;
    fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    fields.pixelOffset = 66;
    {
        SCOPED_TRACE("standard bit fields after a 40-byte header");
        expectRamp(decodeBitmap(makeBmp(fields)), 5, 3);
    }

    BmpSpec larger = layout;
    larger.imageSizeField = 1000; // larger than the rows, and present in the file
    larger.pixelOffset = 54;
    std::string bytes = makeBmp(larger);
    bytes.resize(54 + 1000, '\0');
    {
        SCOPED_TRACE("image size larger than the rows");
        expectRamp(decodeBitmap(bytes), 5, 3);
    }
}

struct Forged {
    const char* what;
    std::string bytes;
};

std::vector<Forged> forgedFiles()
{
    const auto forge = [](auto change) {
        BmpSpec layout;
        change(layout);
        return makeBmp(layout);
    };
    std::vector<Forged> files;
    files.push_back({"empty", ""});
    files.push_back({"13 bytes", makeBmp({}).substr(0, 13)});
    files.push_back({"no BM", "PM" + makeBmp({}).substr(2)});
    files.push_back({"short information header", makeBmp({}).substr(0, 14 + 39)});
    files.push_back({"core header", forge([](BmpSpec& s) { s.infoSize = 12; })});
    for (uint16_t bits : {0, 1, 8, 16, 48})
        files.push_back({"bit depth", forge([bits](BmpSpec& s) { s.bitsPerPixel = bits; })});
    files.push_back({"run-length", forge([](BmpSpec& s) { s.compression = 1; })});
    files.push_back({"embedded JPEG", forge([](BmpSpec& s) { s.compression = 4; })});
    files.push_back({"24-bit bit fields", forge([](BmpSpec& s) {
                         s.compression = 3;
                         s.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
                     })});
    files.push_back({"RGBX bit fields", forge([](BmpSpec& s) {
                         s.bitsPerPixel = 32;
                         s.compression = 3;
                         s.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
                     })});
    files.push_back({"zero width", forge([](BmpSpec& s) { s.width = 0; })});
    files.push_back({"negative width", forge([](BmpSpec& s) { s.width = -3; })});
    files.push_back({"zero height", forge([](BmpSpec& s) { s.height = 0; })});

    // Headers promising far more than the file holds: refused before any
    // allocation from their numbers.
    const auto header = [](int32_t width, int32_t height, uint16_t bits, uint32_t imageSize) {
        BmpSpec s;
        s.width = 1;
        s.height = 1;
        s.bitsPerPixel = bits;
        std::string bytes = makeBmp(s);
        put32(bytes, 18, static_cast<uint32_t>(width));
        put32(bytes, 22, static_cast<uint32_t>(height));
        put32(bytes, 34, imageSize);
        return bytes;
    };
    files.push_back({"row beyond 32 bits", header(0x7FFFFFFF, 1, 24, 0)});
    files.push_back({"row of exactly 2^32 bytes", header(0x40000000, 1, 32, 0)});
    files.push_back({"image beyond 32 bits", header(65536, 65536, 32, 0)});
    files.push_back({"lowest height", header(1, INT32_MIN, 24, 0)});
    files.push_back({"pixels past the end", header(4000, 3000, 24, 0)});
    files.push_back({"image size past the end", header(1, 1, 24, 0xFFFFFFFF)});
    files.push_back({"image size below the rows", forge([](BmpSpec& s) {
                         s.width = 5;
                         s.height = 3;
                         s.imageSizeField = 47;
                     })});

    std::string offsetPast = makeBmp({});
    put32(offsetPast, 10, 0xFFFFFFF0);
    files.push_back({"pixel offset past the end", offsetPast});
    std::string offsetInside = makeBmp({});
    put32(offsetInside, 10, 20);
    files.push_back({"pixel offset inside the header", offsetInside});
    files.push_back({"one pixel byte short", forge([](BmpSpec& s) { s.truncateTo = 54 + 2 * 12 - 1; })});
    files.push_back({"top-down one byte short", forge([](BmpSpec& s) {
                         s.height = -2;
                         s.truncateTo = 54 + 2 * 12 - 1;
                     })});
    return files;
}

TEST(PictureLoader, ForgedAndTruncatedFilesAreRefused)
{
    for (const Forged& f : forgedFiles()) {
        const DecodedBitmap decoded = decodeBitmap(f.bytes);
        EXPECT_FALSE(decoded.ok()) << f.what;
        EXPECT_TRUE(decoded.image.isNull()) << f.what;
    }
}

TEST(PictureLoader, LoadingPlacesThePictureAtTheScrollPosition)
{
    BackgroundPicture picture;
    ASSERT_TRUE(loadBackgroundPicture(picture, QString::fromStdString(fixture("marks5x3-24.bmp")), 200, 100));
    EXPECT_TRUE(picture.loaded());
    EXPECT_EQ(picture.pictureName.toStdString(), fixture("marks5x3-24.bmp"));
    EXPECT_EQ(picture.picLeft, 200);
    EXPECT_EQ(picture.picTop, 100);
    EXPECT_EQ(picture.picWidth, 5);
    EXPECT_EQ(picture.picHeight, 3);

    ASSERT_TRUE(loadBackgroundPicture(picture, QString::fromStdString(fixture("marks3x2-24.bmp")), -4, 7));
    EXPECT_EQ(picture.pictureName.toStdString(), fixture("marks3x2-24.bmp"));
    EXPECT_EQ(picture.picWidth, 3);
    EXPECT_EQ(picture.picLeft, -4);
    EXPECT_EQ(picture.pixels.pixel(0, 0), kBlue);
}

TEST(PictureLoader, AFailedLoadKeepsTheOldPicture)
{
    testing::TempFolder folder;
    BmpSpec topDown;
    topDown.height = -2;
    const std::string good = folder.write("good.bmp", makeBmp(topDown));
    const std::string bad = folder.write("bad.bmp", makeBmp({}).substr(0, 60));
    for (const std::string& path :
         {bad, fixture("palette3x2-8.bmp"), folder.file("missing.bmp"), folder.file("")}) {
        BackgroundPicture picture;
        ASSERT_TRUE(loadBackgroundPicture(picture, QString::fromStdString(good), 5, 6));
        const QImage before = picture.pixels;
        EXPECT_FALSE(loadBackgroundPicture(picture, QString::fromStdString(path), 0, 0)) << path;
        EXPECT_TRUE(picture.loaded());
        EXPECT_EQ(picture.pictureName.toStdString(), good);
        EXPECT_EQ(picture.pixels, before);
        EXPECT_EQ(picture.picHeight, 2);
        EXPECT_EQ(picture.picLeft, 5);
    }
}

} // namespace
} // namespace kelvara
