#include "resources/resources.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <ostream>
#include <string>

namespace quillora {
namespace {

const QString kPrefix = QStringLiteral(":/quillora/");

class EmbeddedPictures : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  static QImage Load(const QString& name) {
    QImage image(kPrefix + name);
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    return image.convertToFormat(QImage::Format_RGB32);
  }
};

// ---- Every picture: its size and 24 bits per pixel in the file itself.

struct PictureCase {
  const char* name;
  int width;
  int height;
};
void PrintTo(const PictureCase& picture, std::ostream* out) {
  *out << picture.name;
}

class PictureFormat : public EmbeddedPictures,
                      public testing::WithParamInterface<PictureCase> {};

std::uint32_t BigEndian32(const QByteArray& bytes, int at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return value;
}

TEST_P(PictureFormat, IsAnRgbPngOfItsSize) {
  const PictureCase& picture = GetParam();
  QFile file(kPrefix + picture.name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << picture.name;
  const QByteArray header = file.read(26);
  ASSERT_EQ(header.size(), 26);
  ASSERT_EQ(header.left(8), QByteArray("\x89PNG\r\n\x1a\n"));
  ASSERT_EQ(header.mid(12, 4), QByteArray("IHDR"));
  EXPECT_EQ(BigEndian32(header, 16), static_cast<std::uint32_t>(picture.width));
  EXPECT_EQ(BigEndian32(header, 20),
            static_cast<std::uint32_t>(picture.height));
  EXPECT_EQ(header[24], 8) << "bits per channel";
  EXPECT_EQ(header[25], 2) << "colour type: RGB, no alpha, no palette";

  const QImage image = Load(picture.name);
  EXPECT_EQ(image.size(), QSize(picture.width, picture.height));
}

INSTANTIATE_TEST_SUITE_P(
    AllPictures, PictureFormat,
    testing::Values(PictureCase{"skin.png", 635, 353},
                    PictureCase{"about.png", 400, 250},
                    PictureCase{"keypad_empty.png", 121, 106},
                    PictureCase{"keypad_1.png", 121, 106},
                    PictureCase{"keypad_2.png", 121, 106},
                    PictureCase{"keypad_3.png", 121, 106},
                    PictureCase{"keypad_4.png", 121, 106},
                    PictureCase{"keypad_5.png", 121, 106},
                    PictureCase{"keypad_6.png", 121, 106},
                    PictureCase{"keypad_7.png", 121, 106},
                    PictureCase{"keypad_8.png", 121, 106},
                    PictureCase{"keypad_9.png", 121, 106},
                    PictureCase{"keypad_0.png", 121, 106},
                    PictureCase{"keypad_star.png", 121, 106},
                    PictureCase{"keypad_hash.png", 121, 106}),
    [](const testing::TestParamInfo<PictureCase>& info) {
      std::string name = info.param.name;
      return name.substr(0, name.find('.'));
    });

// ---- The keypad: each lit picture is the unlit one with one key changed.

struct KeyCase {
  const char* stem;
  int row;
  int column;
};
void PrintTo(const KeyCase& key, std::ostream* out) {
  *out << "keypad_" << key.stem << " at row " << key.row << ", column "
       << key.column;
}

// The keypad's share for one key: the picture split into 3 columns, 4 rows.
QRect KeyCell(int row, int column) {
  const int left = column * 121 / 3;
  const int right = (column + 1) * 121 / 3;
  const int top = row * 106 / 4;
  const int bottom = (row + 1) * 106 / 4;
  return QRect(left, top, right - left, bottom - top);
}

QRect DifferingPixels(const QImage& a, const QImage& b) {
  QRect differing;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) differing |= QRect(x, y, 1, 1);
    }
  }
  return differing;
}

class LitKey : public EmbeddedPictures,
               public testing::WithParamInterface<KeyCase> {};

