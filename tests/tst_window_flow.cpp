// The window driven as a user drives it: start state, unit choice, a whole design to Calculate.
#include "window_fixture.h"

#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

class TestWindowFlow : public QObject {
    Q_OBJECT
  private slots:
    void smoke() {
        WindowFixture w;
        MainForm& f = w.form();
        QCOMPARE(w.note(), QString("Choose the measurement system."));
        w.chooseUnits(true);
        QVERIFY(f.FramMasking->isVisible());
        QVERIFY(f.ListPlenum->hasFocus());
        w.pick(f.ListPlenum, 0);
        w.pick(f.ListCeil, 0);
        w.pick(f.ListCeilHt, 0);
        QVERIFY(f.FramRoom->isVisible());
        QVERIFY(f.TxtLeng->hasFocus());
        w.click(f.ChkBatts);
        qDebug() << w.note() << w.line(1) << w.line(2) << w.line(3) << w.line(4);
        w.enterRoom("40", "25");
        QVERIFY(f.CmdCalculate->hasFocus());
        qDebug() << w.note();
        w.click(f.CmdCalculate);
        for (int i = 1; i <= 4; ++i)
            qDebug() << w.line(i);
        if (qEnvironmentVariableIsSet("MSL_SHOT"))
            f.grab().save(qEnvironmentVariable("MSL_SHOT"));
    }
};

QTEST_MAIN(TestWindowFlow)
#include "tst_window_flow.moc"
