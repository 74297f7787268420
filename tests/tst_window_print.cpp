// Printing from the window: Print Results offers the description, Print prints it trimmed on the
// page; a printer refusing any operation is retried or abandoned, one refusing for ever is given
// up with Cancel, and each time every entry stays; with no printer the page lands in a PDF that
// the prompt line names.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <tuple>

namespace {

// Feet, the second plenum band, tile and ceiling height, batts, 40 x 25: every condition line,
// the table and the layout array are printed.
void Calculate(WindowFixture& w) {
    MainForm& f = w.form();
    w.chooseUnits(true);
    for (QListWidget* list : {f.ListPlenum, f.ListCeil, f.ListCeilHt})
        w.pick(list, 1);
    w.click(f.ChkBatts);
    w.enterRoom("40", "25");
    w.click(f.CmdCalculate);
}

// Everything the user has entered or been shown that a print run must leave alone.
auto Entries(WindowFixture& w) {
    MainForm& f = w.form();
    const DesignState& s = w.state();
    return std::make_tuple(f.TxtLeng->text(), f.TxtWid->text(), f.TxtDescription->text(), w.line(1),
                           w.line(2), w.line(3), w.line(4), f.FramDesign->Caption(),
                           f.CmdCalculate->isEnabled(), f.CmdPrint->isEnabled(), s.Descr,
                           s.MeasFeet, s.MaskLoc, s.PlenumSel, s.CeilSel, s.CeilHtSel, s.BattsSel,
                           s.Leng, s.Wid, s.LRow, s.LSpc, s.LHalfSpc, s.WRow, s.WSpc, s.WHalfSpc);
}

} // namespace

