// The window from start to results: the start state, the captions, lists and spacings each
// measurement system loads and the reset a change of system makes, the fixed size; then
// Calculate: the result lines, the exchange of a width longer than the length, the small-room
// recommendation when the button receives the focus, and the room picture on screen.
#include "window_fixture.h"

#include "core/app_info.h"
#include "ui/frame_box.h"
#include "ui/qt_message_boxes.h"
#include "ui/room_picture.h"

#include <QMessageBox>

namespace {

QStringList lines(const WindowFixture& w) {
    return {w.line(1), w.line(2), w.line(3), w.line(4)};
}

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The unit's captions, list texts and a few spacings, and location 1 set up with nothing in it.
void expectFreshDesign(WindowFixture& w, bool feet) {
    MainForm& f = w.form();
    const DesignState& s = w.state();
    const QString u = feet ? "Ft." : "mm.";
    QCOMPARE(QStringList({f.LabLeng->text(), f.LabWid->text(), f.LabCeilht->text(),
                          f.LabPlen->text(), f.LabCeilHtList->text()}),
             QStringList({"Length, " + u, "Width, " + u, "Structural Ceiling Height, " + u,
                          "Plenum Depth, " + u, "Ceiling Height, " + u.chopped(1)}));
    QCOMPARE(items(f.ListPlenum) + items(f.ListCeilHt),
             (feet ? QStringList{"Between 0 and 1", "Between 1 and 3", "Between 3 and 6",
                                 "More than 6", "lower than 12", "higher than 12"}
                   : QStringList{"Between 0 and 300", "Between 300 and 900", "Between 900 and 1800",
                                 "More than 1800", "lower than 3600", "higher than 3600"}));
    QCOMPARE(s.SpcTable(1, 1) + s.SpcTable(4, 5), feet ? 31 : 9300);
    QVERIFY(s.MeasFeet == feet && f.OptMeas(feet ? 1 : 2)->isChecked() && s.MaskLoc == 1 &&
            f.OptMask(1)->isChecked() && f.FramCeiling->isVisible() && f.ListPlenum->hasFocus());
    QVERIFY(!f.FramRoom->isVisible() && !f.FramCeilHt->isVisible() && !f.PicRoom->isVisible() &&
            !f.CmdCalculate->isEnabled() && f.ListPlenum->selectedItems().isEmpty());
    QCOMPARE(f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text(), QString());
    QCOMPARE(s.Leng + s.Wid + s.StructHt + s.LRow + s.LSpc + s.WRow + s.WSpc + s.LHalfSpc +
                 s.WHalfSpc,
             0.0f);
    QCOMPARE(f.FramDesign->Caption() + ": " + lines(w).join('|'),
             "Design Conditions: ||There are no sound absorption materials in the ceiling "
             "plenum.|");
}

// Feet: the first plenum band and tile with batts, 10 ft; millimetres: the deepest band,
// 4200 mm; or an access floor, 16 ft. Enter in the width box brings the focus to Calculate.
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

} // namespace

class TestWindowCalculate : public QObject {
    Q_OBJECT
  private slots:
    void startShowsOnlyTheUnitChoice() {
        WindowFixture w;
        MainForm& f = w.form();
        QCOMPARE(f.windowTitle() + ": " + w.note(),
                 QString("MASKING SPEAKER LAYOUT: Choose the measurement system."));
        QStringList shown;
        for (const QWidget* c : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (c->isVisible())
                shown << c->objectName();
        shown.sort();
        QCOMPARE(shown,
                 QStringList({"CmdCalculate", "CmdDone", "CmdPrint", "FramMeas", "LabNote"}));
        QVERIFY(!f.CmdCalculate->isEnabled() && !f.CmdPrint->isEnabled());
        QVERIFY(!f.OptMeas(1)->isChecked() && !f.OptMeas(2)->isChecked());
        f.OptMask_Click(2); // a location before a system is ignored
        w.settle();
        QVERIFY(!f.FramCeilHt->isVisible() && w.state().MaskLoc == 1);
        f.resize(900, 700); // the window keeps its size, 9855 x 7095 twips
        w.settle();
        QCOMPARE(f.size(), QSize(657, 473));
    }

    // Feet, a calculated open-ceiling design with insulation and a description; Feet again,
    // which changes nothing; Millimeters; an access-floor room; Feet. Each change starts afresh
    // but for the description and the insulation tick; printing stays enabled.
    void unitChangesReloadTheTextsAndDiscardTheDesign() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        expectFreshDesign(w, true);
        w.click(f.OptMask(2));
        w.type(f.TxtCeilHt, "20");
        w.key(f.TxtCeilHt, Qt::Key_Return);
        f.ChkBattsOpen->click();
        w.enterRoom("60", "12");
        w.click(f.CmdCalculate);
        w.click(f.CmdPrint);
        w.type(f.TxtDescription, "Lobby");
        const QStringList results = lines(w);
        w.chooseUnits(true); // the unit in force again changes nothing
        QVERIFY(f.PicRoom->isVisible() && lines(w) == results && f.TxtLeng->text() == "60");
        w.chooseUnits(false);
        expectFreshDesign(w, false);
        QVERIFY(f.CmdPrint->isEnabled() && f.ChkBattsOpen->isChecked() &&
                w.state().Descr == "Lobby");
        w.click(f.OptMask(3));
        w.enterRoom("30000", "20000");
        w.chooseUnits(true);
        expectFreshDesign(w, true);
    }

