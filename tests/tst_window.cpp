// The real window driven by mouse and keyboard: the start state and what a change of
// measurement system reloads and discards; whole designs for each location up to the results
// and the room picture; the filtering, rounding and limits of the numeric boxes with their
// messages; the keys that move the user on; how a changed condition or location throws away
// what no longer matches it; and printing: the description, a printer refusing operations, no
// printer at all, and a real print system's default printer.
#include "window_fixture.h"

#include "core/app_info.h"
#include "ui/frame_box.h"
#include "ui/qt_message_boxes.h"
#include "ui/room_picture.h"

#include <QClipboard>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// Feet, the second plenum band, tile and ceiling height, batts, 40 x 25: every condition line,
// the table and the layout array are printed.
void Calculated(WindowFixture& w) {
    w.conditions({"ft", "suspended", "2", "2", "2", "yes"});
    w.enterRoom("40", "25");
    w.click(w.controls().CmdCalculate);
}

// The unit's captions and list texts, and location 1 set up with nothing in it; the plenum
// batts tick is gone.
void ExpectFreshDesign(WindowFixture& w, bool feet) {
    const Controls& f = w.controls();
    QCOMPARE(f.get<QLabel>("LabWid")->text() + "|" + f.get<QLabel>("LabCeilht")->text() + "|" +
                 f.ListPlenum->item(3)->text() + "|" + f.ListCeilHt->item(1)->text(),
             feet ? "Width, Ft.|Structural Ceiling Height, Ft.|More than 6|higher than 12"
                  : "Width, mm.|Structural Ceiling Height, mm.|More than 1800|higher than 3600");
    QVERIFY(f.OptMask(1)->isChecked() && f.FramCeiling->isVisible() && f.ListPlenum->hasFocus() &&
            !f.ChkBatts->isChecked() && !f.FramRoom->isVisible() && !f.FramCeilHt->isVisible() &&
            !f.PicRoom->isVisible() && !f.CmdCalculate->isEnabled() &&
            f.ListPlenum->selectedItems().isEmpty());
    QCOMPARE(f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text() + f.FramDesign->Caption() +
                 ": " + w.lines().join('|'),
             "Design Conditions: ||There are no sound absorption materials in the ceiling "
             "plenum.|");
}

