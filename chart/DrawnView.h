#pragma once
// What a chart's last drawing showed, so that new points redraw it only when they change the
// picture by a pixel or more: the time axis moved by a pixel column, the value axis changed, or a
// trace's new point landed in a column of its own or outside the pixel rows its newest column
// already covered.
#include "chart/TracePoints.h"

#include <vector>

class QCPAxis;

class DrawnView {
public:
    // After each layout, before the drawing: the axes and the traces as they are drawn.
    void Record(const QCPAxis& time, const QCPAxis& values, int columns, const std::vector<TracePoints>& traces);
    // Whether the picture would change if drawn now, the trace's newest point being (key, value).
    bool Changed(const QCPAxis& time, const QCPAxis& values, int trace, double key, double value) const;

private:
    struct NewestColumn {
        double column = -1;   // of the time axis, counted from 0 s
        double topRow = 0;    // the pixel rows covered by the column's values
        double bottomRow = -1;
    };
    bool recorded_ = false;
    double lower_ = 0;
    double upper_ = 0;
    double columnWidth_ = 1;
    double valueLower_ = 0;
    double valueUpper_ = 0;
    std::vector<NewestColumn> newest_;
};
