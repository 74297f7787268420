// How typed texts become numbers and numbers become the texts of the result lines and the
// printed report: leading-number reading, rounding of halves to even, the signed text and the
// report's number patterns with their halves away from zero.
#include "core/number_text.h"

#include <QtTest>

#include <cmath>
#include <string>

class TestNumberText : public QObject {
    Q_OBJECT
  private slots:
    void typedTextReadsItsLeadingNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        const struct {
            const char* text;
            double value;
        } rows[] = {{"12.6", 12.6}, {"1 2", 12},    {"12a3", 12}, {"a12", 0},  {".", 0},
                    {"0020", 20},   {"1.2.3", 1.2}, {" 12 ", 12}, {"", 0},     {"-5", -5},
                    {"+7", 7},      {"\t1\n2", 12}, {"1e3", 1},   {"0x1A", 0}, {".5", 0.5},
                    {"5.", 5},      {"- 5", -5},    {"+-5", 0},   {"1,5", 1},  {"12 .5", 12.5}};
        for (const auto& r : rows)
            QTest::newRow(QByteArray(r.text).replace('\t', "\\t").replace('\n', "\\n"))
                << QByteArray(r.text) << r.value;
    }
    void typedTextReadsItsLeadingNumber() {
        QFETCH(QByteArray, text);
        QTEST(ReadLeadingNumber(std::string_view(text.constData(), text.size())), "value");
    }

    void overlongDigitRunsReadWithoutFailing() {
        const std::string nines(400, '9');
        QVERIFY(ReadLeadingNumber(nines) > 1e300 && ReadLeadingNumber("-" + nines) < -1e300);
        const double tiny = ReadLeadingNumber("0." + std::string(400, '0') + "1");
        QVERIFY(tiny >= 0 && tiny < 1e-300);
        QCOMPARE(ReadLeadingNumber(std::string(400, '0') + "7"), 7.0);
    }

    void halvesRoundToTheEvenNeighbour() {
        const double rows[][2] = {{2.5, 2},   {3.5, 4},   {12.5, 12},  {13.5, 14},  {0.5, 0},
                                  {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}, {7, 7}};
        for (const auto& r : rows)
            QVERIFY2(RoundHalfEven(r[0]) == r[1], qPrintable(QString::number(r[0])));
    }

    void signedTextLeavesABlankForTheSign() {
        QCOMPARE(SignedText(std::int64_t{4}), " 4");
        QCOMPARE(SignedText(std::int64_t{0}), " 0");
        QCOMPARE(SignedText(std::int64_t{-3}), "-3");
        QCOMPARE(SignedText(std::int64_t{3000000000}), " 3000000000");
        // clang-format off
        const std::pair<float, const char*> floats[] = {
            {3.5f, " 3.5"}, {0.5f, " 0.5"}, {5.0f, " 5"}, {0.0f, " 0"}, {4150.5f, " 4150.5"},
            {123456.5f, " 123456.5"}, {1234567.5f, " 1234568"}, {1e7f, " 10000000"}};
        // clang-format on
        for (const auto& [x, text] : floats)
            QCOMPARE(SignedText(x), text);
    }

    void reportPatternsRoundHalvesAwayFromZero() {
        // clang-format off
        const struct { const char* pattern; double x; const char* text; } rows[] = {
            {"####0", 0, "0"}, {"####0", 4150.5, "4151"}, {"####0", 4150.4, "4150"},
            {"####0", 2.5, "3"}, {"####0", 300000, "300000"}, {"###0", 999.5, "1000"},
            {"##0", 0.5, "1"},   {"#0", 3647, "3647"},  {"#0", 0, "0"},        {"####", 0, ""},
            {"####", 0.4, ""},   {"####", 0.5, "1"},    {"####", 12, "12"},    {"#0.0", 0.5, "0.5"},
            {"#0.0", 12, "12.0"}, {"#0.0", 0, "0.0"}, {"#0.0", 3.45f, "3.5"}, {"#0.0", 0.15f, "0.2"},
            {"#0.0", 2.25, "2.3"}, {"#0.0", 0.04, "0.0"},
            {"##.0", 0.5, ".5"},  {"##.0", 0, ".0"},    {"##.0", 9, "9.0"},   {"##.0", 0.94, ".9"},
            {"##.0", 0.96, "1.0"}, {"##.0", 12.25, "12.3"}};
        // clang-format on
        for (const auto& r : rows)
            QVERIFY2(PatternText(r.pattern, r.x) == r.text,
                     qPrintable(QString("%1 %2").arg(r.pattern).arg(r.x)));
    }

    void trimRemovesOnlyOuterBlanksAndLowerOnlyAscii() {
        QCOMPARE(Trim("  a b  "), "a b");
        QCOMPARE(Trim("   "), "");
        QCOMPARE(Trim("\tx\t"), "\tx\t");
        QCOMPARE(Lower("Mineral Tile \xC3\x89"), "mineral tile \xC3\x89");
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
