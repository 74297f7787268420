// A randomized user: seeded sequences of whatever a person can do with the window (clicks and
// double clicks anywhere, typing and pasting any characters, the keys that move the focus, list
// picks, ticks, Calculate, printing on a printer that may fail, a change of unit system midway),
// with the window's promises checked after every action. A broken promise names its seed, its
// action and the actions before it; MSL_SEED=<seed> MSL_SEQUENCES=1 replays that sequence alone
// (MSL_ACTIONS sets the length of a sequence, for longer searches by hand).
#include "window_fixture.h"

#include "core/calculate.h"
#include "core/compute_rows.h"
#include "core/entry.h"
#include "ui/frame_box.h"
#include "ui/room_picture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <thread>
#include <tuple>

namespace {

constexpr std::uint64_t kBaseSeed = 20261206;
constexpr int kSequences = 2000;
constexpr int kActions = 60;
// A user action and everything it sets off must be over within this many event rounds.
constexpr int kMostEventRounds = 50;
constexpr std::size_t kMostBoxesPerAction = 8;

const QString kResultsCaption = "Design Results";

// What a Calculate depends on besides the room: a change of any of these must take the results
// off the screen.
auto ConditionsOf(const DesignState& s) {
    return std::make_tuple(s.MeasFeet, s.MaskLoc, s.PlenumSel, s.CeilSel, s.CeilHtSel, s.BattsSel,
                           s.StructHt);
}

auto ResultsOf(const DesignState& s) {
    return std::make_tuple(s.LRow, s.LSpc, s.LHalfSpc, s.WRow, s.WSpc, s.WHalfSpc);
}

bool NoResults(const DesignState& s) {
    return ResultsOf(s) == decltype(ResultsOf(s)){};
}

// The design state right after the last Calculate and the lines it should have shown.
struct LastCalculate {
    bool done = false;
    DesignState state;
    std::array<std::string, 4> lines;
};

bool IsResultLine(const std::string& line) {
    return line.rfind("Length: ", 0) == 0 || line.find("Width: There") != std::string::npos ||
           line.find("masking speaker") != std::string::npos ||
           line.rfind("Estimated length of zone wiring", 0) == 0;
}

// What a Calculate that took place must have left: the longer side as the length, and for each
// dimension edge + (rows - 1) x spacing + edge = the dimension, as the design rule gives them.
std::string CalculateFault(const DesignState& s) {
    const auto fills = [](std::int32_t dimen, std::int32_t rows, std::int32_t spc, float edge) {
        return rows >= 1 && (rows == 1) == (spc == 0) && edge >= 0 &&
               2.0 * edge + (rows - 1.0) * spc == dimen;
    };
    if (s.Leng < s.Wid)
        return "the width is longer than the length after Calculate";
    if (!fills(s.Leng, s.LRow, s.LSpc, s.LHalfSpc) || !fills(s.Wid, s.WRow, s.WSpc, s.WHalfSpc))
        return "the rows, spacing and edges do not fill the room";
    DesignState again = s;
    if (!ComputeDesign(again) || ResultsOf(again) != ResultsOf(s))
        return "the results are not those of the room and conditions calculated";
    return {};
}

bool WholeOrHalf(float x) {
    return x >= 0 && std::floor(2.0 * x) == 2.0 * x;
}

// Every promise the window keeps between two user actions; the first one broken, or empty.
std::string BrokenPromise(const MainForm& f, const LastCalculate& last) {
    const DesignState& s = f.State();
    const auto stored = [&](std::int32_t v, EntryBox box) {
        const EntryLimits l = LimitsFor(box, s.MeasFeet);
        return v == 0 || (v >= l.minimum && v <= l.maximum);
    };
    if (!stored(s.Leng, EntryBox::Length) || !stored(s.Wid, EntryBox::Width) ||
        !stored(s.StructHt, EntryBox::CeilingHeight))
        return "a stored entry is outside its limits: length " + std::to_string(s.Leng) +
               ", width " + std::to_string(s.Wid) + ", ceiling " + std::to_string(s.StructHt);
    if (s.MaskLoc < 1 || s.MaskLoc > 3 || s.PlenumSel < 0 || s.PlenumSel > 4 || s.CeilSel < 0 ||
        s.CeilSel > 5 || s.CeilHtSel < 0 || s.CeilHtSel > 2 || s.BattsSel < 0 || s.BattsSel > 2)
        return "a choice is outside its list";
    if (s.LRow < 0 || s.WRow < 0 || s.LSpc < 0 || s.WSpc < 0 || s.NomSpc < 0 ||
        !WholeOrHalf(s.LHalfSpc) || !WholeOrHalf(s.WHalfSpc))
        return "a result is negative or not a whole or half unit";

    std::array<std::string, 4> lines;
    for (int i = 1; i <= 4; ++i)
        lines[static_cast<std::size_t>(i - 1)] = f.LabList(i)->text().toStdString();
    const bool resultsCaption = f.FramDesign->Caption() == kResultsCaption;
    const bool showsLast = last.done && lines == last.lines;
    // A reset by a change of unit system zeroes the results; only a Calculate brings them back.
    if ((!last.done || s.MeasFeet != last.state.MeasFeet) && !NoResults(s))
        return "results are kept across a change of unit system";
    if (resultsCaption && showsLast && ResultsOf(s) != ResultsOf(last.state))
        return "the results behind the lines changed without a Calculate";
    // Result lines are those of the last Calculate under their caption, or none. The structural
    // height box clears the results on entry but leaves the caption as it is, so "Design Results"
    // may stand over blank lines or condition sentences, never over old results.
    for (const std::string& line : lines)
        if (IsResultLine(line) && (!resultsCaption || !showsLast || line.find('-') != line.npos))
            return "a result line that no Calculate shows now: " + line;
    if (resultsCaption && !showsLast && !NoResults(s))
        return "results are kept while their lines are gone";
    const bool drawing = f.PicRoom->isVisibleTo(&f) && !f.PicRoom->Surface().Shapes().empty();
    if (last.done && ConditionsOf(s) != ConditionsOf(last.state) && (showsLast || drawing))
        return "a condition changed but its results are still shown";
    if (drawing) {
        const std::size_t shapes = static_cast<std::size_t>(
            last.state.LRow + last.state.WRow + std::int64_t{last.state.LRow} * last.state.WRow);
        if (!resultsCaption || !showsLast || f.PicRoom->Surface().Shapes().size() != shapes)
            return "the room picture shows a grid that is not that of the lines";
    }
    return {};
}

// Turns a hang in an endless chain of handlers into a failure that names the sequence.
class Watchdog {
  public:
    ~Watchdog() {
        m_stop = true;
        m_thread.join();
    }
    void At(std::uint64_t seed, int action) {
        m_seed = seed;
        m_action = action;
        ++m_ticks;
    }

