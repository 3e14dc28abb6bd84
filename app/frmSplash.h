#pragma once
// The splash window: the program's picture, its name and version, and the progress of the
// board connection.
#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblProgInfo = nullptr;
    QLabel* lblProgress = nullptr;

    // Sets the progress text and repaints it at once.
    void SetProgressText(const QString& text);
    // Width of the progress bar in twips; the bar is repainted at once.
    void SetProgressWidthTwips(double twips);
    double ProgressWidthTwips() const { return progressWidthTwips_; }
    // The bar's designed width in twips.
    static constexpr double ProgressDesignWidth = 5655;

protected:
    // The splash goes when start-up closes it: the connection sequence still writes to it,
    // so a close asked for by the user or the window manager is ignored.
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void PlaceRightAligned(QLabel* label, double rightTwips, double topTwips);

    double progressWidthTwips_ = ProgressDesignWidth;
};
