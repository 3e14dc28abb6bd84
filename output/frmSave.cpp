#include "output/frmSave.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "files/FileSafety.h"
#include "output/MasterTimerPause.h"
#include "files/SavFile.h"
#include "files/SavRecallParser.h"
#include "widgets/WrappingCheckBox.h"
#include "widgets/Twips.h"
#include "widgets/Prompts.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString SavFilter = QStringLiteral("Text Files (*.sav)");

QString ProgramFolder() { return QString::fromStdString(USBStuff::ProgramFolder()); }

QString RegistersWrittenText(int count) {
    if (count == 0) return QStringLiteral("No registers were written.");
    if (count == 1) return QStringLiteral("1 register was written.");
    return QStringLiteral("%1 registers were written.").arg(count);
}

QString RecallProblemText(const SavRecallResult& result, const QString& fileName, const SavRecallLimits& limits) {
    const QString name = QDir::toNativeSeparators(fileName);
    const QString written = RegistersWrittenText(result.registersWritten);
    switch (result.outcome) {
    case SavRecallResult::Outcome::Complete:
        return QString();
    case SavRecallResult::Outcome::NoBlock:
        return QStringLiteral("%1 was not recalled: it holds no register block (no \"{\").\n\n%2").arg(name, written);
    case SavRecallResult::Outcome::TooLarge:
        return QStringLiteral("%1 was not recalled: it is larger than %2 KB, too large for a saved configuration.\n\n%3")
            .arg(name)
            .arg(limits.maxBytes / 1024)
            .arg(written);
    case SavRecallResult::Outcome::TooManyRegisters:
        return QStringLiteral("%1 was not recalled: it holds more than %2 register lines, too many for a saved "
                              "configuration.\n\n%3")
            .arg(name)
            .arg(limits.maxRegisterLines)
            .arg(written);
    case SavRecallResult::Outcome::NotSingleByteText:
        return QStringLiteral("%1 was not recalled: it holds a NUL byte, so it is not a single-byte text file "
                              "(it may have been saved as UTF-16, Windows \"Unicode\").\n\n%2")
            .arg(name, written);
    case SavRecallResult::Outcome::Incomplete:
        break;
    }
    return QStringLiteral("%1 was not fully recalled: the register block is incomplete "
                          "(a line without both an address and a value, or no closing \"}\").\n\n%2")
        .arg(name, written);
}

}  // namespace

frmSave::frmSave(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmSave");
    setWindowTitle(QStringLiteral("Save/Recall Settings"));
    chooseSaveFile = [this] {
        return Prompts::Current().SaveFileName(this, QStringLiteral("Save Configuration"), ProgramFolder(), SavFilter);
    };
    chooseRecallFile = [this] {
        return Prompts::Current().OpenFileName(this, QStringLiteral("Recall Configuration"), ProgramFolder(), SavFilter);
    };
    currentDateTime = [] { return QDateTime::currentDateTime(); };
    BuildControls();
    connect(cmdsave, &QPushButton::clicked, this, &frmSave::cmdsave_Click);
    connect(cmdRecall, &QPushButton::clicked, this, &frmSave::cmdRecall_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSave::cmdClose_Click);
    Form_Load();
}

