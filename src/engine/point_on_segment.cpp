#include "engine/point_on_segment.h"

#include <cmath>

#include "engine/engine_failure.h"
#include "engine/mapbasic_placement.h"

namespace veltrano {

namespace {

constexpr double kToleranceM = 0.001;
constexpr int kMaxRefinementIndex = 100;  // steps 0 to 100: at most 101 refinements
constexpr double kShortestChord = 1e-20;

// Fails as the arithmetic would, instead of carrying an infinity or NaN into the host.
void checkDivisor(double part, double whole) {
    if (whole == 0) {
        throw RunTimeError(part == 0 ? err::kOverflow : err::kDivisionByZero, {}, "pointOnSegment");
    }
}

double finite(double value) {
    if (!std::isfinite(value)) throw RunTimeError(err::kOverflow, {}, "pointOnSegment");
    return value;
}

struct Estimate {
    double x;
    double y;
};

// The refinement's estimate: A + (B - A) * r / L.
Estimate estimate(double ax, double ay, double bx, double by, double r, double chord) {
    checkDivisor(r, chord);
    return {finite(ax + (bx - ax) * r / chord), finite(ay + (by - ay) * r / chord)};
}

// Plain interpolation at the fraction f = (d - dA) / (dB - dA).
Estimate linear(double d, double dA, double dB, double xA, double yA, double xB, double yB) {
    checkDivisor(d - dA, dB - dA);
    const double f = (d - dA) / (dB - dA);
    return {finite(xA + (xB - xA) * f), finite(yA + (yB - yA) * f)};
}

double hostDistance(GeometryPort& host, double ax, double ay, const Estimate& p) {
    return host.distance(ax, ay, p.x, p.y);
}

ObjNode refine(double d, double dA, double dB, double xA, double yA, double xB, double yB,
               GeometryPort& host) {
    double ax = xA, ay = yA, bx = xB, by = yB;
    double chord = dB - dA;  // the length still spanned by A and B
    double wanted = d - dA;  // the distance still wanted from A
    Estimate p = estimate(ax, ay, bx, by, wanted, chord);
    double measured = hostDistance(host, ax, ay, p);
    for (int k = 0; std::fabs(measured - wanted) >= kToleranceM && k <= kMaxRefinementIndex &&
                    std::fabs(chord) >= kShortestChord;
         ++k) {
        if (measured > wanted) {
            bx = p.x;
            by = p.y;
            chord = measured;
        } else {
            ax = p.x;
            ay = p.y;
            chord -= measured;
            wanted -= measured;
        }
        p = estimate(ax, ay, bx, by, wanted, chord);
        measured = hostDistance(host, ax, ay, p);
    }
    return {p.x, p.y, -1, d};
}

}  // namespace

ObjNode pointOnSegment(double d, double dA, double dB, double xA, double yA, double xB, double yB,
                       GeometryPort& host, bool isLatLong) {
    if (isLatLong) return refine(d, dA, dB, xA, yA, xB, yB, host);
    const Estimate p = linear(d, dA, dB, xA, yA, xB, yB);
    return {p.x, p.y, -1, d};
}

ObjNode pointOnSegment(double d, double dA, double dB, double xA, double yA, double xB, double yB,
                       const AutomationPtr& host, bool isLatLong) {
    if (isLatLong) heldHost(host);  // none held is a failure before any arithmetic
    MapBasicGeometry measure(host, {});
    return pointOnSegment(d, dA, dB, xA, yA, xB, yB, measure, isLatLong);
}

}  // namespace veltrano
