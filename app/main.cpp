#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("KORVALD EMMC Professional"));
    label.setWindowTitle(QStringLiteral("KORVALD EMMC Professional"));
    label.resize(840, 600);
    label.show();
    return app.exec();
}