void frmSave::BuildControls() {
    Frame2 = new QGroupBox(QStringLiteral("File I/O"), this);
    Frame2->setObjectName("Frame2");
    cmdsave = new QPushButton(QStringLiteral("Save  Current Configuration"), Frame2);
    cmdsave->setObjectName("cmdsave");
    cmdRecall = new QPushButton(QStringLiteral("Recall Previous Configuration"), Frame2);
    cmdRecall->setObjectName("cmdRecall");
    chkNotDefaults = new WrappingCheckBox(QStringLiteral("Only save registers that differ from their defaults "), Frame2);
    chkNotDefaults->setObjectName("chkNotDefaults");
    chkNotDefaults->setChecked(true);
    Label2 = new QLabel(QStringLiteral("Add Comment"), Frame2);
    Label2->setObjectName("Label2");
    txtComment = new QLineEdit(Frame2);
    txtComment->setObjectName("txtComment");
    Label2->setBuddy(txtComment);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setMinimumWidth(TwipsToPixelsX(1335));
    for (QPushButton* button : {cmdsave, cmdRecall}) button->setMinimumHeight(32);

    auto* actions = new QVBoxLayout;
    actions->addWidget(cmdsave);
    actions->addWidget(cmdRecall);
    actions->addStretch();

    auto* options = new QVBoxLayout;
    options->addWidget(chkNotDefaults);
    options->addSpacing(12);
    options->addWidget(Label2);
    options->addWidget(txtComment);
    options->addStretch();

    auto* frame = new QHBoxLayout(Frame2);
    frame->setContentsMargins(12, 16, 12, 12);
    frame->setSpacing(16);
    frame->addLayout(actions);
    frame->addLayout(options, 1);

    auto* close = new QHBoxLayout;
    close->addStretch();
    close->addWidget(cmdClose);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(12, 12, 12, 12);
    window->addWidget(Frame2, 1);
    window->addLayout(close);

    setTabOrder(cmdsave, cmdRecall);
    setTabOrder(cmdRecall, chkNotDefaults);
    setTabOrder(chkNotDefaults, txtComment);
    setTabOrder(txtComment, cmdClose);
}

void frmSave::Form_Load() { SetFormSizeTwips(7080, 4200); }

void frmSave::cmdsave_Click() {
    const QString error = SaveConfiguration();
    if (!error.isEmpty()) ShowWarning(this, error);
}

QString frmSave::SaveConfiguration() {
    const QDateTime now = currentDateTime();
    const QStringList header = GeneralStuff::SavHeaderLines(
        txtComment->text(), QLocale::system().toString(now.date(), QLocale::ShortFormat),
        now.time().toString(QStringLiteral("HH:mm:ss")));
    MasterTimerPause pause;
    // Every register is read before the dialog opens: the file holds the chip as it was at
    // the button press.
    const QString text = GeneralStuff::SavText(header, GeneralStuff::ReadSavRegisters(chkNotDefaults->isChecked()));
    const QString fileName = chooseSaveFile();
    if (fileName.isEmpty()) return QString();
    GeneralStuff::FileNumber = GeneralStuff::FreeFileNumber();
    QString reason;
    if (GeneralStuff::WriteSavFile(fileName, text, &reason)) return QString();
    return QStringLiteral("The configuration was not saved: could not write %1:\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

void frmSave::cmdRecall_Click() {
    const QString fileName = chooseRecallFile();
    if (fileName.isEmpty()) return;
    const QString problem = RecallConfiguration(fileName);
    if (!problem.isEmpty()) ShowWarning(this, problem);
}

QString frmSave::RecallConfiguration(const QString& fileName) {
    MasterTimerPause pause;
    GeneralStuff::FileNumber = GeneralStuff::FreeFileNumber();
    const SavRecallLimits limits;
    const QString name = QDir::toNativeSeparators(fileName);
    QFile file(fileName);
    const QString refusal = GeneralStuff::NotARegularFileReason(fileName);
    if (!refusal.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Could not open %1:\n%2\n\nNo registers were written.")
            .arg(name, refusal.isEmpty() ? file.errorString() : refusal);
    }
    // One byte past the limit tells a file that is too large.
    const QByteArray bytes = file.read(limits.maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return QStringLiteral("Could not read %1:\n%2\n\nNo registers were written.").arg(name, file.errorString());
    }
    const SavRecallResult result = RecallSavBytes(
        bytes, [](int32_t address, int32_t value) { USBStuff::WriteRegister(USBStuff::DeviceAddress, address, value); },
        limits);
    return RecallProblemText(result, fileName, limits);
}

void frmSave::cmdClose_Click() { OuterWindow()->close(); }
