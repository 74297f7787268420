#include "core/design_state.h"

bool SuspendedCeilingComplete(const DesignState& s) {
    return s.ceilingType && s.plenumDepth && s.ceilingHeight;
}

bool OpenCeilingComplete(const DesignState& s) {
    return s.structuralHeight > 0;
}

bool ConditionsComplete(const DesignState& s) {
    switch (s.location) {
    case Location::AboveCeiling:
        return SuspendedCeilingComplete(s);
    case Location::OpenCeiling:
        return OpenCeilingComplete(s);
    case Location::AccessFloor:
        return true;
    case Location::None:
        break;
    }
    return false;
}

void ClearLayouts(DesignState& s) {
    s.alongLength = {};
    s.alongWidth = {};
}

void ClearRoomAndConditions(DesignState& s) {
    s.length = 0;
    s.width = 0;
    s.plenumDepth.reset();
    s.ceilingType.reset();
    s.ceilingHeight.reset();
    s.absorption = Absorption::None;
}
