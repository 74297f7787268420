// The window before and after a choice of measurement system: what the user sees at start, the
// captions, list texts and spacing table each system loads, the reset a change of system makes
// and what survives it, the fixed window size and the designed places of the controls.
#include "window_fixture.h"

#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QStyle>
#include <QStyleOptionButton>

namespace {

// Nominal spacing by plenum band and tile type in feet; a millimetre cell is 300 times it.
const int kFeetSpacing[4][5] = {
    {11, 13, 14, 15, 17}, {12, 14, 15, 16, 18}, {13, 15, 16, 17, 19}, {14, 16, 17, 18, 20}};

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The insulation box stands right of its caption; click the box itself.
void tick(WindowFixture& w, QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect mark = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, mark.center());
    w.settle();
}

} // namespace

class TestWindowUnits : public QObject {
    Q_OBJECT
  private slots:
    void startShowsOnlyTheUnitChoice() {
        WindowFixture w;
        MainForm& f = w.form();
        QCOMPARE(f.windowTitle(), QString("MASKING SPEAKER LAYOUT"));
        QCOMPARE(w.note(), QString("Choose the measurement system."));
        const QImage note = f.LabNote->grab().toImage();
        QCOMPARE(note.pixelColor(note.width() - 2, note.height() - 2), QColor(Qt::black));
        for (const char* name : {"FramMeas", "OptMeas(1)", "OptMeas(2)", "CmdDone", "LabNote",
                                 "CmdCalculate", "CmdPrint"})
            QVERIFY2(f.findChild<QWidget*>(name)->isVisible(), name);
        for (const char* name : {"FramMasking", "FramCeilHt", "FramCeiling", "FramRoom",
                                 "FramDesign", "FramNote", "PicRoom"})
            QVERIFY2(!f.findChild<QWidget*>(name)->isVisible(), name);
        QVERIFY(!f.CmdCalculate->isEnabled() && !f.CmdPrint->isEnabled());
        QVERIFY(!f.OptMeas(1)->isChecked() && !f.OptMeas(2)->isChecked());
        QCOMPARE(f.TxtLeng->text(), QString(" "));
        QVERIFY(w.state().MeasFeet && !w.state().MeasChosen);
        f.OptMask_Click(2); // a location before a system is ignored
        w.settle();
        QVERIFY(!f.FramCeilHt->isVisible());
        QCOMPARE(w.state().MaskLoc, 1);
    }

    void unitChoiceLoadsItsTextsAndResets_data() {
        QTest::addColumn<QList<bool>>("choices"); // true: Feet, false: Millimeters
        QTest::newRow("Feet") << QList<bool>{true};
        QTest::newRow("Millimeters") << QList<bool>{false};
        QTest::newRow("Feet, Millimeters") << QList<bool>{true, false};
        QTest::newRow("Feet, Millimeters, Feet") << QList<bool>{true, false, true};
    }
    void unitChoiceLoadsItsTextsAndResets() {
        QFETCH(QList<bool>, choices);
        WindowFixture w;
        MainForm& f = w.form();
        for (int i = 0; i < choices.size(); ++i) {
            if (i > 0) { // an access-floor room that the next choice throws away
                w.click(f.OptMask(3));
                w.enterRoom("30", "20");
                QVERIFY(f.CmdCalculate->isEnabled());
            }
            w.chooseUnits(choices[i]);
        }
        const bool feet = choices.last();
        const DesignState& s = w.state();
        QVERIFY(s.MeasFeet == feet && s.MeasChosen);
        QVERIFY(f.OptMeas(feet ? 1 : 2)->isChecked() && !f.OptMeas(feet ? 2 : 1)->isChecked());
        const QString u = feet ? "Ft." : "mm.";
        QCOMPARE(f.LabLeng->text(), "Length, " + u);
        QCOMPARE(f.LabWid->text(), "Width, " + u);
        QCOMPARE(f.LabCeilht->text(), "Structural Ceiling Height, " + u);
        QCOMPARE(f.LabPlen->text(), "Plenum Depth, " + u);
        QCOMPARE(f.LabCeilHtList->text(), "Ceiling Height, " + u.chopped(1));
        QCOMPARE(f.LabCeil->text(), QString("Ceiling Type"));
        const QStringList plenum = feet ? QStringList{"Between 0 and 1", "Between 1 and 3",
                                                      "Between 3 and 6", "More than 6"}
                                        : QStringList{"Between 0 and 300", "Between 300 and 900",
                                                      "Between 900 and 1800", "More than 1800"};
        QCOMPARE(items(f.ListPlenum), plenum);
        const QStringList tiles{"Fiberglass, No Foil Backing", "Fiberglass, With Foil Backing",
                                "Mineral Tile", "Interlocking Spline", "Gypsum Board"};
        QCOMPARE(items(f.ListCeil), tiles);
        const QStringList heights = feet ? QStringList{"lower than 12", "higher than 12"}
                                         : QStringList{"lower than 3600", "higher than 3600"};
        QCOMPARE(items(f.ListCeilHt), heights);
        for (int band = 1; band <= 4; ++band)
            for (int type = 1; type <= 5; ++type)
                QCOMPARE(s.SpcTable(band, type),
                         kFeetSpacing[band - 1][type - 1] * (feet ? 1 : 300));

        // Location 1, set up afresh, with nothing entered.
        QVERIFY(s.MaskLoc == 1 && f.OptMask(1)->isChecked() && !f.OptMask(3)->isChecked());
        QVERIFY(f.FramCeiling->isVisible() && f.FramDesign->isVisible());
        QVERIFY(!f.FramRoom->isVisible() && !f.FramCeilHt->isVisible());
        QVERIFY(f.ListPlenum->hasFocus() && f.ListPlenum->selectedItems().isEmpty());
        QVERIFY(!f.CmdCalculate->isEnabled());
        QVERIFY(f.TxtLeng->text().isEmpty() && f.TxtWid->text().isEmpty());
        QVERIFY(s.Leng == 0 && s.Wid == 0);
        const QStringList lines{w.line(1), w.line(2), w.line(3), w.line(4)};
        QCOMPARE(lines, (QStringList{
                            "", "",
                            "There are no sound absorption materials in the ceiling plenum.", ""}));
        QVERIFY(w.note() ==
                    "Choose the location for the speakers. Double click if already picked." ||
                w.note().startsWith("Pick the plenum depth, ceiling height and tile type.  Check"));
    }

