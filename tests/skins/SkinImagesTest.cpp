// The images the program and the skins name must exist beside the skins,
// with sharp twins for 200% screens, and the help picture must match the
// panel it is drawn behind.
#include "SampleContent.h"
#include "SkinLoader.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QLayout>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace kz::skintest {
namespace {

QImage LoadImage(const QString& name) { return QImage(QDir(SkinDirectory()).filePath(name)); }

QString ReadSkinText(const QString& name) {
    QFile file(QDir(SkinDirectory()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList ProgramImages() {
    QStringList names = {"log_successful.png", "log_failed.png", "log_tips.png",
                         "eMMC_info_en.png", "eMMC_info_cn.png", "combo_arrow.png",
                         "menu_setting.png", "menu_about.png", "menu_update.png",
                         "menu_rename.png", "menu_delete.png"};
    for (int n = 1; n <= 16; ++n) names << QStringLiteral("loading_%1.png").arg(n);
    return names;
}

TEST(SkinImages, EveryImageHasATwiceAsLargeTwin) {
    for (const QString& name : ProgramImages()) {
        const QImage image = LoadImage(name);
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        QString twin = name;
        twin.replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
        const QImage big = LoadImage(twin);
        ASSERT_FALSE(big.isNull()) << twin.toStdString();
        EXPECT_EQ(big.size(), image.size() * 2) << twin.toStdString();
    }
    EXPECT_EQ(LoadImage(QStringLiteral("log_tips.png")).size(), QSize(16, 16));
}

TEST(SkinImages, LoadingFramesAreSameSizedAndAllDifferent) {
    QSet<QByteArray> seen;
    const QSize size = LoadImage(QStringLiteral("loading_1.png")).size();
    for (int n = 1; n <= 16; ++n) {
        const QImage frame = LoadImage(QStringLiteral("loading_%1.png").arg(n));
        EXPECT_EQ(frame.size(), size) << n;
        seen.insert(QByteArray(reinterpret_cast<const char*>(frame.constBits()), frame.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 16) << "a repeated frame makes the animation stutter";
}

TEST(SkinImages, ApplicationIconsHaveTheirSizes) {
    EXPECT_EQ(LoadImage(QStringLiteral("korvald-emmc.png")).size(), QSize(256, 256));
    EXPECT_EQ(LoadImage(QStringLiteral("korvald-emmc-48.png")).size(), QSize(48, 48));
    EXPECT_TRUE(LoadImage(QStringLiteral("korvald-emmc.png")).hasAlphaChannel());
}

// The panel shows its picture unstretched and centred; a picture of another size
// would not fit, and a banner taller than the panel's top margin would run
// under the first help line.  The panel's width follows the captions of the
// language in use.
TEST(SkinImages, HelpPicturesFitTheHelpPanel) {
    for (bool chinese : {false, true}) {
        const QString name = chinese ? QStringLiteral("eMMC_info_cn.png") : QStringLiteral("eMMC_info_en.png");
        auto root = LoadSkin(QStringLiteral("skin_main.xml"));
        ASSERT_TRUE(root);
        FillSampleContent(*root, chinese);
        root->show();
        QWidget* panel = root->findChild<QWidget*>(QStringLiteral("container_info"));
        ASSERT_TRUE(panel && panel->layout());
        const int top = panel->layout()->contentsMargins().top();
        const QImage picture = LoadImage(name);
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        EXPECT_NEAR(picture.width(), panel->width(), panel->width() * 3 / 100) << name.toStdString();
        EXPECT_NEAR(picture.height(), panel->height(), 4) << name.toStdString();
        const QColor body = picture.pixelColor(picture.width() / 2, picture.height() - 2);
        for (int x = 0; x < picture.width(); x += 7)
            EXPECT_EQ(picture.pixelColor(x, top), body) << name.toStdString() << " at x " << x;
        const QImage banner = picture.copy(8, 4, picture.width() - 16, top - 8).convertToFormat(QImage::Format_RGB32);
        for (int wider : {0, 200}) {  // as drawn, centred, at the first width and a widened one
            root->resize(root->width() + wider, root->height());
            const QRect in = panel->contentsRect();
            const QRect shown(in.left() + (in.width() - picture.width()) / 2 + 8, in.top() + 4, banner.width(), banner.height());
            EXPECT_EQ(panel->grab(shown).toImage().convertToFormat(QImage::Format_RGB32), banner) << panel->width();
        }
    }
    EXPECT_NE(LoadImage(QStringLiteral("eMMC_info_en.png")), LoadImage(QStringLiteral("eMMC_info_cn.png")));
}

// At 150% the bars have no half-covered pixel, as a resampled bitmap would.
TEST(SkinImages, CaptionBarsAreSharpAtAFractionalScale) {
    for (const char* name : {"caption_menu.svg", "caption_min.svg"}) {
        const QImage icon = QIcon(QDir(SkinDirectory()).filePath(name)).pixmap(QSize(14, 14), 1.5).toImage();
        ASSERT_EQ(icon.size(), QSize(21, 21)) << name;
        QSet<int> alphas;
        for (int i = 0; i < 21 * 21; ++i) alphas.insert(qAlpha(icon.pixel(i % 21, i / 21)));
        EXPECT_EQ(alphas, (QSet<int>{0, 255})) << name;
    }
}

TEST(SkinImages, FilesNamedBySkinsExist) {
    const QRegularExpression reference(QStringLiteral("(?:<pixmap>|<normaloff>|url\\(skin:)([^<)]+)"));
    const QStringList skins = QDir(SkinDirectory()).entryList({QStringLiteral("*.xml")});
    ASSERT_GE(skins.size(), 14);
    int references = 0;
    for (const QString& skin : skins) {
        auto it = reference.globalMatch(ReadSkinText(skin));
        while (it.hasNext()) {
            const QString file = it.next().captured(1);
            ++references;
            EXPECT_TRUE(QFile::exists(QDir(SkinDirectory()).filePath(file)))
                << skin.toStdString() << " names " << file.toStdString();
        }
    }
    EXPECT_GT(references, 2);
}

// A misspelt family falls back silently to some other font.
TEST(SkinImages, FontFamiliesNamedBySkinsAreInstalled) {
    const QRegularExpression family(QStringLiteral("(?:<family>|font-family: \")([^<\"]+)"));
    QSet<QString> families;
    for (const QString& skin : QDir(SkinDirectory()).entryList({QStringLiteral("*.xml")})) {
        auto it = family.globalMatch(ReadSkinText(skin));
        while (it.hasNext()) families.insert(it.next().captured(1));
    }
    ASSERT_FALSE(families.isEmpty());
    for (const QString& name : families)
        EXPECT_TRUE(QFontDatabase::hasFamily(name)) << name.toStdString();
}

}  // namespace
}  // namespace kz::skintest
