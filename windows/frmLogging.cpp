#include "windows/frmLogging.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "files/LogFile.h"
#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"
#include "widgets/Twips.h"
#include "widgets/UpDownSpinner.h"
#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace {

const QString StartCaption = QStringLiteral("Start Logging");
const QString StopCaption = QStringLiteral("Click to stop logging...");

// The typed interval as whole milliseconds; text too large for 32 bits takes the nearest end.
int32_t IntervalFromText(const QString& text) {
    const double value = GeneralStuff::ParseNumber(text.toStdString());
    if (GeneralStuff::FitsInt32(value)) return GeneralStuff::Nearest(value);
    if (std::isnan(value)) return 0;
    return value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

}  // namespace

frmLogging::frmLogging(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmLogging");
    setWindowTitle(QStringLiteral("Data Logging"));
    chooseLogFile = [this] {
        // Where the window's dialog starts; kept for the run, also while the window is closed.
        static DialogFolder folder(QString::fromStdString(USBStuff::ProgramFolder()));
        return folder.Remember(Prompts::Current().OpenOrNewFileName(this, QStringLiteral("Log File"), folder.Start(),
                                                                    QStringLiteral("Log Files (*.csv)")));
    };
    BuildControls();
    connect(cmdLogData, &QPushButton::clicked, this, &frmLogging::cmdLogData_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmLogging::cmdClose_Click);
    connect(&LoggingEvents::Instance(), &LoggingEvents::loggingStopped, this, &frmLogging::ShowLoggingState);
    Form_Load();
}

void frmLogging::BuildControls() {
    Frame1 = new QGroupBox(QStringLiteral("Select Channels to Log to File"), this);
    Frame1->setObjectName("Frame1");
    chkLog[0] = new QCheckBox(QStringLiteral("Local"), Frame1);
    chkLog[1] = new QCheckBox(QStringLiteral("Remote"), Frame1);
    chkLog[0]->setObjectName("chkLog_0");
    chkLog[1]->setObjectName("chkLog_1");
    Label1 = new QLabel(QStringLiteral("Interval (ms)"), Frame1);
    Label1->setObjectName("Label1");
    txtLogInt = new QLineEdit(Frame1);
    txtLogInt->setObjectName("txtLogInt");
    txtLogInt->setFixedWidth(56);
    UpDown1 = new UpDownSpinner(txtLogInt, 10, 10000, 1, Frame1);
    UpDown1->setObjectName("UpDown1");
    cmdLogData = new QPushButton(StartCaption, Frame1);
    cmdLogData->setObjectName("cmdLogData");
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setMinimumWidth(TwipsToPixelsX(1335));
    cmdLogData->setMinimumWidth(TwipsToPixelsX(1935));

    auto* interval = new QHBoxLayout;
    interval->setSpacing(0);
    interval->addWidget(txtLogInt);
    interval->addWidget(UpDown1);
    interval->addStretch();

    auto* channels = new QGridLayout;
    channels->setContentsMargins(0, 0, 0, 0);
    channels->setHorizontalSpacing(16);
    channels->addWidget(chkLog[0], 0, 0);
    channels->addWidget(Label1, 0, 1);
    channels->addWidget(chkLog[1], 1, 0);
    channels->addLayout(interval, 1, 1);
    channels->setColumnStretch(1, 1);

    auto* button = new QHBoxLayout;
    button->addStretch();
    button->addWidget(cmdLogData);
    button->addStretch();

    auto* frame = new QVBoxLayout(Frame1);
    frame->setContentsMargins(16, 12, 12, 12);
    frame->addLayout(channels);
    frame->addSpacing(12);
    frame->addLayout(button);
    frame->addStretch();

    auto* close = new QHBoxLayout;
    close->addStretch();
    close->addWidget(cmdClose);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(12, 12, 12, 12);
    window->addWidget(Frame1, 1);
    window->addLayout(close);

    setTabOrder(chkLog[0], chkLog[1]);
    setTabOrder(chkLog[1], txtLogInt);
    setTabOrder(txtLogInt, cmdLogData);
    setTabOrder(cmdLogData, cmdClose);
}

void frmLogging::Form_Load() {
    SetFormSizeTwips(4320, 3840);
    txtLogInt->setText(QString::fromStdString(GeneralStuff::TrimmedNumberText(GeneralStuff::LogInterval)));
    ShowLoggingState();
    for (size_t i = 0; i < chkLog.size(); ++i) chkLog[i]->setChecked(GeneralStuff::LogChannel[i]);
}

void frmLogging::ShowLoggingState() {
    cmdLogData->setText(GeneralStuff::LoggingActive ? StopCaption : StartCaption);
}

void frmLogging::cmdLogData_Click() {
    if (GeneralStuff::LoggingActive) {
        StopLogging();
    } else {
        StartLogging();
    }
}

void frmLogging::StopLogging() {
    GeneralStuff::LoggingActive = false;
    GeneralStuff::SetStatusText(QStringLiteral("Ready"));
    ShowLoggingState();
}

void frmLogging::StartLogging() {
    GeneralStuff::LogFileName.clear();
    const QString fileName = chooseLogFile();
    if (fileName.isEmpty()) return;
    GeneralStuff::LogFileName = fileName;

    bool anyChannel = false;
    for (size_t i = 0; i < chkLog.size(); ++i) {
        GeneralStuff::LogChannel[i] = chkLog[i]->isChecked();
        anyChannel = anyChannel || GeneralStuff::LogChannel[i];
    }
    if (!anyChannel) {
        ShowWarning(this, QStringLiteral("At least one item must be selected for logging"));
        return;
    }

    QString error;
    if (!GeneralStuff::WriteLogStart(&error)) {
        ShowWarning(this, QStringLiteral("Could not write to %1:\n%2\n\nLogging was not started.")
                              .arg(QDir::toNativeSeparators(fileName), error));
        return;
    }
    GeneralStuff::LogInterval = IntervalFromText(txtLogInt->text());
    GeneralStuff::LoggingActive = true;
    GeneralStuff::LogLineCount = 0;
    ShowLoggingState();
    GeneralStuff::SetStatusText(QStringLiteral("Logging Enabled"));
}

void frmLogging::cmdClose_Click() { OuterWindow()->close(); }
