// The real window driven by mouse and keyboard: the start, a change of measurement system and
// the open ceiling; whole designs up to the results and the room picture; the numeric boxes'
// filtering, rounding and limits; how a changed condition or location throws away what no
// longer matches it; printing and saving without a printer; and what a screen reader and a
// dense screen show (CTest runs this with QT_SCALE_FACTOR=2).
#include "window_fixture.h"

#include "ui/qt_message_boxes.h"

#include <QAccessible>
#include <QClipboard>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// By default feet, the second plenum band, tile and ceiling height, batts, 40 x 25: every
// condition line, the table and the layout array are printed.
void Calculated(WindowFixture& w, const QStringList& c = {"ft", "suspended", "2", "2", "2", "yes"},
                const QString& length = "40", const QString& width = "25") {
    w.conditions(c);
    w.enterRoom(length, width);
    w.click(w.controls().CmdCalculate);
}

// The frames and picture shown, the buttons that can be pressed and, after "@", the focus.
QString Seen(const Controls& f) {
    QStringList seen;
    for (QWidget* c : QWidgetList{f.FramCeiling, f.FramCeilHt, f.FramRoom, f.FramDesign, f.FramNote,
                                  f.PicRoom, f.CmdCalculate, f.CmdPrint})
        if (c->isVisible() && c->isEnabled())
            seen << c->objectName();
    return seen.join(' ') + " @" + QApplication::focusWidget()->objectName();
}

// What the user has entered or been shown that a print run, or choosing the unit in force
// again, must leave alone (but the focus).
auto Entries(WindowFixture& w) {
    const Controls& f = w.controls();
    return std::make_tuple(f.TxtLeng->text(), f.TxtWid->text(), w.lines(),
                           Seen(f).section(" @", 0, 0), f.FramDesign->Caption(),
                           w.state().description);
}

QString AccessibleName(QWidget* c) {
    return QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
}

