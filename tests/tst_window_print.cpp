// Printing from the window: Print Results offers the description, Print prints it trimmed on the
// page; a printer refusing any operation is retried or abandoned, one refusing for ever is given
// up with Cancel, and each time every entry stays; with no printer the page lands in a PDF that
// the prompt line names.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <QDir>
#include <QPrinterInfo>
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
        w.click(f.CmdPrt);
        QVERIFY(!f.FramNote->isVisible() && w.printing.last->Ended());
        QCOMPARE(w.state().Descr, std::string("North wing"));
        const std::vector<PageItem> page = w.printing.last->Items();
        QCOMPARE(page.at(1).text, std::string("Description: North wing"));
        QCOMPARE(page.at(1).y1, 800.0);
        const long operations = w.printing.last->OperationCount();
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

    void withoutPrinterTheReportIsSavedAsPdf() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed here; the report would be printed on paper");
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        SystemPrinting system;
        WindowFixture w(&system);
        Calculate(w);
        w.click(w.form().CmdPrint);
        w.click(w.form().CmdPrt);
        const QDir documents(home.path() + "/Documents");
        const QStringList pdfs = documents.entryList({"*.pdf"}, QDir::Files);
        QVERIFY(pdfs.size() == 1 && pdfs.first().startsWith("Masking layout "));
        QCOMPARE(w.note(), "No printer is installed. The report was saved as " +
                               documents.filePath(pdfs.first()));
        QVERIFY(w.boxes.shown.empty());
    }
};

QTEST_MAIN(TestWindowPrint)
#include "tst_window_print.moc"
