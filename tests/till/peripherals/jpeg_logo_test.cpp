// The logo picture decoded, and damaged pictures refused without ending the program.
#include "jpeg_image.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

namespace {

QByteArray jpegOf(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPG"));
    return bytes;
}

std::optional<platform::RgbImage> decode(const QByteArray& bytes) {
    return platform::decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

TEST(JpegLogo, DecodesAPicture) {
    const auto image = decode(jpegOf(40, 12));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 40);
    EXPECT_EQ(image->height, 12);
    ASSERT_EQ(image->rgb.size(), 40u * 12u * 3u);
    EXPECT_GT(image->rgb[0], 150);  // red
    EXPECT_LT(image->rgb[1], 80);
}

TEST(JpegLogo, DamagedPicturesAreRefused) {
    const QByteArray good = jpegOf(40, 12);
    EXPECT_FALSE(decode(QByteArray()));
    EXPECT_FALSE(decode(QByteArray("not a picture at all")));
    EXPECT_FALSE(decode(good.left(good.size() / 2)));  // cut off
    QByteArray scrambled = good;
    for (int i = 20; i < scrambled.size(); i += 7) scrambled[i] = char(0xFF);
    EXPECT_FALSE(decode(scrambled));
}

}  // namespace
