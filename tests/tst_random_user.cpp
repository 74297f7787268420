// A randomized user: seeded sequences of whatever a person can do with the window (clicks and
// double clicks anywhere, typing and pasting any characters, the keys that move the focus, list
// picks, ticks, Calculate, printing on a printer that may fail, a change of unit system midway),
// with the window's promises checked after every action. A broken promise names its seed, its
// action and the actions before it; MSL_SEED=<seed> MSL_SEQUENCES=1 replays that sequence alone
// (MSL_ACTIONS sets the length of a sequence, for longer searches by hand). The window's rules
// are tested in the workflow's tables, so a short run is the default; CI runs 2000 sequences.
#include "window_fixture.h"

#include "core/calculate.h"
#include "core/compute_rows.h"
#include "core/entry.h"

#include <QClipboard>
#include <QRegularExpression>

#include <cmath>
#include <random>

namespace {

// The user must get far enough to reach these.
long g_calculates = 0, g_prints = 0, g_unitChangesTicked = 0, g_picksOneDimension = 0;

class RandomUser : public WindowFixture, public QObject {
  public:
    explicit RandomUser(qint64 seed) : m_seed(seed), m_rng(std::uint64_t(seed)) {
        const Controls& f = controls();
        // Runs after the window's own Calculate handler.
        connect(f.CmdCalculate, &QPushButton::clicked, this, [this] { Calculated(); });
        // A tick may differ from the absorption stored only as a leftover of a location or unit
        // change (which clears the batts tick) or of a double click re-setting the location,
        // until its box is clicked.
        for (int i = 1; i <= 5; ++i) // the three locations, then the two unit systems
            connect(i <= 3 ? f.OptMask(i) : f.OptMeas(i - 3), &QRadioButton::toggled, this,
                    [this, location = i <= 3](bool on) {
                        g_unitChangesTicked += on && !location && m_tickedBefore;
                        m_leftover = on ? std::array{location, true} : m_leftover;
                    });
        // clang-format off
        for (QListWidget* list : {f.ListPlenum, f.ListCeil, f.ListCeilHt})
            connect(list, &QListWidget::itemSelectionChanged, this, [this] { g_picksOneDimension += (state().length > 0) != (state().width > 0); });
        for (const std::size_t i : {0, 1})
            connect(i ? f.ChkBattsOpen : f.ChkBatts, &QCheckBox::toggled, this, [this, i] { m_leftover[i] = false; });
        // clang-format on
        qApp->installEventFilter(this);
    }
    // Notes every key and click as the controls receive them.
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type t = e->type();
        const bool twice = t == QEvent::MouseButtonDblClick;
        m_leftover =
            twice && o->objectName().startsWith("OptMask") ? std::array{true, true} : m_leftover;
        if ((twice || t == QEvent::KeyPress || t == QEvent::MouseButtonPress) && !m_done.isEmpty())
            QDebug(&m_done.last()) << o->objectName() << e;
        return false;
    }

    // Performs one random action and checks every promise; returns the first broken one, with
    // the seed and the actions so far.
    QString Step() {
        const std::size_t boxesBefore = boxes.shown.size();
        const int printsBefore = printing.runs;
        m_tickedBefore = controls().ChkBatts->isChecked() || controls().ChkBattsOpen->isChecked();
        m_done << QString("%1:").arg(m_done.size());
        Act();
        boxes.answers.clear(), printing.refusals = 0;
        // The action and all it sets off.
        for (int round = 0; round < 50 && !window().idle(); ++round)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        g_prints += printing.runs - printsBefore;
        Check(controls(), state(), boxes.shown.size() - boxesBefore, printing.runs != printsBefore);
        const QString replay =
            QString("seed %1 (replay: MSL_SEED=%1 MSL_SEQUENCES=1): ").arg(m_seed);
        return m_fault.isEmpty() ? m_fault : replay + m_fault + "\n  " + m_done.join("\n  ");
    }

  private:
    void Fault(bool broken, const QString& what) {
        m_fault = m_fault.isEmpty() && broken ? what : m_fault;
    }
    static bool Half(double x) { return x >= 0 && std::floor(2 * x) == 2 * x; }
    static auto Results(const DesignState& s) { return std::pair{s.alongLength, s.alongWidth}; }
    // What a Calculate depends on besides the room: a change of any must take the results away.
    static auto Conditions(const DesignState& s) {
        return std::tie(s.units, s.location, s.plenumDepth, s.ceilingType, s.ceilingHeight,
                        s.absorption, s.structuralHeight);
    }

