// Calculate in the window: the four result lines to the character, the exchange of a width
// longer than the length, the small-room recommendation when the button receives the focus,
// and the room picture's size and drawing as the user sees them on screen.
#include "window_fixture.h"

#include "core/app_info.h"
#include "ui/frame_box.h"
#include "ui/qt_message_boxes.h"
#include "ui/room_picture.h"

#include <QMessageBox>

namespace {

// Feet: the first plenum band and tile with batts, 10 ft. Millimetres: the deepest plenum
// band, 4200 mm. Access floor: 16 ft or 4880 mm. Then the room by keyboard; Enter in the width
// box brings the focus to Calculate.
void design(WindowFixture& w, bool feet, bool accessFloor, const QString& length,
            const QString& width) {
    MainForm& f = w.form();
    w.chooseUnits(feet);
    if (accessFloor) {
        w.click(f.OptMask(3));
    } else {
        w.pick(f.ListPlenum, feet ? 0 : 3);
        w.pick(f.ListCeil, 0);
        w.pick(f.ListCeilHt, 0);
        if (feet)
            w.click(f.ChkBatts);
    }
    w.enterRoom(length, width);
}

bool near(const QColor& c, int r, int g, int b) {
    return qAbs(c.red() - r) <= 8 && qAbs(c.green() - g) <= 8 && qAbs(c.blue() - b) <= 8;
}

// Midpoints between the walls and the rows of one direction.
QList<double> between(double wall, const QList<double>& rows) {
    const QList<double> cuts = QList<double>{0} + rows + QList<double>{wall};
    QList<double> mids;
    for (int i = 1; i < cuts.size(); ++i)
        mids << (cuts[i - 1] + cuts[i]) / 2;
    return mids;
}

} // namespace

class TestWindowCalculate : public QObject {
    Q_OBJECT
  private slots:
    void calculateWritesTheResults_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<int>("height"); // of the picture in pixels, 4000 twips wide
        QTest::newRow("40 x 25 ft")
            << true << "40"
            << "25"
            << QStringList{"Length: There are 4 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 3 rows 9 ft. apart. Edges are 3.5 ft. from walls.",
                           "There are 12 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 240 feet"}
            << 167; // 2500 twips
        QTest::newRow("8 x 6 ft, one speaker")
            << true << "8"
            << "6"
            << QStringList{"Length: There is 1 row 4 ft. from each wall.",
                           "Width: There is 1 row 3 ft. from each wall.",
                           "There is 1 masking speaker.",
                           "Estimated length of zone wiring at 20 feet per speaker is 20 feet"}
            << 200;
        QTest::newRow("20 x 30 ft, exchanged")
            << true << "20"
            << "30"
            << QStringList{"Length: There are 3 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 2 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           "There are 6 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 120 feet"}
            << 178; // 2667 twips
        QTest::newRow("30 x 30 ft, square")
            << true << "30"
            << "30"
            << QStringList{"Length: There are 3 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 3 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           "There are 9 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 180 feet"}
            << 267;
        QTest::newRow("12500 x 8400 mm")
            << false << "12500"
            << "8400"
            << QStringList{"Length: There are 2 rows 4200 mm. apart. Edges are 4150 mm. from "
                           "walls.",
                           " Width: There are 2 rows 4200 mm. apart. Edges are 2100 mm. from "
                           "walls.",
                           "There are 4 masking speakers.",
                           "Estimated length of zone wiring at 6 meters per speaker is 24 meters"}
            << 179; // 2688 twips
    }
    void calculateWritesTheResults() {
        QFETCH(bool, feet);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QStringList, results);
        QFETCH(int, height);
        WindowFixture w;
        MainForm& f = w.form();
        design(w, feet, false, length, width);
        QVERIFY(f.CmdCalculate->hasFocus() && !f.CmdPrint->isEnabled());
        const std::size_t before = w.boxes.shown.size(); // the 8 x 6 room is warned about
        w.click(f.CmdCalculate);
        const QStringList lines{w.line(1), w.line(2), w.line(3), w.line(4)};
        QCOMPARE(lines, results);
        QCOMPARE(f.FramDesign->Caption(), QString("Design Results"));
        QCOMPARE(w.note(), QString());
        QVERIFY(f.PicRoom->isVisible() && f.CmdPrint->isEnabled());
        QCOMPARE(f.PicRoom->geometry(), QRect(376, 10, 267, height));

        const bool exchanged = width.toInt() > length.toInt();
        QCOMPARE(w.boxes.shown.size(), before + (exchanged ? 1 : 0));
        QCOMPARE(f.TxtLeng->text(), exchanged ? width : length);
        QCOMPARE(f.TxtWid->text(), exchanged ? length : width);
        if (exchanged) {
            const ShownBox& box = w.boxes.shown.back();
            QCOMPARE(box.text, std::string("The room length and width have been exchanged for "
                                           "calculation purposes."));
            QVERIFY(box.icon == MsgIcon::Information && box.buttons == MsgButtons::Ok);
            QCOMPARE(box.title, std::string()); // the application's title
        }
        // Again: nothing is exchanged twice, and the earlier plan is erased before drawing.
        const std::size_t shapes = f.PicRoom->Surface().Shapes().size();
        w.click(f.CmdCalculate);
        QCOMPARE(w.line(1), results[0]);
        QCOMPARE(w.boxes.shown.size(), before + (exchanged ? 1 : 0));
        QCOMPARE(f.PicRoom->Surface().Shapes().size(), shapes);
    }

