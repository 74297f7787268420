// The commissioning form, positions worked out by hand with the fixed metrics: the 10500-twip
// table stands 870 twips in on Letter (12240 wide) and 702.8 on A4 (11905.5); under a 288 + 2 x
// 240 + 120 twip heading from 720, the header row is 480 high and the 432-twip rows start at
// 2088. To 720 above the bottom, Letter (15840) holds 30 rows and A4 (16837.8) 32.
#include "output/commissioning_sheet.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

static CommissioningInput Form(FormPaper paper, int points) {
    CommissioningInput in{"level2.dxf", "2026-12-07",
                          "ft",         "+-0.5 dBA overall, +-2 dB per third-octave band",
                          {},           paper};
    for (int n = 1; n <= points; ++n)
        in.points.push_back({"TP" + std::to_string(n), "Office", "open", 1, 2, "45-48 dBA"});
    return in;
}

// A page's texts from y from to y to as "x,y text" or, without positions, as the texts alone.
static QStringList Texts(const std::vector<PageItem>& page, double from, double to,
                         bool positions = true) {
    QStringList rows;
    for (const PageItem& i : page)
        if (const auto* t = std::get_if<PageText>(&i); t && t->y >= from && t->y < to)
            rows << (positions ? QString("%1,%2 ").arg(t->x).arg(t->y) : "") +
                        QString::fromStdString(t->text);
    return rows;
}

class TestCommissioningSheet : public QObject {
    Q_OBJECT
  private slots:
    // A full page takes the last row that fits; one row more starts a page of its own. Every
    // page repeats the heading, its number right-aligned to the table (11 characters, 1320
    // twips at 10 pt), and the header row.
    void rowsBreakToTheNextPageUnderTheHeaderRowAgain() {
        // clang-format off
        const struct { FormPaper paper; int points; QString pageNumber; QStringList lastPageRows; } cases[] = {
            {FormPaper::Letter, 0, "10050,720 page 1 of 1", {}},
            {FormPaper::Letter, 30, "10050,720 page 1 of 1", {"930,2208 TP1", "930,14736 TP30"}},
            {FormPaper::Letter, 31, "10050,720 page 2 of 2", {"930,2208 TP31"}},
            {FormPaper::Letter, 61, "10050,720 page 3 of 3", {"930,2208 TP61"}},
            {FormPaper::A4, 33, "9883,720 page 2 of 2", {"763,2208 TP33"}},
        };
        const QString heading = "Commissioning test points: level2.dxf|page %1 of %2|Date: 2026-12-07   Unit: ft|"
            "Tolerance: +-0.5 dBA overall, +-2 dB per third-octave band|point|room|x|(ft)|y|(ft)|space|target|"
            "measured|dBA|bands within|+-2 dB|adjusted|by|date";
        // clang-format on
        for (const auto& c : cases) {
            const auto pages = ComposeCommissioningPages(Form(c.paper, c.points), FixedMetrics());
            for (std::size_t page = 0; page < pages.size(); ++page)
                QCOMPARE(Texts(pages[page], 0, 2088, false).join('|'),
                         heading.arg(page + 1).arg(pages.size()));
            const QStringList texts = Texts(pages.back(), 0, 1e9);
            QVERIFY(texts.contains(c.pageNumber));
            const QStringList points = texts.filter(QRegularExpression(" TP[0-9]+$"));
            const QStringList ends{points.value(0), points.value(points.size() - 1)};
            QCOMPARE(points.size() > 1 ? ends : points, c.lastPageRows);
        }
    }

    // A row's text 120 twips down its 432, each 60 in from its cell's left; a cell holds its
    // width less 120 twips: 14 characters of room (1380), 8 of a number (780), 9 of space and
    // target (900). Longer texts keep what fits before an ellipsis; numbers take one decimal.
    // The grid boxes every cell of the header row and the row.
    void rowCellsAreCutToTheirBoxes() {
        // clang-format off
        const struct { CommissioningPoint point; QString row; } cases[] = {
            {{"TP1", "Reception desk", "open", 12.5, -3, "45-48 dBA"},
             "930,2208 TP1|1530,2208 Reception desk|3030,2208 12.5|3930,2208 -3.0|4830,2208 open|5850,2208 45-48 dBA"},
            {{"TP2", "Reception desks", "conference", 123456.74, -0.04, "40-44 dBA"},
             "930,2208 TP2|1530,2208 Reception des\u2026|3030,2208 123456.7|3930,2208 0.0|4830,2208 conferen\u2026|5850,2208 40-44 dBA"},
        };
        // clang-format on
        QStringList grid{"870,1608-11370,1608", "870,2088-11370,2088", "870,2520-11370,2520"};
        for (int x : {870, 1470, 2970, 3870, 4770, 5790, 6810, 7770, 9090, 9990, 10590, 11370})
            grid << QString("%1,1608-%1,2520").arg(x);
        for (const auto& c : cases) {
            CommissioningInput in = Form(FormPaper::Letter, 0);
            in.points = {c.point};
            const auto pages = ComposeCommissioningPages(in, FixedMetrics());
            QCOMPARE(Texts(pages[0], 2088, 1e9).join('|'), c.row);
            QStringList lines;
            for (const PageItem& i : pages[0])
                if (const auto* l = std::get_if<PageLine>(&i))
                    lines << QString::asprintf("%g,%g-%g,%g", l->x1, l->y1, l->x2, l->y2);
            QCOMPARE(lines, grid);
        }
    }

    // The PDF has a page of the paper for each page composed, as the user's own tools read it.
    void pdfHasAPageOfThePaperForEachPage() {
        for (const auto& [paper, points, info] :
             {std::tuple{FormPaper::Letter, 45, "Pages: +2\n(.*\n)*Page size: +612 x 792 pts"},
              std::tuple{FormPaper::A4, 70, "Pages: +3\n(.*\n)*Page size: +595 x 842 pts"}}) {
            QTemporaryFile file;
            QVERIFY(file.open() && file.write(CommissioningPdf(Form(paper, points), "Form")) > 0 &&
                    file.flush());
            QProcess pdfinfo;
            pdfinfo.start("pdfinfo", {file.fileName()});
            QVERIFY(pdfinfo.waitForFinished() && pdfinfo.exitCode() == 0);
            QVERIFY(QString(pdfinfo.readAllStandardOutput()).contains(QRegularExpression(info)));
        }
    }
};

QTEST_MAIN(TestCommissioningSheet)
#include "tst_commissioning_sheet.moc"
