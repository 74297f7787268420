#include "core/design_workflow.h"

#include "core/calculate.h"
#include "core/compute_rows.h"

bool DesignWorkflow::calculateAllowed() const {
    return m_state.length > 0 && m_state.width > 0 && ConditionsComplete(m_state);
}

void DesignWorkflow::start() {
    m_state.location = Location::AboveCeiling;
    m_state.units.reset();
}

void DesignWorkflow::chooseUnits(Units units) {
    m_state.units = units;
    ClearLayouts(m_state);
    ClearRoomAndConditions(m_state); // the structural height stays until a location is chosen
    m_state.location = Location::AboveCeiling;
}

bool DesignWorkflow::chooseLocation(Location location) {
    if (!m_state.units)
        return false;
    m_state.location = location;
    m_state.structuralHeight = 0;
    ClearRoomAndConditions(m_state);
    m_resultsShown = false;
    return true;
}

bool DesignWorkflow::pick(CeilingList list, std::int16_t row) {
    std::optional<std::int16_t>* const picks[] = {&m_state.plenumDepth, &m_state.ceilingType,
                                                  &m_state.ceilingHeight};
    const auto i = static_cast<std::size_t>(list);
    *picks[i] = row;
    const bool replaced = m_lastPick[i] && m_lastPick[i] != row;
    if (replaced)
        discardResults();
    m_lastPick[i] = row;
    return replaced;
}

bool DesignWorkflow::tickAbsorption(Absorption absorption) {
    return store(m_state.absorption, m_lastAbsorption, absorption);
}

bool DesignWorkflow::commitStructuralHeight(std::int32_t height) {
    return store(m_state.structuralHeight, m_lastStructuralHeight, height);
}

void DesignWorkflow::commitDimension(EntryBox side, std::int32_t value) {
    (side == EntryBox::Length ? m_state.length : m_state.width) = value;
}

void DesignWorkflow::discardResults() {
    ClearLayouts(m_state);
}

std::optional<Orientation> DesignWorkflow::calculate() {
    if (!calculateAllowed() || !NominalSpacing(m_state))
        return std::nullopt;
    const Orientation orientation =
        OrientRoom(m_state) ? Orientation::Exchanged : Orientation::AsGiven;
    ComputeDesign(m_state);
    m_resultsShown = true;
    return orientation;
}
