#include "output_messages.h"

#include <cstdio>

namespace vakuro {
namespace {

OutputMessageHandler& currentHandler() {
    static OutputMessageHandler handler;
    return handler;
}

}  // namespace

QMessageBox::StandardButton showOutputMessage(const OutputMessage& message, QWidget* owner) {
    if (currentHandler()) return currentHandler()(message, owner);
    QMessageBox box(message.icon, message.title, message.text, message.buttons, owner);
    if (message.defaultButton != QMessageBox::NoButton) box.setDefaultButton(message.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setOutputMessageHandler(OutputMessageHandler handler) { currentHandler() = std::move(handler); }

QMessageBox::StandardButton commandLineMessage(const OutputMessage& message, QWidget*) {
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString line = (message.title.isEmpty() ? QString() : message.title + QStringLiteral(": ")) + text;
    std::fprintf(stderr, "vakuro: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    if (message.defaultIsHarmless && message.defaultButton != QMessageBox::NoButton) return message.defaultButton;
    if (message.buttons & QMessageBox::No) return QMessageBox::No;
    if (message.buttons & QMessageBox::Cancel) return QMessageBox::Cancel;
    return QMessageBox::Ok;
}

}  // namespace vakuro
