#include "widgets/Prompts.h"

#include "state/GeneralStuff.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

// Qt adds the default suffix before it asks about replacing a file, so that question names the
// file really written; a suffix the user typed is kept.
void UseSuffixOfSingleFileType(QFileDialog& dialog, const QString& filter) {
    static const QRegularExpression oneType(QStringLiteral("^[^(;]*\\(\\*\\.(\\w+)\\)$"));
    dialog.setDefaultSuffix(oneType.match(filter).captured(1));
}

QString ChosenFile(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

class QtPrompts : public Prompts {
public:
    void Warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QString::fromUtf8(GeneralStuff::AppTitle), text);
    }
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                         QString* chosenFilter) override {
        QFileDialog dialog(parent, caption, folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        UseSuffixOfSingleFileType(dialog, filter);
        const QString name = ChosenFile(dialog);
        if (chosenFilter && !name.isEmpty()) *chosenFilter = dialog.selectedNameFilter();
        return name;
    }
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }
    QString OpenOrNewFileName(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter) override {
        // Not getOpenFileName: it refuses a name that does not exist yet.
        QFileDialog dialog(parent, caption, folder, filter);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        UseSuffixOfSingleFileType(dialog, filter);
        return ChosenFile(dialog);
    }
};

QtPrompts g_qtPrompts;
Prompts* g_installed = nullptr;

}  // namespace

Prompts& Prompts::Current() { return g_installed ? *g_installed : g_qtPrompts; }

void Prompts::Install(Prompts* prompts) { g_installed = prompts; }
