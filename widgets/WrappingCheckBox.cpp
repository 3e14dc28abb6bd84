#include "widgets/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace {
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
constexpr int PreferredTextWidth = 200;
}  // namespace

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrappingCheckBox::TextIndent() const {
    return style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
}

QRect WrappingCheckBox::TextRect(int width) const {
    const int textWidth = std::max(1, width - TextIndent());
    const QRect bounds = fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000), TextFlags, text());
    return {TextIndent(), 0, textWidth, bounds.height()};
}

int WrappingCheckBox::heightForWidth(int width) const {
    return std::max(TextRect(width).height(), style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this));
}

QSize WrappingCheckBox::sizeHint() const {
    const int width = TextIndent() + std::min(PreferredTextWidth, fontMetrics().horizontalAdvance(text()));
    return {width, heightForWidth(width)};
}

QSize WrappingCheckBox::minimumSizeHint() const {
    // No narrower than the longest word.
    int widest = 0;
    for (const QString& word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widest = std::max(widest, fontMetrics().horizontalAdvance(word));
    const int width = TextIndent() + widest;
    return {width, heightForWidth(width)};
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    // The indicator stands beside the first line of the caption.
    QStyleOptionButton indicator = option;
    const int indicatorWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    const int top = std::max(0, (fontMetrics().height() - indicatorHeight) / 2);
    indicator.rect = QRect(0, top, indicatorWidth, indicatorHeight);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    const QRect textRect = TextRect(width());
    painter.drawItemText(textRect, TextFlags, option.palette, isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