  private:
    void Watch() {
        for (long seen = -1, still = 0; !m_stop; ++still) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (m_ticks != seen)
                seen = m_ticks, still = 0;
            if (still < 300)
                continue;
            std::fprintf(stderr,
                         "stuck: seed %llu, action %d (replay: MSL_SEED=%llu MSL_SEQUENCES=1)\n",
                         static_cast<unsigned long long>(m_seed), m_action.load(),
                         static_cast<unsigned long long>(m_seed));
            std::abort();
        }
    }
    std::atomic<std::uint64_t> m_seed{0};
    std::atomic<int> m_action{0};
    std::atomic<long> m_ticks{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread{[this] { Watch(); }};
};

struct Tally {
    long actions = 0, calculates = 0, prints = 0, printerFailures = 0, boxes = 0, exits = 0;
};

class RandomUser {
  public:
    RandomUser(std::uint64_t seed, Tally& tally) : m_rng(seed), m_tally(tally) {
        m_form = std::make_unique<MainForm>(m_boxes, m_keys, m_queue, m_printing);
        // Runs after the window's own Calculate handler.
        QObject::connect(m_form->CmdCalculate, &QPushButton::clicked, m_form.get(),
                         [this] { Calculated(); });
        m_form->show();
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form.get()))
            m_fault = "the window did not become active";
        Settle();
    }

    // Performs one random action and checks every promise; returns the first broken one.
    std::string Step() {
        if (!m_fault.empty())
            return m_fault;
        const std::size_t boxesBefore = m_boxes.shown.size();
        m_done.push_back(Act());
        ++m_tally.actions;
        m_boxes.answers.clear();
        m_printing.prepare = nullptr;
        Settle();
        m_tally.boxes += static_cast<long>(m_boxes.shown.size() - boxesBefore);
        if (m_fault.empty() && m_boxes.shown.size() - boxesBefore > kMostBoxesPerAction)
            m_fault = "an action raised an endless run of message boxes";
        if (m_fault.empty())
            m_fault = BrokenPromise(*m_form, m_last);
        return m_fault;
    }
    bool Closed() const { return !m_form->isVisible(); }
    const std::vector<std::string>& Done() const { return m_done; }

  private:
    template <typename T> T Uniform(T lo, T hi) {
        return std::uniform_int_distribution<T>(lo, hi)(m_rng);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    template <typename C> auto Any(const C& items) {
        return items[Uniform<std::size_t>(0, std::size(items) - 1)];
    }

    void Settle() {
        for (int round = 0; round < kMostEventRounds && !m_queue.IsIdle(); ++round)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (m_fault.empty() && !m_queue.IsIdle())
            m_fault = "queued handlers and keystrokes never drained";
    }

    void Calculated() {
        const DesignState& s = m_form->State();
        if (m_form->FramDesign->Caption() != kResultsCaption || s.Leng <= 0 || s.Wid <= 0 ||
            !NominalSpacing(s))
            return; // Calculate had nothing to compute
        ++m_tally.calculates;
        m_last = {true, s, ResultLines(s)};
        const std::string fault = CalculateFault(s);
        if (m_fault.empty() && !fault.empty())
            m_fault = fault;
    }

    QWidget* FocusTarget() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : m_form.get();
    }

    std::vector<QWidget*> Usable(std::initializer_list<QWidget*> controls) const {
        std::vector<QWidget*> usable;
        for (QWidget* w : controls)
            if (w->isVisible() && w->isEnabled())
                usable.push_back(w);
        return usable;
    }

    // Whatever a pointer at this spot of the control reaches: another control may lie on top.
    std::pair<QWidget*, QPoint> Hit(QWidget* control, QPoint local) const {
        const QPoint inForm = control->mapTo(m_form.get(), local);
        QWidget* hit = m_form->childAt(inForm);
        if (!hit)
            hit = m_form.get();
        return {hit, hit->mapFrom(m_form.get(), inForm)};
    }

    QPoint SomewhereIn(QWidget* w) {
        // Often where a button's box or text starts, otherwise anywhere on the control.
        if (Chance(0.5))
            return {Uniform(2, 14), w->height() / 2};
        return {Uniform(0, w->width() - 1), Uniform(0, w->height() - 1)};
    }

    std::string Click(QWidget* control, QPoint local, bool twice = false) {
        const auto [hit, at] = Hit(control, local);
        const bool ctrl = Chance(0.08); // takes a pick away from a list
        const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        if (twice)
            QTest::mouseDClick(hit, Qt::LeftButton, mods, at);
        else
            QTest::mouseClick(hit, Qt::LeftButton, mods, at);
        return std::string(ctrl ? "Ctrl+" : "") + (twice ? "double-click " : "click ") +
               hit->objectName().toStdString() + " at " + std::to_string(at.x()) + "," +
               std::to_string(at.y());
    }

    // A user seldom presses Exit by accident; a key that would press it usually becomes a Tab.
    bool SparesExit(int key) {
        return FocusTarget() == m_form->CmdDone && !Chance(0.05) &&
               (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
    }

    std::string Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        if (SparesExit(key))
            key = Qt::Key_Tab;
        QWidget* target = FocusTarget();
        QTest::keyClick(target, key, mods);
        return "key " + QKeySequence(key | mods).toString().toStdString() + " in " +
               target->objectName().toStdString();
    }

    std::string Type(const std::string& text) {
        // Each character goes to whatever has the focus when it is typed.
        for (const char c : text)
            QTest::keyClick(FocusTarget(), SparesExit(c == ' ' ? Qt::Key_Space : 0) ? '\t' : c);
        return "type \"" + text + "\"";
    }

    std::string Number() {
        const bool feet = m_form->State().MeasFeet;
        const int digits = Uniform(1, feet ? 4 : 6);
        std::string text = std::to_string(Uniform<long>(0, std::lround(std::pow(10, digits)) - 1));
        if (Chance(0.2))
            text += "." + std::to_string(Uniform(0, 9));
        return text;
    }

    std::string Characters() {
        static const std::string kinds[] = {"0123456789", ".", "abcxyzAEZ", " ", "+-", "\t,;/"};
        std::string text;
        for (int n = Uniform(1, 6); n > 0; --n)
            text += Any(Any(kinds));
        return text;
    }

    std::string Paste() {
        // clang-format off
        static const char* const texts[] = {
            "a12", "12a3", " 1 2 ", "1e5", "0x1F", "-5", "+7", "1.2.3", ".", "", "2.5", "12.5",
            "3599", "99999999999999999999999", "300001", "1000", "4", "\t12\n", "１２",
            "2147483648", "-0", "0000000000000000000000000000000017"};
        // clang-format on
        const std::string text = Any(texts);
        QWidget* target = FocusTarget();
        auto* box = qobject_cast<QLineEdit*>(target);
        if (box && Chance(0.5)) {
            box->insert(QString::fromStdString(text));
            return "insert \"" + text + "\" in " + target->objectName().toStdString();
        }
        QGuiApplication::clipboard()->setText(QString::fromStdString(text));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        return "paste \"" + text + "\" in " + target->objectName().toStdString();
    }

    // A printer for the next print run that may refuse an operation, and the answers to give.
    void MaybeFailingPrinter() {
        if (!Chance(0.3))
            return;
        const long at = Uniform(1L, 200L);
        const int times = Any(std::array<int, 3>{1, 2, -1});
        m_printing.prepare = [this, at, times](RecordingPrinter& p) {
            p.FailAt(at, times, "Printer out of paper");
            ++m_tally.printerFailures;
        };
        for (int n = Uniform(0, 4); n > 0; --n)
            m_boxes.answers.push_back(Chance(0.7) ? MsgAnswer::Retry : MsgAnswer::Cancel);
    }

    std::string Act() {
        MainForm& f = *m_form;
        MaybeFailingPrinter();
        const int printsBefore = m_printing.runs;
        // What the user can do now, with how often a user does it.
        std::vector<double> weights;
        std::vector<std::function<std::string()>> actions;
        const auto can = [&](double weight, std::function<std::string()> action) {
            weights.push_back(weight);
            actions.push_back(std::move(action));
        };
        // The step the window leads to: Print, Print Results or Calculate.
        const auto steps = Usable({f.CmdPrt, f.CmdPrint, f.CmdCalculate});
        if (!steps.empty())
            can(10, [&] { return Click(steps.front(), steps.front()->rect().center()); });
        const auto controls =
            Usable({f.OptMeas(1), f.OptMeas(2), f.OptMask(1), f.OptMask(2), f.OptMask(3),
                    f.ChkBatts, f.ChkBattsOpen, f.CmdCalculate, f.CmdPrint, f.CmdPrt, f.TxtLeng,
                    f.TxtWid, f.TxtCeilHt, f.TxtDescription});
        can(14, [&] {
            QWidget* control = Any(controls);
            return Click(control, SomewhereIn(control));
        });
        can(2, [&] { return Click(m_form.get(), SomewhereIn(m_form.get())); });
        can(0.1, [&] { return Click(f.CmdDone, f.CmdDone->rect().center()); });
        const auto twice = Usable(
            {f.OptMask(1), f.OptMask(2), f.OptMask(3), f.ListPlenum, f.TxtLeng, f.OptMeas(1)});
        if (!twice.empty())
            can(4, [&] {
                QWidget* control = Any(twice);
                return Click(control, SomewhereIn(control), true);
            });
        const auto lists = Usable({f.ListPlenum, f.ListCeil, f.ListCeilHt});
        if (!lists.empty())
            can(14, [&] {
                auto* list = static_cast<QListWidget*>(Any(lists));
                QListWidgetItem* item = list->item(Uniform(0, list->count() - 1));
                return item ? Click(list->viewport(), list->visualItemRect(item).center())
                            : "an empty list";
            });
        const auto boxes = Usable({f.TxtLeng, f.TxtWid, f.TxtCeilHt});
        if (!boxes.empty())
            can(16, [&] {
                QWidget* box = Any(boxes);
                std::string done = Click(box, box->rect().center()) + "; ";
                done += Press(Qt::Key_A, Qt::ControlModifier) + "; " + Type(Number()) + "; ";
                return done + Press(Chance(0.7) ? Qt::Key_Return : Qt::Key_Tab);
            });
        can(8, [&] { return Type(Characters()); });
        can(1.5, [&] { return Type(std::string(Uniform<std::size_t>(20, 400), '9')); });
        can(6, [&] { return Paste(); });
        can(20, [&] {
            static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Tab,    Qt::Key_Backtab,
                                           Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Backspace,
                                           Qt::Key_Delete, Qt::Key_Space,  Qt::Key_Home,
                                           Qt::Key_End,    Qt::Key_Escape, Qt::Key_Enter};
            return Chance(0.1) ? Press(Qt::Key_A, Qt::ControlModifier) : Press(Any(keys));
        });
        std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
        const std::string done = actions[pick(m_rng)]();
        if (m_printing.runs != printsBefore) {
            ++m_tally.prints;
            if (!m_printing.last->Ended() && !m_printing.last->Aborted() && m_fault.empty())
                m_fault = "a print run neither ended nor was abandoned";
        }
        if (Closed())
            ++m_tally.exits;
        return done;
    }

    std::mt19937_64 m_rng;
    Tally& m_tally;
    HandlerQueue m_queue;
    QueuedKeys m_keys{m_queue};
    RecordingBoxes m_boxes;
    RecordingPrinting m_printing;
    std::unique_ptr<MainForm> m_form;
    LastCalculate m_last;
    std::vector<std::string> m_done;
    std::string m_fault;
};

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? fallback : value.toULongLong();
}

} // namespace

