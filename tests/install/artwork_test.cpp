#include "ui/scheme_icons.h"

#include "app/color_schemes.h"
#include "ui/color_ref.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quenmark {
namespace {

constexpr int DrawnSizes[] = {16, 32, 48};

QImage SchemeImage(int index, int size) {
    return LoadSchemeIconPixmap(index, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// How many opaque pixels of each colour the image holds; transparent
// pixels are not counted, half-covered ones count as their own colour.
std::map<QRgb, int> OpaqueColourCounts(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) ++counts[image.pixel(x, y)];
    return counts;
}

QRgb Opaque(TColor color) { return ToQColor(color).rgba(); }

// The shape of a picture: which pixels are covered at all.
std::vector<bool> CoverageMask(const QImage& image) {
    std::vector<bool> mask;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) mask.push_back(qAlpha(image.pixel(x, y)) != 0);
    return mask;
}

class SchemeIconTest : public ::testing::TestWithParam<size_t> {
protected:
    const TColorScheme& Scheme() const { return ColorSchemes()[GetParam()]; }
    int Index() const { return static_cast<int>(GetParam()); }
};

TEST_P(SchemeIconTest, IsDrawnInEverySizeAtThatSize) {
    for (int size : DrawnSizes) {
        const QImage image = SchemeImage(Index(), size);
        ASSERT_FALSE(image.isNull()) << "size " << size;
        EXPECT_EQ(image.size(), QSize(size, size));
    }
}

TEST_P(SchemeIconTest, UsesExactlyTheSchemeColoursWithTheBaseColourDominant) {
    const std::set<QRgb> schemeColours = {Opaque(Scheme().BaseColor), Opaque(Scheme().DarkColor),
                                          Opaque(Scheme().TextColor)};
    for (int size : DrawnSizes) {
        const std::map<QRgb, int> counts = OpaqueColourCounts(SchemeImage(Index(), size));
        std::set<QRgb> used;
        for (const auto& [colour, count] : counts) used.insert(colour);
        EXPECT_EQ(used, schemeColours) << "size " << size;
        const auto base = counts.find(Opaque(Scheme().BaseColor));
        ASSERT_NE(base, counts.end());
        for (const auto& [colour, count] : counts) EXPECT_LE(count, base->second) << "size " << size;
    }
}

TEST_P(SchemeIconTest, ShowsTheSameWindowAsTheFirstScheme) {
    for (int size : DrawnSizes) {
        const std::vector<bool> mask = CoverageMask(SchemeImage(Index(), size));
        EXPECT_EQ(mask, CoverageMask(SchemeImage(0, size))) << "size " << size;
        EXPECT_NE(std::count(mask.begin(), mask.end(), false), 0) << "a window, not a filled square";
    }
}

TEST_P(SchemeIconTest, IconOffersEveryDrawnSize) {
    const QList<QSize> sizes = LoadSchemeIcon(Index()).availableSizes();
    for (int size : DrawnSizes) EXPECT_TRUE(sizes.contains(QSize(size, size))) << "size " << size;
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeIconTest, ::testing::Range<size_t>(0, ColorSchemeCount),
                         [](const auto& row) { return std::string(ColorSchemes()[row.param].ColorName); });

struct ScaledSizeRow {
    const char* name;
    friend void PrintTo(const ScaledSizeRow& row, std::ostream* os) { *os << row.name; }
    int size;
};

class SchemeIconScaledTest : public ::testing::TestWithParam<ScaledSizeRow> {};

TEST_P(SchemeIconScaledTest, SizesWithoutADrawingAreScaledToTheSizeAskedFor) {
    const QImage image = SchemeImage(DefaultColorSchemeIndex, GetParam().size);
    EXPECT_EQ(image.size(), QSize(GetParam().size, GetParam().size));
    EXPECT_GT(OpaqueColourCounts(image).count(Opaque(ColorSchemes()[DefaultColorSchemeIndex].BaseColor)), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SchemeIconScaledTest,
                         ::testing::Values(ScaledSizeRow{"SmallerThanTheSmallest", 8},
                                           ScaledSizeRow{"TrayBetweenTwoDrawings", 22},
                                           ScaledSizeRow{"LargerThanTheLargest", 64}),
                         [](const auto& row) { return std::string(row.param.name); });

struct RatioRow {
    const char* name;
    friend void PrintTo(const RatioRow& row, std::ostream* os) { *os << row.name; }
    qreal ratio;
    int pixels;
    // The drawing of that many pixels, as it is: nothing scaled.
    bool drawnAsIs;
};

class SchemeIconRatioTest : public ::testing::TestWithParam<RatioRow> {};

TEST_P(SchemeIconRatioTest, HasAPixelForEachDevicePixelAtTheListSize) {
    const QPixmap pixmap = LoadSchemeIconPixmap(DefaultColorSchemeIndex, 16, GetParam().ratio);
    EXPECT_EQ(pixmap.size(), QSize(GetParam().pixels, GetParam().pixels));
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    if (GetParam().drawnAsIs) {
        EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_ARGB32),
                  SchemeImage(DefaultColorSchemeIndex, GetParam().pixels));
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, SchemeIconRatioTest,
                         ::testing::Values(RatioRow{"One", 1.0, 16, true}, RatioRow{"OneAndAHalf", 1.5, 24, false},
                                           RatioRow{"Two", 2.0, 32, true}, RatioRow{"Three", 3.0, 48, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SchemeIconTest, AnIndexOutsideTheListGivesTheFirstIcon) {
    const QImage first = SchemeImage(0, 16);
    EXPECT_EQ(SchemeImage(-1, 16), first);
    EXPECT_EQ(SchemeImage(static_cast<int>(ColorSchemeCount), 16), first);
    EXPECT_EQ(SchemeIconResourcePath(99, 32), SchemeIconResourcePath(0, 32));
}

TEST(SchemeIconTest, ResourcePathsNameTheSizeExceptForTheListSize) {
    EXPECT_EQ(SchemeIconResourcePath(3, 16), QStringLiteral(":/icons/scheme-3.png"));
    EXPECT_EQ(SchemeIconResourcePath(3, 48), QStringLiteral(":/icons/scheme-3-48.png"));
}

// The application icon files installed into the desktop's icon theme.
class ApplicationIconTest : public ::testing::TestWithParam<int> {};

TEST_P(ApplicationIconTest, IsDrawnAtItsSizeInTheDefaultSchemeOnATransparentGround) {
    const int size = GetParam();
    const QString file = QStringLiteral(QUENMARK_ICONS_DIR "/quenmark-%1.png").arg(size);
    const QImage image = QImage(file).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner";
    EXPECT_GT(OpaqueColourCounts(image).count(Opaque(ColorSchemes()[DefaultColorSchemeIndex].BaseColor)), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ApplicationIconTest, ::testing::Values(16, 32, 48, 64, 128, 256),
                         [](const auto& row) { return "Size" + std::to_string(row.param); });

}  // namespace
}  // namespace quenmark
