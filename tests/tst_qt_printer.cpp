// The real printer writing PDFs: the page painted where the report put its shapes, in one file
// under a name that never overwrites, and the truth told when saving fails.
#include "output/printer_output.h"
#include "output/safe_file.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
  private slots:
    // Painted at 144 dpi (the window's test reads the saved PDF's one page with pdfinfo): a
    // filled dot at each speaker, white between them, and ink in the title's letters.
    void reportIsPaintedWithItsSpeakers() {
        DesignState s; // no location: no condition lines
        s.MeasFeet = true, s.Leng = 40, s.Wid = 25, s.alongLength = {4, 10, 5};
        s.alongWidth = {3, 9, 3.5};
        const std::vector<PageItem> items = ComposeReport(s, ReportPaper());
        QImage image(1224, 1584, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(144 / 0.0254));
        image.setDotsPerMeterY(qRound(144 / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintPage(painter, items, QGuiApplication::font());
        painter.end();
        const auto dark = [&](double x, double y) { // x, y in twips
            return image.pixelColor(qRound(x / 10), qRound(y / 10)).lightness() < 100;
        };
        int dots = 0, ink = 0;
        for (const PageItem& item : items)
            if (item.kind == PageItem::Kind::Circle && ++dots)
                QVERIFY(dark(item.x1, item.y1) && dark(item.x1 + 60, item.y1) &&
                        !dark(item.x1 + 1000, item.y1 + 700));
        for (int y = 0; y < 200; y += 10)
            for (int x = 0; x < 4000; x += 10)
                ink += dark(items.front().x1 + x, items.front().y1 + y);
        QVERIFY(dots == 12 && ink > 50);
    }

    // Ways a save can go wrong on a real file system, and a name taken in ways the command
    // line's test does not take it: the user is told the system's reason, nothing but a whole
    // report ever bears a report's name, nothing is written outside the folder, and once the
    // fault is gone Retry saves it.
    void savingTellsTheTruthAndNeverOverwrites_data() {
        QTest::addColumn<QString>("told"); // beginning of the description, empty for none
        QTest::addColumn<QStringList>("after");
        const QStringList two{"R (2).pdf", "R.pdf"};
        QTest::newRow("dangling link") << QString() << two;
        QTest::newRow("other copy") << QString() << two;
        QTest::newRow("stale part") << QString() << QStringList{"R.pdf"};
        QTest::newRow("missing") << QString("Path not found (") << QStringList();
        QTest::newRow("read-only disk") << QString("Disk write-protected (") << QStringList();
        QTest::newRow("full disk") << QString("Disk full (") << QStringList{"filler"};
    }
    void savingTellsTheTruthAndNeverOverwrites() {
        const QString fault = QTest::currentDataTag();
        QFETCH(QString, told);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        QString folder = dir.path() + "/docs";
        QDir().mkpath(folder + "/../elsewhere");
        const auto mounted = [&](const QString& options) {
            return QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
        };
        const char* const noTmpfs = "no tmpfs can be mounted here (needs root): disk fault untried";
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {"-q", folder}); });
        QDir().mkpath(folder);
        const mode_t mask = umask(022);
        const auto restoreMask = qScopeGuard([&] { umask(mask); });
        if (fault == "dangling link")
            QFile::link(folder + "/../elsewhere/R.pdf", folder + "/R.pdf");
        else if (fault == "other copy") // saves R.pdf once
            QProcess::execute(QCoreApplication::applicationFilePath(), {"--save", folder, "1"});
        else if (fault == "stale part") {
            QProcess gone; // a process number no running program has
            gone.start("true");
            const qint64 goneId = gone.processId();
            QVERIFY(gone.waitForFinished());
            for (const qint64 pid : {goneId, qint64(getppid())})
                QFile(folder + QString("/.Masking layout %1-1.part").arg(pid))
                    .open(QIODevice::WriteOnly);
            after.prepend(QString(".Masking layout %1-1.part").arg(getppid())); // still writing
        } else if (fault == "missing")
            folder += "/gone";
        else if (fault == "read-only disk" && !mounted("size=64k,ro"))
            QSKIP(noTmpfs);
        else if (fault == "full disk") {
            if (!mounted("size=64k"))
                QSKIP(noTmpfs);
            QFile filler(folder + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
            }
        }
        PrinterOutput printer([&] { return folder; }, "R", "Masking layout");
        const std::vector<PageItem> page = ComposeReport(DesignState(), printer.Metrics());
        QString description;
        try {
            printer.Deliver(page);
        } catch (const PrinterError& e) {
            description = QString::fromStdString(e.Description());
        }
        QVERIFY2(told.isEmpty() ? description.isEmpty() : description.startsWith(told),
                 qPrintable(description));
        QVERIFY2(told.isEmpty() || description.contains(folder), qPrintable(description));
        QCOMPARE(FilesIn(folder), after);
        QVERIFY(FilesIn(dir.path() + "/elsewhere").isEmpty());
        if (fault == "full disk")
            QFile::remove(folder + "/filler"), printer.Deliver(page); // Retry, with room made
        else if (!told.isEmpty())
            return;
        const QString saved = printer.SavedPath();
        QCOMPARE(saved, folder + "/" + (told.isEmpty() ? after.filter(".pdf").first() : "R.pdf"));
        QFile pdf(saved);
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.readAll().trimmed().endsWith("%%EOF"));
        QCOMPARE(int(pdf.permissions() & 0x0666), 0x0644); // 0666 less the umask 022
    }

    // The program ended by a signal while it writes a report leaves no temporary file.
    void endedWhileSavingLeavesNoTemporaryFile() {
        for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
            QTemporaryDir dir;
            QProcess saver;
            saver.setChildProcessModifier([] { // as a program started from a desktop
                for (const int s : {SIGTERM, SIGINT, SIGHUP})
                    signal(s, SIG_DFL);
            });
            saver.start(QCoreApplication::applicationFilePath(), {"--save", dir.path(), "-1"});
            QVERIFY(saver.waitForReadyRead()); // it has saved once and goes on saving
            QTest::qWait(50);
            kill(pid_t(saver.processId()), sig);
            QVERIFY(saver.waitForFinished() && saver.exitStatus() == QProcess::CrashExit);
            QCOMPARE(FilesIn(dir.path()).filter(".part"), QStringList{});
        }
    }
};

#include "tst_qt_printer.moc"

// Run as "--save folder n": saves a large report as folder/R.pdf n times (for ever when n is
// negative), removing it each time; another running copy of the program, or one to be ended.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--save") {
        const QByteArray bytes(4 << 20, '%');
        for (long n = std::atol(argv[3]); n != 0; --n) {
            const QString saved = SaveReportFile(argv[2], "R", bytes);
            if (n < 0)
                QFile::remove(saved), std::printf("saved\n"), std::fflush(stdout);
        }
        return 0;
    }
    TestQtPrinter test;
    return QTest::qExec(&test, argc, argv);
}