    // The picture is 4000 twips wide and as high as the room's proportions make it.
    void calculateWritesTheResults_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");          // of the picture in pixels, 4000 twips wide
        QTest::addColumn<QStringList>("results"); // one case; the lines' rules are core tests
        QTest::newRow("40 x 25 ft")
            << true << 40 << 25 << 167 // 2500 twips
            << QStringList{"Length: There are 4 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 3 rows 9 ft. apart. Edges are 3.5 ft. from walls.",
                           "There are 12 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 240 feet"};
        QTest::newRow("12500 x 8400 mm")
            << false << 12500 << 8400 << 179 << QStringList(); // 2688 twips
        QTest::newRow("20 x 30 ft, exchanged") << true << 20 << 30 << 178 << QStringList();
        QTest::newRow("30 x 30 ft, square") << true << 30 << 30 << 267 << QStringList();
    }
    void calculateWritesTheResults() {
        QFETCH(bool, feet);
        QFETCH(int, length);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QStringList, results);
        WindowFixture w;
        MainForm& f = w.form();
        design(w, feet, false, QString::number(length), QString::number(width));
        QVERIFY(f.CmdCalculate->hasFocus() && !f.CmdPrint->isEnabled());
        w.click(f.CmdCalculate);
        if (!results.isEmpty())
            QCOMPARE(lines(w), results);
        QCOMPARE(f.FramDesign->Caption() + ": " + w.note(), QString("Design Results: "));
        QVERIFY(f.PicRoom->isVisible() && f.CmdPrint->isEnabled());
        QCOMPARE(f.PicRoom->geometry(), QRect(376, 10, 267, height));
        const bool exchanged = width > length;
        QCOMPARE(f.TxtLeng->text() + " x " + f.TxtWid->text(),
                 QString("%1 x %2").arg(std::max(length, width)).arg(std::min(length, width)));
        QCOMPARE(w.boxes.shown.size(), std::size_t(exchanged ? 1 : 0));
        if (exchanged) {
            const ShownBox& box = w.boxes.shown.back();
            QCOMPARE(box.text, std::string("The room length and width have been exchanged for "
                                           "calculation purposes."));
            QVERIFY(box.icon == MsgIcon::Information && box.buttons == MsgButtons::Ok);
            QCOMPARE(box.title, std::string()); // the application's title
            QVERIFY(w.state().LRow == 3 && w.state().WRow == 2);
        }
    }

    void untitledBoxShowsTheApplicationTitle() {
        QString shown;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                    shown = box->windowTitle() + ": " + box->text();
                    QCOMPARE(box->icon(), QMessageBox::Information);
                    box->accept();
                }
        });
        QtMessageBoxes().Show("Exchanged.", MsgIcon::Information, "", MsgButtons::Ok);
        QCOMPARE(shown, QString(kApplicationTitle) + ": Exchanged.");
    }

    // Small: a ratio below 2 and at most 225 sq ft.
    void smallRoomIsWarnedOnFocus() {
        const struct {
            const char *length, *width;
            bool small;
        } rows[] = {
            {"19", "10", true}, {"20", "10", false}, {"15", "15", true}, {"16", "15", false}};
        for (const auto& r : rows) {
            WindowFixture w;
            design(w, true, true, r.length, r.width);
            QVERIFY(w.form().CmdCalculate->hasFocus());
            QCOMPARE(w.note(), QString(r.small ? "Enter the shortest dimension of the room in feet."
                                               : "Press CALCULATE to get design."));
            QCOMPARE(w.boxes.shown.size(), std::size_t(r.small ? 1 : 0));
            for (const ShownBox& box : w.boxes.shown) {
                QCOMPARE(box.text, std::string("Rooms this small are bad candidates for sound "
                                               "masking if it there is more than one person in the "
                                               "office.\nSpeech privacy between occupants is very "
                                               "difficult to achieve.\nIf that is the case, it is "
                                               "recommended that masking not be used."));
                QCOMPARE(box.title, std::string("Recommendation"));
                QVERIFY(box.icon == MsgIcon::Exclamation && box.buttons == MsgButtons::Ok);
            }
        }
    }

    // Black dots at the speakers, grey lines between them, white between the lines; the walls
    // lie on the inner edges of the picture's one-pixel border. A 40 x 25 ft room has 4 by 3
    // rows (where each row stands is the room drawing test's).
    void pictureShowsTheSpeakerGrid() {
        const double leng = 40, wid = 25;
        const QList<double> xs = {5, 15, 25, 35}, ys = {3.5, 12.5, 21.5};
        WindowFixture w;
        design(w, true, false, "40", "25");
        w.click(w.form().CmdCalculate);
        const QImage img = w.form().PicRoom->grab().toImage();
        const auto is = [&](double x, double y, int level) { // grey level within 8
            const QColor c = img.pixelColor(int(1 + x * (img.width() - 2) / leng),
                                            int(1 + y * (img.height() - 2) / wid));
            return qAbs(c.red() - level) + qAbs(c.green() - level) + qAbs(c.blue() - level) < 9;
        };
        const double px = leng / (img.width() - 2), py = wid / (img.height() - 2);
        for (int i = 0; i < xs.size(); ++i) {
            const double x = xs[i], midX = (x + xs.value(i + 1, leng)) / 2;
            for (int j = 0; j < ys.size(); ++j) {
                const double y = ys[j], midY = (y + ys.value(j + 1, wid)) / 2;
                const QByteArray where = QString("at %1, %2").arg(x).arg(y).toLatin1();
                QVERIFY2(is(x, y, 0) && is(midX, midY, 255), where);
                QVERIFY2(is(x, midY, 192) || is(x - px, midY, 192) || is(x + px, midY, 192), where);
                QVERIFY2(is(midX, y, 192) || is(midX, y - py, 192) || is(midX, y + py, 192), where);
            }
        }
    }
};

QTEST_MAIN(TestWindowCalculate)
#include "tst_window_calculate.moc"
