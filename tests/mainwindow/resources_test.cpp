// The icons the windows load by resource name: a missing or misnamed entry in the resource file
// shows up only as a blank button, so each name is checked here.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

namespace {

struct IconCase {
    const char* path;
    int size;
};

class IconResourceTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(IconResourceTest, LoadsAsADrawing) {
    const QImage image(QString::fromLatin1(GetParam().path));
    ASSERT_FALSE(image.isNull()) << GetParam().path;
    EXPECT_EQ(image.size(), QSize(GetParam().size, GetParam().size));
    EXPECT_TRUE(image.hasAlphaChannel());
    // A pictogram on a clear ground: some pixels opaque, some clear.
    int opaque = 0, clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            opaque += a == 255;
            clear += a == 0;
        }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, IconResourceTest,
    ::testing::Values(IconCase{":/icons/toolbar/new.png", 16}, IconCase{":/icons/toolbar/open.png", 16},
                      IconCase{":/icons/toolbar/save.png", 16}, IconCase{":/icons/toolbar/cut.png", 16},
                      IconCase{":/icons/toolbar/addcar.png", 16}, IconCase{":/icons/toolbar/copy.png", 16},
                      IconCase{":/icons/toolbar/paste.png", 16}, IconCase{":/icons/toolbar/help.png", 16},
                      IconCase{":/icons/ksned32.png", 256}, IconCase{":/icons/ksned32-64.png", 64}),
    [](const auto& p) {
        std::string name =
            QString::fromLatin1(p.param.path).section(u'/', -1).section(u'.', 0, 0).toStdString();
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

}  // namespace
