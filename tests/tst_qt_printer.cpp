// The real printer device, writing PDFs: one valid page when the document ends, nothing left
// behind when it is abandoned or fails, font metrics at the sizes the report sets, and the page
// painted where the report put its shapes.
#include "core/unit_data.h"
#include "output/print_report.h"
#include "output/qt_printer_device.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class AnswerAlways : public MessageBoxes {
  public:
    explicit AnswerAlways(MsgAnswer answer) : m_answer(answer) {}
    MsgAnswer Show(const std::string& text, MsgIcon, const std::string&, MsgButtons) override {
        shown.push_back(text);
        // A run that kept failing would ask for ever; Cancel after a few.
        return shown.size() < 5 ? m_answer : MsgAnswer::Cancel;
    }
    std::vector<std::string> shown;

  private:
    MsgAnswer m_answer;
};

DesignState FeetExample() {
    DesignState s;
    s.MeasFeet = true;
    LoadUnitTables(s);
    s.MaskLoc = AboveCeiling;
    s.PlenumSel = 2;
    s.CeilSel = 3;
    s.CeilHtSel = 1;
    s.Descr = "Open office";
    s.Leng = 40;
    s.Wid = 25;
    s.LRow = 4;
    s.LSpc = 10;
    s.LHalfSpc = 5;
    s.WRow = 3;
    s.WSpc = 9;
    s.WHalfSpc = 3.5f;
    return s;
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool Dark(QColor c) {
    return c.lightness() < 100;
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
  private slots:
    void reportBecomesOnePdfPage() {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/Documents";
        const QString path = folder + "/Masking layout.pdf";
        {
            QtPrinterDevice printer(path);
            AnswerAlways boxes(MsgAnswer::Cancel);
            QCOMPARE(PrintReport(printer, FeetExample(), boxes), PrintOutcome::Printed);
            QVERIFY(boxes.shown.empty());
        }
        QCOMPARE(FilesIn(folder), QStringList{"Masking layout.pdf"});
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        const QRegularExpression page("/Type\\s*/Page(?!s)");
        QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
    }

    void abandonedDocumentLeavesNoFile_data() {
        QTest::addColumn<bool>("abort");
        QTest::newRow("aborted") << true;
        QTest::newRow("dropped without ending") << false;
    }
    void abandonedDocumentLeavesNoFile() {
        QFETCH(bool, abort);
        QTemporaryDir dir;
        {
            QtPrinterDevice printer(dir.path() + "/report.pdf");
            printer.SetCurrentY(500);
            printer.Print("Half a page", true);
            printer.Line(0, 0, 1000, 1000, Qt::black);
            if (abort)
                printer.Abort();
        }
        QVERIFY(FilesIn(dir.path()).isEmpty());
    }

    void unwritableFolderFailsWithItsDescription() {
        QTemporaryDir dir;
        QFile blocker(dir.path() + "/not a folder");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QtPrinterDevice printer(blocker.fileName() + "/report.pdf");
        AnswerAlways boxes(MsgAnswer::Retry);
        QCOMPARE(PrintReport(printer, FeetExample(), boxes), PrintOutcome::Cancelled);
        QCOMPARE(boxes.shown.size(), std::size_t(5));
        QCOMPARE(boxes.shown.front(),
                 "Path not found (" + blocker.fileName().toStdString() + ") error occurred.");
        QCOMPARE(FilesIn(dir.path()), QStringList{"not a folder"});
    }

    void pdfNamesCarryDateAndTimeAndNeverOverwrite() {
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 6), QTime(14, 5, 33));
        const QString first = dir.path() + "/Masking layout 2026-12-06 14-05-33.pdf";
        QCOMPARE(ReportPdfPath(dir.path(), when), first);
        QFile(first).open(QIODevice::WriteOnly);
        QCOMPARE(ReportPdfPath(dir.path(), when),
                 dir.path() + "/Masking layout 2026-12-06 14-05-33 (2).pdf");
        QFile(dir.path() + "/Masking layout 2026-12-06 14-05-33 (2).pdf")
            .open(QIODevice::WriteOnly);
        QCOMPARE(ReportPdfPath(dir.path(), when),
                 dir.path() + "/Masking layout 2026-12-06 14-05-33 (3).pdf");
    }

    // A quarter-inch margin on a letter or A4 page; text as wide and lines as high as the
    // printer's own font makes them at 10 and 14 points.
    void metricsFollowTheFontSize() {
        QTemporaryDir dir;
        QtPrinterDevice printer(dir.path() + "/m.pdf");
        const double width = printer.ScaleWidth();
        QVERIFY2(width > 11100 && width < 11600, qPrintable(QString::number(width)));
        const std::string text = "SPEAKER LAYOUT ARRAY";
        printer.SetFontSize(10);
        const double at10 = printer.TextWidth(text);
        printer.SetFontSize(14);
        const double at14 = printer.TextWidth(text);
        QVERIFY(at10 > 1500 && at10 < 3500);
        QVERIFY(std::abs(at14 / at10 - 1.4) < 0.05);
        printer.SetFontBold(true);
        QVERIFY(printer.TextWidth(text) > at14);

        printer.SetCurrentX(1000);
        printer.SetCurrentY(500);
        printer.Print(text, false);
        QCOMPARE(printer.CurrentX(), 1000 + printer.TextWidth(text));
        QCOMPARE(printer.CurrentY(), 500.0);
        printer.Print(text, true);
        QCOMPARE(printer.CurrentX(), 0.0);
        const double line14 = printer.CurrentY() - 500;
        QVERIFY(line14 >= 280 && line14 < 420);
        printer.SetFontSize(10);
        printer.Print(text, true);
        const double line10 = printer.CurrentY() - 500 - line14;
        QVERIFY(line10 >= 200 && line10 < 300);
        printer.Abort();
    }

    // The page the PDF holds, painted at 144 dpi: dots at the speakers, white between them
    // and ink in the title.
    void paintedPageShowsSpeakersAndText() {
        QTemporaryDir dir;
        QtPrinterDevice printer(dir.path() + "/r.pdf");
        AnswerAlways boxes(MsgAnswer::Cancel);
        QCOMPARE(PrintReport(printer, FeetExample(), boxes), PrintOutcome::Printed);
        const std::vector<PageItem>& items = printer.Items();

        QImage image(1224, 1584, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(144 / 0.0254));
        image.setDotsPerMeterY(qRound(144 / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintPage(painter, items, QGuiApplication::font());
        }
        const double perTwip = image.logicalDpiX() / 1440.0;
        const auto pixel = [&](double x, double y) {
            return image.pixelColor(qRound(x * perTwip), qRound(y * perTwip));
        };
        int dots = 0;
        for (const PageItem& item : items) {
            if (item.kind != PageItem::Kind::Circle)
                continue;
            ++dots;
            QVERIFY(Dark(pixel(item.x1, item.y1)));
            QVERIFY(Dark(pixel(item.x1 + 60, item.y1)));
            QCOMPARE(pixel(item.x1 + 1000, item.y1 + 700), QColor(Qt::white));
        }
        QCOMPARE(dots, 12);

        const PageItem& title = items.front();
        QCOMPARE(title.text, " MASKING SPEAKER LAYOUT ");
        int ink = 0;
        for (int y = 0; y < 200; y += 10)
            for (int x = 0; x < 4000; x += 10)
                ink += Dark(pixel(title.x1 + x, title.y1 + y)) ? 1 : 0;
        QVERIFY(ink > 50);
    }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qt_printer.moc"
