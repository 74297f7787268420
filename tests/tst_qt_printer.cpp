// The real printer writing PDFs: the page painted where the report put its shapes, saved whole
// or not at all, and the truth told when saving fails.
#include "output/printer_output.h"
#include "output/safe_file.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestQtPrinter : public QObject {
    Q_OBJECT
  private slots:
    // The program ended by a signal while it writes a report leaves no temporary file. First:
    // the first save of a process sets up the clean-up, where nothing else (here Qt Test) has
    // taken the signals, so the copy made here must be the first to save.
    void endedWhileSavingLeavesNoTemporaryFile() {
        for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
            QTemporaryDir dir;
            const pid_t saver = fork();
            if (saver == 0) { // as a program started from a desktop, saving until it is ended
                for (const int s : {SIGTERM, SIGINT, SIGHUP})
                    signal(s, SIG_DFL);
                for (const QByteArray bytes(4 << 20, '%');;)
                    QFile::remove(SaveReportFile(dir.path(), "R", bytes));
            }
            QTest::qWait(100);
            int status = 0;
            QVERIFY(kill(saver, sig) == 0 && waitpid(saver, &status, 0) == saver);
            QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == sig);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".part"),
                     QStringList());
        }
    }

    // Painted at 144 dpi (the window's test reads the saved PDF's one page with pdfinfo): a
    // filled dot at each speaker, white between them, and ink in the title's letters.
    void reportIsPaintedWithItsSpeakers() {
        DesignState s; // no location: no condition lines
        s.units = Units::Feet, s.length = 40, s.width = 25, s.alongLength = {4, 10, 5};
        s.alongWidth = {3, 9, 3.5};
        const std::vector<PageItem> items = ComposeReport(s, ReportPaper());
        QImage image(1224, 1584, QImage::Format_RGB32);
        image.setDotsPerMeterX(5669); // 144 dpi
        image.setDotsPerMeterY(5669);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintPage(painter, items, QGuiApplication::font());
        painter.end();
        const auto dark = [&](double x, double y) { // x, y in twips
            return image.pixelColor(qRound(x / 10), qRound(y / 10)).lightness() < 100;
        };
        int dots = 0, ink = 0;
        for (const PageItem& item : items)
            if (const auto* dot = std::get_if<PageDot>(&item); dot && ++dots)
                QVERIFY(dark(dot->x, dot->y) && dark(dot->x + 60, dot->y) &&
                        !dark(dot->x + 1000, dot->y + 700));
        const PageText& title = std::get<PageText>(items.front());
        for (int y = 0; y < 200; y += 10)
            for (int x = 0; x < 4000; x += 10)
                ink += dark(title.x + x, title.y + y);
        QVERIFY(dots == 12 && ink > 50);
    }

    // Close up, at 1200 dpi: the grid's rows are dotted, with gaps between their dots, and the
    // room's ticks solid. Each line is sampled along 400 pixels (480 twips) from its left end.
    void gridRowsArePaintedDottedAndTicksSolid() {
        DesignState s;
        s.units = Units::Feet, s.length = 40, s.width = 25, s.alongLength = {4, 10, 5};
        s.alongWidth = {3, 9, 3.5};
        const std::vector<PageItem> items = ComposeReport(s, ReportPaper());
        for (const LineStyle style : {LineStyle::Dotted, LineStyle::Solid}) {
            const auto line = std::find_if(items.begin(), items.end(), [&](const PageItem& i) {
                const auto* l = std::get_if<PageLine>(&i);
                return l && l->pen.lineStyle == style && l->y1 == l->y2 &&
                       std::abs(l->x2 - l->x1) >= 500;
            });
            QVERIFY(line != items.end());
            const PageLine& l = std::get<PageLine>(*line);
            QImage image(440, 40, QImage::Format_RGB32);
            image.setDotsPerMeterX(47244); // 1200 dpi
            image.setDotsPerMeterY(47244);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.translate(-std::min(l.x1, l.x2) * 1200 / 1440 + 20, -l.y1 * 1200 / 1440 + 20);
            PaintPage(painter, {*line}, QGuiApplication::font());
            painter.end();
            int inked = 0;
            for (int x = 20; x < 420; ++x)
                inked += image.pixelColor(x, 20).lightness() < 128;
            QVERIFY2(style == LineStyle::Dotted ? inked > 60 && inked < 300 : inked == 400,
                     qPrintable(QString::number(inked)));
        }
    }

    // A save, and ways it can go wrong on a real file system (the disk faults need root to mount
    // a small disk): the user is told the system's reason, nothing but a whole report ever bears
    // a report's name, and once the fault is gone Retry saves it. A saved report has the
    // report's name and the mode of a new document (0666 less the umask); its text is readable,
    // letters beyond ASCII too, and stands a quarter inch in from the paper's edge.
    void savingTellsTheTruthAndNeverOverwrites() {
        // clang-format off
        const struct { QString fault, mount, told; QStringList after; } rows[] = {
            {"none", "", "", {"R.pdf"}}, {"missing", "", "Path not found (", {}},
            {"read-only disk", "size=64k,ro", "Disk write-protected (", {}},
            {"full disk", "size=64k", "Disk full (", {"filler"}},
            {"nearly full disk", "size=64k", "Disk full (", {"filler"}}};
        // clang-format on
        const mode_t mask = umask(022);
        const auto restoreMask = qScopeGuard([&] { umask(mask); });
        for (const auto& [fault, mount, told, after] : rows) {
            QTemporaryDir dir;
            QString folder = dir.path();
            const auto unmount = qScopeGuard([=] { QProcess::execute("umount", {"-q", folder}); });
            if (!mount.isEmpty() &&
                QProcess::execute("mount", {"-t", "tmpfs", "-o", mount, "tmpfs", folder}) != 0)
                QSKIP("no tmpfs can be mounted here: the disk faults are untried");
            if (fault == "missing")
                folder += "/gone";
            else if (fault == "full disk") // cat fails when the disk is full
                QProcess::execute("sh", {"-c", "cat /dev/zero 2>/dev/null >\"$0\"/filler", folder});
            else if (fault == "nearly full disk") // the report's first pieces still fit
                QProcess::execute("sh", {"-c", "head -c 57344 /dev/zero >\"$0\"/filler", folder});
            PrinterOutput printer([&] { return folder; }, "R", "Masking layout");
            DesignState s{Units::Feet};
            s.description = "Büro – Zürich";
            const std::vector<PageItem> page = ComposeReport(s, printer.Metrics());
            QString description;
            try {
                printer.Deliver(page);
            } catch (const PrinterError& e) {
                description = QString::fromStdString(e.Description());
            }
            QVERIFY2(told.isEmpty() ? description.isEmpty()
                                    : description.startsWith(told) && description.contains(folder),
                     qPrintable(fault + ": " + description));
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                     after);
            if (fault.endsWith("full disk")) { // Retry, with room made
                QFile::remove(folder + "/filler");
                printer.Deliver(page);
            } else if (!told.isEmpty()) {
                continue;
            }
            QFile pdf(printer.SavedPath());
            QCOMPARE(pdf.fileName(), folder + "/R.pdf");
            QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().trimmed().endsWith("%%EOF"));
            QCOMPARE(int(pdf.permissions() & 0x0666), 0x0644);
            QProcess text; // word, then its left edge in points: 0.25 in and 1000 twips is 68
            text.start("pdftotext", {"-bbox", pdf.fileName(), "-"});
            QVERIFY(text.waitForFinished());
            const QString words = QString::fromUtf8(text.readAllStandardOutput());
            const QRegularExpression described("xMin=\"([0-9.]+)\"[^>]*>Description:</word>\\s*"
                                               "<word[^>]*>Büro</word>\\s*<word[^>]*>–</word>\\s*"
                                               "<word[^>]*>Zürich</word>");
            const QRegularExpressionMatch match = described.match(words);
            QVERIFY2(match.hasMatch() && qAbs(match.captured(1).toDouble() - 68) < 1,
                     qPrintable(words.left(2000)));
        }
    }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qt_printer.moc"
