#include "app/frmAbout.h"

#include "state/GeneralStuff.h"
#include "widgets/Twips.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

const QUrl frmAbout::HomePage("https://www.corvantis.com/");
const QUrl frmAbout::SensorPage("https://www.corvantis.com/products/temperature-sensors/");

namespace {

const QColor DarkBlue(0, 0, 192);
const QColor Visited(128, 0, 128);

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

QLabel* MakeLink(QWidget* parent, const char* name, const QString& text) {
    QLabel* label = MakeLabel(parent, name, text, true);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    SetTextColour(label, DarkBlue);
    return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About the  KTS9320B Software");

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    Label1 = MakeLabel(Frame1, "Label1", "KTS9320B Evaluation Software Version", true);
    lblVersion = MakeLabel(Frame1, "lblVersion", "VER", true);
    Label4 = MakeLabel(Frame1, "Label4", "For information on Systems Management devices click", false);
    lblSensorInfo = MakeLink(Frame1, "lblSensorInfo", "here");
    Label5 = MakeLabel(Frame1, "Label5", "Visit the Corvantis website at", false);
    Label6 = MakeLink(Frame1, "Label6", "www.corvantis.com");
    cmdOK = new QPushButton("OK", Frame1);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setFixedSize(TwipsToPixels(1215, 375));

    // Each line is centred in the frame, its parts side by side at their full width.
    auto row = [](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        line->addStretch();
        for (QWidget* w : widgets) {
            w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            line->addWidget(w);
        }
        line->addStretch();
        return line;
    };
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->setContentsMargins(TwipsToPixelsX(240), TwipsToPixelsY(240), TwipsToPixelsX(240), TwipsToPixelsY(120));
    frameLayout->addLayout(row({Label1, lblVersion}));
    frameLayout->addStretch(2);
    frameLayout->addLayout(row({Label4, lblSensorInfo}));
    frameLayout->addSpacing(TwipsToPixelsY(120));
    frameLayout->addLayout(row({Label5, Label6}));
    frameLayout->addStretch(1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdOK);
    frameLayout->addLayout(buttonRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(TwipsToPixelsX(240), TwipsToPixelsY(240), TwipsToPixelsX(240), TwipsToPixelsY(240));
    layout->addWidget(Frame1);

    lblSensorInfo->installEventFilter(this);
    Label6->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    Form_Load();
}

void frmAbout::Form_Load() {
    // A client area of 6975 x 3615 twips inside a single fixed border and a caption.
    SetFormSizeTwips(7100, 4100);
    lblVersion->setText(GeneralStuff::VersionText());
}

QPointF frmAbout::AboutPosition(double mainWidth, double mainHeight, double aboutWidth, double aboutHeight) {
    return {mainWidth / 2 - aboutWidth / 2, mainHeight / 2 - aboutHeight / 2 - 1500};
}

void frmAbout::PlaceWindow(double mainWidthTwips, double mainHeightTwips) {
    const QPointF place = AboutPosition(mainWidthTwips, mainHeightTwips, OuterWidthTwips(), OuterHeightTwips());
    OuterWindow()->move(TwipsToPixelsX(place.x()), TwipsToPixelsY(place.y()));
}

void frmAbout::cmdOK_Click() { OuterWindow()->close(); }

void frmAbout::Label6_Click() { OpenLink(Label6, HomePage); }
void frmAbout::lblSensorInfo_Click() { OpenLink(lblSensorInfo, SensorPage); }

void frmAbout::OpenLink(QLabel* label, const QUrl& url) {
    if (openUrl) openUrl(url);
    SetTextColour(label, Visited);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Label6) Label6_Click();
        if (watched == lblSensorInfo) lblSensorInfo_Click();
    }
    return ChildForm::eventFilter(watched, event);
}