// Everything the user has entered or been shown that a print run must leave alone (the random
// user checks that the boxes, lists and ticks show the design stored).
auto Entries(WindowFixture& w) {
    const Controls& f = w.controls();
    return std::make_tuple(f.TxtLeng->text(), f.TxtWid->text(), f.TxtDescription->text(), w.lines(),
                           f.FramDesign->Caption(), f.CmdCalculate->isEnabled(),
                           f.CmdPrint->isEnabled(), w.state().Descr);
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
  private slots:
    // Feet with the plenum batts ticked, then a calculated open-ceiling design with insulation
    // and a description; Feet again, which changes nothing; Millimeters, which starts afresh
    // but for the description and the insulation tick.
    void unitChangesReloadTheTextsAndDiscardTheDesign() {
        WindowFixture w;
        const Controls& f = w.controls();
        QCOMPARE(w.window().windowTitle() + ": " + w.note(),
                 QString("MASKING SPEAKER LAYOUT: Choose the measurement system."));
        QVERIFY(!f.FramCeiling->isVisible() && !f.FramCeilHt->isVisible() &&
                !f.FramRoom->isVisible() && !f.FramDesign->isVisible() &&
                !f.FramNote->isVisible() && !f.PicRoom->isVisible() &&
                !f.CmdCalculate->isEnabled() && !f.CmdPrint->isEnabled());
        w.chooseUnits(true);
        ExpectFreshDesign(w, true);
        w.click(f.ChkBatts);
        w.click(f.OptMask(2));
        w.enter(f.TxtCeilHt, "20");
        f.ChkBattsOpen->click();
        w.enterRoom("60", "12");
        w.click(f.CmdCalculate);
        w.click(f.CmdPrint);
        w.type(f.TxtDescription, "Lobby");
        const QStringList results = w.lines();
        w.chooseUnits(true); // the unit in force again changes nothing
        QVERIFY(f.PicRoom->isVisible() && w.lines() == results && f.TxtLeng->text() == "60");
        w.chooseUnits(false);
        ExpectFreshDesign(w, false);
        QVERIFY(f.CmdPrint->isEnabled() && f.ChkBattsOpen->isChecked() &&
                w.state().Descr == "Lobby");
    }

    // The lines themselves are compared with the command line's in tst_plan. Here: the focus,
    // the prompts, the picture 4000 twips wide and as high as the room's proportions make it, a
    // width longer than the length exchanged on Calculate, and a small room (a ratio below 2
    // and at most 225 sq ft) warned against as Calculate receives the focus.
    void wholeDesignByMouseAndKeyboard_data() {
        QTest::addColumn<QStringList>("design"); // the conditions as WindowFixture takes them
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("width");
        QTest::addColumn<int>("height");  // of the picture in pixels
        QTest::addColumn<QString>("box"); // "title: text" of the message shown, if any
        const QStringList ten{"ft", "suspended", "1", "1", "1", "yes"}, floor{"ft", "floor"};
        // clang-format off
        QTest::newRow("suspended, 40 x 25 ft") << ten << "40" << "25" << 167 << "";
        QTest::newRow("exchanged, 20 x 30 ft") << ten << "20" << "30" << 178
            << ": The room length and width have been exchanged for calculation purposes.";
        QTest::newRow("square, 30 x 30 ft") << ten << "30" << "30" << 267 << "";
        QTest::newRow("small, 8 x 6 ft") << floor << "8" << "6" << 200 << "Recommendation: Rooms this "
            "small are bad candidates for sound masking if it there is more than one person in the "
            "office.\nSpeech privacy between occupants is very difficult to achieve.\nIf that is "
            "the case, it is recommended that masking not be used.";
        // clang-format on
    }
    void wholeDesignByMouseAndKeyboard() {
        QFETCH(QStringList, design);
        QFETCH(QString, length);
        QFETCH(QString, width);
        QFETCH(QString, box);
        WindowFixture w;
        const Controls& f = w.controls();
        w.conditions(design);
        QVERIFY(f.FramRoom->isVisible() && f.TxtLeng->hasFocus() && !f.CmdCalculate->isEnabled());
        w.enterRoom(length, width);
        QVERIFY(f.CmdCalculate->hasFocus() && f.CmdCalculate->isEnabled() &&
                !f.CmdPrint->isEnabled());
        QCOMPARE(w.note(), box.startsWith("Recommendation")
                               ? "Enter the shortest dimension of the room in feet."
                               : "Press CALCULATE to get design.");
        w.key(f.CmdCalculate, Qt::Key_Return); // Enter presses the focused button
        QCOMPARE(f.FramDesign->Caption() + ": " + w.note(), QString("Design Results: "));
        QVERIFY(f.PicRoom->isVisible() && f.CmdPrint->isEnabled() && !w.line(4).isEmpty());
        QTEST(f.PicRoom->height(), "height");
        QCOMPARE(w.line(2).startsWith(' '), w.state().alongWidth.rows > 1); // lined up if plural
        const int l = length.toInt(), wd = width.toInt();
        QCOMPARE(f.TxtLeng->text() + " x " + f.TxtWid->text(),
                 QString("%1 x %2").arg(std::max(l, wd)).arg(std::min(l, wd)));
        for (const ShownBox& b : w.boxes.shown)
            QVERIFY(b.buttons == MsgButtons::Ok &&
                    b.icon == (b.title.empty() ? MsgIcon::Information : MsgIcon::Exclamation));
        QCOMPARE(w.shownBoxes(), box.isEmpty() ? QStringList() : QStringList{box});
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

    // Each box filters what is typed, and when left reads the leading number, rounds it with
    // halves to even and raises it to its minimum or lowers it to its maximum, with a message.
    // Enter, keypad Enter and Up leave the length box for the width, Down stays; Enter in the
    // width box leads to Calculate only when both dimensions are given.
    void leavingABoxStoresItsNumber_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("feet");
        QTest::addColumn<QString>("length"); // entered first when the box is the width
        QTest::addColumn<QString>("input");  // typed key by key; pasted when it starts with "^V"
        QTest::addColumn<int>("key");        // that leaves the box
        QTest::addColumn<QString>("shown");  // before leaving the box
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("focus");   // after the key
        QTest::addColumn<QString>("message"); // "title: text", or empty
        const QString small = "Room Length: The dimension needs to be 4 feet or larger.";
        const QString L = "TxtLeng", W = "TxtWid", H = "TxtCeilHt", C = "CmdCalculate";
        const int enter = Qt::Key_Return;
        // clang-format off
        QTest::newRow("12a") << L << true << "" << "12a" << enter << "12" << 12 << W << "";
        QTest::newRow("1.5 rounds to 2") << L << true << "" << "1.5" << enter << "1.5" << 4 << W << small;
        QTest::newRow("pasted a12 reads 0") << L << true << "" << "^Va12" << enter << "a12" << 4 << W << small;
        QTest::newRow("1001 ft") << L << true << "" << "1001" << enter << "1001" << 1000 << W
            << "Room Length: The dimension needs to be 1000 feet or smaller.";
        QTest::newRow("keypad Enter") << L << false << "" << "5000" << int(Qt::Key_Enter) << "5000" << 5000 << W << "";
        QTest::newRow("Up") << L << false << "" << "5000" << int(Qt::Key_Up) << "5000" << 5000 << W << "";
        QTest::newRow("Down stays") << L << false << "" << "5000" << int(Qt::Key_Down) << "5000" << 0 << L << "";
        QTest::newRow("1199 mm") << W << false << "" << "1199" << enter << "1199" << 1200 << L
            << "Room Width: The dimension needs to be 1200 millimeters or larger.";
        QTest::newRow("300001 mm") << W << false << "5000" << "300001" << enter << "300001" << 300000 << C
            << "Room Width: The dimension needs to be 300000 millimeters or smaller.";
        QTest::newRow("width blank") << W << false << "5000" << "" << enter << "" << 0 << W << "";
        QTest::newRow("ceiling 11.5") << H << true << "" << "11.5" << enter << "11.5" << 12 << L << "";
        QTest::newRow("ceiling 101 ft") << H << true << "" << "101" << enter << "101" << 100 << L
            << "Ceiling Height: The structural ceiling should be at most 100 feet.";
        QTest::newRow("ceiling 3599 mm") << H << false << "" << "3599" << enter << "3599" << 3600 << L
            << "Ceiling Height: The structural ceiling should be at least 3600 millimeters.";
        QTest::newRow("ceiling 30000 mm") << H << false << "" << "30000" << enter << "30000" << 30000 << L << "";
        // clang-format on
    }
    void leavingABoxStoresItsNumber() {
        QFETCH(QString, box);
        QFETCH(bool, feet);
        QFETCH(QString, input);
        QFETCH(int, stored);
        QFETCH(QString, focus);
        WindowFixture w;
        const Controls& f = w.controls();
        w.chooseUnits(feet);
        w.click(f.OptMask(box == "TxtCeilHt" ? 2 : 3));
        if (box == "TxtWid") {
            QFETCH(QString, length);
            w.enter(f.TxtLeng, length);
        }
        auto* edit = f.get<QLineEdit>(box);
        QVERIFY(edit->hasFocus());
        if (input.startsWith("^V")) {
            QApplication::clipboard()->setText(input.mid(2));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            w.settle();
        } else {
            w.type(edit, input);
        }
        QTEST(edit->text(), "shown");
        f.LabNote->clear(); // so that the prompt seen next is written by the key
        QFETCH(int, key);
        w.key(edit, Qt::Key(key));
        const DesignState& s = w.state();
        QCOMPARE(box == "TxtLeng" ? s.Leng : box == "TxtWid" ? s.Wid : s.StructHt, stored);
        QVERIFY(focus == box || edit->text() == QString::number(stored));
        const QString unit = feet ? "feet." : "millimeters.";
        QCOMPARE(QApplication::focusWidget()->objectName() + ": " + w.note(),
                 focus + ": " +
                     (focus == "CmdCalculate" ? "Press CALCULATE to get design."
                      : key == Qt::Key_Down   ? ""
                                              : QString("Enter the %1 dimension of the room in %2")
                                                  .arg(focus == "TxtLeng" ? "longest" : "shortest")
                                                  .arg(unit)));
        QCOMPARE(f.CmdCalculate->isEnabled(), focus == "CmdCalculate");
        for (const ShownBox& b : w.boxes.shown)
            QVERIFY(b.icon == MsgIcon::Information && b.buttons == MsgButtons::Ok);
        QFETCH(QString, message);
        QCOMPARE(w.shownBoxes(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Another pick clears the results and rebuilds the summary, leaving the picture shown but
    // blank and Calculate ready again; a new dimension takes the picture away, not the results;
    // a location change leaves the results, and the band picked before it is still the one
    // another band is compared with. Another location, or a double click on the same one,
    // blanks the boxes and the picks; the ticks stay.
    void changesThrowAwayWhatNoLongerMatches() {
        WindowFixture w;
        const Controls& f = w.controls();
        const DesignState& s = w.state();
        w.conditions({"ft", "suspended", "1", "1", "1", "yes"}); // 10 ft, 40 x 25
        w.enterRoom("40", "25");
        w.click(f.CmdCalculate);
        w.pick(f.ListCeilHt, 1);
        QCOMPARE(f.FramDesign->Caption() + ": " + w.lines().join('|'),
                 "Design Conditions: The plenum depth is between between 0 and 1 feet.|The "
                 "suspended ceiling is fiberglass, no foil backing.|There are sound absorption "
                 "materials in the ceiling plenum.|The suspended ceiling height is higher than 12 "
                 "feet.");
        QVERIFY(f.PicRoom->isVisible() && f.PicRoom->Surface().Shapes().empty());
        QVERIFY(f.CmdCalculate->isEnabled() && f.CmdCalculate->hasFocus());
        w.click(f.CmdCalculate);
        w.focus(f.TxtWid);
        w.type(f.TxtWid, "5");
        QVERIFY(!f.PicRoom->isVisible() && w.line(3) == "There are 12 masking speakers.");
        w.click(f.OptMask(3));
        w.click(f.OptMask(1));
        QCOMPARE(s.alongLength.rows, 4);
        QCOMPARE(f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text(), QString());
        QCOMPARE(s.BattsSel, Absorption::None);
        QVERIFY(!f.CmdCalculate->isEnabled() && f.CmdPrint->isEnabled() && f.ChkBatts->isChecked());
        QVERIFY(!f.PicRoom->isVisible() && !f.FramRoom->isVisible() && f.ListPlenum->hasFocus());
        w.pick(f.ListPlenum, 1);
        QCOMPARE(s.alongLength.rows, 0);
        QTest::mouseDClick(f.OptMask(1), Qt::LeftButton, Qt::NoModifier, QPoint(6, 9));
        w.settle();
        QVERIFY(f.ListPlenum->selectedItems().isEmpty() && s.PlenumSel == 0 && w.line(1).isEmpty());
        w.click(f.OptMask(3));
        w.type(f.TxtLeng, "30");
        QTest::mouseDClick(f.OptMask(3), Qt::LeftButton, Qt::NoModifier, QPoint(6, 9));
        w.settle();
        QVERIFY(f.OptMask(3)->isChecked() && f.TxtLeng->hasFocus() && f.TxtLeng->text().isEmpty());
        QCOMPARE(w.note(), QString("Enter the longest dimension of the room in feet."));
    }

    // The insulation sentence moves from line 3 to line 2 when ticked; entering the height box
    // blanks the summary. A tick left from an earlier location, cleared, changes no absorption:
    // it gives the box's own wording, misspelt, or leaves the results of a Calculate.
    void openCeilingSummary() {
        WindowFixture w;
        const Controls& f = w.controls();
        const QString sentence = "The structural ceiling height is 14 feet.";
        w.chooseUnits(true);
        w.click(f.OptMask(2));
        w.enter(f.TxtCeilHt, "14");
        const QString on = "sound absorption materials on the structural ceiling.";
        QCOMPARE(w.lines().join('|'), sentence + "|There are no " + on + "||");
        w.click(f.ChkBattsOpen);
        QCOMPARE(w.lines().join('|'), sentence + "|There are " + on + "||");
        w.click(f.TxtCeilHt);
        QCOMPARE(w.lines(), QStringList(4));
        QCOMPARE(w.note(), QString("Enter the structural ceiling height in feet.\nCheck if sound "
                                   "absorbing materials are on the structural ceiling."));
        w.key(f.TxtCeilHt, Qt::Key_Return); // the same height again: only its own line
        QCOMPARE(w.lines().join('|'), sentence + "|||");

        for (const bool calculated : {false, true}) {
            w.click(f.OptMask(1)); // the tick stays, the absorption is reset
            w.click(f.ChkBatts);
            w.click(f.ChkBatts); // the last absorption stored is none
            w.click(f.OptMask(2));
            QVERIFY(f.ChkBattsOpen->isChecked() && w.state().BattsSel == Absorption::None);
            if (calculated) {
                w.enter(f.TxtCeilHt, "14");
                w.enterRoom("40", "25");
                w.click(f.CmdCalculate);
            }
            const QStringList before = w.lines();
            w.click(f.ChkBattsOpen);
            if (calculated)
                QVERIFY(w.lines() == before && f.FramDesign->Caption() == "Design Results");
            else
                QCOMPARE(w.line(3), QString("There are no sound absorption materails on the "
                                            "structural ceiling."));
            w.click(f.ChkBattsOpen);
        }
    }

    // Print Results offers the description, Print prints it trimmed; a printer refusing the
    // page is retried or abandoned, and each time every entry stays.
    void printingRetriesOrCancelsAndTheEntriesStay() {
        WindowFixture w;
        const Controls& f = w.controls();
        Calculated(w);
        w.click(f.CmdPrint);
        QVERIFY(f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        f.TxtDescription->clear();
        w.enter(f.TxtDescription, "  North wing  ");
        QVERIFY(f.CmdPrt->hasFocus());
        w.key(f.CmdPrt, Qt::Key_Return);
        QVERIFY(!f.FramNote->isVisible() && w.printing.last->Ended());
        // One Enter too many only offers the description again; the design stays.
        QVERIFY(f.CmdPrint->hasFocus());
        w.key(f.CmdPrint, Qt::Key_Return);
        QVERIFY(w.window().isVisible() && f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        w.key(f.TxtDescription, Qt::Key_Return);
        w.click(f.CmdPrt);
        QCOMPARE(w.state().Descr, std::string("North wing"));
        QCOMPARE(w.printing.last->Items().at(1).text, std::string("Description: North wing"));
        const auto entries = Entries(w);
        for (const MsgAnswer answer : {MsgAnswer::Retry, MsgAnswer::Cancel}) { // a jammed printer
            w.printing.prepare = [](RecordingPrinter& p) { p.FailDelivery(1, "Printer jammed"); };
            w.boxes.answers = {answer};
            w.boxes.shown.clear();
            w.click(f.CmdPrint);
            QCOMPARE(f.TxtDescription->text(), QString("  North wing  ")); // offered again
            w.click(f.CmdPrt);
            QVERIFY(w.boxes.shown.size() == 1 && Entries(w) == entries &&
                    w.printing.last->Ended() == (answer == MsgAnswer::Retry));
            const ShownBox& box = w.boxes.shown.front();
            QCOMPARE(box.text + " / " + box.title,
                     std::string("Printer jammed error occurred. / Printer Error"));
            QVERIFY(box.icon == MsgIcon::Critical && box.buttons == MsgButtons::RetryCancel);
        }

        w.printing.prepare = nullptr; // the printer works again

        // A long pasted description: its line breaks turn into blanks and the box keeps what
        // the report's line holds (74 characters on the recording printer's page).
        QString pasted;
        for (int i = 0; pasted.size() < 300; ++i)
            pasted += QString("Zone %1 of the north wing\n").arg(i);
        QGuiApplication::clipboard()->setText(pasted);
        w.click(f.CmdPrint);
        f.TxtDescription->selectAll();
        QTest::keyClick(f.TxtDescription, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.TxtDescription->text(), pasted.replace('\n', ' ').left(74));
        w.key(f.TxtDescription, Qt::Key_Return);
        w.click(f.CmdPrt);
        QCOMPARE(w.printing.last->Items().at(1).text,
                 "Description: " + pasted.left(74).trimmed().toStdString());
    }

    // Without a printer the page is saved as a whole, readable PDF in the documents folder; with
    // no usable home folder the user is told so, and nothing is written elsewhere (the saving's
    // own faults are tried in tst_qt_printer).
    void withoutPrinterTheReportIsSavedAsPdf_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("told");
        // clang-format off
        QTest::newRow("documents folder") << "ok" << "";
        QTest::newRow("HOME unset") << "unset" << "Path not found (no home folder is set";
        QTest::newRow("HOME relative") << "relative" << "Path not found (the home folder";
        // clang-format on
    }
    void withoutPrinterTheReportIsSavedAsPdf() {
        QFETCH(QString, home);
        QFETCH(QString, told);
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the report would be printed on paper");
        QTemporaryDir dir;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", home == "relative" ? "home" : dir.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        const QDir documents(dir.path() + "/Documents");
        if (home == "unset")
            qunsetenv("HOME");
        const QStringList rootBefore = QDir::root().entryList(), cwdBefore = QDir().entryList();
        SystemPrinting system;
        WindowFixture w(&system);
        Calculated(w);
        w.click(w.controls().CmdPrint);
        w.type(w.controls().TxtDescription, "Lobby");
        w.click(w.controls().CmdPrt);
        QVERIFY(QDir::root().entryList() == rootBefore && QDir().entryList() == cwdBefore);
        if (!told.isEmpty()) {
            QVERIFY(w.boxes.shown.size() == 1 && !w.note().contains("saved"));
            QVERIFY2(QString::fromStdString(w.boxes.shown.front().text).startsWith(told),
                     w.boxes.shown.front().text.c_str());
            return;
        }
        const QStringList pdfs = documents.entryList(QDir::Files | QDir::Hidden);
        QVERIFY(pdfs.size() == 1 && pdfs.first().startsWith("Masking layout ") &&
                w.boxes.shown.empty());
        QCOMPARE(w.note(), "No printer is installed. The report was saved as " +
                               documents.filePath(pdfs.first()));
        QProcess pdfinfo; // the file as the user's own tools read it
        pdfinfo.start("pdfinfo", {documents.filePath(pdfs.first())});
        QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
        const QString info = pdfinfo.readAllStandardOutput();
        for (const char* line : {"Pages: +1\n", "Title: +Masking layout - Lobby\n",
                                 "Creator: +Masking Speaker Layout \\d"})
            QVERIFY2(info.contains(QRegularExpression(line)), qPrintable(info));
    }

    // Run by cups_print.sh on a print system of its own: a queue refusing jobs is told with the
    // print system's reason and nothing is printed; accepting, the job goes without a word.
    void printedOnTheDefaultPrinter() {
        const QString queue = qEnvironmentVariable("MSL_CUPS_QUEUE");
        if (queue.isEmpty())
            QSKIP("needs the print system that cups_print.sh starts");
        QCOMPARE(QPrinterInfo::defaultPrinterName(), queue);
        SystemPrinting system;
        WindowFixture w(&system);
        Calculated(w);
        for (const bool refusing : {true, false}) {
            QCOMPARE(QProcess::execute(refusing ? "cupsreject" : "cupsaccept", {queue}), 0);
            w.boxes.shown.clear();
            w.click(w.controls().CmdPrint);
            w.controls().TxtDescription->setText("Lobby");
            w.click(w.controls().CmdPrt);
            QCOMPARE(w.boxes.shown.size(), std::size_t(refusing));
            if (refusing)
                QVERIFY2(
                    QString::fromStdString(w.boxes.shown.front().text)
                        .contains(QRegularExpression("^Device unavailable .*" + queue +
                                                     ".* not accepting jobs.* error occurred")),
                    w.boxes.shown.front().text.c_str());
        }
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
