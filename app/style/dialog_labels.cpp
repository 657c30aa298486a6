#include "dialog_labels.h"

namespace vakuro {

QLabel* caption(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* valueLabel(const char* name, QWidget* parent, const QString& widest) {
    auto* label = caption(QStringLiteral("0"), QLatin1String(name), parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace vakuro