    void untitledBoxShowsTheApplicationTitle() {
        QtMessageBoxes real;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                icon = box->icon();
                box->accept();
            }
        });
        QTimer::singleShot(3000, [] { // never hang on a box that was not found
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top))
                    box->reject();
        });
        real.Show("Exchanged.", MsgIcon::Information, "", MsgButtons::Ok);
        QCOMPARE(title, QString(kApplicationTitle));
        QCOMPARE(icon, QMessageBox::Information);
    }

    void smallRoomIsWarnedOnFocus_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("small");
        QTest::newRow("10 x 20 ft, ratio 0.5") << true << "10"
                                               << "20" << true;
        QTest::newRow("19 x 10 ft, ratio 1.9") << true << "19"
                                               << "10" << true;
        QTest::newRow("20 x 10 ft, ratio exactly 2") << true << "20"
                                                     << "10" << false;
        QTest::newRow("15 x 15 ft, area exactly 225") << true << "15"
                                                      << "15" << true;
        QTest::newRow("16 x 15 ft, area 240") << true << "16"
                                              << "15" << false;
        QTest::newRow("4572 x 4572 mm, area at the limit") << false << "4572"
                                                           << "4572" << true;
        QTest::newRow("4573 x 4572 mm, area above") << false << "4573"
                                                    << "4572" << false;
        QTest::newRow("5999 x 3000 mm, ratio below 2") << false << "5999"
                                                       << "3000" << true;
        QTest::newRow("6000 x 3000 mm, ratio exactly 2") << false << "6000"
                                                         << "3000" << false;
    }
    void smallRoomIsWarnedOnFocus() {
        QFETCH(bool, feet);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(bool, small);
        WindowFixture w;
        design(w, feet, true, length, width);
        QVERIFY(w.form().CmdCalculate->hasFocus());
        QCOMPARE(w.boxes.shown.size(), std::size_t(small ? 1 : 0));
        if (!small) {
            QCOMPARE(w.note(), QString("Press CALCULATE to get design."));
            return;
        }
        const ShownBox& box = w.boxes.shown.front();
        QCOMPARE(box.text,
                 std::string("Rooms this small are bad candidates for sound masking if it there is "
                             "more than one person in the office.\nSpeech privacy between "
                             "occupants is very difficult to achieve.\nIf that is the case, it is "
                             "recommended that masking not be used."));
        QCOMPARE(box.title, std::string("Recommendation"));
        QVERIFY(box.icon == MsgIcon::Exclamation && box.buttons == MsgButtons::Ok);
        // The prompt stays as the width box wrote it.
        QCOMPARE(w.note(), QString("Enter the shortest dimension of the room in ") +
                               (feet ? "feet." : "millimeters."));
    }

    void pictureShowsTheSpeakerGrid_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<bool>("accessFloor");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QList<double>>("xs"); // rows along the length, in room units
        QTest::addColumn<QList<double>>("ys"); // rows along the width
        QTest::newRow("16 x 8 ft, one row each way") << true << true << "16"
                                                     << "8" << QList<double>{8} << QList<double>{4};
        QTest::newRow("40 x 25 ft, 4 by 3")
            << true << false << "40"
            << "25" << QList<double>{5, 15, 25, 35} << QList<double>{3.5, 12.5, 21.5};
        QTest::newRow("12000 x 6000 mm, 2 by 2")
            << false << true << "12000"
            << "6000" << QList<double>{3560, 8440} << QList<double>{1500, 4500};
    }
    void pictureShowsTheSpeakerGrid() {
        QFETCH(bool, feet);
        QFETCH(bool, accessFloor);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QList<double>, xs);
        QFETCH(QList<double>, ys);
        WindowFixture w;
        design(w, feet, accessFloor, length, width);
        w.click(w.form().CmdCalculate);
        const QImage img = w.form().PicRoom->grab().toImage();
        // The walls lie on the inner edges of the picture's one-pixel border.
        const double leng = length.toDouble(), wid = width.toDouble();
        const auto at = [&](double x, double y) {
            return QPoint(int(1 + x * (img.width() - 2) / leng),
                          int(1 + y * (img.height() - 2) / wid));
        };
        const auto grey = [&](QPoint p, QPoint across) { // a one-pixel line
            return near(img.pixelColor(p - across), 192, 192, 192) ||
                   near(img.pixelColor(p), 192, 192, 192) ||
                   near(img.pixelColor(p + across), 192, 192, 192);
        };
        const auto where = [](double x, double y) {
            return QString("at %1, %2").arg(x).arg(y).toLatin1();
        };
        for (double x : xs)
            for (double y : ys)
                QVERIFY2(near(img.pixelColor(at(x, y)), 0, 0, 0), where(x, y).constData());
        for (double x : xs)
            for (double y : between(wid, ys))
                QVERIFY2(grey(at(x, y), QPoint(1, 0)), where(x, y).constData());
        for (double y : ys)
            for (double x : between(leng, xs))
                QVERIFY2(grey(at(x, y), QPoint(0, 1)), where(x, y).constData());
        for (double x : between(leng, xs))
            for (double y : between(wid, ys))
                QVERIFY2(near(img.pixelColor(at(x, y)), 255, 255, 255), where(x, y).constData());
    }
};

QTEST_MAIN(TestWindowCalculate)
#include "tst_window_calculate.moc"
