#pragma once
// Save the chip's writable registers to a .sav file, and write such a file back into the chip.
#include "widgets/ChildForm.h"

#include <QDateTime>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class WrappingCheckBox;

class frmSave : public ChildForm {
    Q_OBJECT
public:
    explicit frmSave(QWidget* parent = nullptr);

    void Form_Load();
    void cmdsave_Click();
    void cmdRecall_Click();
    void cmdClose_Click();

    // The save and open dialogs (an empty name when cancelled) and the clock of the "Saved:"
    // line; tests replace them.
    std::function<QString()> chooseSaveFile;
    std::function<QString()> chooseRecallFile;
    std::function<QDateTime()> currentDateTime;

    QGroupBox* Frame2 = nullptr;
    QPushButton* cmdsave = nullptr;
    QPushButton* cmdRecall = nullptr;
    WrappingCheckBox* chkNotDefaults = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtComment = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void BuildControls();
    // The save's work while the timer is off; an error text when the file was not written.
    QString SaveConfiguration();
    QString RecallConfiguration(const QString& fileName);
};
