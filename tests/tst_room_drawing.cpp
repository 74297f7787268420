// The room picture: where DrawLayout puts its lines and dots, and what the retained drawing
// paints from them.
#include "output/retained_drawing.h"
#include "output/room_drawing.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

namespace {

DesignState Room(bool feet, std::int32_t leng, std::int32_t wid, std::int32_t lRow,
                 std::int32_t lSpc, float lHalf, std::int32_t wRow, std::int32_t wSpc,
                 float wHalf) {
    DesignState s;
    s.MeasFeet = feet;
    s.Leng = leng;
    s.Wid = wid;
    s.LRow = lRow;
    s.LSpc = lSpc;
    s.LHalfSpc = lHalf;
    s.WRow = wRow;
    s.WSpc = wSpc;
    s.WHalfSpc = wHalf;
    return s;
}

std::vector<DrawnShape> OfKind(const RetainedDrawing& pic, DrawnShape::Kind kind) {
    std::vector<DrawnShape> shapes;
    for (const DrawnShape& shape : pic.Shapes())
        if (shape.kind == kind)
            shapes.push_back(shape);
    return shapes;
}

bool Near(QColor a, QColor b, int tolerance = 40) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

Q_DECLARE_METATYPE(DesignState)
Q_DECLARE_METATYPE(QList<double>)

class TestRoomDrawing : public QObject {
    Q_OBJECT
  private slots:
    void paletteEntries_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("black") << 0 << QColor(0, 0, 0);
        QTest::newRow("light grey") << 7 << QColor(192, 192, 192);
        QTest::newRow("white") << 15 << QColor(255, 255, 255);
    }
    void paletteEntries() {
        QFETCH(int, index);
        QFETCH(QColor, colour);
        QCOMPARE(QBColor(index), colour);
    }

    void paletteHasSixteenEntries() {
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, QBColor(-1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, QBColor(16));
    }

    void gridLinesStandAtTheRows_data() {
        QTest::addColumn<DesignState>("s");
        QTest::addColumn<QList<double>>("xs");
        QTest::addColumn<QList<double>>("ys");
        QTest::newRow("three rows 10 apart") << Room(true, 30, 20, 3, 10, 5, 2, 10, 5)
                                             << QList<double>{5, 15, 25} << QList<double>{5, 15};
        QTest::newRow("one row along the length") << Room(true, 12, 30, 1, 0, 6, 2, 15, 7.5f)
                                                  << QList<double>{6} << QList<double>{7.5, 22.5};
        QTest::newRow("no rows along the length")
            << Room(true, 40, 25, 0, 0, 0, 3, 9, 3.5f) << QList<double>{}
            << QList<double>{3.5, 12.5, 21.5};
        QTest::newRow("no rows along the width") << Room(true, 40, 25, 4, 10, 5, 0, 0, 0)
                                                 << QList<double>{5, 15, 25, 35} << QList<double>{};
        QTest::newRow("spacing beyond 32 bits when multiplied")
            << Room(false, std::numeric_limits<std::int32_t>::max(), 3000, 3, 1'000'000'000, 0.5f,
                    1, 0, 1500)
            << QList<double>{0.5, 1'000'000'000.5, 2'000'000'000.5} << QList<double>{1500};
    }
    void gridLinesStandAtTheRows() {
        QFETCH(DesignState, s);
        QFETCH(QList<double>, xs);
        QFETCH(QList<double>, ys);
        RetainedDrawing pic;
        DrawLayout(pic, s);
        const auto lines = OfKind(pic, DrawnShape::Kind::Line);
        QCOMPARE(lines.size(), std::size_t(xs.size() + ys.size()));
        for (int i = 0; i < xs.size(); ++i) {
            const DrawnShape& line = lines[std::size_t(i)];
            QCOMPARE(QList<double>({line.x1, line.y1, line.x2, line.y2}),
                     QList<double>({xs[i], 0, xs[i], double(s.Wid)}));
            QCOMPARE(line.colour, QColor(192, 192, 192));
        }
        for (int j = 0; j < ys.size(); ++j) {
            const DrawnShape& line = lines[std::size_t(xs.size() + j)];
            QCOMPARE(QList<double>({line.x1, line.y1, line.x2, line.y2}),
                     QList<double>({0, ys[j], double(s.Leng), ys[j]}));
        }
        // A dot at every crossing, length rows outer, each on top of its two lines.
        const auto dots = OfKind(pic, DrawnShape::Kind::Circle);
        QCOMPARE(dots.size(), std::size_t(xs.size() * ys.size()));
        for (int i = 0; i < xs.size(); ++i) {
            for (int j = 0; j < ys.size(); ++j) {
                const DrawnShape& dot = dots[std::size_t(i * ys.size() + j)];
                QCOMPARE(dot.x1, xs[i]);
                QCOMPARE(dot.y1, ys[j]);
                QCOMPARE(dot.x2, s.MeasFeet ? 1.0 : 305.0); // one foot or 305 mm
                QCOMPARE(dot.colour, QColor(Qt::black));
                QVERIFY(dot.filled);
            }
        }
        QCOMPARE(pic.FillStyle(), kFillTransparent);
    }

    void secondCalculateErasesThePreviousPlan() {
        RetainedDrawing pic;
        DrawLayout(pic, Room(true, 40, 25, 4, 10, 5, 3, 9, 3.5f));
        DrawLayout(pic, Room(true, 20, 10, 1, 0, 10, 1, 0, 5));
        QCOMPARE(pic.Shapes().size(), std::size_t(3));
        pic.Cls();
        QVERIFY(pic.Shapes().empty());
    }

    // A 40 x 20 ft room painted 400 x 200 pixels: ten pixels to the foot.
    void paintedPlanShowsDotsOnGreyLines() {
        RetainedDrawing pic;
        pic.Scale(0, 0, 40, 20);
        DrawLayout(pic, Room(true, 40, 20, 4, 10, 5, 2, 10, 5));
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::red);
        {
            QPainter painter(&image);
            pic.Paint(painter, QRectF(0, 0, 400, 200));
        }
        const QColor grey(192, 192, 192);
        for (const int x : {50, 150, 250, 350}) {
            for (const int y : {50, 150}) {
                QVERIFY2(Near(image.pixelColor(x, y), Qt::black),
                         qPrintable(QString("dot %1,%2").arg(x).arg(y)));
                QVERIFY(Near(image.pixelColor(x + 7, y), Qt::black)); // filled, radius 10 px
            }
            QVERIFY(Near(image.pixelColor(x, 100), grey)); // between the dots of a column
        }
        QVERIFY(Near(image.pixelColor(100, 50), grey)); // between the dots of a row
        for (const QPoint p : {QPoint(20, 20), QPoint(100, 100), QPoint(399, 199), QPoint(0, 0)})
            QVERIFY(Near(image.pixelColor(p), Qt::white));
    }
};

QTEST_MAIN(TestRoomDrawing)
#include "tst_room_drawing.moc"