class TestWindowPrint : public QObject {
    Q_OBJECT
  private slots:
    void refusedOperationsAreRetriedOrCancelledAndTheEntriesStay() {
        WindowFixture w;
        MainForm& f = w.form();
        Calculate(w);
        w.click(f.CmdPrint);
        QVERIFY(f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        f.TxtDescription->clear();
        w.type(f.TxtDescription, "  North wing  ");
        w.key(f.TxtDescription, Qt::Key_Return);
        QVERIFY(f.CmdPrt->hasFocus());
        w.key(f.CmdPrt, Qt::Key_Return);
        QVERIFY(!f.FramNote->isVisible() && w.printing.last->Ended());
        // One Enter too many only offers the description again; the design stays.
        QVERIFY(f.CmdPrint->hasFocus());
        w.key(f.CmdPrint, Qt::Key_Return);
        QVERIFY(f.isVisible() && f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        w.key(f.TxtDescription, Qt::Key_Return);
        w.click(f.CmdPrt);
        QCOMPARE(w.state().Descr, std::string("North wing"));
        const std::vector<PageItem> page = w.printing.last->Items();
        QCOMPARE(page.at(1).text, std::string("Description: North wing"));
        QCOMPARE(page.at(1).y1, 800.0);
        const long operations = w.printing.last->OperationCount();

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
        w.click(f.CmdPrint);
        f.TxtDescription->setText("  North wing  ");
        w.key(f.TxtDescription, Qt::Key_Return);
        w.click(f.CmdPrt);
        QCOMPARE(w.printing.last->Items(), page);
        const auto entries = Entries(w);

        // Print Results then Print on a printer refusing `at` `times` times, answered in turn.
        const auto print = [&](long at, int times, std::deque<MsgAnswer> answers) {
            w.printing.prepare = [=](RecordingPrinter& p) {
                p.FailAt(at, times, "Printer jammed");
            };
            w.boxes.answers = answers;
            w.boxes.shown.clear();
            w.click(f.CmdPrint);
            QCOMPARE(f.TxtDescription->text(), QString("  North wing  ")); // offered again
            w.click(f.CmdPrt);
            QVERIFY(w.boxes.shown.size() == answers.size() && Entries(w) == entries);
        };
        for (long at = 1; at <= operations && !QTest::currentTestFailed(); ++at) {
            print(at, 1, {MsgAnswer::Retry});
            QVERIFY2(w.printing.last->Ended() && w.printing.last->Items() == page,
                     qPrintable(QString("operation %1 of %2").arg(at).arg(operations)));
            print(at, 1, {MsgAnswer::Cancel});
            QVERIFY2(w.printing.last->Aborted() && !w.printing.last->Ended(),
                     qPrintable(QString("operation %1 of %2").arg(at).arg(operations)));
        }
        const ShownBox& box = w.boxes.shown.front();
        QCOMPARE(box.text + " / " + box.title,
                 std::string("Printer jammed error occurred. / Printer Error"));
        QVERIFY(box.icon == MsgIcon::Critical && box.buttons == MsgButtons::RetryCancel);

        // A printer that never recovers: three retries, then the user gives up; the window goes on.
        print(operations / 2, -1,
              {MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Cancel});
        QVERIFY(w.printing.last->Aborted());
        print(0, 0, {});
        QVERIFY(w.printing.last->Ended() && w.printing.last->Items() == page);
    }

    // Without a printer the page is saved as a whole, readable PDF in the documents folder; with
    // no usable home or documents folder the user is told so, and nothing is written elsewhere.
    void withoutPrinterTheReportIsSavedAsPdf_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("told");
        QTest::newRow("documents folder") << "ok"
                                          << "";
        QTest::newRow("HOME unset") << "unset"
                                    << "Path not found (no home folder is set";
        QTest::newRow("HOME relative") << "relative"
                                       << "Path not found (the home folder";
        QTest::newRow("Documents is a file") << "file"
                                             << "Path not found (";
        QTest::newRow("home read-only") << "read-only"
                                        << "Disk write-protected (";
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
            QProcess::execute("umount", {"-q", dir.path()});
        });
        qputenv("HOME", dir.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
        const QDir documents(dir.path() + "/Documents");
        if (home == "unset")
            qunsetenv("HOME");
        else if (home == "relative")
            qputenv("HOME", "home");
        else if (home == "file")
            QFile(documents.path()).open(QIODevice::WriteOnly);
        else if (home == "read-only" &&
                 QProcess::execute("mount", {"-t", "tmpfs", "-o", "ro", "tmpfs", dir.path()}))
            QSKIP("no tmpfs can be mounted here (needs root): read-only home untried");
        const QStringList rootBefore = QDir::root().entryList(), cwdBefore = QDir().entryList();
        SystemPrinting system;
        WindowFixture w(&system);
        Calculate(w);
        w.click(w.form().CmdPrint);
        w.type(w.form().TxtDescription, "Lobby");
        w.click(w.form().CmdPrt);
        QVERIFY(QDir::root().entryList() == rootBefore && QDir().entryList() == cwdBefore);
        if (!told.isEmpty()) {
            QVERIFY(w.boxes.shown.size() == 1 && !w.note().contains("saved"));
            QVERIFY2(QString::fromStdString(w.boxes.shown.front().text).startsWith(told),
                     w.boxes.shown.front().text.c_str());
            return;
        }
        const QStringList pdfs =
            documents.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY(pdfs.size() == 1 && pdfs.first().startsWith("Masking layout "));
        QCOMPARE(w.note(), "No printer is installed. The report was saved as " +
                               documents.filePath(pdfs.first()));
        QVERIFY(w.boxes.shown.empty());
        QProcess pdfinfo; // the file as the user's own tools read it
        pdfinfo.start("pdfinfo", {documents.filePath(pdfs.first())});
        QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
        const QString info = pdfinfo.readAllStandardOutput();
        for (const QString& line : {"Pages: +1\n", "Title: +Masking layout - Lobby\n",
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
        Calculate(w);
        for (const bool refusing : {true, false}) {
            QCOMPARE(QProcess::execute(refusing ? "cupsreject" : "cupsaccept", {queue}), 0);
            w.boxes.shown.clear();
            w.click(w.form().CmdPrint);
            w.form().TxtDescription->setText("Lobby");
            w.click(w.form().CmdPrt);
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

QTEST_MAIN(TestWindowPrint)
#include "tst_window_print.moc"