class TestRandomUser : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    // Found by the random user: a click that leaves a condition as it was (a tick left from an
    // earlier location, an item picked again after Ctrl+click took it away) wrote its summary
    // line over the results, which still hold.
    void unchangedConditionLeavesTheResults_data() {
        QTest::addColumn<bool>("openCeiling");
        QTest::newRow("insulation tick left from before") << true;
        QTest::newRow("plenum depth picked again") << false;
    }
    void unchangedConditionLeavesTheResults() {
        QFETCH(bool, openCeiling);
        WindowFixture w;
        MainForm& f = w.form();
        const auto tickInsulation = [&] { // its box stands right of its caption
            const QPoint box(f.ChkBattsOpen->width() - 6, f.ChkBattsOpen->height() / 2);
            QTest::mouseClick(f.ChkBattsOpen, Qt::LeftButton, Qt::NoModifier, box);
            w.settle();
        };
        w.chooseUnits(true);
        if (openCeiling) {
            // The insulation tick stays when the location changes; the plenum batts box, ticked
            // and cleared, leaves no absorption as the last one stored.
            w.click(f.OptMask(2));
            tickInsulation();
            w.click(f.OptMask(1));
            w.click(f.ChkBatts);
            w.click(f.ChkBatts);
            w.click(f.OptMask(2));
            w.type(f.TxtCeilHt, "14");
            w.key(f.TxtCeilHt, Qt::Key_Return);
        } else {
            w.pick(f.ListPlenum, 1);
            w.pick(f.ListCeil, 1);
            w.pick(f.ListCeilHt, 1);
        }
        w.enterRoom("40", "25");
        w.click(f.CmdCalculate);
        const QStringList results = {w.line(1), w.line(2), w.line(3), w.line(4)};
        QVERIFY(results[2].endsWith("masking speakers."));
        if (openCeiling) {
            QVERIFY(f.ChkBattsOpen->isChecked() && w.state().BattsSel == 0);
            tickInsulation();
        } else {
            const QPoint item = f.ListPlenum->visualItemRect(f.ListPlenum->item(1)).center();
            QTest::mouseClick(f.ListPlenum->viewport(), Qt::LeftButton, Qt::ControlModifier, item);
            w.pick(f.ListPlenum, 1);
        }
        QCOMPARE(f.FramDesign->Caption(), QString("Design Results"));
        QCOMPARE((QStringList{w.line(1), w.line(2), w.line(3), w.line(4)}), results);
    }

    void noSequenceOfActionsBreaksTheWindow() {
        const std::uint64_t base = FromEnvironment("MSL_SEED", kBaseSeed);
        const std::uint64_t sequences = FromEnvironment("MSL_SEQUENCES", kSequences);
        const int actions = static_cast<int>(FromEnvironment("MSL_ACTIONS", kActions));
        Watchdog watchdog;
        Tally tally;
        for (std::uint64_t n = 0; n < sequences; ++n) {
            const std::uint64_t seed = base + n;
            RandomUser user(seed, tally);
            for (int action = 0; action < actions && !user.Closed(); ++action) {
                watchdog.At(seed, action);
                const std::string fault = user.Step();
                if (fault.empty())
                    continue;
                std::ostringstream trace;
                for (std::size_t i = 0; i < user.Done().size(); ++i)
                    trace << "\n  " << i << ": " << user.Done()[i];
                QFAIL(qPrintable(QString("seed %1, action %2: %3 (replay: MSL_SEED=%1 "
                                         "MSL_SEQUENCES=1)\nactions:%4")
                                     .arg(seed)
                                     .arg(action)
                                     .arg(QString::fromStdString(fault))
                                     .arg(QString::fromStdString(trace.str()))));
            }
        }
        qInfo("%llu sequences, %ld actions: %ld Calculates, %ld prints (%ld on a failing "
              "printer), %ld message boxes, %ld exits",
              static_cast<unsigned long long>(sequences), tally.actions, tally.calculates,
              tally.prints, tally.printerFailures, tally.boxes, tally.exits);
        // The user must get far enough to exercise results and printing, not only the start.
        QVERIFY(tally.calculates * 4 >= static_cast<long>(sequences));
        QVERIFY(tally.prints * 10 >= static_cast<long>(sequences));
    }
};

QTEST_MAIN(TestRandomUser)
#include "tst_random_user.moc"
