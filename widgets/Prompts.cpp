#include "widgets/Prompts.h"

#include "state/GeneralStuff.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtPrompts : public Prompts {
public:
    void Warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QString::fromUtf8(GeneralStuff::AppTitle), text);
    }
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                         QString* chosenFilter) override {
        return QFileDialog::getSaveFileName(parent, caption, folder, filter, chosenFilter);
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
        if (dialog.exec() != QDialog::Accepted) return QString();
        return dialog.selectedFiles().value(0);
    }
};

QtPrompts g_qtPrompts;
Prompts* g_installed = nullptr;

}  // namespace

Prompts& Prompts::Current() { return g_installed ? *g_installed : g_qtPrompts; }

void Prompts::Install(Prompts* prompts) { g_installed = prompts; }
