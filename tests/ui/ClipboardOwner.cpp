// Puts a picture file on the X clipboard and keeps serving it until it is ended: the screen tests
// paste from the clipboard as a person does after copying a picture in another program.

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull())
        return 3;
    QGuiApplication::clipboard()->setImage(picture);
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
