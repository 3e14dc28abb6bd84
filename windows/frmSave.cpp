#include "windows/frmSave.h"

#include "state/GeneralStuff.h"
#include "board/USBStuff.h"
#include "windows/MasterTimerPause.h"
#include "files/SavFile.h"
#include "files/SavRecall.h"
#include "widgets/WrappingCheckBox.h"
#include "widgets/Twips.h"
#include "widgets/DialogFolder.h"
#include "widgets/Prompts.h"

#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString SavFilter = QStringLiteral("Text Files (*.sav)");

// Where the window's dialogs start; kept for the run, also while the window is closed.
DialogFolder& SaveRecallFolder() {
    static DialogFolder folder(QString::fromStdString(USBStuff::ProgramFolder()));
    return folder;
}

}  // namespace

frmSave::frmSave(QWidget* parent) : ChildForm(parent) {
    setObjectName("frmSave");
    setWindowTitle(QStringLiteral("Save/Recall Settings"));
    chooseSaveFile = [this] {
        return SaveRecallFolder().Remember(Prompts::Current().SaveFileName(
            this, QStringLiteral("Save Configuration"), SaveRecallFolder().Start(), SavFilter));
    };
    chooseRecallFile = [this] {
        return SaveRecallFolder().Remember(Prompts::Current().OpenFileName(
            this, QStringLiteral("Recall Configuration"), SaveRecallFolder().Start(), SavFilter));
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
    const QStringList header = GeneralStuff::SavHeaderLines(txtComment->text(), currentDateTime());
    MasterTimerPause pause;
    // Every register is read before the dialog opens: the file holds the chip as it was at
    // the button press.
    const QString text = GeneralStuff::SavText(header, GeneralStuff::ReadSavRegisters(chkNotDefaults->isChecked()));
    const QString fileName = chooseSaveFile();
    if (fileName.isEmpty()) return QString();
    GeneralStuff::FileNumber = GeneralStuff::FreeFileNumber();
    return GeneralStuff::SaveSavText(fileName, text);
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
    QFile file(fileName);
    const QString refusal = GeneralStuff::OpenForRecall(file);
    if (!refusal.isEmpty()) return refusal;
    return GeneralStuff::RecallProblemText(GeneralStuff::RecallIntoChip(file), fileName);
}

void frmSave::cmdClose_Click() { OuterWindow()->close(); }
