// How typed texts become numbers and numbers become the texts of the result lines and the
// printed report: leading-number reading, rounding of halves to even, the signed text and the
// report's number patterns.
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
        } rows[] = {
            {"12.6", 12.6}, {"1 2", 12},  {"12a3", 12},    {"a12", 0},
            {".", 0},       {"0020", 20}, {"1.2.3", 1.2},  {" 12 ", 12},
            {"", 0},        {"-5", -5},   {"+7", 7},       {"\t1\n2", 12},
            {"1e3", 1},     {"0x1A", 0},  {".5", 0.5},     {"5.", 5},
            {"-", 0},       {"- 5", -5},  {"5-3", 5},      {"+-5", 0},
            {"-.5", -0.5},  {"1,5", 1},   {"12 .5", 12.5}, {"4150.5", 4150.5},
        };
        for (const auto& r : rows)
            QTest::newRow(QByteArray(r.text).replace('\t', "\\t").replace('\n', "\\n"))
                << QByteArray(r.text) << r.value;
    }
    void typedTextReadsItsLeadingNumber() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QCOMPARE(ReadLeadingNumber(std::string_view(text.constData(), text.size())), value);
    }

    void overlongDigitRunsReadWithoutFailing() {
        const std::string nines(400, '9');
        const double big = ReadLeadingNumber(nines);
        QVERIFY(std::isinf(big) || big > 1e300);
        QVERIFY(ReadLeadingNumber("-" + nines) < -1e300);
        // A tiny fraction is nearly zero, not infinitely large.
        const double tiny = ReadLeadingNumber("0." + std::string(400, '0') + "1");
        QVERIFY(tiny >= 0 && tiny < 1e-300);
        QCOMPARE(ReadLeadingNumber(std::string(400, '0') + "7"), 7.0);
    }

    void halvesRoundToTheEvenNeighbour_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("rounded");
        const double rows[][2] = {{2.5, 2},    {3.5, 4},    {12.5, 12},     {13.5, 14},
                                  {0.5, 0},    {1.5, 2},    {-2.5, -2},     {-3.5, -4},
                                  {2.4999, 2}, {2.5001, 3}, {4150.5, 4150}, {7, 7}};
        for (const auto& r : rows)
            QTest::addRow("%g", r[0]) << r[0] << r[1];
    }
    void halvesRoundToTheEvenNeighbour() {
        QFETCH(double, x);
        QFETCH(double, rounded);
        QCOMPARE(RoundHalfEven(x), rounded);
    }

    void signedTextLeavesABlankForTheSign_data() {
        QTest::addColumn<bool>("isFloat");
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        QTest::newRow("4") << false << 4.0 << " 4";
        QTest::newRow("0") << false << 0.0 << " 0";
        QTest::newRow("-3") << false << -3.0 << "-3";
        QTest::newRow("beyond 32 bits") << false << 3e9 << " 3000000000";
        QTest::newRow("3.5f") << true << 3.5 << " 3.5";
        QTest::newRow("0.5f") << true << 0.5 << " 0.5";
        QTest::newRow("whole float") << true << 5.0 << " 5";
        QTest::newRow("zero float") << true << 0.0 << " 0";
        QTest::newRow("4150.5f") << true << 4150.5 << " 4150.5";
        QTest::newRow("7 digits") << true << 123456.5 << " 123456.5";
        QTest::newRow("8 digits rounded to 7") << true << 1234567.5 << " 1234568";
        QTest::newRow("ten million") << true << 1e7 << " 10000000";
    }
    void signedTextLeavesABlankForTheSign() {
        QFETCH(bool, isFloat);
        QFETCH(double, x);
        QFETCH(QString, text);
        const std::string got =
            isFloat ? SignedText(static_cast<float>(x)) : SignedText(static_cast<std::int64_t>(x));
        QCOMPARE(QString::fromStdString(got), text);
    }

    void reportPatternsRoundHalvesAwayFromZero_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("text");
        const struct {
            const char* pattern;
            double x;
            const char* text;
        } rows[] = {
            // clang-format off
            {"####0", 0, "0"},     {"####0", 4150.5, "4151"}, {"####0", 4150.4, "4150"},
            {"####0", 2.5, "3"},   {"####0", 300000, "300000"}, {"####0", -0.4, "0"},
            {"###0", 999.5, "1000"}, {"##0", 0.5, "1"},       {"#0", 3647, "3647"},
            {"#0", 0, "0"},        {"####", 0, ""},           {"####", 0.4, ""},
            {"####", 0.5, "1"},    {"####", 12, "12"},        {"#0.0", 0.5, "0.5"},
            {"#0.0", 12, "12.0"},  {"#0.0", 0, "0.0"},        {"#0.0", 3.45f, "3.5"},
            {"#0.0", 0.15f, "0.2"}, {"#0.0", 2.25, "2.3"},    {"#0.0", 0.04, "0.0"},
            {"#0.0", 4150.5, "4150.5"}, {"##.0", 0.5, ".5"},  {"##.0", 0, ".0"},
            {"##.0", 9, "9.0"},    {"##.0", 0.94, ".9"},      {"##.0", 0.96, "1.0"},
            {"##.0", 12.25, "12.3"},
            // clang-format on
        };
        for (const auto& r : rows)
            QTest::addRow("%s %g", r.pattern, r.x) << r.pattern << r.x << r.text;
    }
    void reportPatternsRoundHalvesAwayFromZero() {
        QFETCH(QString, pattern);
        QFETCH(double, x);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(PatternText(pattern.toStdString(), x)), text);
    }

    void trimRemovesOnlyOuterBlanksAndLowerOnlyAscii() {
        QCOMPARE(Trim("  a b  "), std::string("a b"));
        QCOMPARE(Trim("   "), std::string());
        QCOMPARE(Trim("\tx\t"), std::string("\tx\t"));
        QCOMPARE(Lower("Mineral Tile \xC3\x89"), std::string("mineral tile \xC3\x89"));
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
