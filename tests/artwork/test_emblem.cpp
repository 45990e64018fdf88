#include "forms/artwork/emblem.h"

#include <QTest>

// The icon is the emblem scaled into a square: the whole tile shows, as wide as the icon less
// a small margin and centred, on a transparent ground.

class TestEmblem : public QObject
{
    Q_OBJECT

private slots:
    void fillsTheSquare_data();
    void fillsTheSquare();
};

void TestEmblem::fillsTheSquare_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("48") << 48;
    QTest::newRow("256") << 256;
}

void TestEmblem::fillsTheSquare()
{
    QFETCH(int, size);
    const QImage icon = artwork::emblemIcon(size);
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());

    // The box of the pixels the emblem covers more than half.
    QRect box;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (qAlpha(icon.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
    QVERIFY(box.left() > 0 && box.top() > 0); // nothing cut at the edges
    QVERIFY(box.right() < size - 1 && box.bottom() < size - 1);
    QVERIFY2(box.width() >= size * 0.85, qPrintable(QString::number(box.width())));
    QVERIFY(qAbs(box.left() - (size - 1 - box.right())) <= 1);
    QVERIFY(qAbs(box.top() - (size - 1 - box.bottom())) <= 1);
    // The tile keeps the proportions of the emblem of the window frames, 50 x 35.
    QVERIFY(qAbs(box.height() - box.width() * 35.0 / 50) <= 2);

    // Orange-red between the bolt and the lower wedge, white in the bolt.
    const QColor tile = icon.pixelColor(size * 46 / 100, size * 68 / 100);
    QVERIFY2(tile.red() > 150 && tile.green() < 110 && tile.blue() < 80, qPrintable(tile.name()));
    if (size >= 48) {
        const QColor bolt = icon.pixelColor(size * 29 / 100, size / 2);
        QVERIFY2(qMin(bolt.red(), qMin(bolt.green(), bolt.blue())) > 220, qPrintable(bolt.name()));
    }
}

QTEST_GUILESS_MAIN(TestEmblem)
#include "test_emblem.moc"