// Whether a control's text is wider or higher than the room it has for it (a push button's
// hint has a minimum width: its short captions are left out).
bool CutOff(QWidget* c) {
    auto* label = qobject_cast<QLabel*>(c);
    if (label && label->wordWrap())
        return label->heightForWidth(label->width()) > label->height();
    if (label || (qobject_cast<QAbstractButton*>(c) && !qobject_cast<QPushButton*>(c)))
        return c->sizeHint().width() > c->width();
    if (auto* frame = qobject_cast<FrameBox*>(c)) // as the frame paints its caption
        return QFontMetrics(c->font()).horizontalAdvance(frame->Caption()) > frame->width() - 10;
    auto* list = qobject_cast<QListWidget*>(c);
    return list && list->count() && list->sizeHintForColumn(0) > list->viewport()->width();
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
  private slots:
    // Feet, with the plenum batts ticked, then an open ceiling whose insulation sentence follows
    // the tick, calculated and described; Feet again changes nothing; Millimeters starts afresh
    // but for the description and the insulation tick. That tick, a leftover, cleared, changes
    // no absorption: it gives the box's own wording, misspelt, or leaves results on show.
    void unitChangesAndTheOpenCeiling() {
        WindowFixture w;
        const Controls& f = w.controls();
        QCOMPARE(w.window().windowTitle() + ": " + w.note() + Seen(f),
                 QString("MASKING SPEAKER LAYOUT: Choose the measurement system. @CmdDone"));
        // The unit's captions and list texts, and location 1 with nothing picked or entered.
        // clang-format off
        const auto fresh = [&] {
            return QStringList({f.get<QLabel>("LabCeilht")->text(), f.ListPlenum->item(3)->text(),
                                f.ListCeilHt->item(1)->text(), w.lines().join('|'), Seen(f), w.note()}).join(" / ");
        };
        const QString none = " / ||There are no sound absorption materials in the ceiling plenum.| / FramCeiling FramDesign ",
                      pick = " / Choose the location for the speakers. Double click if already picked.";
        // clang-format on
        w.chooseUnits(true);
        QCOMPARE(fresh(), "Structural Ceiling Height, Ft. / More than 6 / higher than 12" + none +
                              "@ListPlenum" + pick);
        w.click(f.ChkBatts, f.OptMask(2));
        w.enter(f.TxtCeilHt, "14");
        const QString untick = w.line(2);
        w.click(f.ChkBattsOpen);
        // clang-format off
        QCOMPARE(untick + "|" + w.line(2), "There are no sound absorption materials on the structural ceiling.|"
                                           "There are sound absorption materials on the structural ceiling.");
        // clang-format on
        w.enterRoom("60", "12");
        w.click(f.CmdCalculate, f.CmdPrint);
        w.enter(f.TxtDescription, "Lobby");
        const auto entries = Entries(w);
        w.chooseUnits(true);
        QVERIFY(Entries(w) == entries);
        w.chooseUnits(false);
        QCOMPARE(fresh(), "Structural Ceiling Height, mm. / More than 1800 / higher than 3600" +
                              none + "FramNote CmdPrint @ListPlenum" + pick);
        QVERIFY(!f.ChkBatts->isChecked() && w.state().description == "Lobby");
        w.click(f.OptMask(2), f.ChkBattsOpen); // clears the tick left from the feet
        QCOMPARE(w.line(3), "There are no sound absorption materails on the structural ceiling.");
        // A leftover tick again, cleared with results on show: they stay.
        w.click(f.ChkBattsOpen, f.OptMask(1), f.ChkBatts, f.ChkBatts, f.OptMask(2));
        w.enter(f.TxtCeilHt, "4000");
        w.enterRoom("6000", "4000");
        w.click(f.CmdCalculate, f.ChkBattsOpen);
        QCOMPARE(w.line(3), "There are 2 masking speakers.");
    }

    // On the access floor; the lines themselves are compared with the command line's in
    // tst_plan. Here: the focus, the prompts, the picture 4000 twips wide and as high as the
    // room's proportions make it, a width longer than the length exchanged on Calculate, and a
    // small room (a ratio below 2 and at most 225 sq ft) warned against as Calculate receives
    // the focus.
    void wholeDesignByMouseAndKeyboard_data() {
        QTest::addColumn<QString>("room");  // as entered
        QTest::addColumn<QString>("shown"); // the room after Calculate, and the picture's height
        QTest::addColumn<QString>("box");   // "title: text" of the message shown, if any
        // clang-format off
        QTest::newRow("40 x 25 ft") << "40 x 25" << "40 x 25, 167 px" << "";
        QTest::newRow("exchanged, 20 x 30 ft") << "20 x 30" << "30 x 20, 178 px"
            << ": The room length and width have been exchanged for calculation purposes.0";
        QTest::newRow("square, 30 x 30 ft") << "30 x 30" << "30 x 30, 267 px" << "";
        QTest::newRow("small, 8 x 6 ft") << "8 x 6" << "8 x 6, 200 px" << "Recommendation: Rooms "
            "this small are bad candidates for sound masking if it there is more than one person in "
            "the office.\nSpeech privacy between occupants is very difficult to achieve.\nIf that is "
            "the case, it is recommended that masking not be used.1";
        // clang-format on
    }
    void wholeDesignByMouseAndKeyboard() {
        QFETCH(QString, room);
        QFETCH(QString, box);
        WindowFixture w;
        const Controls& f = w.controls();
        w.conditions({"ft", "floor"});
        QCOMPARE(Seen(f), QString("FramRoom FramDesign @TxtLeng"));
        w.enterRoom(room.section(" x ", 0, 0), room.section(" x ", 1));
        // clang-format off
        QCOMPARE(Seen(f) + " " + w.note(), "FramRoom FramDesign CmdCalculate @CmdCalculate " + QString(box.startsWith(
                 "Recommendation") ? "Enter the shortest dimension of the room in feet." : "Press CALCULATE to get design."));
        // clang-format on
        w.key(f.CmdCalculate, Qt::Key_Return); // Enter presses the focused button
        QCOMPARE(f.FramDesign->Caption() + ": " + w.note() + Seen(f),
                 "Design Results: FramRoom FramDesign PicRoom CmdCalculate CmdPrint @CmdCalculate");
        QTEST(f.TxtLeng->text() + " x " + f.TxtWid->text() +
                  QString(", %1 px").arg(f.PicRoom->height()),
              "shown");
        // Lined up if plural.
        QCOMPARE(w.line(2).startsWith(' '), w.state().alongWidth.rows > 1);
        // A warning (1) for the small room, information (0) for the exchange.
        const auto& shown = w.boxes.shown;
        QCOMPARE(w.shownBoxes().join('|') +
                     (shown.empty() ? "" : QString::number(int(shown[0].icon))),
                 box);
    }

    // Each box filters what is typed, and when left reads the leading number, rounds it with
    // halves to even and raises it to its minimum or lowers it to its maximum, with a message.
    // Enter, keypad Enter and Up leave the length box for the width, Down stays; Enter in the
    // width box leads to Calculate only when both dimensions are given; Tab past the disabled
    // Calculate still enables it.
    void leavingABoxStoresItsNumber_data() {
        // unit|box|length entered first|typed (^V: pasted)|key (Return if none)
        QTest::addColumn<QString>("entry");
        // the box's text before the key|number stored|focus after it|message shown
        QTest::addColumn<QString>("seen");
        const QString len = "Room Length: The dimension needs to be ",
                      wid = "Room Width: The dimension needs to be ",
                      high = "Ceiling Height: The structural ceiling should be at ";
        // clang-format off
        QTest::newRow("12a") << "ft|Leng||12a" << "12|12|TxtWid|";
        QTest::newRow("12é") << "ft|Leng||12é" << "12|12|TxtWid|";
        QTest::newRow("length blank") << "ft|Leng||" << "|0|TxtWid|";
        QTest::newRow("1.5") << "ft|Leng||1.5" << "1.5|4|TxtWid|" + len + "4 feet or larger.";
        QTest::newRow("pasted a12") << "ft|Leng||^Va12" << "a12|4|TxtWid|" + len + "4 feet or larger.";
        QTest::newRow("1001 ft") << "ft|Leng||1001" << "1001|1000|TxtWid|" + len + "1000 feet or smaller.";
        QTest::newRow("keypad Enter") << "mm|Leng||5000|Enter" << "5000|5000|TxtWid|";
        QTest::newRow("Up") << "mm|Leng||5000|Up" << "5000|5000|TxtWid|";
        QTest::newRow("Down stays") << "mm|Leng||5000|Down" << "5000|0|TxtLeng|";
        QTest::newRow("1199 mm") << "mm|Wid||1199" << "1199|1200|TxtLeng|" + wid + "1200 millimeters or larger.";
        QTest::newRow("300001 mm") << "mm|Wid|5000|300001"
            << "300001|300000|CmdCalculate|" + wid + "300000 millimeters or smaller.";
        QTest::newRow("width blank") << "mm|Wid|5000|" << "|0|TxtWid|";
        QTest::newRow("width, Tab") << "mm|Wid|5000|5000|Tab" << "5000|5000|CmdDone|";
        QTest::newRow("11.5 ft") << "ft|CeilHt||11.5" << "11.5|12|TxtLeng|";
        QTest::newRow("101 ft") << "ft|CeilHt||101" << "101|100|TxtLeng|" + high + "most 100 feet.";
        QTest::newRow("3599 mm") << "mm|CeilHt||3599" << "3599|3600|TxtLeng|" + high + "least 3600 millimeters.";
        QTest::newRow("30000 mm") << "mm|CeilHt||30000" << "30000|30000|TxtLeng|";
        // clang-format on
    }
    void leavingABoxStoresItsNumber() {
        QFETCH(QString, entry);
        const QStringList e = entry.split('|');
        WindowFixture w;
        const Controls& f = w.controls();
        w.chooseUnits(e[0] == "ft");
        w.click(f.OptMask(e[1] == "CeilHt" ? 2 : 3));
        if (e[1] == "Wid")
            w.enter(f.TxtLeng, e[2]);
        auto* edit = f.get<QLineEdit>("Txt" + e[1]);
        QApplication::clipboard()->setText(e[3].mid(2));
        e[3].startsWith("^V") ? QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier)
                              : w.type(edit, e[3]);
        const QString before = edit->text();
        w.key(edit, QKeySequence(e.value(4, "Return"))[0].key());
        const DesignState& s = w.state();
        const QString stored = QString::number(edit == f.TxtLeng  ? s.length
                                               : edit == f.TxtWid ? s.width
                                                                  : s.structuralHeight);
        QWidget* focus = QApplication::focusWidget();
        if (edit != focus) // a box left shows the number stored, or nothing
            QCOMPARE(edit->text(), before.isEmpty() ? "" : stored);
        QTEST(before + "|" + stored + "|" + focus->objectName() + "|" + w.shownBoxes().join(""),
              "seen");
        QCOMPARE(f.CmdCalculate->isEnabled(), focus == f.CmdCalculate || e.value(4) == "Tab");
        // clang-format off
        QCOMPARE(w.note(), focus == f.CmdCalculate ? QString("Press CALCULATE to get design.") : QString("Enter the %1 dimension "
                 "of the room in %2.").arg(focus == f.TxtLeng ? "longest" : "shortest", e[0] == "ft" ? "feet" : "millimeters"));
        // clang-format on
    }

    // Another pick clears the results and rebuilds the summary, leaving the picture shown but
    // blank and Calculate ready again; a new dimension takes the picture away, not the results;
    // a location change leaves the results, and the band picked before it is still the one
    // another band is compared with. Another location blanks the boxes and the picks, a
    // double click on the same one the picks; the ticks stay.
    void changesThrowAwayWhatNoLongerMatches() {
        WindowFixture w;
        const Controls& f = w.controls();
        const DesignState& s = w.state();
        w.conditions({"ft", "suspended", "1", "1", "1"}); // 10 ft with the batts, 40 x 25
        const QString before = w.lines().join('|');
        w.click(f.ChkBatts); // the summary is written again
        // clang-format off
        QCOMPARE(before + " / " + w.line(3) + "|" + w.line(4),
                 "The plenum depth is between between 0 and 1 feet.|The suspended ceiling is fiberglass, no foil backing.|"
                 "There are no sound absorption materials in the ceiling plenum.|The suspended ceiling height is lower than 12 "
                 "feet. / There are sound absorption materials in the ceiling plenum.|The suspended ceiling height is lower "
                 "than 12 feet.");
        // clang-format on
        w.enterRoom("40", "25");
        w.click(f.CmdCalculate);
        w.pick(f.ListCeilHt, 1);
        QCOMPARE(f.FramDesign->Caption() + ": " + w.line(4) + " " + Seen(f),
                 "Design Conditions: The suspended ceiling height is higher than 12 feet. "
                 "FramCeiling FramRoom FramDesign PicRoom CmdCalculate CmdPrint @CmdCalculate");
        QVERIFY(f.PicRoom->Surface().Shapes().empty());
        w.click(f.CmdCalculate);
        w.focus(f.TxtWid);
        w.type(f.TxtWid, "5");
        QVERIFY(!f.PicRoom->isVisible() && w.line(3) == "There are 12 masking speakers.");
        w.click(f.OptMask(3), f.OptMask(1));
        // clang-format off
        QCOMPARE(QString::number(s.alongLength.rows) + f.TxtLeng->text() + f.TxtWid->text() + f.TxtCeilHt->text() + Seen(f)
                     + " " + w.note().left(59),
                 "4FramCeiling FramDesign CmdPrint @ListPlenum Pick the plenum depth, ceiling height and tile type.  Check");
        // clang-format on
        QVERIFY(s.absorption == Absorption::None && f.ChkBatts->isChecked());
        w.pick(f.ListPlenum, 1);
        QCOMPARE(s.alongLength.rows, 0);
        QTest::mouseDClick(f.OptMask(1), Qt::LeftButton, Qt::NoModifier, QPoint(6, 9));
        w.settle();
        QVERIFY(f.ListPlenum->selectedItems().isEmpty() && !s.plenumDepth && w.line(1).isEmpty());
    }

    // Print Results offers the description, Print prints it trimmed; a printer refusing the
    // page is retried or abandoned, each time every entry stays; a pasted description's line
    // breaks turn into blanks and the box keeps what the report's line holds (74 characters on
    // the recording printer's page).
    void printingRetriesOrCancelsAndTheEntriesStay() {
        WindowFixture w;
        const Controls& f = w.controls();
        Calculated(w);
        w.click(f.CmdPrint);
        w.enter(f.TxtDescription, " Nörth wing  "); // after the blank the box starts with
        QVERIFY(f.CmdPrt->hasFocus());
        w.key(f.CmdPrt, Qt::Key_Return);
        QVERIFY(!f.FramNote->isVisible() && f.CmdPrint->hasFocus());
        QCOMPARE(std::get<PageText>(w.printing.page.at(1)).text,
                 std::string("Description: Nörth wing"));
        const auto entries = Entries(w);
        w.key(f.CmdPrint, Qt::Key_Return); // one Enter too many only offers the description again
        QVERIFY(w.window().isVisible() && f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        QString pasted = QString("Zone 1 of the north wing\n").repeated(12);
        QGuiApplication::clipboard()->setText(pasted);
        for (const MsgAnswer answer : {MsgAnswer::Retry, MsgAnswer::Cancel, MsgAnswer::Ok}) {
            const bool jammed = answer != MsgAnswer::Ok; // then the printer works again
            w.printing.refusals = jammed;
            w.boxes.answers = {answer};
            w.boxes.shown.clear();
            w.click(f.CmdPrint);
            QCOMPARE(f.TxtDescription->text(), QString("  Nörth wing  ")); // offered again
            if (!jammed) {
                f.TxtDescription->selectAll();
                QTest::keyClick(f.TxtDescription, Qt::Key_V, Qt::ControlModifier);
                QCOMPARE(f.TxtDescription->text(), pasted.replace('\n', ' ').left(74));
            }
            w.click(f.CmdPrt);
            // clang-format off
            QCOMPARE(w.shownBoxes().join('|'), jammed ? "Printer Error: Printer not ready error occurred." : "");
            QVERIFY(w.printing.page.empty() == (answer == MsgAnswer::Cancel) && (!jammed || (Entries(w) == entries
                    && w.boxes.shown[0].icon == MsgIcon::Critical && w.boxes.shown[0].buttons == MsgButtons::RetryCancel)));
            // clang-format on
        }
        QCOMPARE(std::get<PageText>(w.printing.page.at(1)).text,
                 "Description: " + pasted.left(74).trimmed().toStdString());
    }

    // Without a printer the page is saved as a whole, readable PDF in the documents folder; with
    // no usable home folder the user is told so, and nothing is written elsewhere (the saving's
    // own faults are tried in tst_qt_printer).
    void withoutPrinterTheReportIsSavedAsPdf() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the report would be printed on paper");
        QTemporaryDir dir;
        const QByteArray oldHome = qgetenv("HOME");
        const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });
        qunsetenv("XDG_CONFIG_HOME"); // the documents folder is the home's
        SystemPrinting system;
        WindowFixture w(&system);
        Calculated(w);
        w.click(w.controls().CmdPrint);
        w.type(w.controls().TxtDescription, "Lobby");
        const QStringList rootBefore = QDir::root().entryList(), cwdBefore = QDir().entryList();
        for (const QString& home : {QString(), QString("home"), dir.path()}) {
            home.isEmpty() ? qunsetenv("HOME") : qputenv("HOME", home.toUtf8());
            w.click(w.controls().CmdPrint, w.controls().CmdPrt); // the description offered again
            QVERIFY(QDir::root().entryList() == rootBefore && QDir().entryList() == cwdBefore);
        }
        // clang-format off
        QCOMPARE(w.shownBoxes().join('|'), "Printer Error: Path not found (no home folder is set, so there is no documents "
                 "folder) error occurred.|Printer Error: Path not found (the home folder home is not a full path) error occurred.");
        // clang-format on
        const QDir documents(dir.path() + "/Documents");
        const QStringList pdfs = documents.entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(pdfs.size(), 1); // named for the day and time it was saved
        // clang-format off
        QVERIFY2(pdfs.first().contains(QRegularExpression("^Masking layout " + QDate::currentDate().toString("yyyy-MM-dd")
                                                          + " [0-2][0-9]-[0-5][0-9]-[0-5][0-9]\\.pdf$")), qPrintable(pdfs.first()));
        // clang-format on
        QCOMPARE(w.note(), "No printer is installed. The report was saved as " +
                               documents.filePath(pdfs.first()));
        QProcess pdfinfo; // the file as the user's own tools read it
        pdfinfo.start("pdfinfo", {documents.filePath(pdfs.first())});
        QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
        // clang-format off
        QVERIFY(QString(pdfinfo.readAllStandardOutput()).contains(
            QRegularExpression("^Title: +Masking layout - Lobby\n(.*\n)*Creator: +Masking Speaker Layout \\d(.*\n)*Pages: +1\n")));
        // clang-format on
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
        const QString note = w.note(); // a printed page is not said to be saved
        for (const char* command : {"cupsreject", "cupsaccept"}) {
            QCOMPARE(QProcess::execute(command, {queue}), 0);
            w.click(w.controls().CmdPrint);
            w.controls().TxtDescription->setText("Lobby");
            w.click(w.controls().CmdPrt);
        }
        QCOMPARE(w.note(), note);
        const QString shown = w.shownBoxes().join('|'); // the refusal only
        QVERIFY2(shown.contains(QRegularExpression("^Printer Error: Device unavailable .*" + queue +
                                                   ".* not accepting jobs[^|]*$")),
                 qPrintable(shown));
    }

    // The prompt line is yellow on black, the frames' captions are blue, and the room picture
    // is mostly white.
    void promptCaptionAndPictureColours() {
        WindowFixture w;
        const auto share = [](QWidget* c, QColor colour) { // of the pixels, in per cent
            const QImage image = c->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const auto* p = reinterpret_cast<const QRgb*>(image.constBits()); // rows unpadded
            int n = 0, all = image.width() * image.height();
            for (int i = 0; i < all; ++i)
                n += qAbs(qRed(p[i]) - colour.red()) + qAbs(qGreen(p[i]) - colour.green()) +
                         qAbs(qBlue(p[i]) - colour.blue()) <
                     30;
            return 100.0 * n / all;
        };
        const Controls& f = w.controls();
        w.chooseUnits(true);
        QVERIFY(share(f.LabNote, Qt::yellow) > 0 && share(f.LabNote, Qt::black) > 50);
        QVERIFY(share(f.LabNote, Qt::white) == 0 && share(f.FramDesign, Qt::blue) > 0);
        Calculated(w);
        QVERIFY(share(f.PicRoom, Qt::white) > 50);
    }

    // The real message boxes: titled (the program's name when no title is given), with their
    // icon; Enter gives Retry and Escape Cancel where a page can be tried again, else OK.
    void realMessageBoxesAnswerEnterAndEscape_data() {
        // title, text, icon (as QMessageBox numbers Information, Warning, Critical), the answer,
        // the buttons (1 for Retry and Cancel) and the key
        QTest::addColumn<QString>("seen");
        QTest::newRow("Enter retries") << "Printer Error|jam|3|1|1|Return";
        QTest::newRow("Escape cancels") << "Printer Error|jam|3|2|1|Esc";
        QTest::newRow("Enter, OK") << "|small|2|0|0|Return";
        QTest::newRow("Escape, OK") << "Recommendation|small|1|0|0|Esc";
    }
    void realMessageBoxesAnswerEnterAndEscape() {
        QFETCH(QString, seen);
        const QStringList given = seen.split('|');
        const int icon = given[2].toInt();
        QString shown = "no box";
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->windowTitle() + "|" + box->text() + (box->icon() == icon ? "" : "?");
                QTest::keyClick(box, QKeySequence(given[5])[0].key());
            }
        });
        QtMessageBoxes boxes;
        const MsgAnswer answer = boxes.Show(given[1].toStdString(), MsgIcon(icon - 1),
                                            given[0].toStdString(), MsgButtons(given[4].toInt()));
        QCOMPARE(shown + "|" + QString::number(int(answer)),
                 (given[0].isEmpty() ? "Masking Speaker Layout" : given[0]) + "|" + given[1] + "|" +
                     given[3]);
    }

    // Tab walks the designed order; every control has a name, following its caption, and room
    // for its text with the longest result lines (those of the largest room the boxes accept, in
    // millimetres), drawn at twice the size.
    void screenReadersAndDenseScreens() {
        WindowFixture w;
        const Controls& f = w.controls();
        QStringList walked{"OptMask(1)"};
        for (QWidget* c = f.OptMask(1)->nextInFocusChain(); c != f.OptMask(1);
             c = c->nextInFocusChain())
            if (c->focusPolicy() & Qt::TabFocus)
                walked << c->objectName();
        // clang-format off
        QCOMPARE(walked.join(' '), "OptMask(1) OptMask(2) OptMask(3) ListPlenum ListCeil ChkBatts TxtLeng TxtWid CmdCalculate "
                                   "CmdPrint CmdPrt CmdDone TxtDescription TxtCeilHt OptMeas(2) OptMeas(1) ListCeilHt ChkBattsOpen");
        // clang-format on
        Calculated(w, {"mm", "suspended", "1", "1", "1", "yes"}, "300000", "299999");
        QStringList faults;
        for (QWidget* c : w.window().findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(c);
            const QString name = AccessibleName(c);
            const bool needsName = (c->focusPolicy() & Qt::TabFocus) || label ||
                                   qobject_cast<QAbstractButton*>(c) || qobject_cast<FrameBox*>(c);
            if (CutOff(c) ||
                (label && !label->text().trimmed().isEmpty() && name != label->text()) ||
                (needsName && name.trimmed().isEmpty()))
                faults << c->objectName();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(", ")));
        QCOMPARE(w.window().grab().toImage().size(), 2 * w.window().size());
        QCOMPARE(AccessibleName(f.TxtLeng), QString("Length, mm.")); // a box's caption
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
