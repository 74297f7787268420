#include "core/design_state.h"

bool CeilingData(const DesignState& s) {
    return s.CeilSel >= 1 && s.PlenumSel >= 1 && s.CeilHtSel >= 1;
}

bool OpenCeilingData(const DesignState& s) {
    return s.StructHt > 0;
}

bool ConditionsComplete(const DesignState& s) {
    switch (s.MaskLoc) {
    case AboveCeiling:
        return CeilingData(s);
    case OpenCeiling:
        return OpenCeilingData(s);
    case AccessFloor:
        return true;
    default:
        return false;
    }
}

void ZeroResults(DesignState& s) {
    s.LRow = 0;
    s.LSpc = 0;
    s.LHalfSpc = 0;
    s.WRow = 0;
    s.WSpc = 0;
    s.WHalfSpc = 0;
}

void ZeroRoomAndConditions(DesignState& s) {
    s.Leng = 0;
    s.Wid = 0;
    s.PlenumSel = 0;
    s.CeilSel = 0;
    s.CeilHtSel = 0;
    s.BattsSel = 0;
}
