#include "app/frmSplash.h"

#include "app/AppResources.h"
#include "state/GeneralStuff.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QGuiApplication>

namespace {

constexpr double ClientWidth = 7350;
constexpr double ClientHeight = 4395;
const QColor DarkBlue(0, 0, 192);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, double pointSize, bool bold,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

}  // namespace

// No title bar: window managers would fill it with the application's name. The window system
// draws no border without one, so the window draws its own.
frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    InitAppResources();
    setObjectName("frmSplash");
    setWindowTitle(QString());
    setFixedSize(TwipsToPixels(ClientWidth, ClientHeight));

    auto* picture = new QLabel(this);
    picture->setObjectName("imgSplash");
    picture->setPixmap(QPixmap(":/images/splash.png").scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    picture->setGeometry(rect());

    lblProductName = MakeLabel(this, "lblProductName", "Product", 18, true, DarkBlue);
    lblVersion = MakeLabel(this, "lblVersion", "Version", 12, true, DarkBlue);
    lblPlatform = MakeLabel(this, "lblPlatform", "Windows XP/2000/ME", 12, false, DarkBlue);
    lblProgInfo = MakeLabel(this, "lblProgInfo", "x", 8.25, true, Qt::black);

    lblProgress = new QLabel(this);
    lblProgress->setObjectName("lblProgress");
    lblProgress->setAutoFillBackground(true);
    QPalette bar = lblProgress->palette();
    bar.setColor(QPalette::Window, DarkBlue);
    lblProgress->setPalette(bar);
    lblProgress->setGeometry(TwipsRect(960, 3720, ProgressDesignWidth, 255));
    lblProgInfo->move(TwipsToPixelsX(960), TwipsToPixelsY(3480));
    lblProgInfo->hide();
    lblProgress->hide();

    Form_Load();

    auto* border = new QFrame(this);
    border->setObjectName("fraBorder");
    border->setFrameStyle(QFrame::Panel | QFrame::Raised);
    border->setLineWidth(2);
    border->setGeometry(rect());
    border->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmSplash::Form_Load() {
    lblVersion->setText("Version " + GeneralStuff::VersionText());
    lblProductName->setText(GeneralStuff::AppTitle);
    lblProductName->adjustSize();
    lblVersion->adjustSize();
    lblPlatform->adjustSize();
    // The name is centred across the picture so that it is never clipped by its right edge.
    lblProductName->move((width() - lblProductName->width()) / 2, TwipsToPixelsY(1200));
    PlaceRightAligned(lblVersion, ClientWidth - 480, 2160);
    PlaceRightAligned(lblPlatform, ClientWidth - 480, 2520);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmSplash::PlaceRightAligned(QLabel* label, double rightTwips, double topTwips) {
    label->move(TwipsToPixelsX(rightTwips) - label->width(), TwipsToPixelsY(topTwips));
}

void frmSplash::SetProgressText(const QString& text) {
    lblProgInfo->setText(text);
    lblProgInfo->adjustSize();
    lblProgInfo->repaint();
}

void frmSplash::SetProgressWidthTwips(double twips) {
    progressWidthTwips_ = twips;
    lblProgress->resize(TwipsToPixelsX(twips), lblProgress->height());
    lblProgress->repaint();
}
