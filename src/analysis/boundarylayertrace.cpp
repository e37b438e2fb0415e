// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/boundarylayertrace.h"

#include "model/numbertext.h"

namespace velmora {

const char *LayerStateName(LayerState state)
{
    switch (state) {
    case LayerState::Laminar: return "laminar";
    case LayerState::Turbulent: return "turbulent";
    case LayerState::Separated: return "separated";
    }
    return "";
}

std::string TraceCsvHeader()
{
    return "side,s,x,v,delta2,delta3,h32,h12,state,cf,cd";
}

std::string TraceCsvRows(const BoundaryLayerTrace &trace, const std::string &prefix)
{
    std::string csv;
    for (int side : {kTraceUpper, kTraceLower}) {
        const char *name = side == kTraceUpper ? "upper" : "lower";
        for (const TraceNode &n : trace.sides[size_t(side)].nodes) {
            csv += prefix;
            csv += name;
            for (float f : {n.s, n.x, n.v, n.delta2, n.delta3, n.h32, n.h12})
                csv += "," + ShortestFloatText(f);
            csv += ",";
            csv += LayerStateName(n.state);
            csv += "," + ShortestFloatText(n.cf) + "," + ShortestFloatText(n.cd) + "\n";
        }
    }
    return csv;
}

} // namespace velmora
