#pragma once
// The tests' prompts service: installed for its lifetime, it opens no dialog. Warnings go to
// `warning`; a file dialog answers with `fileName`, a text with `text`, or as cancelled when unset.
#include "widgets/Prompts.h"

#include <functional>

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts() { Install(this); }
    ~ScriptedPrompts() override { Install(nullptr); }

    std::function<void(const QString& text)> warning;
    std::function<QString()> fileName;
    std::function<QString()> text;

    void Warning(QWidget*, const QString& text) override { if (warning) warning(text); }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, QString*) override { return Chosen(); }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return Chosen(); }
    QString OpenOrNewFileName(QWidget*, const QString&, const QString&, const QString&) override { return Chosen(); }
    QString Text(QWidget*, const QString&, const QString&) override { return text ? text() : QString(); }

private:
    QString Chosen() const { return fileName ? fileName() : QString(); }
};
