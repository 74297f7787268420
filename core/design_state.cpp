#include "core/design_state.h"

bool CeilingData(const DesignState& s) {
    return s.CeilSel >= 1 && s.PlenumSel >= 1 && s.CeilHtSel >= 1;
}

bool OpenCeilingData(const DesignState& s) {
    return s.StructHt > 0;
}

bool ConditionsComplete(const DesignState& s) {
    switch (s.MaskLoc) {
    case Location::AboveCeiling:
        return CeilingData(s);
    case Location::OpenCeiling:
        return OpenCeilingData(s);
    case Location::AccessFloor:
        return true;
    case Location::None:
        break;
    }
    return false;
}

void ZeroResults(DesignState& s) {
    s.alongLength = {};
    s.alongWidth = {};
}

void ZeroRoomAndConditions(DesignState& s) {
    s.Leng = 0;
    s.Wid = 0;
    s.PlenumSel = 0;
    s.CeilSel = 0;
    s.CeilHtSel = 0;
    s.BattsSel = Absorption::None;
}
