// Entering a design through the window: whole designs by mouse and keyboard for each location,
// the typing filter, the reading, rounding and limits of the numeric boxes with their messages,
// the keys that move the user on, the summary lines, and how a changed condition or location
// throws away what no longer matches it.
#include "window_fixture.h"

#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QClipboard>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// The insulation box stands right of its caption; click the box itself.
void tick(WindowFixture& w, QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect mark = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, mark.center());
    w.settle();
}

QStringList lines(const WindowFixture& w) {
    return {w.line(1), w.line(2), w.line(3), w.line(4)};
}

void openCeiling(WindowFixture& w, const QString& height) {
    w.click(w.form().OptMask(2));
    w.type(w.form().TxtCeilHt, height);
    w.key(w.form().TxtCeilHt, Qt::Key_Return);
}

void calculateSuspended(WindowFixture& w) { // 10 ft, 40 x 25
    MainForm& f = w.form();
    w.chooseUnits(true);
    w.pick(f.ListPlenum, 0);
    w.pick(f.ListCeil, 0);
    w.pick(f.ListCeilHt, 0);
    w.click(f.ChkBatts);
    w.enterRoom("40", "25");
    w.click(f.CmdCalculate);
}

const QStringList kResults{"Length: There are 4 rows 10 ft. apart. Edges are 5 ft. from walls.",
                           " Width: There are 3 rows 9 ft. apart. Edges are 3.5 ft. from walls.",
                           "There are 12 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 240 feet"};
const QString kPlenum = "The plenum depth is between between 0 and 1 feet.";
const QString kTile = "The suspended ceiling is fiberglass, no foil backing.";
const QString kBatts = "There are sound absorption materials in the ceiling plenum.";
const QString kNoBatts = "There are no sound absorption materials in the ceiling plenum.";
const QString kLow = "The suspended ceiling height is lower than 12 feet.";
const QString kInsulation = "There are sound absorption materials on the structural ceiling.";
const QString kNoInsulation = "There are no sound absorption materials on the structural ceiling.";

} // namespace