// Since the cells do not overlap, this also keeps the twelve lit pictures
// distinct from one another.
TEST_P(LitKey, ChangesOnlyItsOwnKey) {
  const KeyCase& key = GetParam();
  const QImage unlit = Load(QStringLiteral("keypad_empty.png"));
  const QImage lit = Load(QStringLiteral("keypad_%1.png").arg(key.stem));
  ASSERT_EQ(lit.size(), unlit.size());

  const QRect differing = DifferingPixels(unlit, lit);
  const QRect cell = KeyCell(key.row, key.column);
  ASSERT_FALSE(differing.isEmpty()) << "the key is not lit";
  EXPECT_TRUE(cell.contains(differing))
      << "changed " << differing.x() << "," << differing.y() << " "
      << differing.width() << "x" << differing.height() << ", cell " << cell.x()
      << "," << cell.y() << " " << cell.width() << "x" << cell.height();
  // Lit means visibly lit, not a stray pixel.
  EXPECT_GE(differing.width(), cell.width() / 2);
  EXPECT_GE(differing.height(), cell.height() / 2);
}

INSTANTIATE_TEST_SUITE_P(
    PhoneLayout, LitKey,
    testing::Values(KeyCase{"1", 0, 0}, KeyCase{"2", 0, 1}, KeyCase{"3", 0, 2},
                    KeyCase{"4", 1, 0}, KeyCase{"5", 1, 1}, KeyCase{"6", 1, 2},
                    KeyCase{"7", 2, 0}, KeyCase{"8", 2, 1}, KeyCase{"9", 2, 2},
                    KeyCase{"star", 3, 0}, KeyCase{"0", 3, 1},
                    KeyCase{"hash", 3, 2}),
    [](const testing::TestParamInfo<KeyCase>& info) {
      return std::string("key_") + info.param.stem;
    });

// ---- The skin under the controls that are drawn over it.

struct PlainAreaCase {
  const char* control;
  QRect rect;
  QColor colour;
};
void PrintTo(const PlainAreaCase& area, std::ostream* out) {
  *out << area.control;
}

class SkinUnderControl : public EmbeddedPictures,
                         public testing::WithParamInterface<PlainAreaCase> {};

// The phone display's labels and the edit fields draw on a plain background
// of a known colour; anything painted there would show through or clash.
TEST_P(SkinUnderControl, IsPlainInItsColour) {
  const PlainAreaCase& area = GetParam();
  const QImage skin = Load(QStringLiteral("skin.png"));
  int strayPixels = 0;
  for (int y = area.rect.top(); y <= area.rect.bottom(); ++y) {
    for (int x = area.rect.left(); x <= area.rect.right(); ++x) {
      if (skin.pixelColor(x, y) != area.colour) ++strayPixels;
    }
  }
  EXPECT_EQ(strayPixels, 0) << area.control;
}

const QColor kDisplay(123, 169, 130);
const QColor kField(217, 224, 236);

INSTANTIATE_TEST_SUITE_P(
    DisplayAndFields, SkinUnderControl,
    testing::Values(PlainAreaCase{"Label3", QRect(94, 101, 28, 11), kDisplay},
                    PlainAreaCase{"Label4", QRect(41, 118, 85, 24), kDisplay},
                    PlainAreaCase{"CGauge1", QRect(39, 143, 89, 5), kDisplay},
                    PlainAreaCase{"Label5", QRect(39, 149, 90, 11), kDisplay},
                    PlainAreaCase{"Edit1", QRect(265, 46, 250, 13), kField},
                    PlainAreaCase{"Memo1", QRect(184, 80, 328, 93), kField},
                    PlainAreaCase{"Memo2", QRect(185, 199, 430, 94), kField},
                    PlainAreaCase{"Edit2", QRect(565, 306, 21, 10), kField},
                    PlainAreaCase{"Edit3", QRect(364, 66, 37, 11), kField}),
    [](const testing::TestParamInfo<PlainAreaCase>& info) {
      return std::string(info.param.control);
    });

TEST_F(EmbeddedPictures, SkinShowsTheUnlitKeypadWhereItLies) {
  const QImage skin = Load(QStringLiteral("skin.png"));
  const QImage keypad = Load(QStringLiteral("keypad_empty.png"));
  EXPECT_EQ(skin.copy(QRect(QPoint(25, 220), keypad.size())), keypad);
}

}  // namespace
}  // namespace quillora
