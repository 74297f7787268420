#include "core/design_state.h"

bool SuspendedCeilingComplete(const DesignState& s) {
    return s.ceilingType >= 1 && s.plenumDepth >= 1 && s.ceilingHeight >= 1;
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
    s.plenumDepth = 0;
    s.ceilingType = 0;
    s.ceilingHeight = 0;
    s.absorption = Absorption::None;
}
