// A failing printer met through the window. Whichever operation of the report the printer
// refuses, Retry finishes the very page a sound printer gives and Cancel abandons it; a printer
// that refuses for ever is given up with Cancel. Each time the window keeps every entry (the
// boxes, the description, the design and its results) and goes on printing.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <tuple>

namespace {

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

// Print Results, then Print, as the user clicks them.
void Print(WindowFixture& w) {
    w.boxes.shown.clear();
    w.click(w.form().CmdPrint);
    w.click(w.form().CmdPrt);
}

} // namespace

class TestPrinterFailure : public QObject {
    Q_OBJECT
  private slots:
    void everyRefusedOperationIsRetriedOrCancelledAndTheEntriesStay() {
        WindowFixture w;
        MainForm& f = w.form();
        // Feet, the second plenum band and tile, the higher ceiling, batts: every condition
        // line, the table and the layout array are printed.
        w.chooseUnits(true);
        w.pick(f.ListPlenum, 1);
        w.pick(f.ListCeil, 1);
        w.pick(f.ListCeilHt, 1);
        w.click(f.ChkBatts);
        w.enterRoom("40", "25");
        w.click(f.CmdCalculate);
        w.click(f.CmdPrint);
        w.type(f.TxtDescription, " East wing ");
        w.key(f.TxtDescription, Qt::Key_Return);
        w.click(f.CmdPrt);
        QVERIFY(w.printing.last->Ended());
        const std::vector<PageItem> page = w.printing.last->Items();
        const long operations = w.printing.last->OperationCount();
        const auto entries = Entries(w);
        QCOMPARE(w.state().Descr, std::string("East wing"));

        const auto refusedOnce = [&](long at, MsgAnswer answer) {
            const QString where = QString("operation %1 of %2").arg(at).arg(operations);
            w.printing.prepare = [at](RecordingPrinter& p) { p.FailAt(at, 1, "Printer jammed"); };
            w.boxes.answers = {answer};
            Print(w);
            QVERIFY2(w.boxes.shown.size() == 1, qPrintable(where));
            const ShownBox& box = w.boxes.shown.front();
            QCOMPARE(box.text, std::string("Printer jammed error occurred."));
            QCOMPARE(box.title, std::string("Printer Error"));
            QVERIFY(box.icon == MsgIcon::Critical && box.buttons == MsgButtons::RetryCancel);
            if (answer == MsgAnswer::Retry) {
                QVERIFY2(w.printing.last->Ended() && w.printing.last->Items() == page,
                         qPrintable(where));
            } else {
                QVERIFY2(w.printing.last->Aborted() && !w.printing.last->Ended(),
                         qPrintable(where));
            }
            QVERIFY2(!f.FramNote->isVisible() && Entries(w) == entries, qPrintable(where));
        };
        for (long at = 1; at <= operations; ++at) {
            refusedOnce(at, MsgAnswer::Retry);
            refusedOnce(at, MsgAnswer::Cancel);
            if (QTest::currentTestFailed())
                return;
        }

        // A printer that never recovers: three retries, then the user gives up.
        w.printing.prepare = [&](RecordingPrinter& p) { p.FailAt(operations / 2, -1); };
        w.boxes.answers = {MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Cancel};
        Print(w);
        QCOMPARE(w.boxes.shown.size(), std::size_t{4});
        QVERIFY(w.printing.last->Aborted());
        QVERIFY(Entries(w) == entries);

        // The window goes on: the next print is whole, and Calculate still gives the same lines.
        w.printing.prepare = nullptr;
        Print(w);
        QVERIFY(w.boxes.shown.empty());
        QVERIFY(w.printing.last->Ended() && w.printing.last->Items() == page);
        w.click(f.CmdCalculate);
        QVERIFY(Entries(w) == entries);
        qInfo("%ld printer operations refused once each, with Retry and with Cancel", operations);
    }
};

QTEST_MAIN(TestPrinterFailure)
#include "tst_printer_failure.moc"
