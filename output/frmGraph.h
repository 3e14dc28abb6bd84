#pragma once
// The graph window: the local and remote temperatures on a strip chart against the time of day,
// the latest value of each as its trace's legend, a one-shot button for a chip in standby and a
// button that asks for the general configuration window.
#include "widgets/ChildForm.h"

class QPushButton;
class StripChart;

class frmGraph : public ChildForm {
    Q_OBJECT
public:
    explicit frmGraph(QWidget* parent = nullptr);

    StripChart* stpGraph = nullptr;
    QPushButton* cmdOneShot = nullptr;
    QPushButton* cmdConfig = nullptr;

    // The graph step of the monitoring cycle: both temperatures as the next points, the legends.
    void UpdateGraph();
    // The one-shot button is enabled exactly while the chip is in standby.
    void UpdateOneShot();
    void cmdOneShot_Click();
    void cmdConfig_Click();
    void Form_Resize();

signals:
    void configurationRequested();
    // The chart's "Open Run…".
    void openRunRequested();

protected:
    void Form_Load();
    void Form_Unload() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
