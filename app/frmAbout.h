#pragma once
// The About window: the program's version and two web links.
#include "widgets/ChildForm.h"

#include <QPointF>
#include <QUrl>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;

class frmAbout : public ChildForm {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Places the window, given the main window's outer size in twips.
    void PlaceWindow(double mainWidthTwips, double mainHeightTwips);
    // Left and top edge in twips for the given outer sizes.
    static QPointF AboutPosition(double mainWidth, double mainHeight, double aboutWidth, double aboutHeight);

    void cmdOK_Click();
    void Label6_Click();
    void lblSensorInfo_Click();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblSensorInfo = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* cmdOK = nullptr;

    static const QUrl HomePage;
    static const QUrl SensorPage;
    // Asks the desktop to open a page; replaceable for tests.
    std::function<void(const QUrl&)> openUrl;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void OpenLink(QLabel* label, const QUrl& url);
};