    void choosingTheSelectedUnitAgainKeepsEverything() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.pick(f.ListPlenum, 2);
        w.pick(f.ListCeil, 1);
        w.pick(f.ListCeilHt, 1);
        w.type(f.TxtLeng, "30");
        w.chooseUnits(true);
        QVERIFY(f.ListPlenum->currentRow() == 2 && w.state().PlenumSel == 3);
        QVERIFY(w.state().Leng == 30 && f.TxtLeng->text() == "30" && f.FramRoom->isVisible());
        QCOMPARE(w.line(1), QString("The plenum depth is between between 3 and 6 feet."));
        QCOMPARE(w.line(4), QString("The suspended ceiling height is higher than 12 feet."));
    }

    void unitChangeAfterCalculationDiscardsTheDesign() {
        WindowFixture w;
        MainForm& f = w.form();
        w.chooseUnits(true);
        w.click(f.OptMask(2));
        w.type(f.TxtCeilHt, "20");
        w.key(f.TxtCeilHt, Qt::Key_Return);
        tick(w, f.ChkBattsOpen);
        w.enterRoom("60", "12");
        w.click(f.CmdCalculate);
        QVERIFY(f.PicRoom->isVisible() && f.CmdPrint->isEnabled());
        w.click(f.CmdPrint);
        w.type(f.TxtDescription, "Lobby");

        w.chooseUnits(false);
        const DesignState& s = w.state();
        QVERIFY(!f.PicRoom->isVisible() && !f.CmdCalculate->isEnabled() && f.CmdPrint->isEnabled());
        QVERIFY(w.line(1).isEmpty() && w.line(2).isEmpty() && w.line(4).isEmpty());
        QCOMPARE(f.FramDesign->Caption(), QString("Design Conditions"));
        QCOMPARE(s.LRow + s.LSpc + s.WRow + s.WSpc + s.Leng + s.Wid + s.StructHt, 0);
        QCOMPARE(s.LHalfSpc + s.WHalfSpc, 0.0f);
        QCOMPARE(f.TxtCeilHt->text(), QString());
        QVERIFY(s.MaskLoc == 1 && f.OptMask(1)->isChecked() && !f.OptMask(2)->isChecked());
        // The description and the insulation tick survive.
        QCOMPARE(f.TxtDescription->text().trimmed(), QString("Lobby"));
        QCOMPARE(s.Descr, std::string("Lobby"));
        QVERIFY(f.ChkBattsOpen->isChecked());
    }

    void windowKeepsItsSize() {
        WindowFixture w;
        for (const QSize asked : {QSize(900, 700), QSize(300, 200), QSize(700, 473)}) {
            w.form().resize(asked);
            w.settle();
            QCOMPARE(w.form().size(), QSize(657, 473)); // 9855 x 7095 twips
        }
    }

    void controlsStandAtTheirDesignedPlaces_data() {
        QTest::addColumn<QRect>("pixels"); // the designed twips over 15
        QTest::newRow("FramMeas") << QRect(4, 0, 201, 49);
        QTest::newRow("OptMask(3)") << QRect(8, 60, 181, 19);
        QTest::newRow("TxtWid") << QRect(92, 51, 65, 24);
        QTest::newRow("CmdCalculate") << QRect(236, 105, 85, 25);
        QTest::newRow("LabList(4)") << QRect(8, 100, 457, 25);
        QTest::newRow("PicRoom") << QRect(376, 10, 267, 200);
        QTest::newRow("LabNote") << QRect(4, 316, 177, 82);
    }
    void controlsStandAtTheirDesignedPlaces() {
        QFETCH(QRect, pixels);
        WindowFixture w;
        const QWidget* control = w.form().findChild<QWidget*>(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
    }
};

QTEST_MAIN(TestWindowUnits)
#include "tst_window_units.moc"