class TestWindowEntry : public QObject {
    Q_OBJECT
  private slots:
    void wholeDesign_data() {
        QTest::addColumn<bool>("feet");
        QTest::addColumn<int>("location");
        // The three list rows, or the structural height, then 1 to tick the absorption box.
        QTest::addColumn<QList<int>>("picks");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QStringList>("summary"); // before Calculate
        QTest::addColumn<QStringList>("results");
        // Mineral tile over 1-3 ft: 15, a step up for the high ceiling, a step down for batts.
        QTest::newRow("suspended, feet")
            << true << 1 << QList<int>{1, 2, 1, 1} << "50"
            << "30"
            << QStringList{"The plenum depth is between between 1 and 3 feet.",
                           "The suspended ceiling is mineral tile.", kBatts,
                           "The suspended ceiling height is higher than 12 feet."}
            << QStringList{"Length: There are 4 rows 14 ft. apart. Edges are 4 ft. from walls.",
                           " Width: There are 2 rows 15 ft. apart. Edges are 7.5 ft. from walls.",
                           "There are 8 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 160 feet"};
        // Gypsum board over 900-1800 mm: 5700.
        QTest::newRow("suspended, millimetres")
            << false << 1 << QList<int>{2, 4, 0, 0} << "20000"
            << "9000"
            << QStringList{"The plenum depth is between between 900 and 1800 millimeters.",
                           "The suspended ceiling is gypsum board.", kNoBatts,
                           "The suspended ceiling height is lower than 3600 millimeters."}
            << QStringList{
                   "Length: There are 3 rows 5700 mm. apart. Edges are 4300 mm. from walls.",
                   " Width: There are 2 rows 4500 mm. apart. Edges are 2250 mm. from walls.",
                   "There are 6 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 36 meters"};
        // 20 ft, 10 above the masking height: 13, a step down for the insulation.
        QTest::newRow("open ceiling, feet")
            << true << 2 << QList<int>{20, 1} << "60"
            << "12" << QStringList{"The structural ceiling height is 20 feet.", kInsulation, "", ""}
            << QStringList{"Length: There are 5 rows 12 ft. apart. Edges are 6 ft. from walls.",
                           "Width: There is 1 row 6 ft. from each wall.",
                           "There are 5 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 100 feet"};
        // 4000 mm, 952 above: the band from 900 to 1200 gives 4200.
        QTest::newRow("open ceiling, millimetres")
            << false << 2 << QList<int>{4000, 0} << "10000"
            << "5000"
            << QStringList{"The structural ceiling height is 4000 millimeters.", kNoInsulation, "",
                           ""}
            << QStringList{
                   "Length: There are 2 rows 4200 mm. apart. Edges are 2900 mm. from walls.",
                   " Width: There are 2 rows 2500 mm. apart. Edges are 1250 mm. from walls.",
                   "There are 4 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 24 meters"};
        QTest::newRow("access floor, feet")
            << true << 3 << QList<int>{} << "33"
            << "17" << QStringList(4)
            << QStringList{"Length: There are 2 rows 16 ft. apart. Edges are 8.5 ft. from walls.",
                           " Width: There are 2 rows 8 ft. apart. Edges are 4.5 ft. from walls.",
                           "There are 4 masking speakers.",
                           "Estimated length of zone wiring at 20 feet per speaker is 80 feet"};
        QTest::newRow("access floor, millimetres")
            << false << 3 << QList<int>{} << "15000"
            << "4880" << QStringList(4)
            << QStringList{
                   "Length: There are 3 rows 4880 mm. apart. Edges are 2620 mm. from walls.",
                   "Width: There is 1 row 2440 mm. from each wall.",
                   "There are 3 masking speakers.",
                   "Estimated length of zone wiring at 6 meters per speaker is 18 meters"};
    }
    void wholeDesign() {
        QFETCH(bool, feet);
        QFETCH(int, location);
        QFETCH(QList<int>, picks);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QStringList, summary);
        QFETCH(QStringList, results);
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(feet);
        if (location == 1) {
            w.pick(f.ListPlenum, picks[0]);
            w.pick(f.ListCeil, picks[1]);
            QVERIFY(!f.FramRoom->isVisible());
            w.pick(f.ListCeilHt, picks[2]);
            if (picks[3])
                w.click(f.ChkBatts);
        } else if (location == 2) {
            openCeiling(w, QString::number(picks[0]));
            QCOMPARE(f.FramCeilHt->pos(), QPoint(4, 147)); // 60, 2200 twips
            if (picks[1])
                tick(w, f.ChkBattsOpen);
        } else {
            w.click(f.OptMask(3));
        }
        QVERIFY(f.FramRoom->isVisible() && f.TxtLeng->hasFocus() && !f.CmdCalculate->isEnabled());
        QCOMPARE(lines(w), summary);
        w.enterRoom(length, width);
        QVERIFY(f.CmdCalculate->hasFocus() && f.CmdCalculate->isEnabled());
        QCOMPARE(w.note(), QString("Press CALCULATE to get design."));
        if (feet) // Enter presses the focused button
            w.click(f.CmdCalculate);
        else
            w.key(f.CmdCalculate, Qt::Key_Return);
        QCOMPARE(lines(w), results);
        QVERIFY(w.boxes.shown.empty());
    }

    void leavingABoxStoresItsNumber_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("feet");
        QTest::addColumn<bool>("paste"); // else typed key by key
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("shown"); // before leaving the box
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("message"); // empty: none
        const QString L = "TxtLeng", W = "TxtWid", H = "TxtCeilHt";
        const QString small = "The dimension needs to be 4 feet or larger.";
        const QString smallMm = "The dimension needs to be 1200 millimeters or larger.";
        const QString low = "The structural ceiling should be at least 12 feet.";
        QTest::newRow("letter after digits") << L << true << false << "12a"
                                             << "12" << 12 << "";
        QTest::newRow("sign") << L << true << false << "-7"
                              << "7" << 7 << "";
        QTest::newRow("letters only") << L << true << false << "ab"
                                      << "" << 0 << "";
        QTest::newRow("1.5 rounds to 2") << L << true << false << "1.5"
                                         << "1.5" << 4 << small;
        QTest::newRow("1.2.3 reads 1.2") << L << true << false << "1.2.3"
                                         << "1.2.3" << 4 << small;
        QTest::newRow("blank between digits") << L << true << false << "1 2"
                                              << "1 2" << 12 << "";
        QTest::newRow("leading zeros") << L << true << false << "0020"
                                       << "0020" << 20 << "";
        QTest::newRow("3.5 rounds to 4") << L << true << false << "3.5"
                                         << "3.5" << 4 << "";
        QTest::newRow("2.5 rounds to 2") << L << true << false << "2.5"
                                         << "2.5" << 4 << small;
        QTest::newRow("1000.5 rounds to 1000") << L << true << false << "1000.5"
                                               << "1000.5" << 1000 << "";
        QTest::newRow("1001 lowered")
            << L << true << false << "1001"
            << "1001" << 1000 << "The dimension needs to be 1000 feet or smaller.";
        QTest::newRow("pasted a12 reads 0") << L << true << true << "a12"
                                            << "a12" << 4 << small;
        QTest::newRow("pasted letter at the end") << L << true << true << "25x"
                                                  << "25" << 25 << "";
        QTest::newRow("pasted blanks around") << L << true << true << " 12 "
                                              << " 12 " << 12 << "";
        QTest::newRow("pasted exponent unread") << L << true << true << "5e3"
                                                << "5e3" << 5 << "";
        QTest::newRow("mm 300000") << L << false << false << "300000"
                                   << "300000" << 300000 << "";
        QTest::newRow("mm 300001 lowered")
            << L << false << false << "300001"
            << "300001" << 300000 << "The dimension needs to be 300000 millimeters or smaller.";
        QTest::newRow("width 2.5 raised") << W << true << false << "2.5"
                                          << "2.5" << 4 << small;
        QTest::newRow("width mm 1199 raised") << W << false << false << "1199"
                                              << "1199" << 1200 << smallMm;
        QTest::newRow("width mm 1199.5") << W << false << false << "1199.5"
                                         << "1199.5" << 1200 << "";
        QTest::newRow("ceiling 11.5") << H << true << false << "11.5"
                                      << "11.5" << 12 << "";
        QTest::newRow("ceiling 12.5") << H << true << false << "12.5"
                                      << "12.5" << 12 << "";
        QTest::newRow("ceiling 13.5") << H << true << false << "13.5"
                                      << "13.5" << 14 << "";
        QTest::newRow("ceiling 11.4 raised") << H << true << false << "11.4"
                                             << "11.4" << 12 << low;
        QTest::newRow("ceiling 100.5") << H << true << false << "100.5"
                                       << "100.5" << 100 << "";
        QTest::newRow("ceiling 101 lowered")
            << H << true << false << "101"
            << "101" << 100 << "The structural ceiling should be at most 100 feet.";
        QTest::newRow("ceiling mm 3599 raised")
            << H << false << false << "3599"
            << "3599" << 3600 << "The structural ceiling should be at least 3600 millimeters.";
        QTest::newRow("ceiling mm 30001 lowered")
            << H << false << false << "30001"
            << "30001" << 30000 << "The structural ceiling should be at most 30000 millimeters.";
    }
    void leavingABoxStoresItsNumber() {
        QFETCH(QString, box);
        QFETCH(bool, feet);
        QFETCH(bool, paste);
        QFETCH(QString, input);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        QFETCH(QString, message);
        WindowFixture w;
        MainForm& f = w.form();
        const DesignState& s = w.state();
        w.chooseUnits(feet);
        w.click(f.OptMask(box == "TxtCeilHt" ? 2 : 3));
        if (box == "TxtWid")
            w.key(f.TxtLeng, Qt::Key_Return);
        auto* edit = f.findChild<QLineEdit*>(box);
        QVERIFY(edit->hasFocus());
        if (paste) {
            QApplication::clipboard()->setText(input);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            w.settle();
        } else {
            w.type(edit, input);
        }
        QCOMPARE(edit->text(), shown);
        w.key(edit, Qt::Key_Return); // each box's Enter leaves it
        QVERIFY(!edit->hasFocus());
        QCOMPARE(box == "TxtLeng" ? s.Leng : box == "TxtWid" ? s.Wid : s.StructHt, stored);
        QCOMPARE(edit->text(), stored ? QString::number(stored) : QString());
        QCOMPARE(w.boxes.shown.size(), std::size_t(message.isEmpty() ? 0 : 1));
        if (message.isEmpty())
            return;
        QCOMPARE(QString::fromStdString(w.boxes.shown[0].text), message);
        QCOMPARE(w.boxes.shown[0].icon, MsgIcon::Information);
        const char* title = box == "TxtLeng"  ? "Room Length"
                            : box == "TxtWid" ? "Room Width"
                                              : "Ceiling Height";
        QCOMPARE(w.boxes.shown[0].title, std::string(title));
    }

    void lengthKeysMoveToTheWidth_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("moves");
        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Up") << int(Qt::Key_Up) << true;
        QTest::newRow("Down") << int(Qt::Key_Down) << false;
    }
    void lengthKeysMoveToTheWidth() {
        QFETCH(int, key);
        QFETCH(bool, moves);
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(false);
        w.click(f.OptMask(3));
        w.type(f.TxtLeng, "5000");
        w.key(f.TxtLeng, Qt::Key(key));
        QCOMPARE(f.TxtWid->hasFocus(), moves);
        QCOMPARE(w.state().Leng, moves ? 5000 : 0);
        QCOMPARE(w.note(), QString("Enter the %1 dimension of the room in millimeters.")
                               .arg(moves ? "shortest" : "longest"));
    }

    void enterInTheWidthBox_data() {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("storedWidth");
        QTest::newRow("both given") << "30"
                                    << "20"
                                    << "CmdCalculate" << 20;
        QTest::newRow("width raised on the way") << "30"
                                                 << "2"
                                                 << "CmdCalculate" << 4;
        QTest::newRow("length empty") << ""
                                      << "20"
                                      << "TxtLeng" << 20;
        QTest::newRow("width empty") << "30"
                                     << ""
                                     << "TxtWid" << 0;
        QTest::newRow("width zero") << "30"
                                    << "0"
                                    << "TxtWid" << 0;
        QTest::newRow("width a lone point") << "30"
                                            << "."
                                            << "TxtWid" << 0;
    }
    void enterInTheWidthBox() {
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QString, focus);
        QFETCH(int, storedWidth);
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.click(f.OptMask(3));
        w.type(f.TxtLeng, length);
        w.key(f.TxtLeng, Qt::Key_Return);
        w.type(f.TxtWid, width);
        f.LabNote->clear(); // so that the prompt seen next is written by the key
        w.key(f.TxtWid, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(f.CmdCalculate->isEnabled(), focus == "CmdCalculate");
        QCOMPARE(w.state().Wid, storedWidth);
        QCOMPARE(w.boxes.shown.size(), std::size_t(storedWidth == 4 ? 1 : 0));
        const QString note = focus == "CmdCalculate" ? "Press CALCULATE to get design."
                             : focus == "TxtLeng"
                                 ? "Enter the longest dimension of the room in feet."
                                 : "Enter the shortest dimension of the room in feet.";
        QCOMPARE(w.note(), note);
    }

    void changedConditionClearsResults_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("summary"); // empty: the results stay
        QTest::newRow("same plenum band") << "ListPlenum" << 0 << QStringList{};
        QTest::newRow("other plenum band")
            << "ListPlenum" << 3
            << QStringList{"The plenum depth is between more than 6 feet.", kTile, kBatts, kLow};
        QTest::newRow("other height band")
            << "ListCeilHt" << 1
            << QStringList{kPlenum, kTile, kBatts,
                           "The suspended ceiling height is higher than 12 feet."};
        QTest::newRow("batts removed")
            << "ChkBatts" << 0 << QStringList{kPlenum, kTile, kNoBatts, kLow};
    }
    void changedConditionClearsResults() {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QStringList, summary);
        WindowFixture w;
        MainForm& f = w.form();
        const DesignState& s = w.state();
        calculateSuspended(w);
        QCOMPARE(lines(w), kResults);
        if (auto* list = f.findChild<QListWidget*>(control))
            w.pick(list, row);
        else
            w.click(f.ChkBatts);
        if (summary.isEmpty()) {
            QCOMPARE(lines(w), kResults);
            QCOMPARE(f.FramDesign->Caption(), QString("Design Results"));
            QVERIFY(s.LRow == 4 && !f.PicRoom->Surface().Shapes().empty());
            return;
        }
        QCOMPARE(lines(w), summary);
        QCOMPARE(f.FramDesign->Caption(), QString("Design Conditions"));
        QCOMPARE(s.LRow + s.LSpc + s.WRow + s.WSpc, 0);
        QCOMPARE(s.LHalfSpc + s.WHalfSpc, 0.0f);
        QVERIFY(f.PicRoom->isVisible() && f.PicRoom->Surface().Shapes().empty()); // shown, blank
        // The room is still complete: Calculate takes the focus again.
        QVERIFY(f.CmdCalculate->isEnabled() && f.CmdCalculate->hasFocus());
    }

    void previousPlenumSurvivesALocationChange() {
        WindowFixture w;
        MainForm& f = w.form();
        calculateSuspended(w);
        w.click(f.OptMask(3));
        w.click(f.OptMask(1));
        QCOMPARE(w.state().LRow, 4); // a location change leaves the results
        w.pick(f.ListPlenum, 0);     // the band picked before the change: nothing to rebuild
        QCOMPARE(w.state().LRow, 4);
        QCOMPARE(w.line(1), kPlenum);
        w.pick(f.ListPlenum, 1);
        QCOMPARE(w.state().LRow, 0);
    }

    void openCeilingSummary() {
        WindowFixture w;
        MainForm& f = w.form();
        const QString sentence = "The structural ceiling height is 14 feet.";
        w.chooseUnits(true);
        w.click(f.OptMask(2));
        QCOMPARE(lines(w), QStringList(4)); // entering the height box blanks the summary
        QVERIFY(!f.FramRoom->isVisible());
        w.type(f.TxtCeilHt, "14");
        w.key(f.TxtCeilHt, Qt::Key_Return);
        QCOMPARE(lines(w), (QStringList{sentence, kNoInsulation, "", ""}));
        QVERIFY(f.FramRoom->isVisible() && f.TxtLeng->hasFocus());
        QCOMPARE(w.note(), QString("Enter the longest dimension of the room in feet."));
        tick(w, f.ChkBattsOpen); // the sentence moves from line 3 to line 2
        QCOMPARE(lines(w), (QStringList{sentence, kInsulation, "", ""}));
        tick(w, f.ChkBattsOpen);
        QCOMPARE(lines(w), (QStringList{sentence, kNoInsulation, "", ""}));
        w.click(f.TxtCeilHt);
        QCOMPARE(lines(w), QStringList(4));
        QCOMPARE(w.note(), QString("Enter the structural ceiling height in feet.\nCheck if sound "
                                   "absorbing materials are on the structural ceiling."));
        w.key(f.TxtCeilHt, Qt::Key_Return); // the same height again: only its own line
        QCOMPARE(lines(w), (QStringList{sentence, "", "", ""}));
    }

    void unchangedInsulationUntickSaysMaterails() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.click(f.OptMask(2));
        tick(w, f.ChkBattsOpen);
        w.click(f.OptMask(1)); // the tick stays, the absorption is reset
        w.click(f.ChkBatts);
        w.click(f.ChkBatts); // the last absorption stored is none
        w.click(f.OptMask(2));
        QVERIFY(f.ChkBattsOpen->isChecked());
        tick(w, f.ChkBattsOpen);
        QCOMPARE(lines(w), (QStringList{"", "",
                                        "There are no sound absorption materails on the "
                                        "structural ceiling.",
                                        ""}));
    }

    void locationChangeStartsAfresh() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.click(f.ChkBatts);
        openCeiling(w, "14");
        w.enterRoom("30", "20");
        w.click(f.CmdCalculate);
        w.focus(f.TxtWid);
        w.type(f.TxtWid, "25"); // a new dimension takes the picture away, not the results
        QVERIFY(!f.PicRoom->isVisible());
        QCOMPARE(w.line(3), QString("There are 6 masking speakers."));
        w.click(f.CmdCalculate);
        QVERIFY(f.PicRoom->isVisible());
        w.click(f.OptMask(1));
        QCOMPARE(f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text(), QString());
        QCOMPARE(w.state().Leng + w.state().Wid + w.state().StructHt, 0);
        QVERIFY(!f.CmdCalculate->isEnabled() && f.CmdPrint->isEnabled());
        QVERIFY(!f.PicRoom->isVisible() && !f.FramRoom->isVisible());
        QCOMPARE(f.FramDesign->Caption(), QString("Design Conditions"));
        QCOMPARE(lines(w), (QStringList{"", "", kNoBatts, ""}));
        QVERIFY(f.ChkBatts->isChecked() && w.state().BattsSel == 0); // the tick is left
        QVERIFY(f.ListPlenum->hasFocus());
    }

    void doubleClickSetsTheSameLocationUpAfresh() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
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
        QCOMPARE(f.TxtLeng->text(), QString());
        QCOMPARE(w.state().Leng, 0);
        QCOMPARE(w.note(), QString("Enter the longest dimension of the room in feet."));
    }
};

QTEST_MAIN(TestWindowEntry)
#include "tst_window_entry.moc"
