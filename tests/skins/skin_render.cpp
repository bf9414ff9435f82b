// Renders one skin to a PNG so its look can be checked by eye:
//   skin_render <skin.xml> <out.png> [en|cn] [name=page|name=0/1]...
// Run with QT_QPA_PLATFORM=offscreen and QT_SCALE_FACTOR=2 for the 200% view.
#include "SampleContent.h"
#include "SkinLoader.h"

#include <QApplication>
#include <QFontInfo>
#include <QPixmap>
#include <QStackedWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: skin_render <skin.xml> <out.png> [en|cn] [name=page|name=0/1]...\n");
        return 2;
    }
    QString error;
    auto widget = kz::skintest::LoadSkin(QString::fromLocal8Bit(argv[1]), &error);
    if (!widget) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], qPrintable(error));
        return 1;
    }
    bool chinese = false;
    for (int i = 3; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "cn") chinese = true;
        // name=index selects a page of a stacked widget, to draw the inner pages.
        const QStringList pair = arg.split('=');
        if (pair.size() != 2) continue;
        if (auto* stack = widget->findChild<QStackedWidget*>(pair[0]))
            stack->setCurrentIndex(pair[1].toInt());
        else if (auto* shown = widget->findChild<QWidget*>(pair[0]))
            shown->setVisible(pair[1] == "1");
    }
    kz::skintest::FillSampleContent(*widget, chinese);
    widget->show();
    for (QWidget* child : widget->findChildren<QWidget*>())
        if (qEnvironmentVariableIsSet("KZ_SKIN_FONTS"))
            std::printf("%s %dx%d (needs %d): %s\n", qPrintable(child->objectName()), child->width(),
                        child->height(), child->minimumSizeHint().height(),
                        qPrintable(QFontInfo(child->font()).family()));
    app.processEvents();
    const QPixmap shot = widget->grab();
    if (!shot.save(QString::fromLocal8Bit(argv[2]))) return 1;
    std::printf("%s: %dx%d logical, %dx%d pixels\n", argv[2], widget->width(), widget->height(),
                shot.width(), shot.height());
    return 0;
}
