// The room picture: where DrawLayout puts its grey lines and black dots, that it erases the
// previous plan first, and what the retained drawing paints from them.
#include "output/retained_drawing.h"
#include "output/room_drawing.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

DesignState Room(bool feet, const QList<double>& r) { // Leng, Wid, then LRow, LSpc, LHalfSpc
    DesignState s;                                    // and WRow, WSpc, WHalfSpc
    s.MeasFeet = feet;
    s.Leng = std::int32_t(r[0]), s.Wid = std::int32_t(r[1]);
    s.LRow = std::int32_t(r[2]), s.LSpc = std::int32_t(r[3]), s.LHalfSpc = float(r[4]);
    s.WRow = std::int32_t(r[5]), s.WSpc = std::int32_t(r[6]), s.WHalfSpc = float(r[7]);
    return s;
}

// "grey x1,y1-x2,y2" for a line, "dot x,y rRadius" for a filled black circle.
QStringList Drawn(const RetainedDrawing& pic) {
    QStringList out;
    for (const DrawnShape& d : pic.Shapes())
        out << (d.kind == DrawnShape::Kind::Line
                    ? QString::asprintf("%s %g,%g-%g,%g",
                                        d.colour == QColor(192, 192, 192) ? "grey" : "?", d.x1,
                                        d.y1, d.x2, d.y2)
                    : QString::asprintf("%s %g,%g r%g",
                                        d.filled && d.colour == Qt::black ? "dot" : "?", d.x1, d.y1,
                                        d.x2));
    return out;
}

} // namespace

class TestRoomDrawing : public QObject {
    Q_OBJECT
  private slots:
    // Length rows first, then width rows, then a dot at every crossing, length rows outer. The
    // second plan is drawn on the first, which must be erased.
    void linesAndDotsStandAtTheRows() {
        RetainedDrawing pic;
        DrawLayout(pic, Room(true, {30, 20, 3, 10, 5, 2, 10, 5}));
        QCOMPARE(Drawn(pic),
                 QStringList({"grey 5,0-5,20", "grey 15,0-15,20", "grey 25,0-25,20",
                              "grey 0,5-30,5", "grey 0,15-30,15", "dot 5,5 r1", "dot 5,15 r1",
                              "dot 15,5 r1", "dot 15,15 r1", "dot 25,5 r1", "dot 25,15 r1"}));
        DrawLayout(pic, Room(false, {12000, 6000, 1, 0, 6000, 2, 3000, 1500}));
        QCOMPARE(Drawn(pic), QStringList({"grey 6000,0-6000,6000", "grey 0,1500-12000,1500",
                                          "grey 0,4500-12000,4500", "dot 6000,1500 r305",
                                          "dot 6000,4500 r305"}));
        DrawLayout(pic, Room(true, {40, 25, 0, 0, 0, 3, 9, 3.5}));
        QCOMPARE(Drawn(pic),
                 QStringList({"grey 0,3.5-40,3.5", "grey 0,12.5-40,12.5", "grey 0,21.5-40,21.5"}));
        QCOMPARE(pic.FillStyle(), kFillTransparent);
    }

    // A 40 x 20 ft room painted 400 x 200 pixels: ten pixels to the foot.
    void paintedPlanShowsDotsOnGreyLines() {
        RetainedDrawing pic;
        pic.Scale(0, 0, 40, 20);
        DrawLayout(pic, Room(true, {40, 20, 4, 10, 5, 2, 10, 5}));
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter painter(&image);
        pic.Paint(painter, QRectF(0, 0, 400, 200));
        painter.end();
        const auto is = [&](int x, int y, QColor c) {
            const QColor p = image.pixelColor(x, y);
            return qAbs(p.red() - c.red()) < 40 && qAbs(p.green() - c.green()) < 40 &&
                   qAbs(p.blue() - c.blue()) < 40;
        };
        for (const int x : {50, 150, 250, 350}) {
            for (const int y : {50, 150}) // filled dots of radius 10 pixels
                QVERIFY(is(x, y, Qt::black) && is(x + 7, y, Qt::black));
            QVERIFY(is(x, 100, QColor(192, 192, 192))); // between the dots of a column
        }
        QVERIFY(is(100, 50, QColor(192, 192, 192))); // between the dots of a row
        for (const QPoint p : {QPoint(20, 20), QPoint(100, 100), QPoint(399, 199), QPoint(0, 0)})
            QVERIFY(is(p.x(), p.y(), Qt::white));
    }
};

QTEST_MAIN(TestRoomDrawing)
#include "tst_room_drawing.moc"
