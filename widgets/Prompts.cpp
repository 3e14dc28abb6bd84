#include "widgets/Prompts.h"

#include "state/GeneralStuff.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

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
        FollowChosenSuffix(dialog);
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
        FollowChosenSuffix(dialog);
        return ChosenFile(dialog);
    }
    QString Text(QWidget* parent, const QString& caption, const QString& label) override {
        return QInputDialog::getText(parent, caption, label);
    }
};

QtPrompts g_qtPrompts;
Prompts* g_installed = nullptr;

}  // namespace

QString DefaultSuffixOf(const QString& filter) {
    static const QRegularExpression oneType(QStringLiteral("^[^(;]*\\(\\*\\.(\\w+)\\)$"));
    return oneType.match(filter).captured(1);
}

void FollowChosenSuffix(QFileDialog& dialog) {
    const auto follow = [&dialog](const QString& chosen) { dialog.setDefaultSuffix(DefaultSuffixOf(chosen)); };
    follow(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
}

Prompts& Prompts::Current() { return g_installed ? *g_installed : g_qtPrompts; }

void Prompts::Install(Prompts* prompts) { g_installed = prompts; }
