// bare_window: the least a Qt program does to show a picture with words on it, the yardstick of
// the launch benchmark (launch_bench.sh): a borderless window that draws a 1024 x 768 picture
// and one line of text in Liberation Sans, the font of kiila's windows, built on Qt Widgets
// alone. Any window with words pays for finding and loading a font; so does this one. The
// picture is drawn at start (a gradient) rather than read from a file: Qt's image reader would
// load every image format plugin, which the program does not.
//
// With KIILA_FIRST_PAINT_EXIT set it writes the time its first paint has been handed to the
// display and ends, as kiila does.

#include "app/firstpaint.h"

#include <QApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

class Picture : public QWidget
{
public:
    Picture() : m_picture(1024, 768)
    {
        QLinearGradient gradient(0, 0, 1024, 768);
        gradient.setColorAt(0, QColor(192, 192, 192));
        gradient.setColorAt(1, QColor(0, 0, 128));
        QPainter(&m_picture).fillRect(m_picture.rect(), gradient);
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setFixedSize(m_picture.size());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_picture);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(13);
        painter.setFont(font);
        painter.drawText(24, 40, QStringLiteral("Kiila: ankkurien mitoitus betoniin"));
        painter.end();
        if (m_painted || qEnvironmentVariableIsEmpty("KIILA_FIRST_PAINT_EXIT"))
            return;
        m_painted = true;
        // After the paint has been handed over.
        app::writeTimeAndQuitAfterPaint(this);
    }

private:
    QPixmap m_picture;
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Picture window;
    window.show();
    return QApplication::exec();
}
