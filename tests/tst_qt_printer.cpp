// The real printer device writing PDFs: one page when the document ends, painted where the
// report put its shapes; nothing left behind when it is abandoned; names that never overwrite.
#include "output/print_report.h"
#include "output/qt_printer_device.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct NoBoxes : MessageBoxes {
    MsgAnswer Show(const std::string&, MsgIcon, const std::string&, MsgButtons) override {
        qFatal("a printer error was reported");
    }
};

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
  private slots:
    void reportBecomesOnePdfPageWithItsSpeakers() {
        DesignState s; // no location: no condition lines
        s.MeasFeet = true;
        s.Leng = 40, s.Wid = 25, s.LRow = 4, s.LSpc = 10, s.LHalfSpc = 5;
        s.WRow = 3, s.WSpc = 9, s.WHalfSpc = 3.5f;
        QTemporaryDir dir;
        const QString path = dir.path() + "/Documents/Masking layout.pdf"; // folder made
        std::vector<PageItem> items;
        {
            QtPrinterDevice printer(path);
            NoBoxes boxes;
            QCOMPARE(PrintReport(printer, s, boxes), PrintOutcome::Printed);
            items = printer.Items();
        }
        QCOMPARE(FilesIn(dir.path() + "/Documents"), QStringList{"Masking layout.pdf"});
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"));
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?!s)")), 1);

        // The page painted at 144 dpi: a filled dot at each speaker, white between them, ink in
        // the title.
        QImage image(1224, 1584, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(144 / 0.0254));
        image.setDotsPerMeterY(qRound(144 / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintPage(painter, items, QGuiApplication::font());
        painter.end();
        const auto lightness = [&](double x, double y) { // x, y in twips
            return image.pixelColor(qRound(x / 10), qRound(y / 10)).lightness();
        };
        int dots = 0;
        for (const PageItem& item : items) {
            if (item.kind != PageItem::Kind::Circle)
                continue;
            ++dots;
            QVERIFY(lightness(item.x1, item.y1) < 100 && lightness(item.x1 + 60, item.y1) < 100);
            QCOMPARE(lightness(item.x1 + 1000, item.y1 + 700), 255);
        }
        QCOMPARE(dots, 12);
        int ink = 0; // in the title's letters
        for (int y = 0; y < 200; y += 10)
            for (int x = 0; x < 4000; x += 10)
                ink += lightness(items.front().x1 + x, items.front().y1 + y) < 100;
        QVERIFY(ink > 50);
    }

    void abandonedDocumentLeavesNoFile() {
        QTemporaryDir dir;
        for (const bool abort : {true, false}) { // aborted, or dropped without ending
            QtPrinterDevice printer(dir.path() + "/report.pdf");
            printer.Print("Half a page", true);
            printer.Line(0, 0, 1000, 1000, Qt::black);
            if (abort)
                printer.Abort();
        }
        QVERIFY(FilesIn(dir.path()).isEmpty());
    }

    void pdfNamesCarryDateAndTimeAndNeverOverwrite() {
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 6), QTime(14, 5, 33));
        const QString name = dir.path() + "/Masking layout 2026-12-06 14-05-33";
        QCOMPARE(ReportPdfPath(dir.path(), when), name + ".pdf");
        QFile(name + ".pdf").open(QIODevice::WriteOnly);
        QCOMPARE(ReportPdfPath(dir.path(), when), name + " (2).pdf");
        QFile(name + " (2).pdf").open(QIODevice::WriteOnly);
        QCOMPARE(ReportPdfPath(dir.path(), when), name + " (3).pdf");
    }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qt_printer.moc"
