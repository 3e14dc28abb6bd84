#pragma once
// A trace's entry in the chart's legend: its line and its caption, as QCustomPlot's own entry
// draws them, but the caption is laid out once each time it changes, not at every redraw. The
// captions change a few times a minute and the chart redraws several times a second; laying
// out their text was a fifth of each redraw.
#include <QStaticText>

#include <qcustomplot.h>

class TraceLegendItem : public QCPAbstractLegendItem {
public:
    TraceLegendItem(QCPLegend* legend, QCPGraph* graph);

protected:
    void draw(QCPPainter* painter) override;
    QSize minimumOuterSizeHint() const override;

private:
    // The caption laid out for the graph's name as it stands.
    const QStaticText& Caption() const;

    QCPGraph* graph_;
    mutable QString laidOut_;
    mutable QStaticText caption_;
    mutable QSize captionSize_;
};