    // Keeps the design right after a Calculate that computed one, and its lines.
    void Calculated() {
        const DesignState& s = state();
        // clang-format off
        if (controls().FramDesign->Caption() != "Design Results" || s.length <= 0 || s.width <= 0 || !NominalSpacing(s))
            return;
        ++g_calculates, m_calculated = true, m_at = s, m_lines.clear();
        for (const std::string& line : ResultLines(s)) m_lines << QString::fromStdString(line);
        // clang-format on
    }

    // Every promise the window keeps between two user actions: what it shows is the design it
    // computes with. The structural height box clears the results but leaves the caption, so
    // "Design Results" may stand over blank lines or condition sentences, never over old results.
    void Check(const Controls& f, const DesignState& s, std::size_t boxesShown, bool printed) {
        const QWidget* focus = QApplication::focusWidget();
        const bool caption = f.FramDesign->Caption() == "Design Results";
        const bool showsLast = m_calculated && lines() == m_lines,
                   none = Results(s) == decltype(Results(s)){};
        const std::size_t shapes =
            f.PicRoom->isVisibleTo(&f.window) ? f.PicRoom->Surface().Shapes().size() : 0;
        const std::int64_t rowsL = m_at.alongLength.rows, rowsW = m_at.alongWidth.rows;
        const RowLayout &l = s.alongLength, &w = s.alongWidth;
        const QRegularExpression result("^Length: |masking speaker|Width: There|^Estimated length");
        // clang-format off
        for (const auto& [v, box, edit] : {std::tuple{s.length, EntryBox::Length, f.TxtLeng},
                                           {s.width, EntryBox::Width, f.TxtWid},
                                           {s.structuralHeight, EntryBox::CeilingHeight, f.TxtCeilHt}}) {
            const EntryLimits lim = LimitsFor(box, s.units.value_or(Units::Feet));
            Fault(v != 0 && (v < lim.minimum || v > lim.maximum), "a stored entry is outside its limits");
            Fault(edit != focus && edit->text() != QString::number(v) && (v || !edit->text().trimmed().isEmpty()),
                  "a box shows other than the value stored: " + edit->objectName());
        }
        // Edge + (rows - 1) x spacing + edge is the dimension.
        for (const auto& [dimen, r] : {std::pair{m_at.length, m_at.alongLength}, {m_at.width, m_at.alongWidth}})
            Fault(m_calculated && (r.rows < 1 || (r.rows == 1) != (r.spacing == 0) || !Half(r.edge) ||
                                   2.0 * r.edge + (r.rows - 1.0) * r.spacing != dimen),
                  "the rows, spacing and edges do not fill the room");
        for (const QString& line : lines())
            Fault(line.contains(result) && (!caption || !showsLast || line.contains('-')),
                  "a result line that no Calculate shows now: " + line);
        for (const auto& [list, pick] :
             {std::pair{f.ListPlenum, s.plenumDepth}, {f.ListCeil, s.ceilingType}, {f.ListCeilHt, s.ceilingHeight}})
            Fault(list->isVisible() &&
                      list->selectedItems() != (pick ? QList{list->item(*pick - 1)} : QList<QListWidgetItem*>{}),
                  "a list does not highlight the pick stored");
        for (const auto& [box, code, leftover] : {std::tuple{f.ChkBatts, Absorption::BattsOverTiles, m_leftover[0]},
                                                  {f.ChkBattsOpen, Absorption::OnStructure, m_leftover[1]}})
            Fault(box->isChecked() ? s.absorption != code && !leftover : s.absorption == code,
                  "a tick disagrees with the absorption stored");
        const std::pair<bool, const char*> promises[] = {
            {!window().idle(), "queued handlers and keystrokes never drained"},
            {boxesShown > 8, "an action raised an endless run of message boxes"},
            {printed && printing.page.empty() && boxesShown == 0, "a print run neither ended nor said why"},
            {m_at.length < m_at.width, "the width is longer than the length after Calculate"},
            {std::min({l.rows, w.rows, l.spacing, w.spacing, s.nominalSpacing}) < 0 || !Half(l.edge) || !Half(w.edge),
             "a result is negative or not a whole or half unit"},
            {(!m_calculated || s.units.value() != m_at.units.value()) && !none,
             "results are kept across a change of unit system"},
            {caption && showsLast && Results(s) != Results(m_at),
             "the results behind the lines changed without a Calculate"},
            {caption && !showsLast && !none, "results are kept while their lines are gone"},
            {m_calculated && Conditions(s) != Conditions(m_at) && (showsLast || shapes),
             "a condition changed but its results are still shown"},
            {shapes && (!caption || !showsLast || shapes != std::size_t(rowsL + rowsW + rowsL * rowsW)),
             "the room picture shows a grid that is not that of the lines"},
            {focus && !(focus->isVisible() && focus->isEnabled()),
             "the focus is on a hidden or disabled control"},
            {f.CmdCalculate->isEnabled() && (s.length <= 0 || s.width <= 0 || !ConditionsComplete(s)),
             "Calculate is enabled for a design not given"},
            {caption && showsLast && !ConditionsComplete(m_at), "results are shown for conditions not given"},
        };
        // clang-format on
        for (const auto& [broken, what] : promises)
            Fault(broken, what);
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    template <typename C> auto Any(const C& items) {
        return items[static_cast<std::size_t>(Uniform(0, int(std::size(items)) - 1))];
    }
    QWidget* Focus() { return qApp->focusWidget() ? qApp->focusWidget() : &window(); }
    static QList<QWidget*> Usable(QList<QWidget*> c) {
        c.removeIf([](QWidget* w) { return !w->isEnabled() || !w->isVisible(); });
        return c;
    }
    QPoint SomewhereIn(QWidget* w) { // often where a button's box or text starts
        return Chance(0.5) ? QPoint(Uniform(2, 14), w->height() / 2)
                           : QPoint(Uniform(0, w->width() - 1), Uniform(0, w->height() - 1));
    }

    // Whatever a pointer at this spot reaches (another control may lie on top); Ctrl tries to
    // take a pick away from a list.
    void Click(QWidget* control, QPoint local, bool twice = false) {
        const QPoint inForm = control->mapTo(&window(), local);
        QWidget* hit = window().childAt(inForm) ? window().childAt(inForm) : &window();
        const auto mods = Chance(0.08) ? Qt::ControlModifier : Qt::NoModifier;
        QTest::mouseEvent(twice ? QTest::MouseDClick : QTest::MouseClick, hit, Qt::LeftButton, mods,
                          hit->mapFrom(&window(), inForm));
    }

    // A user seldom presses Exit by accident; a key that would press it usually becomes a Tab.
    int SparingExit(int key) {
        const bool presses = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
        return presses && Focus() == controls().CmdDone && !Chance(0.05) ? Qt::Key_Tab : key;
    }
    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(Focus(), Qt::Key(SparingExit(key)), mods);
    }
    void Type(const std::string& text) { // each character to whatever has the focus
        for (const char c : text)
            QTest::keyClick(Focus(),
                            c == ' ' && SparingExit(Qt::Key_Space) == Qt::Key_Tab ? '\t' : c);
    }
    void Act() {
        const Controls& f = controls();
        if (Chance(0.3)) { // the next print run's printer refuses the page, and the answers
            printing.refusals = Any(std::array{1, 2, -1});
            for (int n = Uniform(0, 4); n > 0; --n)
                boxes.answers.push_back(Chance(0.7) ? MsgAnswer::Retry : MsgAnswer::Cancel);
        }
        // clang-format off
        const auto steps = Usable({f.CmdPrt, f.CmdPrint, f.CmdCalculate}); // where it leads
        const auto controls = Usable({f.OptMeas(1), f.OptMeas(2), f.OptMask(1), f.OptMask(2), f.OptMask(3), f.ChkBatts,
                                      f.ChkBattsOpen, f.CmdCalculate, f.CmdPrint, f.CmdPrt, f.TxtLeng, f.TxtWid,
                                      f.TxtCeilHt, f.TxtDescription, &f.window});
        const auto twice = Usable({f.OptMask(1), f.OptMask(2), f.OptMask(3), f.ListPlenum, f.TxtLeng, f.OptMeas(1)});
        const auto lists = Usable({f.ListPlenum, f.ListCeil, f.ListCeilHt});
        const auto entries = Usable({f.TxtLeng, f.TxtWid, f.TxtCeilHt});
        static const char* const pasted[] = {
            "a12", "12a3", " 1 2 ", "1e5", "0x1F", "-5", "+7", "1.2.3", ".", "", "2.5", "12.5", "3599",
            "99999999999999999999999", "300001", "1000", "4", "\t12\n", "１２", "2147483648", "-0",
            "0000000000000000000000000000000017", "--", "nan", "12ab c  "};
        static const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Up, Qt::Key_Down, Qt::Key_Backspace,
                                       Qt::Key_Delete, Qt::Key_Space, Qt::Key_Home, Qt::Key_End, Qt::Key_Escape, Qt::Key_Enter};
        static const std::string kinds[] = {"0123456789", ".", "abcxyzAEZ", " ", "+-", "\t,;/"};
        // What a user can do, with how often a user does it; a weight of 0 where it cannot.
        const std::pair<double, std::function<void()>> actions[] = {
            {steps.empty() ? 0 : 10, [&] { Click(steps[0], steps[0]->rect().center()); }},
            {16, [&] { QWidget* w = Any(controls); Click(w, SomewhereIn(w)); }},
            {0.1, [&] { Click(f.CmdDone, f.CmdDone->rect().center()); }},
            {twice.empty() ? 0 : 4, [&] { QWidget* w = Any(twice); Click(w, SomewhereIn(w), true); }},
            {lists.empty() ? 0 : 14, [&] {
                 auto* list = static_cast<QListWidget*>(Any(lists));
                 Click(list->viewport(), Chance(0.8) ? list->visualItemRect(list->item(Uniform(0, list->count() - 1))).center()
                                                     : SomewhereIn(list->viewport())); }},
            {entries.empty() ? 0 : 16, [&] { // a number of up to 4 digits in feet, 6 in millimetres
                 QWidget* box = Any(entries);
                 Click(box, box->rect().center()), Press(Qt::Key_A, Qt::ControlModifier);
                 const long most = std::lround(std::pow(10, Uniform(1, state().units == Units::Feet ? 4 : 6))) - 1;
                 const std::string n = std::to_string(std::uniform_int_distribution<long>(0, most)(m_rng));
                 Type(Chance(0.2) ? n + "." + std::to_string(Uniform(0, 9)) : n);
                 Press(Chance(0.7) ? Qt::Key_Return : Qt::Key_Tab); }},
            {8, [&] { std::string t; for (int n = Uniform(1, 6); n > 0; --n) t += Any(Any(kinds)); Type(t); }},
            {1.5, [&] { Type(std::string(std::size_t(Uniform(20, 400)), '9')); }},
            {6, [&] { // through the clipboard, or inserted as a drop would
                 const QString text = Any(pasted);
                 auto* box = qobject_cast<QLineEdit*>(Focus());
                 QApplication::clipboard()->setText(text);
                 box && Chance(0.5) ? box->insert(text) : QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
                 m_done.last() += " pasted " + text; }},
            {20, [&] { Chance(0.1) ? Press(Chance(0.5) ? Qt::Key_A : Qt::Key_Space, Qt::ControlModifier) : Press(Any(keys)); }},
        };
        // clang-format on
        std::discrete_distribution<std::size_t> pick(
            std::size(actions), 0, double(std::size(actions)),
            [&](double at) { return actions[std::size_t(at)].first; }); // the weights in turn
        actions[pick(m_rng)].second();
    }

    const qint64 m_seed;
    std::mt19937_64 m_rng;
    QStringList m_done, m_lines; // the actions so far, numbered; the lines of the last Calculate
    std::array<bool, 2> m_leftover{}; // a tick of ChkBatts, ChkBattsOpen left from before
    bool m_tickedBefore = false;      // a box was ticked before the action
    bool m_calculated = false;        // the design right after the last Calculate, and its lines
    DesignState m_at;
    QString m_fault;
};

} // namespace

