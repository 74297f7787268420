// The rules of a design session, apart from any window: what each choice, pick, tick and entry
// stores, what results it throws away, when Calculate may run and whether results are on show.
// The window forwards every user action here and shows what comes back.
#pragma once

#include "core/design_state.h"
#include "core/entry.h"

#include <cstdint>
#include <optional>
#include <string>

enum class CeilingList { PlenumDepth, CeilingType, CeilingHeight };

// What a Calculate did to the room before laying it out.
enum class Orientation { AsGiven, Exchanged };

class DesignWorkflow {
  public:
    const DesignState& state() const { return m_state; }

    // The results of a Calculate are on show: none of its conditions has changed since, and no
    // action has cleared them.
    bool resultsShown() const { return m_resultsShown && m_state.alongLength.rows > 0; }
    // Both dimensions and every condition of the location are stored.
    bool calculateAllowed() const;

    // Before the unit system is chosen: speakers above a suspended ceiling until told otherwise.
    void start();
    // A unit system throws away the room, the conditions and the results.
    void chooseUnits(Units units);
    // A location clears the structural height, the room and the conditions; it does nothing
    // before the unit system is chosen, and says so with false.
    bool chooseLocation(Location location);
    // Stores a list's pick (counted from 1). True when it replaced another pick of the same list
    // made before, which throws the results away.
    bool pick(CeilingList list, std::int16_t row);
    // Stores the absorption ticked. True when it differs from the one its box stored last,
    // which throws the results away.
    bool tickAbsorption(Absorption absorption);
    // Stores the structural height read from its box. True when it differs from the height that
    // box stored last, which throws the results away.
    bool commitStructuralHeight(std::int32_t height);
    // Stores a room dimension read from its box.
    void commitDimension(EntryBox side, std::int32_t value);
    void commitDescription(std::string description) {
        m_state.description = std::move(description);
    }
    // Clears the results of the last Calculate.
    void discardResults();
    // Lays out a complete design, the longer side as its length, and puts its results on show.
    // Nothing when Calculate is not allowed or the conditions name no spacing.
    std::optional<Orientation> calculate();

  private:
    // Stores value in field; a value other than the last one stored throws the results away.
    template <typename T> bool store(T& field, T& last, T value) {
        field = value;
        const bool changed = value != last;
        if (changed)
            discardResults();
        last = value;
        return changed;
    }
    DesignState m_state;
    bool m_resultsShown = false;
    // What each list, absorption box and the structural height box stored last; never reset.
    std::optional<std::int16_t> m_lastPick[3];
    Absorption m_lastAbsorption = Absorption::None;
    std::int32_t m_lastStructuralHeight = 0;
};
