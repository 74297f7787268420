// Entering a design through the window: whole designs by mouse and keyboard for each location,
// the typing filter, the reading, rounding and limits of the numeric boxes with their messages,
// the keys that move the user on, the summary lines, and how a changed condition or location
// throws away what no longer matches it.
#include "window_fixture.h"

#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QClipboard>

namespace {

QStringList lines(const WindowFixture& w) {
    return {w.line(1), w.line(2), w.line(3), w.line(4)};
}

const QString kPlenum = "The plenum depth is between between 0 and 1 feet.";

} // namespace

class TestWindowEntry : public QObject {
    Q_OBJECT
  private slots:
    // Suspended: mineral tile over 1-3 ft is 15, a step up for the high ceiling, a step down for
    // batts. Open: 4000 mm is 952 above the masking height, and the band from 900 to 1200 gives
    // 4200. Access floor: 16 ft.
    void wholeDesign_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("location");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QStringList>("results"); // the length and width lines
        // clang-format off
        QTest::newRow("suspended, feet") << true << 1 << "50" << "30" << QStringList{
            "Length: There are 4 rows 14 ft. apart. Edges are 4 ft. from walls.",
            " Width: There are 2 rows 15 ft. apart. Edges are 7.5 ft. from walls."};
        QTest::newRow("open ceiling, millimetres") << false << 2 << "10000" << "5000" << QStringList{
            "Length: There are 2 rows 4200 mm. apart. Edges are 2900 mm. from walls.",
            " Width: There are 2 rows 2500 mm. apart. Edges are 1250 mm. from walls."};
        QTest::newRow("access floor, feet") << true << 3 << "33" << "17" << QStringList{
            "Length: There are 2 rows 16 ft. apart. Edges are 8.5 ft. from walls.",
            " Width: There are 2 rows 8 ft. apart. Edges are 4.5 ft. from walls."};
        // clang-format on
    }
    void wholeDesign() {
        QFETCH(bool, feet);
        QFETCH(int, location);
        QFETCH(QString, length);
        QFETCH(QString, width);
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(feet);
        if (location == 1) {
            w.pick(f.ListPlenum, 1);
            w.pick(f.ListCeil, 2);
            QVERIFY(!f.FramRoom->isVisible());
            w.pick(f.ListCeilHt, 1);
            w.click(f.ChkBatts);
        } else {
            w.click(f.OptMask(location));
            if (location == 2) {
                QCOMPARE(f.FramCeilHt->pos(), QPoint(4, 147)); // 60, 2200 twips
                w.type(f.TxtCeilHt, "4000");
                w.key(f.TxtCeilHt, Qt::Key_Return);
            }
        }
        QVERIFY(f.FramRoom->isVisible() && f.TxtLeng->hasFocus() && !f.CmdCalculate->isEnabled());
        w.enterRoom(length, width);
        QVERIFY(f.CmdCalculate->hasFocus() && f.CmdCalculate->isEnabled());
        QCOMPARE(w.note(), QString("Press CALCULATE to get design."));
        w.key(f.CmdCalculate, Qt::Key_Return); // Enter presses the focused button
        QTEST(lines(w).mid(0, 2), "results");
        QVERIFY(w.boxes.shown.empty());
    }

    // Each box filters what is typed, and on Enter reads the leading number, rounds it (how is
    // the number-text test's) and raises it to its minimum or lowers it to its maximum, with a
    // message.
    void leavingABoxStoresItsNumber_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("input"); // typed key by key; pasted when it starts with "^V"
        QTest::addColumn<QString>("shown"); // before leaving the box
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("message"); // "title: text", or empty
        const QString small = "Room Length: The dimension needs to be 4 feet or larger.";
        const QString L = "TxtLeng", W = "TxtWid", H = "TxtCeilHt";
        // clang-format off
        QTest::newRow("12a") << L << true << "12a" << "12" << 12 << "";
        QTest::newRow("1.5 rounds to 2") << L << true << "1.5" << "1.5" << 4 << small;
        QTest::newRow("pasted a12 reads 0") << L << true << "^Va12" << "a12" << 4 << small;
        QTest::newRow("pasted letters and blanks go") << L << true << "^V12ab c  " << "12" << 12
            << "";
        QTest::newRow("3.5 rounds to 4") << L << true << "3.5" << "3.5" << 4 << "";
        QTest::newRow("1001 ft") << L << true << "1001" << "1001" << 1000
            << "Room Length: The dimension needs to be 1000 feet or smaller.";
        QTest::newRow("1199 mm") << W << false << "1199" << "1199" << 1200
            << "Room Width: The dimension needs to be 1200 millimeters or larger.";
        QTest::newRow("300001 mm") << W << false << "300001" << "300001" << 300000
            << "Room Width: The dimension needs to be 300000 millimeters or smaller.";
        QTest::newRow("ceiling 11.5") << H << true << "11.5" << "11.5" << 12 << "";
        QTest::newRow("ceiling 101 ft") << H << true << "101" << "101" << 100
            << "Ceiling Height: The structural ceiling should be at most 100 feet.";
        QTest::newRow("ceiling 3599 mm") << H << false << "3599" << "3599" << 3600
            << "Ceiling Height: The structural ceiling should be at least 3600 millimeters.";
        // clang-format on
    }
    void leavingABoxStoresItsNumber() {
        QFETCH(QString, box);
        QFETCH(bool, feet);
        QFETCH(QString, input);
        QFETCH(int, stored);
        QFETCH(QString, message);
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(feet);
        w.click(f.OptMask(box == "TxtCeilHt" ? 2 : 3));
        if (box == "TxtWid")
            w.key(f.TxtLeng, Qt::Key_Return);
        auto* edit = f.findChild<QLineEdit*>(box);
        QVERIFY(edit->hasFocus());
        if (input.startsWith("^V")) {
            QApplication::clipboard()->setText(input.mid(2));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            w.settle();
        } else {
            w.type(edit, input);
        }
        QTEST(edit->text(), "shown");
        w.key(edit, Qt::Key_Return); // each box's Enter leaves it
        const DesignState& s = w.state();
        QCOMPARE(box == "TxtLeng" ? s.Leng : box == "TxtWid" ? s.Wid : s.StructHt, stored);
        QVERIFY(!edit->hasFocus() && edit->text() == QString::number(stored));
        QStringList shown;
        for (const ShownBox& b : w.boxes.shown) {
            QVERIFY(b.icon == MsgIcon::Information && b.buttons == MsgButtons::Ok);
            shown << QString::fromStdString(b.title + ": " + b.text);
        }
        QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Enter, keypad Enter and Up leave the length box for the width; Down stays. Enter in the
    // width box leads to Calculate only when both dimensions are stored.
    void keysMoveToTheNextBox() {
        // clang-format off
        const struct { const char* length; Qt::Key key; const char *width, *focus; } rows[] = {
            {"5000", Qt::Key_Return, nullptr, "TxtWid"}, {"5000", Qt::Key_Enter, nullptr, "TxtWid"},
            {"5000", Qt::Key_Up, nullptr, "TxtWid"},     {"5000", Qt::Key_Down, nullptr, "TxtLeng"},
            {"5000", Qt::Key_Return, "2000", "CmdCalculate"}, {"", Qt::Key_Return, "2000", "TxtLeng"},
            {"5000", Qt::Key_Return, "", "TxtWid"}};
        // clang-format on
        for (const auto& r : rows) {
            WindowFixture w;
            MainForm& f = w.form();
            w.chooseUnits(false);
            w.click(f.OptMask(3));
            w.type(f.TxtLeng, r.length);
            w.key(f.TxtLeng, r.key);
            QCOMPARE(w.state().Leng, r.key == Qt::Key_Down || !*r.length ? 0 : 5000);
            if (r.width) {
                w.type(f.TxtWid, r.width);
                f.LabNote->clear(); // so that the prompt seen next is written by the key
                w.key(f.TxtWid, Qt::Key_Return);
            }
            const QString focus = r.focus;
            QCOMPARE(QApplication::focusWidget()->objectName() + ": " + w.note(),
                     focus + ": " +
                         (focus == "CmdCalculate"
                              ? "Press CALCULATE to get design."
                              : QString("Enter the %1 dimension of the room in millimeters.")
                                    .arg(focus == "TxtLeng" ? "longest" : "shortest")));
            QCOMPARE(f.CmdCalculate->isEnabled(), focus == "CmdCalculate");
        }
    }

    // Another pick clears the results and rebuilds the summary, leaving the picture shown but
    // blank and Calculate ready again. The plenum band picked before a location change is still
    // the previous pick after it.
    void changedConditionClearsResults() {
        WindowFixture w;
        MainForm& f = w.form();
        const DesignState& s = w.state();
        w.chooseUnits(true); // 10 ft, 40 x 25
        w.pick(f.ListPlenum, 0);
        w.pick(f.ListCeil, 0);
        w.pick(f.ListCeilHt, 0);
        w.click(f.ChkBatts);
        w.enterRoom("40", "25");
        w.click(f.CmdCalculate);
        QVERIFY(s.LRow == 4 && !f.PicRoom->Surface().Shapes().empty());
        w.pick(f.ListCeilHt, 1);
        QCOMPARE(lines(w),
                 QStringList({kPlenum, "The suspended ceiling is fiberglass, no foil backing.",
                              "There are sound absorption materials in the ceiling plenum.",
                              "The suspended ceiling height is higher than 12 feet."}));
        QCOMPARE(f.FramDesign->Caption(), QString("Design Conditions"));
        QCOMPARE(s.LRow + s.LSpc + s.WRow + s.WSpc + s.LHalfSpc + s.WHalfSpc, 0.0f);
        QVERIFY(f.PicRoom->isVisible() && f.PicRoom->Surface().Shapes().empty());
        QVERIFY(f.CmdCalculate->isEnabled() && f.CmdCalculate->hasFocus());

        w.click(f.CmdCalculate);
        w.click(f.OptMask(3));
        w.click(f.OptMask(1));
        QCOMPARE(s.LRow, 4);     // a location change leaves the results, and the band picked
        w.pick(f.ListPlenum, 1); // before it is still the one another band is compared with
        QCOMPARE(s.LRow, 0);
    }

    // The insulation sentence moves from line 3 to line 2 when ticked; entering the height box
    // blanks the summary. Unticking with no change since the last stored absorption gives the
    // box's own wording, misspelt.
    void openCeilingSummary() {
        WindowFixture w;
        MainForm& f = w.form();
        const QString sentence = "The structural ceiling height is 14 feet.";
        w.chooseUnits(true);
        w.click(f.OptMask(2));
        w.type(f.TxtCeilHt, "14");
        w.key(f.TxtCeilHt, Qt::Key_Return);
        QCOMPARE(lines(w),
                 (QStringList{sentence,
                              "There are no sound absorption materials on the structural ceiling.",
                              "", ""}));
        w.click(f.ChkBattsOpen);
        QCOMPARE(lines(w),
                 (QStringList{sentence,
                              "There are sound absorption materials on the structural ceiling.", "",
                              ""}));
        w.click(f.TxtCeilHt);
        QCOMPARE(lines(w), QStringList(4));
        QCOMPARE(w.note(), QString("Enter the structural ceiling height in feet.\nCheck if sound "
                                   "absorbing materials are on the structural ceiling."));
        w.key(f.TxtCeilHt, Qt::Key_Return); // the same height again: only its own line
        QCOMPARE(lines(w), (QStringList{sentence, "", "", ""}));

        w.click(f.OptMask(1)); // the tick stays, the absorption is reset
        w.click(f.ChkBatts);
        w.click(f.ChkBatts); // the last absorption stored is none
        w.click(f.OptMask(2));
        QVERIFY(f.ChkBattsOpen->isChecked());
        w.click(f.ChkBattsOpen);
        QCOMPARE(w.line(3),
                 QString("There are no sound absorption materails on the structural ceiling."));
    }

    // Another location, or a double click on the same one, blanks the boxes and the picks.
    void locationChangeStartsAfresh() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.click(f.ChkBatts);
        w.click(f.OptMask(2));
        w.type(f.TxtCeilHt, "14");
        w.key(f.TxtCeilHt, Qt::Key_Return);
        w.enterRoom("30", "20");
        w.click(f.CmdCalculate);
        w.focus(f.TxtWid);
        w.type(f.TxtWid, "25"); // a new dimension takes the picture away, not the results
        QVERIFY(!f.PicRoom->isVisible() && w.line(3) == "There are 6 masking speakers.");
        w.click(f.OptMask(1));
        QCOMPARE(f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text(), QString());
        QCOMPARE(w.state().Leng + w.state().Wid + w.state().StructHt + w.state().BattsSel, 0);
        QVERIFY(!f.CmdCalculate->isEnabled() && f.CmdPrint->isEnabled() && f.ChkBatts->isChecked());
        QVERIFY(!f.PicRoom->isVisible() && !f.FramRoom->isVisible() && f.ListPlenum->hasFocus());
        QCOMPARE(f.FramDesign->Caption() + ": " + lines(w).join('|'),
                 "Design Conditions: ||There are no sound absorption materials in the ceiling "
                 "plenum.|");
        w.pick(f.ListPlenum, 2);
        QTest::mouseDClick(f.OptMask(1), Qt::LeftButton, Qt::NoModifier, QPoint(6, 9));
        w.settle();
        QVERIFY(f.ListPlenum->selectedItems().isEmpty() && w.state().PlenumSel == 0);
        QCOMPARE(w.line(1), QString());
        w.click(f.OptMask(3));
        w.type(f.TxtLeng, "30");
        QTest::mouseDClick(f.OptMask(3), Qt::LeftButton, Qt::NoModifier, QPoint(6, 9));
        w.settle();
        QVERIFY(f.OptMask(3)->isChecked() && f.TxtLeng->hasFocus());
        QVERIFY(f.TxtLeng->text().isEmpty() && w.state().Leng == 0);
        QCOMPARE(w.note(), QString("Enter the longest dimension of the room in feet."));
    }
};

QTEST_MAIN(TestWindowEntry)
#include "tst_window_entry.moc"