class TestRandomUser : public QObject {
    Q_OBJECT
  private slots:
    void noSequenceOfActionsBreaksTheWindow() {
        QApplication::setQuitOnLastWindowClosed(false);
        const auto env = [](const char* name, qint64 fallback) {
            return qEnvironmentVariableIsEmpty(name) ? fallback : qgetenv(name).toLongLong();
        };
        const qint64 base = env("MSL_SEED", 20261206), sequences = env("MSL_SEQUENCES", 400);
        for (qint64 seed = base; seed < base + sequences; ++seed) {
            RandomUser user{seed};
            for (qint64 n = env("MSL_ACTIONS", 60); n > 0 && user.window().isVisible(); --n) {
                const QString fault = user.Step();
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
        }
        // clang-format off
        qInfo("%ld Calculates, %ld prints, %ld unit changes with a box ticked, %ld picks with one dimension stored",
              g_calculates, g_prints, g_unitChangesTicked, g_picksOneDimension);
        // clang-format on
        QVERIFY(g_calculates * 4 >= long(sequences) && g_prints * 10 >= long(sequences));
        QVERIFY(g_unitChangesTicked > 0 && g_picksOneDimension > 0);
    }
};

QTEST_MAIN(TestRandomUser)
#include "tst_random_user.moc"
