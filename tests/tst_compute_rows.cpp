#include "core/compute_rows.h"
#include "core/unit_data.h"

#include <QtTest>

class TestComputeRows : public QObject {
    Q_OBJECT
  private slots:
    void accessFloorFeet() {
        DesignState s;
        s.MeasFeet = true;
        LoadUnitTables(s);
        s.MaskLoc = AccessFloor;
        std::int32_t rows = 0, spc = 0;
        float half = 0;
        QVERIFY(ComputeRows(s, 40, rows, spc, half));
        QCOMPARE(rows, 3);
    }
};

QTEST_GUILESS_MAIN(TestComputeRows)
#include "tst_compute_rows.moc"
