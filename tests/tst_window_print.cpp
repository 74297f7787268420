// Printing from the window: Print Results offers the description, Print prints the page, a
// refused page can be abandoned, and with no printer installed the page lands in a PDF that the
// prompt line names.
#include "window_fixture.h"

#include "ui/frame_box.h"

#include <QDir>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace {

// Feet, access floor, 40 x 25: a complete design through the window.
void CalculateAccessFloor(WindowFixture& w) {
    w.chooseUnits(true);
    w.click(w.form().OptMask(3));
    w.enterRoom("40", "25");
    w.click(w.form().CmdCalculate);
}

} // namespace

class TestWindowPrint : public QObject {
    Q_OBJECT
  private slots:
    void descriptionIsTrimmedAndPrintedAfterEnter() {
        WindowFixture w;
        MainForm& f = w.form();
        CalculateAccessFloor(w);
        w.click(f.CmdPrint);
        QVERIFY(f.FramNote->isVisible() && f.TxtDescription->hasFocus());
        QCOMPARE(f.FramNote->pos(), QPoint(4, 364)); // 60, 5460 twips
        f.TxtDescription->clear();
        w.type(f.TxtDescription, "  North wing  ");
        w.key(f.TxtDescription, Qt::Key_Return);
        QVERIFY(f.CmdPrt->hasFocus());
        w.click(f.CmdPrt);
        QVERIFY(!f.FramNote->isVisible() && w.printing.runs == 1 && w.printing.last->Ended());
        QCOMPARE(w.state().Descr, std::string("North wing"));
        const PageItem& description = w.printing.last->Items().at(1);
        QCOMPARE(description.text, std::string("Description: North wing"));
        QCOMPARE(description.y1, 800.0);

        // The description is offered again and nothing of the design is cleared.
        w.click(f.CmdPrint);
        QCOMPARE(f.TxtDescription->text(), QString("  North wing  "));
        QCOMPARE(f.FramDesign->Caption(), QString("Design Results"));
        QCOMPARE(w.state().LRow, 3);
    }

    void cancelledPrintKeepsEveryEntry() {
        WindowFixture w;
        MainForm& f = w.form();
        CalculateAccessFloor(w);
        w.printing.prepare = [](RecordingPrinter& p) { p.FailAt(5, -1, "Device unavailable"); };
        w.boxes.answers = {MsgAnswer::Retry, MsgAnswer::Retry, MsgAnswer::Cancel};
        w.click(f.CmdPrint);
        w.type(f.TxtDescription, "Lobby");
        w.click(f.CmdPrt);
        QCOMPARE(w.boxes.shown.size(), std::size_t{3});
        const ShownBox& box = w.boxes.shown.back();
        QCOMPARE(box.text, std::string("Device unavailable error occurred."));
        QCOMPARE(box.title, std::string("Printer Error"));
        QVERIFY(box.icon == MsgIcon::Critical && box.buttons == MsgButtons::RetryCancel);
        QVERIFY(w.printing.last->Aborted() && f.CmdPrint->isEnabled());
        QCOMPARE(f.TxtLeng->text() + " x " + f.TxtWid->text(), QString("40 x 25"));
        QCOMPARE(w.state().Descr, std::string("Lobby"));
        QCOMPARE(w.line(3), QString("There are 6 masking speakers."));
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
        CalculateAccessFloor(w);
        w.click(w.form().CmdPrint);
        w.click(w.form().CmdPrt);
        const QStringList pdfs = QDir(home.path() + "/Documents").entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(pdfs.size(), 1);
        QVERIFY(pdfs.first().startsWith("Masking layout "));
        QCOMPARE(w.note(), "No printer is installed. The report was saved as " +
                               QDir(home.path() + "/Documents").filePath(pdfs.first()));
        QVERIFY(w.boxes.shown.empty());
    }
};

QTEST_MAIN(TestWindowPrint)
#include "tst_window_print.moc"
